// The formatters: ladders, decimals, zeros, halves away from zero, singles just below a decimal bound.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "units/format.h"
#include "units/parse.h"

namespace voltra {

namespace {

using Formatter = std::string (*)(double);

struct Case {
    Formatter format;
    double value;
    const char* text;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.value << " -> \"" << c.text << '"'; }

// Values reach the formatters from single-precision fields.
double Single(double value) { return static_cast<float>(value); }

class Formatted : public ::testing::TestWithParam<Case> {};

TEST_P(Formatted, GivesTheExactText) { EXPECT_EQ(GetParam().format(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Ladders, Formatted,
    ::testing::Values(
        // The single nearest 1 ns lies below 1e-9 and reads in pico; so does 1 uH in nano.
        Case{FormatSmall, Single(1e-9), "1000p"}, Case{FormatSmall, Single(1.01e-9), "1.01n"},
        Case{FormatSmall, Single(4.975e-8), "49.75n"}, Case{FormatSmall, 0.5, "500m"}, Case{FormatSmall, Single(0.1234567), "123.5m"}, Case{FormatSmall, 5, "5000m"},
        Case{FormatSmall, Single(-4.7e-6), "-4.7u"}, Case{FormatSmall, 0, "0  "},
        Case{FormatLarge, 4e6, " 4M"}, Case{FormatLarge, Single(13.56e6), " 13.56M"}, Case{FormatLarge, 1000, " 1k"},
        Case{FormatLarge, 500, " 500 "}, Case{FormatLarge, Single(990.099), " 990.1 "},
        Case{FormatLarge, -5, "-5000m"}, Case{FormatLarge, Single(0.0005), " .5m"}, Case{FormatLarge, 0, "0.0 "},
        Case{FormatCapacitance, 47000, "0.047MEG"}, Case{FormatCapacitance, 47, "0.047KF"},
        Case{FormatCapacitance, Single(4.7e-6), "4.7uF"}, Case{FormatCapacitance, Single(1.5242e-9), "1.5242nF"},
        Case{FormatCapacitance, 1e-9, "1nF"}, Case{FormatCapacitance, Single(1e-9), "1000pF"},
        Case{FormatCapacitance, 1e-14, "0.01pF"}, Case{FormatCapacitance, Single(1e-14), ""},
        Case{FormatCapacitance, 0, ""},
        Case{FormatInductance, 2e6, "2MEG"}, Case{FormatInductance, 4700, "4.7KH"}, Case{FormatInductance, 0.5, "500mH"},
        Case{FormatInductance, Single(1e-6), "1000nH"}, Case{FormatInductance, Single(1e-10), "0.1nH"},
        Case{FormatInductance, Single(9e-11), ""},
        Case{FormatResistance, 50, "50 "}, Case{FormatResistance, 12.5, "12.5 "}, Case{FormatResistance, 4700, "4.7k"},
        Case{FormatResistance, 2.2e6, "2.2MEG"}, Case{FormatResistance, Single(5.46591), "5.4659 "},
        Case{FormatResistance, Single(123.456), "123.46 "}, Case{FormatResistance, Single(0.0123456), "0.01235 "},
        Case{FormatResistance, 0.0005, "0 "}, Case{FormatResistance, 0.001, "0 "}, Case{FormatResistance, 0, "0 "},
        Case{FormatPrefixed, 24, "24 "}, Case{FormatPrefixed, Single(0.0047), "4.7 m"},
        Case{FormatPrefixed, Single(-0.0047), "-4.7 m"}, Case{FormatPrefixed, 2500, "2.5 k"},
        Case{FormatPrefixed, Single(1e-13), "0.1 p"}, Case{FormatPrefixed, Single(1e-15), ""},
        // Rounding carries into the next decade without changing the row.
        Case{FormatPrefixed, Single(9.999999), "10 "}, Case{FormatSmall, Single(9.99999e-7), "1000n"},
        // Exact binary halves go away from zero; just below a half stays below.
        Case{FormatSmall, 1.0005, "1001m"}, Case{FormatSmall, -1.0005, "-1001m"},
        Case{FormatResistance, 100.125, "100.13 "}, Case{FormatResistance, -100.125, "-100.13 "},
        Case{FormatResistance, Single(100.124), "100.12 "},
        // Seven significant digits at most.
        Case{FormatPrefixed, Single(1.2345678e14), "123456.8 G"}, Case{FormatPrefixed, Single(1.234568e13), "12345.68 G"},
        // Beyond what any caller passes: full digits, so the text still reads back.
        Case{FormatSmall, 12345.678, "12345680m"}, Case{FormatCapacitance, 1e13, "10000000MEG"},
        Case{FormatSmall, 1e300, "Inf"}, Case{FormatSmall, 1e-300, "0  "},
        // Efficiency: one decimal; an impossible one still reads as its number.
        Case{FormatPercent, Single(0.95807), "95.8 %"}, Case{FormatPercent, 1, "100.0 %"},
        Case{FormatPercent, 0.00049, "0.0 %"}, Case{FormatPercent, -0.0004, "0.0 %"},
        Case{FormatPercent, -0.25, "-25.0 %"}, Case{FormatPercent, 12.5, "1250.0 %"}));

TEST(Formatters, NonFiniteValuesSayWhatTheyAreAndExtremesStayShort)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (Formatter format : {FormatSmall, FormatLarge, FormatCapacitance, FormatInductance, FormatResistance, FormatPrefixed}) {
        EXPECT_EQ(format(std::nan("")), "NaN");
        EXPECT_EQ(format(inf), "Inf");
        EXPECT_EQ(format(-inf), "-Inf");
        EXPECT_EQ(FormatPercent(std::nan("")), "NaN %");
        for (double v : {3.4e38, -3.4e38, 1e-45}) EXPECT_LT(format(v).size(), 48u);
    }
}

TEST(Formatters, TextsReadBackWithinTheirRounding)
{
    for (double value : {1.5242e-9, 1.9586e-9, 2.2715e-9, 1.0874e-6, 6.2078e-7, 4.7e-10, 3.3e-3, 0.27}) {
        const float v = static_cast<float>(value);
        for (Formatter format : {FormatCapacitance, FormatInductance, FormatSmall})
            EXPECT_NEAR(ParseValue(format(v)), v, v * 5e-4) << format(v);
    }
}

}  // namespace

}  // namespace voltra
