// Decimal text of single-precision values with seven significant digits.
#include "units/number_text.h"

#include <cmath>
#include <charconv>
#include <cstdlib>
#include <string_view>

namespace voltra {

namespace {

void DropTrailingZeros(std::string& text)
{
    if (text.find('.') == std::string::npos) return;
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
}

// Seven significant digits as "d.dddddde+XX"; the exponent is the one after rounding.
int RoundedExponent(double value, std::string& mantissa)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 6).ptr;
    const std::string_view text(buffer, static_cast<size_t>(end - buffer));
    const auto e = text.find('e');
    mantissa.assign(text.substr(0, e));
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
    return exponent;
}

std::string NonFiniteText(double value)
{
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Inf" : "Inf";
}

}  // namespace

std::string SignificantText(double value)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    if (value == 0) return "0";
    std::string mantissa;
    const int exponent = RoundedExponent(value, mantissa);
    std::string text;
    if (exponent >= 7) {
        // Ten million and more: the seven digits, then zeros up to the units.
        for (char c : mantissa)
            if (c != '.') text += c;
        text.append(static_cast<size_t>(exponent - 6), '0');
        return text;
    }
    char buffer[400];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6 - exponent).ptr;
    text.assign(buffer, end);
    DropTrailingZeros(text);
    if (text == "-0") text = "0";
    return text;
}

std::string LeadingSpaceText(double value)
{
    std::string text = SignificantText(value);
    const bool negative = text.front() == '-';
    if (negative) text.erase(0, 1);
    if (text.starts_with("0.")) text.erase(0, 1);
    return (negative ? "-" : " ") + text;
}

std::string GeneralNumberText(float value)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    if (value == 0) return "0";
    std::string mantissa;
    const int exponent = RoundedExponent(value, mantissa);
    if (exponent < 7 && exponent >= -4) return SignificantText(value);
    DropTrailingZeros(mantissa);
    const int digits = std::abs(exponent);
    std::string text = mantissa + (exponent < 0 ? "E-" : "E+") + (digits < 10 ? "0" : "");
    char buffer[8];
    return text.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, digits).ptr);
}

}  // namespace voltra
