// The welcome screen's drawing units, gradient and stage, painted into images.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "screens/welcome/welcome_drawing.h"
#include "screens/welcome/welcome_schematic.h"

namespace voltra {

namespace {

TEST(WelcomeDrawing, ChokeArcsNarrowOnWideDisplays)
{
    for (const auto& [width, height, radius] : {std::tuple(800, 600, 80.0), {1920, 1080, 60.0}, {1366, 768, 59.9707}})
        EXPECT_NEAR(FixDrawingUnits(QSizeF(width, height) * 15).ChokeArcRadius, radius, 1e-3) << width;
}

TEST(WelcomeDrawing, GradientRowsRoundHalvesToEvenWithin1And191)
{
    // Four pixel rows a unit row: pixel row 4y shows exactly the blue of unit row y.
    QImage image(130, 9002 * 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter painter(&image);
    painter.setTransform(QTransform::fromScale(0.01, 4));
    PaintGradient(painter);
    const std::pair<int, int> rowsAndBlue[] = {{1, 1}, {70, 1}, {71, 2}, {400, 8}, {401, 9}, {8964, 190}, {9000, 191}};
    for (const auto& [row, blue] : rowsAndBlue) EXPECT_EQ(image.pixelColor(60, row * 4), QColor(0, 0, blue)) << row;
}

TEST(WelcomeDrawing, StageIsPureWhiteWithinX4800To10360AndY1300To5200)
{
    // A tenth of a pixel a unit; a 2-pixel line reaches a pixel beyond its ends.
    QImage image(1200, 700, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setTransform(QTransform::fromScale(0.1, 0.1));
    PaintWelcomeStage(painter, 80);
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == qRgb(0, 0, 0)) continue;
            ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
            bounds |= QRect(x, y, 1, 1);
        }
    EXPECT_NEAR(bounds.left(), 480, 2);
    EXPECT_NEAR(bounds.right(), 1036, 2);
    EXPECT_NEAR(bounds.top(), 130, 2);
    EXPECT_NEAR(bounds.bottom(), 520, 2);
}

}  // namespace

}  // namespace voltra
