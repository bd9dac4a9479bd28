// Rounding to the E12, E24 and E96 series: nearest by ratio, across decades.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/standard_values.h"

namespace voltra {
namespace {

TEST(StandardValues, RoundsToTheNearestValueByRatioInAnyDecade)
{
    struct Case {
        double value;
        ESeries series;
        double rounded;
    };
    const Case cases[] = {
        {4.99e-9, ESeries::E24, 5.1e-9},    // nearer 5.1 than 4.7
        {1.04, ESeries::E24, 1.0},          // the ratio midpoint of 1.0 and 1.1 is 1.0488
        {1.05, ESeries::E24, 1.1},          //   although 1.05 is their arithmetic midpoint
        {9.6, ESeries::E24, 10},            // up into the next decade
        {9.5, ESeries::E24, 9.1},
        {1e-12, ESeries::E12, 1e-12},       // a power of ten stays
        {3.2e3, ESeries::E12, 3.3e3},
        {0.0149, ESeries::E12, 0.015},
        {1.08e-6, ESeries::E12, 1.0e-6},
        {1.08e-6, ESeries::E24, 1.1e-6},
        {1.08e-6, ESeries::E96, 1.07e-6},
        {4.975e-9, ESeries::E96, 4.99e-9},
        {9.9e5, ESeries::E96, 1e6},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(RoundToSeries(c.value, c.series) / c.rounded, 1, 1e-12) << c.value;
}

// E96 is the preferred-number series 10^(i/96) to three figures throughout; every
// value, in every decade a part can have, must round to itself.
TEST(StandardValues, E96HoldsEveryPreferredNumberAndKeepsIt)
{
    for (int decade = -13; decade <= 6; ++decade)
        for (int i = 0; i < 96; ++i) {
            const double value = std::round(100 * std::pow(10.0, i / 96.0)) / 100 * std::pow(10.0, decade);
            EXPECT_NEAR(RoundToSeries(value, ESeries::E96) / value, 1, 1e-12) << i << "e" << decade;
        }
}

// A value at the geometric mean of two neighbours rounds down, in every decade.
TEST(StandardValues, ATieRoundsDown)
{
    for (double decade : {1e-9, 1.0, 1e3}) {
        EXPECT_EQ(RoundToSeries(std::sqrt(1.1) * decade, ESeries::E24), 1.0 * decade) << decade;
        EXPECT_EQ(RoundToSeries(std::sqrt(1.2) * decade, ESeries::E12), 1.0 * decade) << decade;
    }
}

TEST(StandardValues, NoValueForWhatIsNotAPositiveNumber)
{
    for (double value : {0.0, -4.7e-9, double(NAN), double(INFINITY)})
        EXPECT_TRUE(std::isnan(RoundToSeries(value, ESeries::E24))) << value;
}

}  // namespace
}  // namespace voltra
