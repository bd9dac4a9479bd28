// The Class E equations on the start-up design, their dependencies, the
// L-network layouts and the floating-point failures inside the entry limits.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/equations.h"

namespace {

DesignRecord StartupDesign()
{
    DesignRecord design;
    StartupValues(design);
    FindAll(design);
    return design;
}

// Within half a unit of the last digit the figures are quoted to.
void ExpectDigits(float actual, double quoted, double lastDigit)
{
    EXPECT_NEAR(actual, quoted, lastDigit / 2) << "quoted " << quoted;
}

TEST(ClassEEquations, StartupDesignGivesTheQuotedFigures)
{
    const DesignRecord d = StartupDesign();
    ExpectDigits(d.Rload, 5.4659, 1e-4);
    ExpectDigits(d.Lseries, 1.0874e-6, 1e-10);
    ExpectDigits(d.C1, 1.5242e-9, 1e-13);
    ExpectDigits(d.C2, 1.9586e-9, 1e-13);
    ExpectDigits(d.Vpeak, 82.926, 1e-3);
    ExpectDigits(d.Ipeak, 6.1940, 1e-4);
    ExpectDigits(d.Efficiency, 0.95807, 1e-5);
    ExpectDigits(d.Idc, 2.1745, 1e-4);
    ExpectDigits(Rdc(d), 11.037, 1e-3);
    EXPECT_TRUE(ResultsValid(d));
}

TEST(ClassEEquations, ShuntCapacitorUsesTheFittedConstant)
{
    // 0.99886, not 0.99866: at Q = 5 the two differ in the fifth digit of C1.
    DesignRecord d = StartupDesign();
    const double Q = 5;
    const double k = (0.91424 / Q + 0.99886) - 1.03175 / (Q * Q);
    EXPECT_FLOAT_EQ(d.C1, static_cast<float>(k / (4e6 * 34.2219 * d.Rload)));
}

TEST(ClassEEquations, DoublingFrequencyHalvesTheReactivePartsOnly)
{
    DesignRecord base = StartupDesign();
    LnetworkWorking w;
    base.LnetState = 1;
    FindLnetwork(base, w, "50");

    DesignRecord doubled = base;
    doubled.Frequency *= 2;
    FindAll(doubled);
    FindLnetwork(doubled, w, "50");
    EXPECT_FLOAT_EQ(doubled.Lseries, base.Lseries / 2);
    EXPECT_FLOAT_EQ(doubled.C1, base.C1 / 2);
    EXPECT_FLOAT_EQ(doubled.C2, base.C2 / 2);
    EXPECT_FLOAT_EQ(doubled.Lnetwork, base.Lnetwork / 2);
    EXPECT_FLOAT_EQ(doubled.Cnetwork, base.Cnetwork / 2);
    EXPECT_EQ(doubled.Rload, base.Rload);
    EXPECT_EQ(doubled.Vpeak, base.Vpeak);
    EXPECT_EQ(doubled.Ipeak, base.Ipeak);

    // The fall-time loss depends on F * tf only.
    DesignRecord slower = base;
    slower.Falltime *= 2;
    FindAll(slower);
    EXPECT_EQ(doubled.Efficiency, slower.Efficiency);
    EXPECT_EQ(doubled.Idc, slower.Idc);
    EXPECT_LT(doubled.Efficiency, base.Efficiency);
}

TEST(ClassEEquations, HalvingPowerDoublesTheLoad)
{
    DesignRecord d = StartupDesign();
    const float full = d.Rload;
    d.Power /= 2;
    FindAll(d);
    EXPECT_FLOAT_EQ(d.Rload, 2 * full);
}

TEST(ClassEEquations, FallTimeAffectsOnlyEfficiencyAndSupplyCurrent)
{
    const DesignRecord base = StartupDesign();
    DesignRecord d = base;
    d.Falltime = 20e-9f;
    FindAll(d);
    EXPECT_EQ(d.Rload, base.Rload);
    EXPECT_EQ(d.C1, base.C1);
    EXPECT_EQ(d.Ipeak, base.Ipeak);
    EXPECT_LT(d.Efficiency, base.Efficiency);
    EXPECT_GT(d.Idc, base.Idc);
}

TEST(ClassEEquations, SaturationAboveSupplyGivesNegativeSupplyCurrent)
{
    DesignRecord d = StartupDesign();
    d.Saturation = 40;  // above 1.39 * Vdd the peak switch voltage turns negative too
    FindAll(d);
    EXPECT_GT(d.Rload, 0);
    EXPECT_LT(d.Efficiency, 0);
    EXPECT_LT(d.Idc, 0);
    EXPECT_LT(d.Vpeak, 0);
    EXPECT_TRUE(ResultsValid(d));
}

class FloatingPointFailure : public ::testing::Test {
protected:
    DesignRecord d = StartupDesign();
};

TEST_F(FloatingPointFailure, SaturationEqualToSupplyMarksTheCapacitorsInvalid)
{
    d.Saturation = d.Supply;
    FindAll(d);
    EXPECT_EQ(d.Rload, 0);
    EXPECT_EQ(d.Lseries, 0);
    EXPECT_FALSE(IsValid(d.C1));
    EXPECT_FALSE(IsValid(d.C2));
    EXPECT_TRUE(IsValid(d.Vpeak));
    EXPECT_FALSE(ResultsValid(d));

    LnetworkWorking w;
    d.LnetState = 1;
    FindLnetwork(d, w, "50");
    EXPECT_EQ(w.Xseries, 0);
    EXPECT_FALSE(IsValid(d.Cnetwork));
}

TEST_F(FloatingPointFailure, ZeroEfficiencyMarksTheSupplyCurrentInvalid)
{
    // A file may carry a zero fall time; with the switch saturating at the supply the
    // efficiency is exactly zero and the supply current a division by zero.
    d.Falltime = 0;
    d.Saturation = d.Supply;
    FindAll(d);
    EXPECT_EQ(d.Efficiency, 0);
    EXPECT_FALSE(IsValid(d.Idc));
    EXPECT_FALSE(IsValid(Rdc(d)));
    EXPECT_FALSE(ResultsValid(d));
}

TEST_F(FloatingPointFailure, EfficiencyDenominatorPassingZeroFlipsSignButStaysFinite)
{
    // dn = 1 - (2 pi a)^2 / 12 crosses zero at a = sqrt(12) / 6.28318. No single a
    // makes it exactly zero, so the fall times on either side of the root give large
    // efficiencies of opposite sign, each still a valid number.
    const double Q = d.NetworkQ;
    const double root = std::sqrt(12.0) / 6.28318 / ((0.82 / Q + 1.0) * d.Frequency);
    d.Falltime = static_cast<float>(root * (1 - 1e-6));
    FindAll(d);
    const float below = d.Efficiency;
    d.Falltime = static_cast<float>(root * (1 + 1e-6));
    FindAll(d);
    const float above = d.Efficiency;
    EXPECT_TRUE(IsValid(below));
    EXPECT_TRUE(IsValid(above));
    EXPECT_LT(below * above, 0);
    EXPECT_GT(std::fabs(below), 1000);
}

TEST_F(FloatingPointFailure, ZeroSupplyCurrentMakesRdcInvalid)
{
    d.Idc = 0;
    EXPECT_FALSE(IsValid(Rdc(d)));
    EXPECT_FALSE(ResultsValid(d));
}

TEST_F(FloatingPointFailure, ResultBeyondSingleRangeIsInvalidNotInfinite)
{
    d.Power = 1e-37f;  // no entry path allows it, but the store must still refuse
    FindAll(d);
    EXPECT_TRUE(std::isnan(d.Rload));
    EXPECT_TRUE(std::isnan(d.C1));
    EXPECT_FALSE(ResultsValid(d));
}

class Lnetwork : public ::testing::Test {
protected:
    DesignRecord d = StartupDesign();
    LnetworkWorking w;
    void SetUp() override { d.LnetState = 1; }
};

TEST_F(Lnetwork, UpToFiftyOhmsPutsTheInductorNextToLseries)
{
    FindLnetwork(d, w, "50");
    EXPECT_EQ(d.Rnetwork, 50);
    EXPECT_EQ(w.Rlow, d.Rload);
    EXPECT_EQ(w.Rhigh, 50);
    ExpectDigits(w.Xseries, 15.602, 1e-3);
    ExpectDigits(w.Xshunt, 17.517, 1e-3);
    ExpectDigits(d.Lnetwork, 6.2078e-7, 1e-11);
    ExpectDigits(d.Cnetwork, 2.2715e-9, 1e-13);
    ExpectDigits(Ltotal(d), 1.7082e-6, 1e-10);
    EXPECT_EQ(LayoutOf(d), LnetworkLayout::SeriesLFirst);
    EXPECT_TRUE(ResultsValid(d));
}

TEST_F(Lnetwork, DownToTwoOhmsPutsTheShuntCapacitorFirst)
{
    FindLnetwork(d, w, "2");
    EXPECT_EQ(w.Rlow, 2);
    EXPECT_EQ(w.Rhigh, d.Rload);
    EXPECT_EQ(LayoutOf(d), LnetworkLayout::ShuntCFirst);
}

TEST_F(Lnetwork, EqualResistancesKeepThePreviousNetwork)
{
    FindLnetwork(d, w, "50");
    const LnetworkWorking before = w;
    const float L = d.Lnetwork, C = d.Cnetwork;
    d.Rload = 20;
    FindLnetwork(d, w, "20");
    EXPECT_EQ(LayoutOf(d), LnetworkLayout::Equal);
    EXPECT_EQ(d.Lnetwork, L);
    EXPECT_EQ(d.Cnetwork, C);
    EXPECT_EQ(w.Xseries, before.Xseries);
    EXPECT_EQ(w.Rhigh, before.Rhigh);
}

TEST_F(Lnetwork, NeverComputedNetworkStaysZeroWhenEqual)
{
    d.Rload = 50;
    FindLnetwork(d, w, "50");
    EXPECT_EQ(d.Lnetwork, 0);
    EXPECT_EQ(d.Cnetwork, 0);
}

TEST_F(Lnetwork, BoxTextIsClampedToItsRange)
{
    for (const char* text : {"0", "-5", "", "abc"}) {
        FindLnetwork(d, w, text);
        EXPECT_EQ(d.Rnetwork, kRnetworkMin) << text;
    }
    FindLnetwork(d, w, "0.01");
    EXPECT_EQ(d.Rnetwork, kRnetworkMin);
    FindLnetwork(d, w, "20k");
    EXPECT_EQ(d.Rnetwork, kRnetworkMax);
}

TEST_F(Lnetwork, UsesSinglePrecisionPi)
{
    FindLnetwork(d, w, "50");
    const double twoPi = 2.0 * static_cast<double>(3.1415927f);
    EXPECT_EQ(d.Lnetwork, static_cast<float>(w.Xseries / (twoPi * d.Frequency)));
}

}  // namespace
