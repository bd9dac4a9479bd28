// The formatters on arbitrary single-precision bit patterns: no undefined
// behaviour, short texts alike under any locale, and inside the range each one
// shows, a text that reads back through ParseValue to the value within the
// formatter's rounding.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/fuzz/fuzz_locale.h"
#include "units/format.h"
#include "units/parse.h"

using namespace voltra;

namespace {

struct Shown {
    std::string (*format)(double);
    double low;       // magnitudes from here up to `high` read back
    double high;
    double absolute;  // half a unit of the last decimal where a row fixes the decimals
};

// Where each formatter keeps at least four significant digits and its text stays
// inside what ParseValue reads: twelve characters, a result within 1e10.
const Shown kShown[] = {
    {FormatSmall, 1e-12, 1e3, 0},     {FormatCapacitance, 1e-14, 1e4, 0}, {FormatInductance, 1e-10, 1e6, 0},
    {FormatPrefixed, 1e-14, 1e10, 0}, {FormatResistance, 1e-3, 1e6, 5e-6},
};

void Check(bool condition)
{
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size < sizeof(float)) return 0;
    float value;
    std::memcpy(&value, data, sizeof value);

    for (auto format : {FormatSmall, FormatLarge, FormatCapacitance, FormatInductance, FormatResistance, FormatPrefixed}) {
        const std::string text = format(value);
        Check(text.size() < 64);
        Check(text == voltra::UnderClassicLocale([&] { return format(value); }));
    }
    if (!std::isfinite(value)) return 0;

    const double magnitude = std::fabs(value);
    for (const Shown& shown : kShown) {
        if (magnitude < shown.low * 1.001 || magnitude > shown.high) continue;
        const std::string text = shown.format(value);
        const float back = ParseValue(text);
        // Four significant digits at least, or the fixed decimals of the milliohm row.
        Check(std::fabs(back - value) <= magnitude * 6e-4 + shown.absolute + 1e-17);
    }
    return 0;
}
