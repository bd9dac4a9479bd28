// The design screen rendered as a window grab does, from the smallest window to a 4K
// one and at device pixel ratios 1 and 2, read on its pixels.
#include <QApplication>
#include <QBackingStore>

#include "screen_fixture.h"
#include "screens/object_names.h"
#include "screens/design/drawing_units.h"
#include "screens/design/schematic.h"

namespace voltra {

namespace {

bool Dark(QRgb pixel) { return qGray(pixel) < 96; }
bool White(QRgb pixel) { return qGray(pixel) > 235; }
bool Red(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) < 90 && qBlue(pixel) < 90; }

TEST_F(DesignScreenTest, GroundLeadsAndRedValuesOnPixels)
{
    const std::tuple<int, int, int> cases[] = {{800, 600, 1},   {800, 600, 2},   {1366, 768, 1},
                                               {1366, 768, 2}, {1920, 1080, 2}, {3840, 2160, 1}};
    for (const auto& [width, height, ratio] : cases) {
        SCOPED_TRACE(height * ratio);
        Fresh();
        Open();
        screen->resize(width, height);
        QImage image(screen->size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        screen->render(&image);
        // The device pixel of a point in drawing units.
        auto pixel = [&](double x, double y) { return (screen->Units().map(QPointF(x, y)) * ratio).toPoint(); };
        auto is = [&](bool (*colour)(QRgb), double x, double y, int down = 0) {
            return colour(image.pixel(pixel(x, y) + QPoint(0, down)));
        };
        // The wires thicken with the window, on whole device pixels.
        const int pen = SchematicPenPixels(screen->DrawingArea().size()) * ratio;
        for (double x : {2700, 4500, 6000, 7500}) {
            std::vector<int> rows;
            for (int down = -4 * pen; down <= 4 * pen; ++down)
                if (is(Dark, x, kGroundY, down)) rows.push_back(down);
            ASSERT_EQ(rows.size(), size_t(pen)) << "at x = " << x;
            EXPECT_NEAR(rows.front(), -pen / 2, 1) << "at x = " << x;
        }
        for (double x : {4000, 5300, 7600}) {
            EXPECT_TRUE(is(Dark, x, kGroundY - 200) && is(Dark, x, kGroundY)) << "lead at x = " << x;
            EXPECT_TRUE(is(White, x, kGroundY, 2 * pen)) << "below x = " << x;
        }
        EXPECT_TRUE(is(White, 7700, kGroundY)) << "the ground line ends at the load";

        Type("txtSaturation", "30");
        ASSERT_LT(design.Idc, 0);
        screen->render(&image);
        auto any = [&](bool (*colour)(QRgb), QRectF units) {
            for (int y = pixel(0, units.top()).y(); y <= pixel(0, units.bottom()).y(); ++y)
                for (int x = pixel(units.left(), 0).x(); x <= pixel(units.right(), 0).x(); ++x)
                    if (colour(image.pixel(x, y))) return true;
            return false;
        };
        EXPECT_TRUE(any(Red, {4100, 1100, 800, 150})) << "Idc";
        EXPECT_TRUE(any(Red, {2300, 1100, 1200, 150})) << "Rdc";
        EXPECT_FALSE(any(Red, {4100, 2700, 900, 150})) << "Vpeak";
        EXPECT_TRUE(any(Dark, {4100, 2700, 900, 150})) << "Vpeak";
    }
}

// A keystroke repaints only the labels whose text changed, and the painter skips
// every stroke and text outside them; the window must still show exactly what a full
// render of the same design shows, through value changes, red values, "Exact" and a
// change of shape.
TEST_F(DesignScreenTest, KeystrokeRepaintsShowWhatAFullRenderShows)
{
    Open();
    screen->resize(1366, 768);
    screen->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
    auto* store = screen->backingStore()->paintDevice();
    ASSERT_EQ(store->devType(), QInternal::Image);
    const QImage& shown = *static_cast<QImage*>(store);

    // The drawing's own pixels: the controls over it paint themselves.
    QRegion drawing(screen->DrawingArea());
    for (QWidget* child : screen->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible()) drawing -= child->geometry();

    const std::pair<const char*, const char*> keystrokes[] = {
        {"txtPower", "12"}, {"txtSupply", "48"}, {"txtSaturation", "30"}, {"txtSaturation", "1"},
        {nullptr, nullptr}, {"txtPower", "20"}, {"txtNetworkQ", "7.5"}, {"txtFalltime", "20n"}};
    for (const auto& [box, text] : keystrokes) {
        SCOPED_TRACE(box ? box : "Exact");
        if (box)
            Type(box, text);
        else
            Button(kExactButtonName)->click();
        QApplication::processEvents();
        QImage full(shown.size(), shown.format());
        full.setDevicePixelRatio(shown.devicePixelRatio());
        screen->render(&full);
        int differing = 0;
        for (const QRect& rect : drawing)
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = rect.left(); x <= rect.right(); ++x) differing += shown.pixel(x, y) != full.pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}

// A repaint of a small region skips the strokes and texts that cannot reach it; what
// it paints inside the region must be what a full render paints there, wherever the
// region cuts a wire, a coil's arc or a label.
TEST_F(DesignScreenTest, RegionRepaintsMatchTheFullRenderInsideTheRegion)
{
    Open();
    screen->resize(1366, 768);
    Button(kExactButtonName)->click();
    QImage full(screen->size(), QImage::Format_RGB32);
    screen->render(&full);
    constexpr int kStep = 29;  // odd, so the cells fall across the drawing's grid
    // Qt's rasteriser blends an antialiased edge a grey level or two differently
    // under a clip; a stroke or glyph left out is most of the way from black to white.
    constexpr int kShade = 24;
    int compared = 0;
    for (int top = screen->DrawingArea().top(); top + kStep < screen->height(); top += kStep)
        for (int left = 0; left + kStep < screen->width(); left += kStep) {
            const QRect cell(left, top, kStep, kStep);
            QImage part(screen->size(), QImage::Format_RGB32);
            part.fill(Qt::green);
            screen->render(&part, cell.topLeft(), QRegion(cell));
            for (int y = 0; y < kStep; ++y)
                for (int x = 0; x < kStep; ++x)
                    if (std::abs(qGray(part.pixel(left + x, top + y)) - qGray(full.pixel(left + x, top + y))) > kShade) {
                        ADD_FAILURE() << "pixel " << left + x << ", " << top + y;
                        return;
                    }
            ++compared;
        }
    EXPECT_GT(compared, 1000);
}

}  // namespace

}  // namespace voltra
