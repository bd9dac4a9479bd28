// The welcome screen's decorative stage painted into images: where it lies, its
// colour, its repeatability and the shape of its circles on non-square units.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <optional>

#include "screens/welcome/welcome_schematic.h"

namespace {

const QColor kBackground(0, 0, 80);

QImage Paint(double sx, double sy, float chokeArcRadius, QSize size = QSize(1200, 700))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    painter.setTransform(QTransform::fromScale(sx, sy));
    Schematic(painter, chokeArcRadius);
    return image;
}

// Smallest rectangle holding every pixel that differs from `background`, or none.
std::optional<QRect> DrawnBounds(const QImage& image, const QImage* background = nullptr)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor reference = background ? background->pixelColor(x, y) : kBackground;
            if (image.pixelColor(x, y) != reference) bounds |= QRect(x, y, 1, 1);
        }
    if (bounds.isNull()) return std::nullopt;
    return bounds;
}

class SchematicTest : public ::testing::Test {
protected:
    // A tenth of a pixel per unit: the stage spans x = 480..1036, y = 130..520.
    static constexpr double kScale = 0.1;
    // A 2-pixel line reaches one pixel beyond its end points.
    static constexpr int kPenReach = 2;
};

TEST_F(SchematicTest, LiesWithinX4800To10360AndY1300To5200AndReachesEachEdge)
{
    const auto bounds = DrawnBounds(Paint(kScale, kScale, 80));
    ASSERT_TRUE(bounds);
    EXPECT_NEAR(bounds->left(), 480, kPenReach);
    EXPECT_NEAR(bounds->right(), 1036, kPenReach);
    EXPECT_NEAR(bounds->top(), 130, kPenReach);
    EXPECT_NEAR(bounds->bottom(), 520, kPenReach);
}

TEST_F(SchematicTest, DrawsInPureWhiteOnly)
{
    const QImage image = Paint(kScale, kScale, 80);
    int white = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour == kBackground) continue;
            ASSERT_EQ(colour, QColor(Qt::white)) << x << "," << y;
            ++white;
        }
    EXPECT_GT(white, 1000);
}

TEST_F(SchematicTest, DrawingTwiceGivesTheSamePicture)
{
    QImage twice = Paint(kScale, kScale, 80);
    {
        QPainter painter(&twice);
        painter.setTransform(QTransform::fromScale(kScale, kScale));
        Schematic(painter, 80);
    }
    EXPECT_EQ(twice, Paint(kScale, kScale, 80));
}

TEST_F(SchematicTest, ChokeRadiusChangesOnlyTheChoke)
{
    // The choke's arcs stand at x = 6900, y = 1830..2310; the series inductor keeps
    // radius 80 whatever the display.
    const QImage fourByThree = Paint(kScale, kScale, 80);
    const QImage sixteenByNine = Paint(kScale, kScale, 60);
    const auto changed = DrawnBounds(sixteenByNine, &fourByThree);
    ASSERT_TRUE(changed);
    EXPECT_TRUE(QRect(686, 180, 14, 55).contains(*changed)) << changed->x() << "," << changed->y() << " "
                                                            << changed->width() << "x" << changed->height();
}

TEST_F(SchematicTest, TransistorCircleStaysRoundWhenUnitsAreTallerThanWide)
{
    // Half as many pixels per unit down as across: the circle of radius 400 around
    // (6800, 4500) must still be 40 pixels in radius both ways, centred at (680, 225).
    const QImage image = Paint(0.1, 0.05, 80, QSize(1200, 400));
    int top = -1;
    int bottom = -1;
    for (int y = 150; y < 300; ++y) {
        if (image.pixelColor(680, y) != QColor(Qt::white)) continue;
        if (top < 0) top = y;
        bottom = y;
    }
    EXPECT_NEAR(top, 185, kPenReach);
    EXPECT_NEAR(bottom, 265, kPenReach);
}

}  // namespace
