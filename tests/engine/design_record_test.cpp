// Start-up values. The clamps of typed entry, stepping and loading are tested through the
// design screen (design_screen_test.cpp).
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
    EXPECT_EQ(d.Power, -7.0f);
    EXPECT_EQ(d.Rnetwork, 0);  // waits for the design screen
}

}  // namespace

}  // namespace voltra
