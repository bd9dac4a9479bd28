// Pixels of the design screen rendered as a window grab does, at two window sizes
// and at device pixel ratios 1 and 2.
#include <QFontMetricsF>

#include "screen_fixture.h"
#include "screens/design/design_painter.h"
#include "screens/design/drawing_units.h"
#include "screens/design/schematic.h"
#include "screens/design/schematic_labels.h"

namespace {

bool Dark(QRgb pixel) { return qGray(pixel) < 96; }
bool White(QRgb pixel) { return qGray(pixel) > 235; }
bool Red(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) < 90 && qBlue(pixel) < 90; }

class GrabbedScreen : public DesignScreenTest, public ::testing::WithParamInterface<std::tuple<QSize, int>> {
protected:
    void SetUp() override
    {
        DesignScreenTest::SetUp();
        Open();
        screen->resize(std::get<0>(GetParam()));
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
        Grab();
    }
    void Grab()
    {
        QTest::qWait(0);
        image = QImage(screen->size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        screen->render(&image);
    }
    // The device pixel of a point in drawing units.
    QPoint Pixel(double x, double y) const
    {
        return (DrawingTransform(screen->size()).map(QPointF(x, y)) * ratio).toPoint();
    }
    bool Is(bool (*colour)(QRgb), double x, double y, int down = 0) const
    {
        return colour(image.pixel(Pixel(x, y) + QPoint(0, down)));
    }
    int Count(bool (*colour)(QRgb), QRectF units) const
    {
        int n = 0;
        for (int y = Pixel(0, units.top()).y(); y <= Pixel(0, units.bottom()).y(); ++y)
            for (int x = Pixel(units.left(), 0).x(); x <= Pixel(units.right(), 0).x(); ++x) n += colour(image.pixel(x, y));
        return n;
    }

    QImage image;
    const int ratio = std::get<1>(GetParam());
};

TEST_P(GrabbedScreen, GroundLineIsOneCrispLineThatTheLeadsMeetAndEndsAtTheLoad)
{
    const int pen = 2 * ratio;
    for (double x : {2700, 4500, 6000, 7500}) {
        std::vector<int> rows;
        for (int down = -4 * pen; down <= 4 * pen; ++down)
            if (Is(Dark, x, kGroundY, down)) rows.push_back(down);
        ASSERT_EQ(rows.size(), size_t(pen)) << "at x = " << x;
        EXPECT_NEAR(rows.front(), -pen / 2, 1) << "at x = " << x;
        EXPECT_TRUE(Is(White, x, kGroundY, -pen)) << "at x = " << x;
    }
    for (double x : {4000, 5300, 7600}) {
        EXPECT_TRUE(Is(Dark, x, kGroundY - 200) && Is(Dark, x, kGroundY)) << "lead at x = " << x;
        EXPECT_TRUE(Is(White, x, kGroundY, 2 * pen)) << "below x = " << x;
    }
    EXPECT_TRUE(Is(White, 7700, kGroundY));
    Button("cmdLnetYes")->click();
    Grab();
    EXPECT_TRUE(Is(Dark, 9300, kGroundY - 200) && Is(Dark, 9200, kGroundY) && Is(White, 9400, kGroundY));
}

TEST_P(GrabbedScreen, NegativeSupplyCurrentIsRedAndTheNextTextBlackAgain)
{
    Type("txtSaturation", "30");
    ASSERT_LT(design.Idc, 0);
    Grab();
    EXPECT_GT(Count(Red, QRectF(4100, 1100, 800, 150)), 0) << "Idc";
    EXPECT_GT(Count(Red, QRectF(2300, 1100, 1200, 150)), 0) << "Rdc";
    EXPECT_EQ(Count(Red, QRectF(4100, 2700, 900, 150)), 0) << "Vpeak";
    EXPECT_GT(Count(Dark, QRectF(4100, 2700, 900, 150)), 0) << "Vpeak";
}

TEST_P(GrabbedScreen, NoTextOverlapsAnotherTextAPartOrAControl)
{
    const QTransform units = DrawingTransform(screen->size());
    QFont font(kScreenFontFamily);
    font.setPixelSize(Box("txtPower")->font().pixelSize());
    EXPECT_EQ(font.pixelSize(), screen->height() == 768 ? 12 : 17) << "0.0008 points per twip of the display";
    const QFontMetricsF metrics(font);
    for (const auto& [lnetState, rnetwork] : {std::pair<std::int16_t, float>{0, 50}, {1, 50}, {1, 2}}) {
        design.LnetState = lnetState;
        design.Rnetwork = rnetwork;
        const SchematicDrawing drawing = Schematic(design);
        std::vector<QPointF> ink;  // along every line and arc, in pixels
        for (int i = 0; i <= 64; ++i) {
            for (const QLineF& line : drawing.lines) ink.push_back(units.map(line.pointAt(i / 64.0)));
            for (const SchematicArc& arc : drawing.arcs) {
                const double angle = arc.startAngle + arc.sweep * i / 64;
                ink.push_back(units.map(arc.centre + arc.radius * QPointF(std::cos(angle), -std::sin(angle))));
            }
        }
        std::vector<QRectF> texts;
        for (const SchematicLabel& label : SchematicLabels(design, drawing.SchematicX)) {
            const QRectF box =
                metrics.boundingRect(label.text).translated(units.map(label.anchor) + QPointF(0, metrics.ascent()));
            const std::string name = label.text.toStdString();
            for (const QRectF& other : texts) EXPECT_FALSE(box.intersects(other)) << name;
            for (const QPointF& point : ink) EXPECT_FALSE(box.contains(point)) << name;
            for (QWidget* control : screen->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (control->isVisible() || control == Box("txtRnetwork")) {
                    EXPECT_FALSE(box.intersects(control->geometry())) << name << " / " << control->objectName().toStdString();
                }
            texts.push_back(box);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(DesignScreen, GrabbedScreen, ::testing::Combine(::testing::Values(QSize(1366, 768), QSize(1920, 1080)), ::testing::Values(1, 2)),
                         [](const auto& info) {
                             return std::to_string(std::get<0>(info.param).height()) + "AtRatio" + std::to_string(std::get<1>(info.param));
                         });

}  // namespace
