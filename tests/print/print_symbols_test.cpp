#include <QPainter>
#include <gtest/gtest.h>

#include "print/print_symbols.h"
#include "print_test_support.h"

namespace {

class PrintSymbolsTest : public ::testing::Test {
protected:
    bool Has(QLineF line) const { return std::ranges::count(r.lines, line) == 1; }
    void ExpectCoilSpans(QRectF span) const  // the last three half turns, within 0.01 units
    {
        ASSERT_GE(r.arcs.size(), 3u);
        QRectF coil;
        for (auto arc = r.arcs.end() - 3; arc != r.arcs.end(); ++arc) coil |= arc->boundingRect();
        EXPECT_LT((coil.topLeft() - span.topLeft()).manhattanLength() +
                      (coil.bottomRight() - span.bottomRight()).manhattanLength(), 0.01);
    }

    Recorder r;
    QPainter page{&r};
    DesignRecord design = DesignWith(0);
    std::int16_t X = 5000;
    std::int16_t Y = 3000;
};

TEST_F(PrintSymbolsTest, FetLeadsEndOnTheGroundLineAndInsideTheChoke)
{
    PrintFET(page, X, Y);
    PrintVerticalL(page, design, X, Y);
    PrintGround(page, design, X, Y);
    EXPECT_EQ(r.circles, std::vector{QRectF(4600, 3600, 800, 800)});
    EXPECT_TRUE(Has(QLineF(3800, 4000, 4950, 4000)));  // gate
    EXPECT_TRUE(Has(QLineF(5100, 4200, 5100, 5000)));  // source
    EXPECT_TRUE(Has(QLineF(3800, 5000, 8300, 5000)));  // ground
    EXPECT_TRUE(Has(QLineF(5100, 3800, 5100, 2300)));  // drain, 10 into the choke
    EXPECT_TRUE(Has(QLineF(5100, 1840, 5100, 800)));   // supply, 10 into the choke
    ExpectCoilSpans(QRectF(QPointF(5100, 1830), QPointF(5180, 2310)));
    EXPECT_TRUE(Has(QLineF(5100, 3000, 5700, 3000)));  // drain node
    EXPECT_EQ(X, 5000);
    EXPECT_EQ(Y, 3000);
}

TEST_F(PrintSymbolsTest, OnlySeriesPartsMoveTheCursor)
{
    X = 6500;
    PrintGenerator(page, X, Y);
    PrintShuntC(page, X, Y);
    PrintLoad(page, X, Y);
    PrintSeriesC(page, X, Y);
    EXPECT_EQ(X, 7100);
    PrintSeriesL(page, X, Y);
    EXPECT_EQ(X, 8000);
    EXPECT_EQ(Y, 3000);
    ExpectCoilSpans(QRectF(QPointF(7300, 2920), QPointF(7780, 3000)));
    EXPECT_TRUE(Has(QLineF(7800, 3000, 8000, 3000)));
}

TEST_F(PrintSymbolsTest, GroundLineIgnoresTheCursorAndFollowsTheNetworkOption)
{
    for (std::int16_t state : {0, 1})
        for (auto [x, y] : {std::pair<std::int16_t, std::int16_t>{0, 0}, {INT16_MIN, INT16_MAX}}) {
            design.LnetState = state;
            r.lines.clear();
            PrintGround(page, design, x, y);
            EXPECT_EQ(r.lines, std::vector{QLineF(3800, 5000, state ? 10000 : 8300, 5000)});
        }
}

}  // namespace
