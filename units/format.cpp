// The six engineering formatters. Each walks its ladder of ranges from the top,
// scales the value into the chosen range, picks the decimals from the scaled
// number and rounds halves away from zero.
#include "units/format.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>

#include "units/number_text.h"

namespace voltra {

namespace {

struct Rung {
    double threshold;  // the row applies when the tested value is >= threshold
    double divisor;    // y = value / divisor; 0 marks the last row, which gives y = 0
    const char* suffix;
};

// Decimals chosen by the scaled number: the first row whose bound y exceeds.
struct DecimalsRow {
    double above;
    int decimals;
};

constexpr DecimalsRow kSmallDecimals[] = {{1000, 0}, {100, 1}, {10, 2}, {1, 3}, {-INFINITY, 4}};
constexpr DecimalsRow kLargeDecimals[] = {{100, 2}, {10, 3}, {1, 4}, {-INFINITY, 5}};
constexpr DecimalsRow kPartDecimals[] = {{1000, 2}, {100, 3}, {10, 4}, {1, 5}, {-INFINITY, 6}};

int DecimalsFor(float y, std::span<const DecimalsRow> table)
{
    for (const DecimalsRow& row : table)
        if (y > row.above) return row.decimals;
    return table.back().decimals;
}

const Rung& Pick(double tested, std::span<const Rung> ladder)
{
    for (const Rung& rung : ladder)
        if (rung.divisor == 0 || tested >= rung.threshold) return rung;
    return ladder.back();
}

// Rounds a scaled number to single precision; one beyond the single range
// becomes an infinity and is written as such.
float ToSingle(double y)
{
    if (std::fabs(y) > FLT_MAX) return y < 0 ? -INFINITY : INFINITY;
    return static_cast<float>(y);
}

// y rounded to single precision; a quotient beyond the single range stays infinite
// and is written as such.
float Scale(double value, const Rung& rung)
{
    if (rung.divisor == 0) return 0;
    return ToSingle(value / rung.divisor);
}

constexpr double kPowersOfTen[] = {1, 10, 100, 1000, 1e4, 1e5, 1e6};

// Rounds y to `decimals` places, halves away from zero, then takes the nearest
// single. y times 10^decimals is exact in double (24 bits of y, at most 14 of 5^6),
// so a true half is seen as one and std::round settles it away from zero.
float RoundHalfAway(float y, int decimals)
{
    const double scale = kPowersOfTen[decimals];
    const double units = std::round(static_cast<double>(y) * scale);
    const double quotient = units / scale;
    // The quotient is the double nearest the decimal; rounding it again to single is
    // wrong only when it lies exactly halfway between two singles: then read the
    // decimal itself.
    std::uint64_t bits;
    std::memcpy(&bits, &quotient, sizeof bits);
    constexpr std::uint64_t kBelowSingle = (std::uint64_t{1} << 29) - 1;
    if ((bits & kBelowSingle) != (std::uint64_t{1} << 28)) return static_cast<float>(quotient);
    char text[64];
    char* end = std::to_chars(text, text + sizeof text, units, std::chars_format::fixed, 0).ptr;
    *end++ = 'e';
    end = std::to_chars(end, text + sizeof text, -decimals).ptr;
    float nearest = 0;
    std::from_chars(text, end, nearest);
    return nearest;
}

// The number text and the row's suffix. A scaled number beyond the single range
// is written as "Inf" alone: no prefix makes it a value.
std::string NumberText(float y, int decimals, const char* suffix)
{
    if (!std::isfinite(y)) return SignificantText(y);
    return SignificantText(RoundHalfAway(y, decimals)) + suffix;
}

std::string Formatted(double value, std::span<const Rung> ladder, std::span<const DecimalsRow> decimals,
                      const char* zeroText)
{
    if (!std::isfinite(value)) return SignificantText(value);
    const Rung& rung = Pick(std::fabs(value), ladder);
    const float y = Scale(value, rung);
    const int places = DecimalsFor(std::fabs(y), decimals);
    if (y == 0) return zeroText;
    return NumberText(y, places, rung.suffix);
}

// FormatSmall scales by multiplying, tested on the magnitude.
struct SmallRung {
    double threshold;
    double multiplier;
    const char* suffix;
};
constexpr SmallRung kSmallLadder[] = {{0.001, 1000, "m"}, {1e-6, 1e6, "u"}, {1e-9, 1e9, "n"}, {0, 1e12, "p"}};

constexpr Rung kLargeLadder[] = {{1e9, 1e9, "G"}, {1e6, 1e6, "M"}, {1000, 1000, "k"}, {1, 1, " "}, {-INFINITY, 0.001, "m"}};

constexpr Rung kCapacitanceLadder[] = {{10000, 1e6, "MEG"},   {10, 1000, "KF"},
                                       {1, 1, "F"},           {0.01, 0.001, "mF"},
                                       {1e-8, 1e-6, "uF"},    {kNanofaradBound, 1e-9, "nF"},
                                       {1e-14, 1e-12, "pF"},  {0, 0, ""}};

constexpr Rung kInductanceLadder[] = {{1e6, 1e6, "MEG"}, {1000, 1000, "KH"}, {1, 1, "H"},    {0.001, 0.001, "mH"},
                                      {1e-6, 1e-6, "uH"}, {1e-10, 1e-9, "nH"}, {0, 0, ""}};

constexpr Rung kPrefixedLadder[] = {{1e9, 1e9, " G"},     {1e6, 1e6, " M"},     {1000, 1000, " k"},
                                    {1, 1, " "},          {0.001, 0.001, " m"}, {1e-6, 1e-6, " u"},
                                    {1e-9, 1e-9, " n"},   {1e-14, 1e-12, " p"}, {0, 0, ""}};

}  // namespace

std::string FormatSmall(double value)
{
    if (!std::isfinite(value)) return SignificantText(value);
    const SmallRung* rung = &kSmallLadder[0];
    while (std::fabs(value) < rung->threshold) ++rung;
    const float scaled = ToSingle(value * rung->multiplier);
    if (scaled == 0) return "0  ";
    return NumberText(scaled, DecimalsFor(std::fabs(scaled), kSmallDecimals), rung->suffix);
}

std::string FormatLarge(double value)
{
    if (!std::isfinite(value)) return SignificantText(value);
    // Tested on the signed value: everything below 1, negatives included, reads in milli.
    const Rung& rung = Pick(value, kLargeLadder);
    const float y = Scale(value, rung);
    if (y == 0) return "0.0 ";
    if (!std::isfinite(y)) return SignificantText(y);
    return LeadingSpaceText(RoundHalfAway(y, DecimalsFor(y, kLargeDecimals))) + rung.suffix;
}

std::string FormatCapacitance(double farads) { return Formatted(farads, kCapacitanceLadder, kPartDecimals, ""); }

std::string FormatInductance(double henries) { return Formatted(henries, kInductanceLadder, kPartDecimals, ""); }

std::string FormatPrefixed(double value) { return Formatted(value, kPrefixedLadder, kPartDecimals, ""); }

std::string FormatResistance(double ohms)
{
    struct ResistanceRung {
        double threshold;
        double divisor;
        int decimals;
        const char* suffix;
    };
    // Decimals follow the row: three for kilo- and megohms, fewer as ohms grow.
    static constexpr ResistanceRung kLadder[] = {{1e6, 1e6, 3, "MEG"}, {1000, 1000, 3, "k"}, {100, 1, 2, " "},
                                                 {10, 1, 3, " "},     {1, 1, 4, " "},       {0.001, 1, 5, " "}};
    if (!std::isfinite(ohms)) return SignificantText(ohms);
    const double magnitude = std::fabs(ohms);
    for (const ResistanceRung& rung : kLadder) {
        // The milliohm row alone is strict: exactly 0.001 ohm already reads as zero.
        const bool inRow = rung.threshold == 0.001 ? magnitude > rung.threshold : magnitude >= rung.threshold;
        if (!inRow) continue;
        const float y = Scale(ohms, Rung{rung.threshold, rung.divisor, rung.suffix});
        if (!(std::fabs(y) > 0.001f)) return "0 ";
        return NumberText(y, rung.decimals, rung.suffix);
    }
    return "0 ";
}

std::string FormatPercent(double fraction)
{
    constexpr double kPercentPerUnit = 100;
    const double percent = fraction * kPercentPerUnit;
    if (!std::isfinite(percent)) return SignificantText(percent) + " %";
    // A point, not the user's decimal comma, like every other number Voltra writes.
    char text[64];  // room for every finite single-precision fraction
    const char* end = std::to_chars(text, text + sizeof text, percent, std::chars_format::fixed, 1).ptr;
    std::string written(text, static_cast<std::size_t>(end - text));
    // -0.04 % rounds to "-0.0 %": a loss so small is no loss.
    if (written == "-0.0") written = "0.0";
    return written + " %";
}

}  // namespace voltra
