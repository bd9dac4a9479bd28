// ParseValue: plain numbers, an exponent and one SPICE-style scale letter.
#include "units/parse.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

namespace voltra {

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

// A deliberate extension of the SPICE letters: the micro sign (U+00B5) and the Greek
// small mu (U+03BC) that keyboards and data sheets put in "4.7µF", both as UTF-8,
// read as "u".
constexpr std::string_view kMicroSigns[] = {"\xC2\xB5", "\xCE\xBC"};
constexpr char kMicroLetter = 'u';

const ScaleLetter* FindScaleLetter(char c)
{
    for (const ScaleLetter& letter : kScaleLetters)
        if (letter.typed == c) return &letter;
    return nullptr;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsMicroSign(std::string_view text)
{
    for (std::string_view sign : kMicroSigns)
        if (text.starts_with(sign)) return true;
    return false;
}

// The text cut to its first characters, counting a UTF-8 sequence as the one
// character the user typed; a micro sign becomes the letter u.
std::string FirstCharacters(std::string_view text)
{
    std::string kept;
    size_t characters = 0;
    for (size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const bool startsCharacter = (byte & 0xC0) != 0x80;
        if (startsCharacter && ++characters > kMaxCharacters) break;
        if (byte >= 0x80 && IsMicroSign(text.substr(at))) {
            kept += kMicroLetter;
            ++at;
            continue;
        }
        kept += text[at];
    }
    return kept;
}

// A deliberate extension for engineers whose language writes decimal commas and who
// type "13,56M": where the text holds no point, its commas stand for the point. A
// text with a point reads as it always did, and only the first point counts, so
// "1,2,3" reads as 1.23.
void CommaAsPoint(std::string& text)
{
    if (text.find('.') != std::string::npos) return;
    for (char& c : text)
        if (c == ',') c = '.';
}

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
    std::string walked = FirstCharacters(text.substr(first, text.find_last_not_of(' ') - first + 1));
    CommaAsPoint(walked);

    std::string numeric;
    float multiplier = 1;
    bool pointSeen = false, exponentSeen = false, scaleSeen = false;
    for (char c : walked) {
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

}  // namespace voltra
