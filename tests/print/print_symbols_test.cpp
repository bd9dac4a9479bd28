#include <QPainter>
#include <gtest/gtest.h>

#include "print/print_symbols.h"
#include "print_test_support.h"

namespace voltra {

namespace {

bool Has(const Recorder& r, QLineF line) { return std::ranges::count(r.lines, line) == 1; }

// How far the last three half turns drawn lie from filling `span`.
double CoilMiss(const Recorder& r, QRectF span)
{
    QRectF coil;
    for (int i = 1; i <= 3; ++i) coil |= r.paths.end()[-i].boundingRect();
    return (coil.topLeft() - span.topLeft()).manhattanLength() +
           (coil.bottomRight() - span.bottomRight()).manhattanLength();
}

TEST(PrintSymbols, LeadsMeetAndOnlySeriesPartsMoveTheCursor)
{
    Recorder r;
    QPainter page(&r);
    DesignRecord design = DesignWith(0);
    std::int16_t X = 5000, Y = 3000;
    PrintFET(page, X, Y);
    PrintVerticalL(page, design, X, Y);
    ASSERT_EQ(r.paths.size(), 4u);
    EXPECT_EQ(r.paths[0].boundingRect(), QRectF(4600, 3600, 800, 800));  // the FET's circle
    EXPECT_LT(CoilMiss(r, QRectF(QPointF(5100, 1830), QPointF(5180, 2310))), 0.01);
    EXPECT_TRUE(Has(r, QLineF(3800, 4000, 4950, 4000)));  // gate
    EXPECT_TRUE(Has(r, QLineF(5100, 4200, 5100, 5000)));  // source, to the ground line
    EXPECT_TRUE(Has(r, QLineF(5100, 3800, 5100, 2300)));  // drain, 10 into the choke
    EXPECT_TRUE(Has(r, QLineF(5100, 1840, 5100, 800)));   // supply, 10 into the choke
    // The ground line ends under the load standing at the cursor.
    std::int16_t loadX = 8000, loadY = 3000;
    PrintGround(page, loadX, loadY);
    EXPECT_TRUE(Has(r, QLineF(3800, 5000, 8300, 5000)));
    loadX = 9700;
    PrintGround(page, loadX, loadY);
    EXPECT_TRUE(Has(r, QLineF(3800, 5000, 10000, 5000)));

    PrintGenerator(page, X, Y);
    PrintShuntC(page, X, Y);
    PrintLoad(page, X, Y);
    PrintSeriesC(page, X, Y);
    PrintSeriesL(page, X, Y);
    EXPECT_EQ(X, 6500);
    EXPECT_EQ(Y, 3000);
    EXPECT_LT(CoilMiss(r, QRectF(QPointF(5800, 2920), QPointF(6280, 3000))), 0.01);
}

}  // namespace

}  // namespace voltra
