// ReadWholeValue: the grammar of an entry-box value, checked to its last character.
#include "units/whole_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "units/parse.h"

namespace voltra {
namespace {

// ParseValue reads no further; a longer number would be cut without a word.
constexpr std::size_t kLongestNumber = 12;

struct Scale {
    std::string_view written;
    double multiplier;
};

// Longest first, so "MEG" is not read as "M" followed by a unit "EG". Lower-case
// "meg" is refused: the boxes read it as milli, which nobody writing it means.
constexpr Scale kScales[] = {
    {"MEG", 1e6}, {"Meg", 1e6}, {"\xC2\xB5", 1e-6}, {"\xCE\xBC", 1e-6}, {"p", 1e-12}, {"P", 1e-12},
    {"n", 1e-9},  {"N", 1e-9},  {"u", 1e-6},        {"U", 1e-6},        {"m", 1e-3},  {"k", 1e3},
    {"K", 1e3},   {"M", 1e6},   {"G", 1e9},         {"g", 1e9},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::size_t Digits(std::string_view text, std::size_t at)
{
    std::size_t end = at;
    while (end < text.size() && IsDigit(text[end])) ++end;
    return end - at;
}

WholeValue Refused(std::string_view text, const std::string& why)
{
    return {std::nullopt, "\"" + std::string(text) + "\" " + why};
}

}  // namespace

WholeValue ReadWholeValue(std::string_view original, std::string_view unit)
{
    const std::string_view text = Trimmed(original);
    const std::string notValue =
        "is not a value: write a number, with an exponent or one scale letter (p n u m k M G) if you like" +
        (unit.empty() ? std::string() : ", and the unit " + std::string(unit));

    // Sign, digits, one point or comma, digits: at least one digit in all.
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    std::size_t digits = Digits(text, at);
    at += digits;
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
        const std::size_t fraction = Digits(text, at + 1);
        digits += fraction;
        at += 1 + fraction;
    }
    if (digits == 0) return Refused(original, notValue);
    std::size_t numberEnd = at;

    bool exponent = false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t j = at + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t exponentDigits = Digits(text, j);
        if (exponentDigits == 0) return Refused(original, notValue);
        at = numberEnd = j + exponentDigits;
        exponent = true;
    }

    while (at < text.size() && text[at] == ' ') ++at;
    double multiplier = 1;
    std::string_view letter;
    for (const Scale& scale : kScales) {
        if (text.substr(at).starts_with(scale.written)) {
            multiplier = scale.multiplier;
            letter = scale.written;
            break;
        }
    }
    if (!letter.empty() && exponent)
        return Refused(original, "has both an exponent and a scale letter; write one of them");
    const std::string_view rest = Trimmed(text.substr(at + letter.size()));
    if (!rest.empty() && !SameIgnoringCase(rest, unit)) return Refused(original, notValue);

    std::string number(text.substr(0, numberEnd));
    std::replace(number.begin(), number.end(), ',', '.');
    double magnitude = 0;
    const char* first = number.data() + (number[0] == '+' ? 1 : 0);
    const auto read = std::from_chars(first, number.data() + number.size(), magnitude);
    if (read.ec == std::errc::result_out_of_range || !(std::fabs(magnitude * multiplier) <= kParseLimit))
        return Refused(original, "is beyond 1e10, the largest value Voltra reads");

    // What the boxes would be given: the number and its letter, MEG as its M and a
    // micro sign as u. ParseValue takes the multiplier in single precision, as they do.
    std::string asTyped(text.substr(0, numberEnd));
    if (letter.size() == 3) asTyped += 'M';
    else if (letter.size() == 2) asTyped += 'u';
    else asTyped += letter;
    if (asTyped.size() > kLongestNumber)
        return Refused(original, "is longer than the 12 characters a value may have");
    return {ParseValue(asTyped), {}};
}

}  // namespace voltra
