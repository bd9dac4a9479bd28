// ParseValue: plain numbers, an exponent and one SPICE-style scale letter.
#include "units/parse.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr size_t kMaxCharacters = 12;

struct ScaleLetter {
    char typed;
    char kept;
    float multiplier;
};

// Lower-case m is milli and upper-case M mega, so "MEG" reads as mega and "meg" as milli.
constexpr ScaleLetter kScaleLetters[] = {
    {'P', 'p', 1e-12f}, {'p', 'p', 1e-12f}, {'N', 'n', 1e-9f}, {'n', 'n', 1e-9f}, {'U', 'u', 1e-6f},
    {'u', 'u', 1e-6f},  {'m', 'm', 1e-3f},  {'K', 'k', 1e3f},  {'k', 'k', 1e3f},  {'M', 'M', 1e6f},
    {'G', 'G', 1e9f},   {'g', 'G', 1e9f},
};

const ScaleLetter* FindScaleLetter(char c)
{
    for (const ScaleLetter& letter : kScaleLetters)
        if (letter.typed == c) return &letter;
    return nullptr;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The leading number of the numeric text: sign, digits with a point, and an exponent
// only when digits follow its "E" (and sign). Nothing that fits reads as 0. Read
// with from_chars rather than strtod, which takes its decimal separator from the
// process locale, and Qt sets that from the user's desktop.
double LeadingNumber(const std::string& text)
{
    size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t start = i;
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    size_t end = i;
    bool negativeExponent = false;
    if (i < text.size() && text[i] == 'E') {
        size_t j = i + 1;
        negativeExponent = j < text.size() && text[j] == '-';
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) ++j;
            end = j;
        }
    }
    double magnitude = 0;
    // Twelve characters hold at most eleven digits, so only the exponent can leave
    // the double range: downwards the number is zero, upwards beyond any limit.
    if (std::from_chars(text.data() + start, text.data() + end, magnitude).ec == std::errc::result_out_of_range)
        magnitude = negativeExponent ? 0.0 : HUGE_VAL;
    return negative ? -magnitude : magnitude;
}

}  // namespace

float ParseValue(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return 0;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    text = text.substr(0, kMaxCharacters);

    std::string numeric;
    float multiplier = 1;
    bool pointSeen = false, exponentSeen = false, scaleSeen = false;
    for (char c : text) {
        if (!scaleSeen && IsDigit(c)) {
            numeric += c;
        } else if (c == '.' && !scaleSeen && !pointSeen) {
            pointSeen = true;
            numeric += '.';
        } else if (c == '+' || c == '-') {
            if (numeric.empty() || numeric.back() == 'E') numeric += c;
        } else if (!numeric.empty()) {
            if ((c == 'E' || c == 'e') && !scaleSeen) {
                if (exponentSeen) continue;
                exponentSeen = true;
                pointSeen = true;  // no point may follow the exponent
                numeric += 'E';
                continue;
            }
            if (exponentSeen || scaleSeen) continue;
            if (const ScaleLetter* letter = FindScaleLetter(c)) {
                scaleSeen = true;
                numeric += letter->kept;
                multiplier = letter->multiplier;
            }
        }
    }

    // Beyond the single-precision range, whatever the sign, reads as the limit.
    const double number = LeadingNumber(numeric);
    if (!(std::fabs(number) <= FLT_MAX)) return kParseLimit;
    const double result = static_cast<double>(static_cast<float>(number)) * multiplier;
    if (!(std::fabs(result) <= FLT_MAX)) return kParseLimit;
    const float value = static_cast<float>(result);
    if (value > kParseLimit) return kParseLimit;
    if (value < -kParseLimit) return -kParseLimit;
    return value;
}
