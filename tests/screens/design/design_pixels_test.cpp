// Pixels of the grabbed design screen at two window sizes; run once at the display's
// pixel ratio and once more with QT_SCALE_FACTOR=2.
#include <QFontMetricsF>
#include <QPushButton>
#include <QScreen>

#include "engine/equations.h"
#include "screen_fixture.h"
#include "screens/design/design_painter.h"
#include "screens/screen_style.h"
#include "screens/design/drawing_units.h"
#include "screens/design/schematic.h"
#include "screens/design/schematic_labels.h"

namespace {

bool Dark(QRgb pixel) { return qGray(pixel) < 96; }
bool White(QRgb pixel) { return qGray(pixel) > 235; }
bool Red(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) < 90 && qBlue(pixel) < 90; }

}  // namespace

void PrintTo(const QSize& size, std::ostream* out) { *out << size.width() << "x" << size.height(); }

namespace {

class GrabbedScreen : public DesignScreenTest, public ::testing::WithParamInterface<QSize> {
protected:
    void Show()
    {
        Open().resize(GetParam());
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
        Grab();
    }

    void Grab()
    {
        image = screen->grab().toImage();
        ratio = image.devicePixelRatio();
    }

    // The device pixel of a point given in drawing units.
    QPoint Pixel(double x, double y) const
    {
        const QPointF logical = DrawingTransform(screen->size()).map(QPointF(x, y));
        return QPoint(qRound(logical.x() * ratio), qRound(logical.y() * ratio));
    }

    // Rows of ink in one device-pixel column, around a point in drawing units.
    std::vector<int> InkRows(double x, double y, int reach) const
    {
        const QPoint at = Pixel(x, y);
        std::vector<int> rows;
        for (int row = at.y() - reach; row <= at.y() + reach; ++row)
            if (Dark(image.pixel(at.x(), row))) rows.push_back(row);
        return rows;
    }

    QImage image;
    double ratio = 1;
};

TEST_P(GrabbedScreen, RunsAtTheRatioThisPassAskedFor)
{
    Show();
    const double asked = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qgetenv("QT_SCALE_FACTOR").toDouble() : 1.0;
    EXPECT_DOUBLE_EQ(ratio, asked);
}

TEST_P(GrabbedScreen, GroundLineIsOneCrispLineThatTheLeadsMeet)
{
    Show();
    const int pen = qRound(2 * ratio);
    const int groundRow = Pixel(0, kGroundY).y();
    // Along the ground line: exactly the pen's rows of ink, with no grey smear.
    for (double x : {2700.0, 4500.0, 6000.0, 7500.0}) {
        const std::vector<int> rows = InkRows(x, kGroundY, 4 * pen);
        ASSERT_EQ(rows.size(), static_cast<size_t>(pen)) << "at x = " << x;
        EXPECT_NEAR(rows.front(), groundRow - pen / 2, 1);
        const QPoint above = Pixel(x, kGroundY) - QPoint(0, pen);
        EXPECT_TRUE(White(image.pixel(above))) << "at x = " << x;
    }
    // The source lead, C1's lead and the load lead come down onto it and stop there.
    for (double x : {4000.0, 5300.0, 7600.0}) {
        EXPECT_TRUE(Dark(image.pixel(Pixel(x, kGroundY - 200)))) << "lead at x = " << x;
        EXPECT_TRUE(Dark(image.pixel(Pixel(x, kGroundY)))) << "joint at x = " << x;
        EXPECT_TRUE(White(image.pixel(Pixel(x, kGroundY) + QPoint(0, 2 * pen)))) << "below x = " << x;
    }
    EXPECT_TRUE(White(image.pixel(Pixel(7700, kGroundY)))) << "the ground line ends at the load";
}

TEST_P(GrabbedScreen, GroundLineRunsOnToTheLoadOfTheNetwork)
{
    Show();
    QTest::mouseClick(screen->findChild<QPushButton*>("cmdLnetYes"), Qt::LeftButton);
    QTest::qWait(0);
    Grab();
    EXPECT_TRUE(Dark(image.pixel(Pixel(9300, kGroundY - 200))));
    EXPECT_TRUE(Dark(image.pixel(Pixel(9200, kGroundY))));
    EXPECT_TRUE(White(image.pixel(Pixel(9400, kGroundY))));
}

TEST_P(GrabbedScreen, NegativeSupplyCurrentIsRedAndTheNextTextBlackAgain)
{
    Show();
    Type("txtSaturation", "30");
    ASSERT_LT(design.Idc, 0);
    QTest::qWait(0);
    Grab();
    auto count = [this](QRectF units, bool (*test)(QRgb)) {
        const QRect area(Pixel(units.left(), units.top()), Pixel(units.right(), units.bottom()));
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += test(image.pixel(x, y));
        return n;
    };
    EXPECT_GT(count(QRectF(4100, 1100, 800, 150), Red), 0) << "Idc";
    EXPECT_GT(count(QRectF(2300, 1100, 1200, 150), Red), 0) << "Rdc";
    EXPECT_EQ(count(QRectF(4100, 2700, 900, 150), Red), 0) << "Vpeak";
    EXPECT_GT(count(QRectF(4100, 2700, 900, 150), Dark), 0) << "Vpeak";
}

INSTANTIATE_TEST_SUITE_P(DesignScreen, GrabbedScreen, ::testing::Values(QSize(1366, 768), QSize(1920, 1080)),
                         [](const auto& info) {
                             return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height());
                         });

// --- Legibility on a small laptop display ----------------------------------------

bool Crosses(const QRectF& box, const QLineF& line)
{
    constexpr int kSamples = 64;
    for (int i = 0; i <= kSamples; ++i)
        if (box.contains(line.pointAt(static_cast<double>(i) / kSamples))) return true;
    return false;
}

bool Crosses(const QRectF& box, const SchematicArc& arc, const QTransform& units)
{
    constexpr int kSamples = 64;
    for (int i = 0; i <= kSamples; ++i) {
        const double angle = arc.startAngle + arc.sweep * i / kSamples;
        // Screen y grows downwards while the angles turn counter-clockwise on screen.
        const QPointF onArc(arc.centre.x() + arc.radius * std::cos(angle), arc.centre.y() - arc.radius * std::sin(angle));
        if (box.contains(units.map(onArc))) return true;
    }
    return false;
}

struct LegibilityCase {
    const char* name;
    std::int16_t lnetState;
    float rnetwork;
};

void PrintTo(const LegibilityCase& c, std::ostream* out) { *out << c.name; }

class SmallDisplay : public DesignScreenTest, public ::testing::WithParamInterface<LegibilityCase> {};

TEST_P(SmallDisplay, NoTextOverlapsAnotherTextAPartOrAControl)
{
    Open().resize(1366, 768);
    screen->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
    design.LnetState = GetParam().lnetState;
    design.Rnetwork = GetParam().rnetwork;
    const QTransform units = DrawingTransform(screen->size());
    const int fontPixels = screen->findChild<QWidget*>("lblPower")->font().pixelSize();
    EXPECT_EQ(fontPixels, 12) << "0.0008 points per twip of a 768-pixel display";

    QFont font(kSansFamily);
    font.setPixelSize(fontPixels);
    const QFontMetricsF metrics(font);
    const SchematicDrawing drawing = Schematic(design);
    std::vector<std::pair<QString, QRectF>> boxes;
    for (const SchematicLabel& label : SchematicLabels(design, drawing.SchematicX)) {
        const QRectF ink = metrics.boundingRect(label.text).translated(units.map(label.anchor) + QPointF(0, metrics.ascent()));
        boxes.emplace_back(label.text, ink);
    }
    for (size_t i = 0; i < boxes.size(); ++i) {
        for (size_t j = i + 1; j < boxes.size(); ++j)
            EXPECT_FALSE(boxes[i].second.intersects(boxes[j].second))
                << boxes[i].first.toStdString() << " / " << boxes[j].first.toStdString();
        for (const QLineF& line : drawing.lines)
            EXPECT_FALSE(Crosses(boxes[i].second, units.map(line))) << boxes[i].first.toStdString();
        for (const SchematicArc& arc : drawing.arcs)
            EXPECT_FALSE(Crosses(boxes[i].second, arc, units)) << boxes[i].first.toStdString();
        for (QWidget* control : screen->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (control->isVisible() || control->objectName() == "txtRnetwork") {
                EXPECT_FALSE(boxes[i].second.intersects(control->geometry()))
                    << boxes[i].first.toStdString() << " / " << control->objectName().toStdString();
            }
    }
}

INSTANTIATE_TEST_SUITE_P(DesignScreen, SmallDisplay,
                         ::testing::Values(LegibilityCase{"NetworkOff", 0, 50}, LegibilityCase{"RloadLower", 1, 50},
                                           LegibilityCase{"RloadHigher", 1, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
