// Class E equations: scaling laws, L-network layouts, floating-point failures at the limits.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/circuit.h"
#include "engine/equations.h"

namespace voltra {

namespace {

DesignRecord StartupDesign()
{
    DesignRecord design;
    StartupValues(design);
    FindAll(design);
    return design;
}

// Within half a unit of the last digit quoted.
#define EXPECT_DIGITS(actual, quoted, lastDigit) EXPECT_NEAR(actual, quoted, (lastDigit) / 2)

// The results themselves are pinned bit for bit in pinned_designs_test.cpp.
TEST(ClassEEquations, StartupCircuitHeatsTheSwitchWithWhatTheLoadDoesNotTake)
{
    const DesignRecord d = StartupDesign();
    const Circuit c = BuildCircuit(d);
    EXPECT_TRUE(AllUsable(c));
    EXPECT_EQ(c.efficiency.value, d.Efficiency);
    EXPECT_DIGITS(c.dissipation.value, 24 * 2.1745 - 50, 3e-3);
    EXPECT_EQ(c.dissipation.status, Status::Valid);
}

TEST(ClassEEquations, FrequencyScalesTheReactivePartsAndPowerTheLoad)
{
    DesignRecord base = StartupDesign();
    LnetworkWorking w;
    FindLnetwork(base, w, 50);
    DesignRecord doubled = base;
    doubled.Frequency *= 2;
    FindAll(doubled);
    FindLnetwork(doubled, w, 50);
    for (auto part : {&DesignRecord::Lseries, &DesignRecord::C1, &DesignRecord::C2, &DesignRecord::Lnetwork,
                      &DesignRecord::Cnetwork})
        EXPECT_FLOAT_EQ(doubled.*part, base.*part / 2);
    EXPECT_EQ(doubled.Rload, base.Rload);
    EXPECT_EQ(doubled.Ipeak, base.Ipeak);

    // The fall-time loss depends on F * tf alone.
    DesignRecord slower = base;
    slower.Falltime *= 2;
    FindAll(slower);
    EXPECT_EQ(doubled.Efficiency, slower.Efficiency);
    EXPECT_EQ(doubled.Idc, slower.Idc);

    DesignRecord half = base;
    half.Power /= 2;
    FindAll(half);
    EXPECT_FLOAT_EQ(half.Rload, 2 * base.Rload);
}

TEST(ClassEEquations, SaturationAboveSupplyGivesNumbersNoStageCanReach)
{
    DesignRecord d = StartupDesign();
    d.Saturation = 40;
    FindAll(d);
    EXPECT_GT(d.Rload, 0);
    EXPECT_LT(d.Idc, 0);
    EXPECT_LT(d.Vpeak, 0);
    const Circuit c = BuildCircuit(d);
    EXPECT_EQ(c.idc.status, Status::Invalid);
    EXPECT_EQ(c.vpeak.status, Status::Invalid);
    EXPECT_FALSE(AllUsable(c));
}

TEST(FloatingPointFailure, SaturationEqualToSupplyMarksTheCapacitorsInvalid)
{
    DesignRecord d = StartupDesign();
    d.Saturation = d.Supply;
    FindAll(d);
    EXPECT_EQ(d.Rload, 0);
    EXPECT_FALSE(IsValid(d.C1));
    EXPECT_FALSE(IsValid(d.C2));
    EXPECT_TRUE(IsValid(d.Vpeak));
    EXPECT_FALSE(AllUsable(BuildCircuit(d)));
    LnetworkWorking w;
    FindLnetwork(d, w, 50);
    EXPECT_FALSE(IsValid(d.Cnetwork));
}

TEST(FloatingPointFailure, ZeroEfficiencyMarksTheSupplyCurrentInvalid)
{
    // A file may carry a zero fall time; saturating at the supply, efficiency is exactly zero.
    DesignRecord d = StartupDesign();
    d.Falltime = 0;
    d.Saturation = d.Supply;
    FindAll(d);
    EXPECT_EQ(d.Efficiency, 0);
    EXPECT_FALSE(IsValid(d.Idc));
    EXPECT_FALSE(IsValid(Rdc(d)));
    const Circuit c = BuildCircuit(d);
    EXPECT_EQ(c.efficiency.status, Status::Invalid);
    EXPECT_EQ(c.dissipation.status, Status::Invalid);
}

TEST(FloatingPointFailure, EfficiencyDenominatorPassingZeroStaysFinite)
{
    // dn = 1 - (2 pi a)^2 / 12 is never exactly zero in single: either side is large, finite, of opposite sign.
    DesignRecord d = StartupDesign();
    const double root = std::sqrt(12.0) / 6.28318 / ((0.82 / 5 + 1.0) * 4e6);
    d.Falltime = static_cast<float>(root * (1 - 1e-6));
    FindAll(d);
    const float below = d.Efficiency;
    d.Falltime = static_cast<float>(root * (1 + 1e-6));
    FindAll(d);
    EXPECT_TRUE(IsValid(below) && IsValid(d.Efficiency));
    EXPECT_LT(below * d.Efficiency, 0);
    EXPECT_GT(std::fabs(below), 1000);
}

TEST(FloatingPointFailure, ResultBeyondSingleRangeIsInvalidNotInfinite)
{
    DesignRecord d = StartupDesign();
    d.Power = 1e-37f;
    FindAll(d);
    EXPECT_TRUE(std::isnan(d.Rload));
    EXPECT_TRUE(std::isnan(d.C1));
}

TEST(Lnetwork, LayoutFollowsTheSideOfTheNetworkResistance)
{
    DesignRecord d = StartupDesign();
    d.LnetState = true;
    LnetworkWorking w;
    FindLnetwork(d, w, 50);
    EXPECT_EQ(LayoutOf(d), NetworkLayout::SeriesLFirst);
    EXPECT_EQ(w.Rlow, d.Rload);
    EXPECT_DIGITS(w.Xseries, 15.602, 1e-3);
    EXPECT_DIGITS(w.Xshunt, 17.517, 1e-3);
    EXPECT_TRUE(AllUsable(BuildCircuit(d)));

    FindLnetwork(d, w, 2);
    EXPECT_EQ(LayoutOf(d), NetworkLayout::ShuntCFirst);
    EXPECT_EQ(w.Rlow, 2);
    EXPECT_EQ(w.Rhigh, d.Rload);
}

TEST(Lnetwork, EqualResistancesKeepThePreviousNetwork)
{
    DesignRecord d = StartupDesign();
    d.LnetState = true;
    LnetworkWorking w;
    d.Rload = 50;
    FindLnetwork(d, w, 50);
    EXPECT_EQ(d.Lnetwork, 0);  // never computed
    d.Rload = 20;
    FindLnetwork(d, w, 50);
    const float L = d.Lnetwork;
    d.Rload = 50;
    FindLnetwork(d, w, 50);
    EXPECT_EQ(LayoutOf(d), NetworkLayout::None);
    EXPECT_EQ(d.Lnetwork, L);
}

TEST(Lnetwork, NetworkResistanceIsClampedToItsRange)
{
    DesignRecord d = StartupDesign();
    LnetworkWorking w;
    for (float entered : {0.0f, -5.0f, 0.01f}) {
        FindLnetwork(d, w, entered);
        EXPECT_EQ(d.Rnetwork, kRnetworkMin) << entered;
    }
    FindLnetwork(d, w, 10000.0f);
    EXPECT_EQ(d.Rnetwork, kRnetworkMax);
    FindLnetwork(d, w, 20000.0f);
    EXPECT_EQ(d.Rnetwork, kRnetworkMax);
}

}  // namespace

}  // namespace voltra
