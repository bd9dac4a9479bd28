#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>

#include "print/print_symbols.h"
#include "recording_device.h"

namespace {

class PrintSymbolsTest : public ::testing::Test {
protected:
    void SetUp() override { StartupValues(design_); }

    template <class Symbols> const Recording& Draw(Symbols symbols)
    {
        QPainter page(&device_);
        symbols(page);
        return device_.recording;
    }
    bool Has(QLineF line) const { return std::ranges::count(device_.recording.lines, line) == 1; }
    QRectF ArcBounds() const
    {
        QRectF bounds;
        for (const QPainterPath& arc : device_.recording.arcs) bounds |= arc.boundingRect();
        return bounds;
    }

    DesignRecord design_;
    RecordingDevice device_;
    std::int16_t x_ = 5000;
    std::int16_t y_ = 3000;
};

TEST_F(PrintSymbolsTest, FetCircleGateLeadAndSourceLeadOnTheGroundLine)
{
    Draw([&](QPainter& page) {
        PrintFET(page, x_, y_);
        PrintGround(page, design_, x_, y_);
    });
    EXPECT_EQ(device_.recording.circles, std::vector<QRectF>{QRectF(4600, 3600, 800, 800)});
    EXPECT_TRUE(Has(QLineF(3800, 4000, 4950, 4000)));  // gate lead
    EXPECT_TRUE(Has(QLineF(5100, 4200, 5100, 5000)));  // source lead
    EXPECT_TRUE(Has(QLineF(3800, 5000, 8300, 5000)));  // ground line under it
}

TEST_F(PrintSymbolsTest, GroundLineIgnoresTheCursorAndFollowsTheNetworkOption)
{
    for (std::int16_t state : {0, 1})
        for (auto [x, y] : {std::pair<std::int16_t, std::int16_t>{0, 0}, {INT16_MIN, INT16_MAX}, {INT16_MAX, -1}}) {
            design_.LnetState = state;
            device_.recording.lines.clear();
            Draw([&](QPainter& page) { PrintGround(page, design_, x, y); });
            EXPECT_EQ(device_.recording.lines, std::vector<QLineF>{QLineF(3800, 5000, state ? 10000 : 8300, 5000)});
        }
}

TEST_F(PrintSymbolsTest, OnlySeriesPartsAdvanceTheCursor)
{
    x_ = 6500;
    Draw([&](QPainter& page) {
        PrintGenerator(page, x_, y_);
        PrintFET(page, x_, y_);
        PrintVerticalL(page, design_, x_, y_);
        PrintShuntC(page, x_, y_);
        PrintLoad(page, x_, y_);
        PrintGround(page, design_, x_, y_);
        EXPECT_EQ(x_, 6500);
        PrintSeriesC(page, x_, y_);
        PrintSeriesL(page, x_, y_);
    });
    EXPECT_EQ(x_, 8000);
    EXPECT_EQ(y_, 3000);
}

TEST_F(PrintSymbolsTest, SeriesCoilSpansXPlus200ToXPlus680AboveTheLine)
{
    x_ = 7100;
    Draw([&](QPainter& page) { PrintSeriesL(page, x_, y_); });
    ASSERT_EQ(device_.recording.arcs.size(), 3u);
    const QRectF coil = ArcBounds();
    EXPECT_NEAR(coil.left(), 7300, 0.01);
    EXPECT_NEAR(coil.right(), 7780, 0.01);
    EXPECT_NEAR(coil.top(), 2920, 0.01);
    EXPECT_NEAR(coil.bottom(), 3000, 0.01);
    EXPECT_TRUE(Has(QLineF(7800, 3000, 8000, 3000)));  // outgoing lead starts 20 past the coil
}

TEST_F(PrintSymbolsTest, ChokeCoilSpansYMinus1170ToYMinus690AndMeetsTheDrainLead)
{
    Draw([&](QPainter& page) {
        PrintVerticalL(page, design_, x_, y_);
        PrintFET(page, x_, y_);
    });
    ASSERT_EQ(device_.recording.arcs.size(), 3u);
    const QRectF coil = ArcBounds();
    EXPECT_NEAR(coil.top(), 1830, 0.01);
    EXPECT_NEAR(coil.bottom(), 2310, 0.01);
    EXPECT_NEAR(coil.left(), 5100, 0.01);  // right-hand half turns on the lead's line
    EXPECT_NEAR(coil.right(), 5180, 0.01);
    // Supply lead from 10 units inside the top, drain lead to 10 units inside the bottom.
    EXPECT_TRUE(Has(QLineF(5100, 1840, 5100, 800)));
    EXPECT_TRUE(Has(QLineF(5100, 3800, 5100, 2300)));
    EXPECT_TRUE(Has(QLineF(5100, 3000, 5700, 3000)));  // drain node
}

}  // namespace
