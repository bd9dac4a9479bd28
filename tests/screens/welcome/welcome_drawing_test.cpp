// The welcome screen's drawing units and background gradient, painted into images.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "screens/welcome/welcome_drawing.h"

namespace {

struct UnitsCase {
    double widthPixels;
    double heightPixels;
    float scaleWidth;
    float scaleHeight;
    float chokeArcRadius;
};

class DrawingUnitsTest : public ::testing::TestWithParam<UnitsCase> {};

TEST_P(DrawingUnitsTest, FollowTheDisplayProportions)
{
    const UnitsCase& c = GetParam();
    constexpr double twipsPerPixel = 15.0;
    const WelcomeDrawingUnits units = FixDrawingUnits(QSizeF(c.widthPixels * twipsPerPixel, c.heightPixels * twipsPerPixel));
    EXPECT_FLOAT_EQ(units.ScaleWidth, c.scaleWidth);
    EXPECT_FLOAT_EQ(units.ScaleHeight, c.scaleHeight);
    EXPECT_NEAR(units.ChokeArcRadius, c.chokeArcRadius, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Displays, DrawingUnitsTest,
                         ::testing::Values(UnitsCase{800, 600, 12000, 9000, 80},
                                           UnitsCase{1024, 768, 9375, 7031.25f, 80},
                                           UnitsCase{1920, 1080, 5000, 5000, 60},
                                           UnitsCase{1366, 768, 7027.818f, 7031.25f, 59.9707f}));

TEST(WelcomeViewTransform, MapsTheGradientOntoTheShareOfTheWindowItCoversOnTheDisplay)
{
    const QTransform view = WelcomeViewTransform(QSizeF(1000, 1000));
    EXPECT_NEAR(view.map(QPointF(12000, 9000)).x(), 990.0, 1e-9);
    EXPECT_NEAR(view.map(QPointF(12000, 9000)).y(), 943.333, 1e-3);
}

// Four pixel rows per unit row: a 2-pixel line at row y covers pixel rows 4y - 1 and
// 4y only, so pixel row 4y shows exactly the blue of unit row y.
class GradientTest : public ::testing::Test {
protected:
    static constexpr double kPixelsPerRow = 4.0;
    static constexpr double kPixelsPerColumn = 0.01;

    void SetUp() override
    {
        image = QImage(130, int(9002 * kPixelsPerRow), QImage::Format_RGB32);
        image.fill(QColor(0, 0, 255));
        QPainter painter(&image);
        painter.setTransform(QTransform::fromScale(kPixelsPerColumn, kPixelsPerRow));
        PaintGradient(painter);
    }

    QColor RowColour(int row, int x = 60) const { return image.pixelColor(x, int(row * kPixelsPerRow)); }

    QImage image;
};

TEST_F(GradientTest, BlueLevelOfEachRowRoundsHalvesToEvenAndStaysWithin1And191)
{
    const std::pair<int, int> rowsAndBlue[] = {
        {1, 1}, {23, 1}, {24, 1}, {70, 1}, {71, 2}, {400, 8}, {401, 9}, {4800, 102}, {8964, 190}, {9000, 191},
    };
    for (const auto& [row, blue] : rowsAndBlue) {
        const QColor colour = RowColour(row);
        EXPECT_EQ(colour.blue(), blue) << "row " << row;
        EXPECT_EQ(colour.red(), 0) << "row " << row;
        EXPECT_EQ(colour.green(), 0) << "row " << row;
    }
}

TEST_F(GradientTest, LeavesTheBackgroundRightOfX12100AndBelowRow9000)
{
    EXPECT_EQ(RowColour(5000, 120).blue(), 106);
    EXPECT_EQ(RowColour(5000, 122), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(60, int(9000 * kPixelsPerRow) + 2), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(60, 2), QColor(0, 0, 255));
}

}  // namespace
