// ParseValue: scale letters, exponents, the characters it ignores, and its limits.
#include <gtest/gtest.h>

#include <string>

#include "units/parse.h"

namespace {

struct Case {
    const char* text;
    float value;
};

void PrintTo(const Case& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class ParseValueTable : public ::testing::TestWithParam<Case> {};

TEST_P(ParseValueTable, ReadsWhatTheEngineerMeant)
{
    EXPECT_EQ(ParseValue(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ParseValueTable,
    ::testing::Values(
        // Nothing numeric reads as zero.
        Case{"", 0}, Case{"abc", 0}, Case{"-", 0}, Case{"   ", 0}, Case{".", 0}, Case{"+-", 0},
        // Blanks around are trimmed; units and words are ignored.
        Case{"  4.7k  ", 4700}, Case{"4 MHz", 4e6f}, Case{"24V", 24}, Case{"50 ohms", 0.05f},
        // Mega needs the capital M; "meg" is milli.
        Case{"10MEG", 1e7f}, Case{"10Meg", 1e7f},
        Case{"1g", 1e9f}, Case{"3K", 3000}, Case{"2U", static_cast<float>(2.0 * 1e-6f)},
        // Only the first letter scales, nothing after it counts.
        Case{"4k7", 4000}, Case{"1E3k", 1000}, Case{"5-3", 53},
        // Exponents.
        Case{"e5", 5}, Case{"2.2e-9", 2.2e-9f}, Case{"1.2.3", 1.23f}, Case{"1E", 1}, Case{"1E-", 1},
        Case{"-1e2", -100}, Case{"+7", 7},
        // Limits: beyond single precision, then beyond +-1e10.
        Case{"1e5e3", 1e10f}, Case{"1E5.5", 1e10f}, Case{"1E39", 1e10f}, Case{"-1E39", 1e10f},
        Case{"100G", 1e10f}, Case{"-100G", -1e10f}, Case{"2e10", 1e10f}, Case{"1234567890123", 1e10f},
        Case{"1e-50", 0}));

TEST(ParseValue, ScaleLettersGiveTheSameSingleAsTheExponent)
{
    EXPECT_EQ(ParseValue("2.2n"), ParseValue("2.2e-9"));
    EXPECT_EQ(ParseValue("4.7u"), ParseValue("4.7e-6"));
    EXPECT_EQ(ParseValue("1000p"), ParseValue("1e-9"));
    EXPECT_EQ(ParseValue("1000p"), 1e-9f);
    EXPECT_EQ(ParseValue("2.2n"), static_cast<float>(static_cast<double>(2.2f) * 1e-9f));
}

TEST(ParseValue, LowerCaseMIsMilliWhateverFollows)
{
    // 10 times the single nearest 0.001, rounded once more to single.
    const float milli = static_cast<float>(10.0 * 1e-3f);
    EXPECT_EQ(ParseValue("10meg"), milli);
    EXPECT_EQ(ParseValue("10m"), milli);
    EXPECT_FLOAT_EQ(ParseValue("10m"), 0.01f);
}

TEST(ParseValue, ReadsOnlyTheFirstTwelveCharacters)
{
    EXPECT_EQ(ParseValue("1.5        k"), 1500);  // twelve characters
    EXPECT_EQ(ParseValue("1.5         k"), 1.5f);  // the k is the thirteenth
    EXPECT_EQ(ParseValue("   1.5         k   "), 1.5f);  // counted after trimming
}

TEST(ParseValue, ReadsTheFormattersOwnTexts)
{
    EXPECT_EQ(ParseValue(" 4M"), 4e6f);
    EXPECT_EQ(ParseValue("1000ps"), 1e-9f);
    EXPECT_EQ(ParseValue("5 "), 5);
    EXPECT_EQ(ParseValue(" .5m"), 0.0005f);
    EXPECT_EQ(ParseValue("50.5 "), 50.5f);
    EXPECT_EQ(ParseValue("1.356E+07"), 1.356e7f);
}

TEST(ParseValue, AnyTextGivesANumber)
{
    EXPECT_EQ(ParseValue(std::string(10000, '9')), 1e10f);
    EXPECT_EQ(ParseValue(std::string(10000, ' ') + "7"), 7);
    EXPECT_EQ(ParseValue("\xc2\xb5" "5\xff\x80"), 5);
    EXPECT_EQ(ParseValue(std::string("1\0" "5", 3)), 15);
    EXPECT_EQ(ParseValue("+-+-eEkKmM"), 0);
}

}  // namespace
