// The six formatters: ladders, decimals, zero texts, rounding and the thresholds
// where a single-precision value lies just below its decimal bound.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "units/format.h"
#include "units/parse.h"

namespace {

struct Case {
    double value;
    const char* text;
};

void ExpectAll(std::string (*format)(double), std::initializer_list<Case> cases)
{
    for (const Case& c : cases) EXPECT_EQ(format(c.value), c.text) << "value " << c.value;
}

// Values come from single-precision fields, so tests pass them the same way.
double Single(double value) { return static_cast<float>(value); }

TEST(FormatSmall, LadderAndDecimals)
{
    ExpectAll(FormatSmall, {{Single(1e-9), "1000p"},  // the single nearest 1 ns lies below it
                            {Single(1.01e-9), "1.01n"},
                            {Single(4.975e-8), "49.75n"},
                            {Single(1.99e-4), "199u"},
                            {0.5, "500m"},
                            {5, "5000m"},
                            {Single(1e-10), "100p"},
                            {Single(2.5e-12), "2.5p"},
                            {Single(1234.5678e-9), "1.235u"},
                            {Single(-4.7e-6), "-4.7u"},
                            {0, "0  "}});
}

TEST(FormatLarge, SignedLadderWithLeadingSpace)
{
    ExpectAll(FormatLarge, {{4e6, " 4M"},
                            {Single(13.56e6), " 13.56M"},
                            {1000, " 1k"},
                            {500, " 500 "},
                            {Single(990.099), " 990.1 "},
                            {0.5, " 500m"},
                            {-5, "-5000m"},
                            {1e10, " 10G"},
                            {0, "0.0 "}});
}

TEST(FormatLarge, BelowOneHasNoDigitBeforeThePoint)
{
    EXPECT_EQ(FormatLarge(Single(0.0005)), " .5m");
    EXPECT_EQ(FormatLarge(Single(-0.0005)), "-.5m");
}

TEST(FormatCapacitance, LadderFromMegaToPico)
{
    ExpectAll(FormatCapacitance, {{47000, "0.047MEG"},
                                  {47, "0.047KF"},
                                  {4.7, "4.7F"},
                                  {Single(0.047), "47mF"},
                                  {Single(4.7e-6), "4.7uF"},
                                  {Single(1.5242e-9), "1.5242nF"},
                                  {Single(1e-9), "1000pF"},
                                  {Single(220e-12), "220pF"},
                                  {1e-14, "0.01pF"},
                                  {Single(1e-14), ""},  // the single nearest 1e-14 lies below it
                                  {Single(9e-15), ""},
                                  {0, ""}});
}

TEST(FormatCapacitance, NanofaradBoundSeparatesNanoFromPico)
{
    EXPECT_EQ(FormatCapacitance(1e-9), "1nF");
    EXPECT_EQ(FormatCapacitance(std::nextafter(1e-9, 0.0)), "1000pF");
}

TEST(FormatInductance, LadderFromMegaToNano)
{
    ExpectAll(FormatInductance, {{2e6, "2MEG"},
                                 {4700, "4.7KH"},
                                 {0.5, "500mH"},
                                 {Single(1e-6), "1000nH"},
                                 {Single(1.0874e-6), "1.0874uH"},
                                 {Single(6.2078e-7), "620.78nH"},
                                 {Single(1e-10), "0.1nH"},
                                 {Single(9e-11), ""},
                                 {0, ""}});
}

TEST(FormatResistance, DecimalsFollowTheRow)
{
    ExpectAll(FormatResistance, {{50, "50 "},
                                 {12.5, "12.5 "},
                                 {4700, "4.7k"},
                                 {2.2e6, "2.2MEG"},
                                 {5, "5 "},
                                 {Single(5.46591), "5.4659 "},
                                 {Single(123.456), "123.46 "},
                                 {Single(0.0123456), "0.01235 "},
                                 {Single(-47), "-47 "},
                                 {0, "0 "},
                                 {0.0005, "0 "},
                                 {0.001, "0 "}});
}

TEST(FormatPrefixed, SpaceBeforeThePrefix)
{
    ExpectAll(FormatPrefixed, {{24, "24 "},
                               {Single(0.0047), "4.7 m"},
                               {2500, "2.5 k"},
                               {Single(-0.0047), "-4.7 m"},
                               {Single(82.926), "82.926 "},
                               {Single(2.1745), "2.1745 "},
                               {Single(50.5), "50.5 "},
                               {Single(1e-13), "0.1 p"},
                               {Single(1e-15), ""},
                               {0, ""}});
}

TEST(Rounding, CarriesIntoTheNextDecadeWithoutChangingTheRow)
{
    EXPECT_EQ(FormatPrefixed(Single(9.999999)), "10 ");
    EXPECT_EQ(FormatSmall(Single(9.99999e-7)), "1000n");
}

TEST(Rounding, ExactHalvesGoAwayFromZero)
{
    // 2.5, 0.125 and 1.5625 are exact in binary, so these are true halves.
    EXPECT_EQ(FormatSmall(1.0005), "1001m");
    EXPECT_EQ(FormatSmall(-1.0005), "-1001m");
    EXPECT_EQ(FormatResistance(100.125), "100.13 ");
    EXPECT_EQ(FormatResistance(-100.125), "-100.13 ");
    EXPECT_EQ(FormatResistance(1.03125), "1.0313 ");
    // Just below a half stays below.
    EXPECT_EQ(FormatResistance(Single(100.124)), "100.12 ");
}

TEST(Rounding, SevenSignificantDigitsAtMost)
{
    EXPECT_EQ(FormatPrefixed(Single(1.2345678e14)), "123456.8 G");
    EXPECT_EQ(FormatPrefixed(Single(1.234568e13)), "12345.68 G");
    EXPECT_EQ(FormatPrefixed(Single(1234.57)), "1.23457 k");
}

TEST(OutOfShownRange, TenMillionAndMoreIsWrittenInFullDigits)
{
    EXPECT_EQ(FormatSmall(12345.678), "12345680m");
    EXPECT_EQ(FormatCapacitance(1e13), "10000000MEG");
    EXPECT_FLOAT_EQ(ParseValue(FormatSmall(12345.678)), 12345.68f);
}

TEST(OutOfShownRange, NonFiniteValuesSayWhatTheyAre)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (auto format : {FormatSmall, FormatLarge, FormatCapacitance, FormatInductance, FormatResistance, FormatPrefixed}) {
        EXPECT_EQ(format(nan), "NaN");
        EXPECT_EQ(format(inf), "Inf");
        EXPECT_EQ(format(-inf), "-Inf");
    }
    EXPECT_EQ(FormatSmall(1e300), "Inf");
    EXPECT_EQ(FormatSmall(1e-300), "0  ");
}

TEST(OutOfShownRange, ExtremeFiniteValuesStayShort)
{
    for (double v : {1e38, -1e38, 1e-45, -1e-45, 3.4e38}) {
        for (auto format : {FormatSmall, FormatLarge, FormatCapacitance, FormatInductance, FormatResistance, FormatPrefixed})
            EXPECT_LT(format(v).size(), 48u) << v;
    }
}

class RoundTrip : public ::testing::TestWithParam<double> {};

// What a formatter writes reads back through the parser to the value within the
// formatter's rounding: seven significant digits, or the decimals of the row.
TEST_P(RoundTrip, FormattedTextParsesBack)
{
    const float value = static_cast<float>(GetParam());
    // At least four significant digits survive every row's decimals.
    const double tolerance = std::fabs(value) * 5e-4;
    EXPECT_NEAR(ParseValue(FormatCapacitance(value)), value, tolerance) << FormatCapacitance(value);
    EXPECT_NEAR(ParseValue(FormatInductance(value)), value, tolerance) << FormatInductance(value);
    EXPECT_NEAR(ParseValue(FormatSmall(value)), value, tolerance) << FormatSmall(value);
}

INSTANTIATE_TEST_SUITE_P(Parts, RoundTrip,
                         ::testing::Values(1.5242e-9, 1.9586e-9, 1e-9, 2.2715e-9, 1.0874e-6, 6.2078e-7, 4.7e-10,
                                           3.3e-3, 0.27, 1e-4));

}  // namespace
