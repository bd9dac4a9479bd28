// The self-consistent junction temperature against hand calculations, and the
// cases that must be refused: above the device's maximum, runaway, missing data.
#include <gtest/gtest.h>

#include "engine/thermal.h"

namespace voltra {
namespace {

// 100 mΩ at 25 °C, rising 0.6 %/K; θjc 2 K/W, Tj max 150 °C.
Transistor Device()
{
    Transistor device;
    device.name = "test";
    device.onResistance25 = 0.1;
    device.onResistanceRise = StraightRise(0.006);
    device.thetaJunctionCase = 2;
    device.maxJunctionCelsius = 150;
    return device;
}

TEST(JunctionTemperature, MatchesTheClosedFormOfALinearRise)
{
    // Tj = Ta + θ·(I²·R25·(1 + α(Tj - 25)) + P0) solved for Tj:
    // Tj = (Ta + θ·(I²·R25·(1 - 25α) + P0)) / (1 - θ·I²·R25·α).
    // θ = 2 + 0.5 + 5 = 7.5 K/W, I = 3 A, P0 = 0.5 W, Ta = 40 °C:
    // Tj = (40 + 7.5·(0.9·0.85 + 0.5)) / (1 - 7.5·0.9·0.006) = 49.4875/0.9595 = 51.5763 °C.
    const HeatSink sink{0.5, 5, 40};
    const JunctionTemperature t = SolveJunctionTemperature(Device(), sink, ConductionPlusFixed(3, 0.5));
    ASSERT_EQ(t.status, Status::Valid) << t.reason;
    EXPECT_NEAR(t.celsius, 49.4875 / 0.9595, 1e-6);
    EXPECT_NEAR(t.onResistance, 0.1 * (1 + 0.006 * (t.celsius - 25)), 1e-12);
    EXPECT_NEAR(t.lossWatts, 9 * t.onResistance + 0.5, 1e-12);
    // The heat balance closes: what the sink carries away is what the switch loses.
    EXPECT_NEAR((t.celsius - sink.ambientCelsius) / 7.5, t.lossWatts, 1e-9);
}

TEST(JunctionTemperature, FollowsACurvedRiseSegmentBySegment)
{
    // A data sheet's normalised curve: 1 at 25 °C, 1.5 at 100 °C, 2.2 at 150 °C. With
    // 10 W of pure conduction at 25 °C (I² = 100 A², R25 = 0.1 Ω) on θ = 4 K/W from 25 °C
    // the junction passes 100 °C, so the answer lies on the second segment:
    // R = 0.1·(1.5 + 0.014·(Tj - 100)), Tj = 25 + 4·100·R → Tj = (25 + 40·(1.5 - 1.4))/(1 - 0.56)
    // = 29/0.44 = 65.909 °C; that is below 100 °C, a contradiction, so it lies on the
    // first: R = 0.1·(1 + (0.5/75)(Tj - 25)), Tj = (25 + 40·(1 - 25/150))/(1 - 40/150)
    // = 58.3333/0.73333 = 79.545 °C.
    Transistor device = Device();
    device.onResistanceRise = {{25, 1}, {100, 1.5}, {150, 2.2}};
    const JunctionTemperature t = SolveJunctionTemperature(device, {0, 2, 25}, ConductionPlusFixed(10, 0));
    ASSERT_EQ(t.status, Status::Valid) << t.reason;
    EXPECT_NEAR(t.celsius, (25 + 40 * (1 - 25.0 / 150)) / (1 - 40.0 / 150), 1e-6);
}

TEST(JunctionTemperature, AboveTheDeviceMaximumIsInvalidWithItsTemperature)
{
    // As the first case on a 20 K/W sink: θ = 22.5 K/W,
    // Tj = (40 + 22.5·1.265)/(1 - 22.5·0.0054) = 68.4625/0.8785 = 77.93 °C: valid; with
    // 10 W fixed more, Tj = (40 + 22.5·11.265)/0.8785 = 333.99 °C: far above 150 °C.
    const JunctionTemperature ok = SolveJunctionTemperature(Device(), {0.5, 20, 40}, ConductionPlusFixed(3, 0.5));
    EXPECT_EQ(ok.status, Status::Valid);
    EXPECT_NEAR(ok.celsius, 68.4625 / 0.8785, 1e-6);

    const JunctionTemperature hot = SolveJunctionTemperature(Device(), {0.5, 20, 40}, ConductionPlusFixed(3, 10.5));
    EXPECT_EQ(hot.status, Status::Invalid);
    EXPECT_NEAR(hot.celsius, (40 + 22.5 * 11.265) / 0.8785, 1e-6);
    EXPECT_NE(hot.reason.find("334 °C"), std::string::npos) << hot.reason;
    EXPECT_NE(hot.reason.find("150 °C"), std::string::npos) << hot.reason;
}

TEST(JunctionTemperature, RunawayHasNoSteadyTemperature)
{
    // θ·I²·R25·α = 7.5·(20²·0.1)·0.006 = 1.8 ≥ 1: each kelvin of heating brings back more
    // than a kelvin, so no temperature balances. At 12 A, θ·I²·R25·α = 0.648 and the
    // balance exists: (40 + 7.5·14.4·0.85)/(1 - 0.648) = 374.4 °C, far above 150 °C but
    // a temperature, told apart from a runaway.
    const JunctionTemperature t = SolveJunctionTemperature(Device(), {0.5, 5, 40}, ConductionPlusFixed(20, 0));
    EXPECT_EQ(t.status, Status::Invalid);
    EXPECT_NE(t.reason.find("runaway"), std::string::npos) << t.reason;

    const JunctionTemperature steady = SolveJunctionTemperature(Device(), {0.5, 5, 40}, ConductionPlusFixed(12, 0));
    EXPECT_EQ(steady.status, Status::Invalid);
    EXPECT_NEAR(steady.celsius, (40 + 7.5 * 14.4 * 0.85) / (1 - 0.648), 1e-6);
    EXPECT_EQ(steady.reason.find("runaway"), std::string::npos) << steady.reason;
}

TEST(JunctionTemperature, NoLossLeavesTheJunctionAtAmbient)
{
    const JunctionTemperature t = SolveJunctionTemperature(Device(), {0.5, 5, -10}, ConductionPlusFixed(0, 0));
    ASSERT_EQ(t.status, Status::Valid);
    EXPECT_EQ(t.celsius, -10);
}

TEST(JunctionTemperature, RefusesADeviceWithoutItsThermalNumbers)
{
    Transistor noTheta = Device(), noMax = Device(), noRise = Device();
    noTheta.thetaJunctionCase.reset();
    noMax.maxJunctionCelsius.reset();
    noRise.onResistanceRise.clear();
    for (const Transistor* device : {&noTheta, &noMax, &noRise}) {
        const JunctionTemperature t = SolveJunctionTemperature(*device, {0.5, 5, 40}, ConductionPlusFixed(1, 0));
        EXPECT_EQ(t.status, Status::Invalid);
        EXPECT_FALSE(t.reason.empty());
    }
    const JunctionTemperature negative = SolveJunctionTemperature(Device(), {-5, 1, 40}, ConductionPlusFixed(1, 0));
    EXPECT_EQ(negative.status, Status::Invalid);
}

TEST(OnResistance, ExtendsTheEndSegmentsBeyondTheCurve)
{
    Transistor device = Device();
    device.onResistanceRise = {{-50, 0.7}, {25, 1}, {150, 1.9}};
    EXPECT_DOUBLE_EQ(OnResistanceAt(device, 25), 0.1);
    EXPECT_NEAR(OnResistanceAt(device, -125), 0.1 * 0.4, 1e-15);
    EXPECT_NEAR(OnResistanceAt(device, 175), 0.1 * (1.9 + 0.9 / 125 * 25), 1e-15);
    EXPECT_NEAR(OnResistanceAt(device, 87.5), 0.1 * 1.45, 1e-15);
    device.onResistanceRise.clear();
    EXPECT_DOUBLE_EQ(OnResistanceAt(device, 150), 0.1);
}

}  // namespace
}  // namespace voltra
