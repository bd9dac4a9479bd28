// ParseValue: scale letters, exponents, the characters it ignores, and its limits.
#include <gtest/gtest.h>

#include <string>

#include "units/parse.h"

namespace voltra {

namespace {

struct Case {
    std::string text;
    float value;
};

void PrintTo(const Case& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class ParseValueTable : public ::testing::TestWithParam<Case> {};

TEST_P(ParseValueTable, ReadsWhatTheEngineerMeant) { EXPECT_EQ(ParseValue(GetParam().text), GetParam().value); }

const float kTenMilli = static_cast<float>(10.0 * 1e-3f);

INSTANTIATE_TEST_SUITE_P(
    Examples, ParseValueTable,
    ::testing::Values(
        Case{"", 0}, Case{"abc", 0}, Case{"-", 0}, Case{".", 0}, Case{"  4.7k  ", 4700}, Case{"4 MHz", 4e6f},
        Case{"24V", 24}, Case{"50 ohms", 0.05f}, Case{"10MEG", 1e7f}, Case{"10Meg", 1e7f}, Case{"10meg", kTenMilli},
        Case{"10m", kTenMilli}, Case{"1g", 1e9f}, Case{"4k7", 4000}, Case{"1E3k", 1000}, Case{"5-3", 53},
        Case{"e5", 5}, Case{"1.2.3", 1.23f}, Case{"1E-", 1}, Case{"-1e2", -100}, Case{"1000ps", 1e-9f},
        Case{" .5m", 0.0005f}, Case{"1.356E+07", 1.356e7f},
        // Scale letters give the same single as the exponent.
        Case{"2.2n", 2.2e-9f}, Case{"4.7u", 4.7e-6f}, Case{"1000p", 1e-9f},
        // Upper-case letters where the table allows them, and a leading plus.
        Case{"2.2N", 2.2e-9f}, Case{"4.7K", 4700}, Case{"1.5U", 1.5e-6f}, Case{"3P", 3e-12f}, Case{"+5", 5},
        Case{"+4.7k", 4700},
        // Only the first twelve characters after trimming count.
        Case{"1.5        k", 1500}, Case{"1.5         k", 1.5f},
        // Beyond single precision, then beyond +-1e10.
        Case{"1e5e3", 1e10f}, Case{"1E5.5", 1e10f}, Case{"1E39", 1e10f}, Case{"-1E39", 1e10f},
        Case{"100G", 1e10f}, Case{"-100G", -1e10f}, Case{"1234567890123", 1e10f}, Case{"1e-50", 0},
        // The texts the user guide and the first screen show.
        Case{"4.7 MHz", 4.7e6f}, Case{"1.5n", static_cast<float>(1.5 * 1e-9f)}, Case{"2.2e-9", 2.2e-9f}, Case{"4.7e-6", 4.7e-6f},
        Case{"1e-9", 1e-9f}, Case{"13.56M", 13.56e6f}, Case{"13.56MEG", 13.56e6f},
        // Any bytes at all.
        Case{std::string(10000, '9'), 1e10f}, Case{std::string(10000, ' ') + "7", 7},
        Case{"\xc2\xb5" "5\xff\x80", 5}, Case{std::string("1\0" "5", 3), 15}));

// The micro sign and the Greek mu read as "u", and count as one character each.
// Where no point is typed, a comma is the decimal point.
INSTANTIATE_TEST_SUITE_P(
    MicroAndDecimalComma, ParseValueTable,
    ::testing::Values(
        Case{"4.7\xc2\xb5", 4.7e-6f}, Case{"4.7\xce\xbc" "F", 4.7e-6f}, Case{"1\xc2\xb5" "5", 1e-6f},
        Case{"1E3\xce\xbc", 1000}, Case{"1.5        \xc2\xb5", 1.5e-6f}, Case{"1.5         \xc2\xb5", 1.5f},
        Case{"13,56M", 13.56e6f}, Case{"4,5", 4.5f}, Case{",5", 0.5f}, Case{"-0,5", -0.5f}, Case{"2,5ns", 2.5e-9f},
        Case{"1,5E3", 1500}, Case{"1,2,3", 1.23f}, Case{"1.000,5", 1.0005f}, Case{"1E3,5", 1e10f},
        Case{"4k7,5", 4000}, Case{"4,7\xc2\xb5", 4.7e-6f}));

}  // namespace

}  // namespace voltra
