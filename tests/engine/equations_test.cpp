// The Class E equations on the start-up design, their dependencies, the
// L-network layouts and the floating-point failures inside the entry limits.
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

TEST(ClassEEquations, StartupDesignGivesTheQuotedFigures)
{
    const DesignRecord d = StartupDesign();
    EXPECT_DIGITS(d.Rload, 5.4659, 1e-4);
    EXPECT_DIGITS(d.Lseries, 1.0874e-6, 1e-10);
    EXPECT_DIGITS(d.C1, 1.5242e-9, 1e-13);
    EXPECT_DIGITS(d.C2, 1.9586e-9, 1e-13);
    EXPECT_DIGITS(d.Vpeak, 82.926, 1e-3);
    EXPECT_DIGITS(d.Ipeak, 6.1940, 1e-4);
    EXPECT_DIGITS(d.Efficiency, 0.95807, 1e-5);
    EXPECT_DIGITS(d.Idc, 2.1745, 1e-4);
    EXPECT_DIGITS(Rdc(d), 11.037, 1e-3);
    const Circuit c = BuildCircuit(d);
    EXPECT_TRUE(AllUsable(c));
    // What the supply gives and the load does not take heats the switch.
    EXPECT_DIGITS(c.efficiency.value, 0.95807, 1e-5);
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
    // A file may carry a zero fall time; with the switch saturating at the supply
    // the efficiency is exactly zero.
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
    // dn = 1 - (2 pi a)^2 / 12 is never exactly zero for a single a: on either side of
    // its root the efficiency is large, of opposite sign, and still a number.
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
    EXPECT_DIGITS(d.Lnetwork, 6.2078e-7, 1e-11);
    EXPECT_DIGITS(d.Cnetwork, 2.2715e-9, 1e-13);
    EXPECT_DIGITS(Ltotal(d), 1.7082e-6, 1e-10);
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
