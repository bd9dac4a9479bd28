// A command-line value stands as written or is refused: never a silent substitute.
#include <gtest/gtest.h>

#include "units/parse.h"
#include "units/whole_value.h"

namespace voltra {
namespace {

// Each accepted text gives what the entry boxes give for its number and scale, so
// the command line and the screen calculate the same design.
TEST(WholeValue, AcceptsTheBoxesNotationWithAnOptionalUnit)
{
    struct Case {
        const char* text;
        const char* unit;
        const char* asTheBoxReadsIt;
    };
    for (const Case& c : {Case{"13.56M", "Hz", "13.56M"},
                          {"13.56MHz", "Hz", "13.56M"},
                          {" 13.56 mhz ", "Hz", "13.56m"},
                          {"2n", "s", "2n"},
                          {"2ns", "s", "2n"},
                          {"100pF", "F", "100p"},
                          {"4.7e-6", "F", "4.7e-6"},
                          {"10MEG", "ohm", "10M"},
                          {"10Meg", "ohm", "10M"},
                          {"50", "ohm", "50"},
                          {"50 ohm", "ohm", "50"},
                          {"4,7k", "ohm", "4.7k"},
                          {"4.7\xC2\xB5", "F", "4.7u"},
                          {"+3", "", "3"},
                          {"-1p", "F", "-1p"},
                          {".5", "V", ".5"},
                          {"5.", "V", "5"},
                          {"1E10", "Hz", "1E10"},
                          {"10G", "Hz", "10G"}}) {
        const WholeValue read = ReadWholeValue(c.text, c.unit);
        ASSERT_TRUE(read.value.has_value()) << c.text << ": " << read.problem;
        EXPECT_EQ(*read.value, ParseValue(c.asTheBoxReadsIt)) << c.text;
        EXPECT_TRUE(read.problem.empty());
    }
    EXPECT_EQ(*ReadWholeValue("2n", "s").value, 2e-9f);
    EXPECT_EQ(*ReadWholeValue("2F", "F").value, 2.0f);  // farads, not femto: there is no f
}

// Each of these the boxes read as some number the writer did not mean.
TEST(WholeValue, RefusesWhatTheBoxesWouldReadAsSomethingElse)
{
    for (const char* text : {"", "   ", "abc", "-", "e5", "20x", "50 ohms", "10meg", "4k7", "1.2.3", "5-3", "1E", "1E+",
                             "2 n s", "k", "1e5e3", "1E5.5", "1,2,3", "13.56MHzz", "3 W"}) {
        const WholeValue read = ReadWholeValue(text, "ohm");
        EXPECT_FALSE(read.value.has_value()) << text << " read as " << read.value.value_or(0);
        EXPECT_NE(read.problem.find(std::string("\"") + text), std::string::npos) << read.problem;
    }
    // The unit must be the option's own.
    EXPECT_FALSE(ReadWholeValue("100V", "F").value);
    EXPECT_TRUE(ReadWholeValue("100V", "V").value);
}

TEST(WholeValue, RefusesAmbiguityLengthAndRangeWithTheirReasons)
{
    // "1E3k" reads as 1000 in a box: the k is dropped after an exponent.
    EXPECT_NE(ReadWholeValue("1E3k", "").problem.find("both an exponent and a scale letter"), std::string::npos);
    // Twelve characters are read; the thirteenth would be cut off.
    EXPECT_TRUE(ReadWholeValue("123456.78901", "").value);
    EXPECT_NE(ReadWholeValue("123456.789012", "").problem.find("12 characters"), std::string::npos);
    EXPECT_NE(ReadWholeValue("0.0000000001k", "").problem.find("12 characters"), std::string::npos);
    // The boxes limit to 1e10 without a word.
    EXPECT_EQ(*ReadWholeValue("10G", "").value, kParseLimit);
    EXPECT_NE(ReadWholeValue("10.1G", "").problem.find("beyond 1e10"), std::string::npos);
    EXPECT_NE(ReadWholeValue("-2E10", "").problem.find("beyond 1e10"), std::string::npos);
    EXPECT_NE(ReadWholeValue("1E400", "").problem.find("beyond 1e10"), std::string::npos);
}

}  // namespace
}  // namespace voltra
