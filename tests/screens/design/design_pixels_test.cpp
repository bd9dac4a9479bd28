// The design screen rendered as a window grab does, from the smallest window to a 4K
// one and at device pixel ratios 1 and 2, read on its pixels.
#include "screen_fixture.h"
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

}  // namespace

}  // namespace voltra
