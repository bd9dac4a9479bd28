// Plain and general number texts: seven digits, and where exponent form begins.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>

#include "units/number_text.h"

namespace voltra {

namespace {

TEST(GeneralNumberText, FileAndEntryBoxForms)
{
    const std::pair<float, const char*> cases[] = {
        {4e6f, "4000000"},       {24, "24"},           {1e-9f, "1E-09"},        {4.975e-8f, "4.975E-08"},
        {1.356e7f, "1.356E+07"}, {1e10f, "1E+10"},     {0.001f, "0.001"},       {-0.25f, "-0.25"},
        {0, "0"},                {1e-40f, "9.999946E-41"},
        // The exponent is decided after rounding to seven digits.
        {9999999.0f, "9999999"}, {9999999.6f, "1E+07"}, {9.9999999e-5f, "0.0001"}, {9.99e-5f, "9.99E-05"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(GeneralNumberText(value), text) << value;
}

TEST(GeneralNumberText, RereadingTheTextWritesItAgainUnchanged)
{
    for (float v : {0.1f, 1.0874e-6f, 5.465908f, 123456.7f, 3.4028235e38f, 1.17549435e-38f}) {
        const std::string once = GeneralNumberText(v);
        float reread = 0;
        std::from_chars(once.data(), once.data() + once.size(), reread);
        EXPECT_EQ(GeneralNumberText(reread), once) << v;
    }
}

TEST(LeadingSpaceText, SpaceForTheSignAndNoZeroBeforeThePoint)
{
    EXPECT_EQ(LeadingSpaceText(75), " 75");
    EXPECT_EQ(LeadingSpaceText(0.25f), " .25");
    EXPECT_EQ(LeadingSpaceText(-0.5), "-.5");
    EXPECT_EQ(LeadingSpaceText(0.16145346f), " .1614535");
}

TEST(SignificantText, DropsTrailingZerosAndNegativeZero)
{
    EXPECT_EQ(SignificantText(123456.78f), "123456.8");
    EXPECT_EQ(SignificantText(-1e-12), "-0.000000000001");
    EXPECT_EQ(SignificantText(-0.0), "0");
    EXPECT_EQ(SignificantText(std::nan("")), "NaN");
}

}  // namespace

}  // namespace voltra
