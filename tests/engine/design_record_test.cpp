// Start-up values and the clamps of typed entry, stepping and loading.
#include <gtest/gtest.h>

#include "engine/design_record.h"

namespace voltra {

namespace {

TEST(StartupValues, DefaultsOnlyTheTargetsStillAtZero)
{
    DesignRecord d;
    d.Power = -7;  // a non-zero target, even a negative one, is kept
    StartupValues(d);
    EXPECT_EQ(d.Frequency, 4e6f);
    EXPECT_EQ(d.Supply, 24.0f);
    EXPECT_EQ(d.Saturation, 1.0f);
    EXPECT_EQ(d.Power, -7.0f);
    EXPECT_EQ(d.NetworkQ, 5.0f);
    EXPECT_EQ(d.Falltime, 1e-9f);
    EXPECT_EQ(d.Pi, 3.1415927f);
    EXPECT_EQ(d.Rnetwork, 0);  // waits for the design screen
}

struct ClampCase {
    Target target;
    float entered;
    float stored;
    bool recalculates;
};

void PrintTo(const ClampCase& c, std::ostream* out) { *out << static_cast<int>(c.target) << ": " << c.entered; }

class TypedEntry : public ::testing::TestWithParam<ClampCase> {};

TEST_P(TypedEntry, ClampsThenDecidesOnRecalculation)
{
    const ClampCase c = GetParam();
    const float stored = ClampEntry(c.target, c.entered, 1.0f);
    EXPECT_EQ(stored, c.stored);
    EXPECT_EQ(InRecalcRange(c.target, stored), c.recalculates);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, TypedEntry,
    ::testing::Values(ClampCase{Target::Frequency, 4, 100, false}, ClampCase{Target::Frequency, 1000, 1000, true},
                      ClampCase{Target::Power, 0, 0.01f, true}, ClampCase{Target::Power, 0.01f, 0.01f, true},
                      ClampCase{Target::Power, 2e6f, 1e6f, true}, ClampCase{Target::Supply, 0.5f, 1.001f, true},
                      ClampCase{Target::Supply, 60000, 50000, true}, ClampCase{Target::Saturation, 6000, 6000, false},
                      ClampCase{Target::Saturation, 60000, 5000, true}, ClampCase{Target::NetworkQ, 0.5f, 1.8f, true},
                      ClampCase{Target::Falltime, 0, 1e-10f, true}, ClampCase{Target::Falltime, 1e-3f, 1e-4f, true}));

TEST(TypedEntry, SupplyStaysAboveThePresentSaturation)
{
    EXPECT_EQ(ClampEntry(Target::Supply, 20, 20), static_cast<float>(20 + 0.001));
    EXPECT_EQ(ClampEntry(Target::Supply, 20.5f, 20), 20.5f);
    EXPECT_EQ(ClampEntry(Target::Saturation, 40, 1), 40);  // never compared with the supply
}

TEST(Stepping, OnePressIsOneFactorOf1Point01)
{
    EXPECT_EQ(StepValue(50, 1), 50.5f);
    EXPECT_EQ(StepValue(1000, -1), static_cast<float>(1000 / 1.01));
}

TEST(LoadingTheScreen, UsesItsOwnTighterLimits)
{
    EXPECT_EQ(ClampOnLoad(Target::Frequency, 5000), 10000);
    EXPECT_EQ(ClampOnLoad(Target::Power, 0.5f), 1);
    EXPECT_EQ(ClampOnLoad(Target::Saturation, 6000), 5000);
    EXPECT_EQ(ClampOnLoad(Target::Falltime, 1e-10f), 1e-9f);
    EXPECT_EQ(ClampOnLoad(Target::Falltime, 1e-4f), 1e-5f);
}

}  // namespace

}  // namespace voltra
