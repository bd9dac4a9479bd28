// The E12 and E24 tables against the published series: with twelve or twenty-four
// entries a decade, every published value rounding to itself leaves no room for a
// mistyped, dropped or swapped one.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/standard_values.h"

namespace voltra {
namespace {

// IEC 60063:2015, the E12 and E24 series (two figures, one decade).
constexpr double kPublishedE12[] = {1.0, 1.2, 1.5, 1.8, 2.2, 2.7, 3.3, 3.9, 4.7, 5.6, 6.8, 8.2};
constexpr double kPublishedE24[] = {1.0, 1.1, 1.2, 1.3, 1.5, 1.6, 1.8, 2.0, 2.2, 2.4, 2.7, 3.0,
                                    3.3, 3.6, 3.9, 4.3, 4.7, 5.1, 5.6, 6.2, 6.8, 7.5, 8.2, 9.1};

template <std::size_t N>
void ExpectEveryValueKept(const double (&published)[N], ESeries series)
{
    // Picofarads to kilohenries and back: every decade a part value can have.
    for (int decade = -13; decade <= 6; ++decade)
        for (const double mantissa : published) {
            const double value = mantissa * std::pow(10.0, decade);
            EXPECT_NEAR(RoundToSeries(value, series) / value, 1, 1e-12) << mantissa << "e" << decade;
        }
}

TEST(SeriesTables, E12HoldsEveryPublishedValueAndKeepsIt) { ExpectEveryValueKept(kPublishedE12, ESeries::E12); }

TEST(SeriesTables, E24HoldsEveryPublishedValueAndKeepsIt) { ExpectEveryValueKept(kPublishedE24, ESeries::E24); }

}  // namespace
}  // namespace voltra
