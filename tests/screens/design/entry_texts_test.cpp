// First texts of a load and texts left by an arrow step, each read back by the parser.
#include <gtest/gtest.h>

#include "screens/design/entry_texts.h"
#include "units/parse.h"

namespace {

struct TextCase {
    Target target;
    float value;
    const char* text;
};

class LoadTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(LoadTexts, ReadBackToTheValue)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(LoadText(c.target, c.value), c.text);
    EXPECT_FLOAT_EQ(ParseValue(c.text), c.value);
}

INSTANTIATE_TEST_SUITE_P(EntryTexts, LoadTexts,
                         ::testing::Values(TextCase{Target::Frequency, 4e6f, "4000000"},
                                           TextCase{Target::Frequency, 13.56e6f, "1.356E+07"},
                                           TextCase{Target::Frequency, 1e10f, "1E+10"},
                                           TextCase{Target::Power, 50, "50"},
                                           TextCase{Target::Supply, 50000, "50000"},
                                           TextCase{Target::Saturation, 0.001f, "0.001"},
                                           TextCase{Target::NetworkQ, 5, "5 "},
                                           TextCase{Target::NetworkQ, 10000, "10k"},
                                           TextCase{Target::Falltime, 1e-9f, "1000ps"},
                                           TextCase{Target::Falltime, 1e-5f, "10us"}));

class StepTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(StepTexts, CarryThePrefixButNoUnit)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(StepText(c.target, c.value), c.text);
    EXPECT_NEAR(ParseValue(c.text), c.value, c.value * 1e-6);
}

INSTANTIATE_TEST_SUITE_P(EntryTexts, StepTexts,
                         ::testing::Values(TextCase{Target::Frequency, 4.04e6f, " 4.04M"},
                                           TextCase{Target::Power, 50.5f, "50.5 "},
                                           TextCase{Target::NetworkQ, 10100, "10.1 k"},
                                           TextCase{Target::Falltime, 1.01e-9f, "1.01n"}));

TEST(RnetworkLoadText, FirstTextUntilANetworkIsChosenThenTheFullValue)
{
    EXPECT_EQ(RnetworkLoadText(0), "50");
    EXPECT_EQ(RnetworkLoadText(-3), "50");
    EXPECT_EQ(RnetworkLoadText(75), " 75");
    EXPECT_EQ(RnetworkLoadText(0.5f), " .5");
    EXPECT_EQ(RnetworkLoadText(1234.567f), " 1234.567");
    EXPECT_EQ(RnetworkLoadText(10000), " 10000");
}

}  // namespace
