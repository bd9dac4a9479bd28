// Plain and general number texts: seven digits, and where exponent form begins.
#include <gtest/gtest.h>

#include <cmath>

#include "units/number_text.h"

namespace {

TEST(GeneralNumberText, FileAndEntryBoxForms)
{
    EXPECT_EQ(GeneralNumberText(4e6f), "4000000");
    EXPECT_EQ(GeneralNumberText(24), "24");
    EXPECT_EQ(GeneralNumberText(1e-9f), "1E-09");
    EXPECT_EQ(GeneralNumberText(4.975e-8f), "4.975E-08");
    EXPECT_EQ(GeneralNumberText(1.356e7f), "1.356E+07");
    EXPECT_EQ(GeneralNumberText(1e10f), "1E+10");
    EXPECT_EQ(GeneralNumberText(0.001f), "0.001");
    EXPECT_EQ(GeneralNumberText(23.5f), "23.5");
    EXPECT_EQ(GeneralNumberText(1.8f), "1.8");
    EXPECT_EQ(GeneralNumberText(-0.25f), "-0.25");
    EXPECT_EQ(GeneralNumberText(0), "0");
    EXPECT_EQ(GeneralNumberText(1e-40f), "9.999946E-41");
}

TEST(GeneralNumberText, ExponentIsDecidedAfterRounding)
{
    EXPECT_EQ(GeneralNumberText(9999999.0f), "9999999");
    EXPECT_EQ(GeneralNumberText(9999999.6f), "1E+07");
    EXPECT_EQ(GeneralNumberText(1e-4f), "0.0001");
    EXPECT_EQ(GeneralNumberText(9.9999999e-5f), "0.0001");
    EXPECT_EQ(GeneralNumberText(9.99e-5f), "9.99E-05");
    EXPECT_EQ(GeneralNumberText(1.5e38f), "1.5E+38");
}

TEST(GeneralNumberText, RereadingTheTextWritesItAgainUnchanged)
{
    // Seven digits do not pin every single, but a file written, read and written
    // again must not drift.
    for (float v : {0.1f, 1.0874e-6f, 5.465908f, 123456.7f, 3.4028235e38f, 1.17549435e-38f, 4.9999995e-5f}) {
        const std::string once = GeneralNumberText(v);
        EXPECT_EQ(GeneralNumberText(std::strtof(once.c_str(), nullptr)), once) << v;
    }
    EXPECT_EQ(std::strtof(GeneralNumberText(5.5f).c_str(), nullptr), 5.5f);
}

TEST(SignificantText, DropsTrailingZerosAndSign)
{
    EXPECT_EQ(SignificantText(4.70), "4.7");
    EXPECT_EQ(SignificantText(1234.57f), "1234.57");
    EXPECT_EQ(SignificantText(12345.68f), "12345.68");
    EXPECT_EQ(SignificantText(123456.78f), "123456.8");
    EXPECT_EQ(SignificantText(-1e-12), "-0.000000000001");
    EXPECT_EQ(SignificantText(-0.0), "0");
    EXPECT_EQ(SignificantText(std::nan("")), "NaN");
}

}  // namespace
