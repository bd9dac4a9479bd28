// Scans the leading number by hand: from_chars alone would reject a leading "+",
// and strtod follows the process locale, which a Qt program sets from the user's.
#include "files/leading_number.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

namespace voltra {

namespace {

// Significant digits kept: far more than a single-precision value can tell apart,
// and a bound on the work a line of millions of digits can cause.
constexpr std::size_t kKeptDigits = 40;
// Decimal orders beyond these are far outside the single-precision range either
// way; they are decided without converting, so no exponent can overflow.
constexpr long long kHighestOrder = 40;
constexpr long long kLowestOrder = -60;
// Exponent digits stop counting here; the order tests above decide such values.
constexpr long long kExponentCap = 1'000'000'000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    char Peek(std::size_t ahead = 0) const { return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0'; }
    void Skip(std::size_t count = 1) { at_ += count; }

    // Consumes '+' or '-' and returns whether the number is negative.
    bool Sign()
    {
        const char c = Peek();
        if (c == '+' || c == '-') Skip();
        return c == '-';
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

float ToSingle(double value)
{
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

}  // namespace

float LeadingNumber(std::string_view text)
{
    Scanner scan(text);
    while (scan.Peek() == ' ' || scan.Peek() == '\t') scan.Skip();
    const bool negative = scan.Sign();

    // The value is 0.<digits> x 10^(order + 1): leading zeros only move the order.
    std::string digits;
    long long order = -1;
    bool anyDigit = false;
    bool afterPoint = false;
    for (;; scan.Skip()) {
        const char c = scan.Peek();
        if (c == '.' && !afterPoint) {
            afterPoint = true;
            continue;
        }
        if (!IsDigit(c)) break;
        anyDigit = true;
        if (digits.empty() && c == '0') {
            if (afterPoint) --order;
            continue;
        }
        if (digits.size() < kKeptDigits) digits += c;
        if (!afterPoint) ++order;
    }
    if (!anyDigit) return 0.0f;

    if ((scan.Peek() == 'E' || scan.Peek() == 'e') &&
        (IsDigit(scan.Peek(1)) || ((scan.Peek(1) == '+' || scan.Peek(1) == '-') && IsDigit(scan.Peek(2))))) {
        scan.Skip();
        const bool negativeExponent = scan.Sign();
        long long exponent = 0;
        for (; IsDigit(scan.Peek()); scan.Skip()) exponent = std::min(exponent * 10 + (scan.Peek() - '0'), kExponentCap);
        order += negativeExponent ? -exponent : exponent;
    }

    if (digits.empty() || order < kLowestOrder) return 0.0f;
    if (order > kHighestOrder) return negative ? -FLT_MAX : FLT_MAX;

    const std::string normal = "0." + digits + "E" + std::to_string(order + 1);
    double magnitude = 0;
    std::from_chars(normal.data(), normal.data() + normal.size(), magnitude);
    return ToSingle(negative ? -magnitude : magnitude);
}

}  // namespace voltra
