// Analysis of a given stage: energy is conserved on or off tune, a missed turn-on
// costs C1's stored energy once per cycle, and parts that are no circuit are refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <utility>

#include "engine/equations.h"
#include "engine/exact_solver.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

ClassEStage SolvedStartupStage(bool lnetwork)
{
    const DesignRecord d = CalculatedDesign(kDefaultNetworkQ, lnetwork);
    return SolveExact(ExactTargetsOf(d), ClosedFormStart(d)).stage;
}

TEST(StageAnalysis, SupplyPowerIsLoadPowerPlusSwitchLossOnAndOffTune)
{
    struct Case {
        const char* what;
        bool lnetwork;
        void (*change)(ClassEStage&);
    };
    const Case cases[] = {
        {"tuned", false, [](ClassEStage&) {}},
        {"C1 too small", false, [](ClassEStage& s) { s.c1 *= 0.7; }},
        {"C2 too large, L-network", true, [](ClassEStage& s) { s.c2 *= 1.3; }},
        {"lossy switch, short choke", false, [](ClassEStage& s) { s.ron = 1; s.lchoke = s.lseries; }},
    };
    for (const Case& c : cases) {
        ClassEStage stage = SolvedStartupStage(c.lnetwork);
        c.change(stage);
        const StageFigures f = AnalyseStage(stage);
        ASSERT_TRUE(f.valid) << c.what << ": " << f.reason;
        EXPECT_NEAR((f.pout + f.switchLoss) / f.pin, 1, 1e-8) << c.what;
        EXPECT_NEAR(f.efficiency, f.pout / f.pin, 1e-12) << c.what;
        EXPECT_GT(f.vpeak, stage.supply) << c.what;
    }
}

// With Ron small enough to make conduction loss negligible, what the switch dissipates
// is about ½·C1·V²·f, the charge C1 still holds when the switch closes on it (the rest
// is the ringing it starts).
TEST(StageAnalysis, MissedZeroVoltageTurnOnDumpsC1sEnergyIntoTheSwitch)
{
    for (double detune : {0.7, 1.3}) {
        ClassEStage stage = SolvedStartupStage(false);
        stage.ron = 1e-4;
        stage.falltime = 0;
        stage.c1 *= detune;
        const StageFigures f = AnalyseStage(stage);
        ASSERT_TRUE(f.valid) << f.reason;
        const double v = f.turnOnVoltage / 100 * stage.supply;
        const double stored = 0.5 * stage.c1 * v * v;
        EXPECT_GT(std::abs(f.turnOnVoltage), 10) << detune;
        EXPECT_NEAR(f.switchLoss / (stored * stage.frequency), 1, 0.15) << detune;
        // The budget's own discharge entry is that energy exactly, and its impulse tops Ipeak.
        EXPECT_NEAR(f.dischargeEnergy / stored, 1, 1e-9) << detune;
        EXPECT_NEAR(f.dischargeLoss / (stored * stage.frequency), 1, 1e-9) << detune;
        EXPECT_NEAR(f.ipeak / (std::abs(v) / stage.ron), 1, 0.01) << detune;
        EXPECT_LT(f.ipeakNetwork, 0.01 * f.ipeak) << detune;
    }
}

// Coss keeps no series resistance, the external C1 does: as its Q grows without
// bound the stage becomes the lossless one, whatever share of C1 is the switch's own.
TEST(StageAnalysis, CapacitorLossesVanishAsTheirQGrows)
{
    for (double share : {0.0, 0.5, 0.9}) {
        ClassEStage lossless = SolvedStartupStage(true);
        lossless.coss = share * lossless.c1;
        ClassEStage nearly = lossless;
        nearly.capacitorQ = 1e6;
        const StageFigures a = AnalyseStage(lossless), b = AnalyseStage(nearly);
        ASSERT_TRUE(a.valid && b.valid) << share;
        EXPECT_NEAR(b.pout / a.pout, 1, 1e-4) << share;
        EXPECT_NEAR(b.turnOnVoltage, a.turnOnVoltage, 1e-2) << share;
        EXPECT_NEAR(b.vpeak / a.vpeak, 1, 1e-4) << share;
        EXPECT_LT(b.parts[static_cast<std::size_t>(StagePart::C1)].loss, 1e-4 * a.pout) << share;
    }
}

TEST(StageAnalysis, PartsThatAreNoCircuitAreRefused)
{
    for (auto change : {+[](ClassEStage& s) { s.c2 = 0; }, +[](ClassEStage& s) { s.load = -5; },
                        +[](ClassEStage& s) { s.ron = 0; },
                        +[](ClassEStage& s) { s.network = NetworkLayout::ShuntCFirst; }}) {
        ClassEStage stage = SolvedStartupStage(false);
        change(stage);
        const StageFigures f = AnalyseStage(stage);
        EXPECT_FALSE(f.valid);
        EXPECT_FALSE(f.reason.empty());
    }
    // A fall that outlasts the off-time is refused for what it is, not as a stage
    // without a steady state.
    ClassEStage stage = SolvedStartupStage(false);
    stage.falltime = 0.6 / stage.frequency;
    const StageFigures f = AnalyseStage(stage);
    EXPECT_FALSE(f.valid);
    EXPECT_NE(f.reason.find("off-time"), std::string::npos) << f.reason;
}

}  // namespace
}  // namespace voltra

namespace voltra {
namespace {

// The switch's capacitance as a junction law: a grading exponent of zero is a fixed
// capacitance, and the integrated solution must then reproduce the exact linear one;
// a real law must still balance the supply against the load and the losses.
ClassEStage WithOwnCapacitance(double fraction, double m, double falltime)
{
    ClassEStage stage = SolvedStartupStage(false);
    stage.falltime = falltime;
    stage.capacitorQ = 200;
    stage.coss = fraction * stage.c1;
    if (m >= 0) stage.cossLaw = JunctionLaw{stage.coss, 0.474, m};
    return stage;
}

TEST(StageAnalysisWithCapacitanceLaw, FixedLawMatchesTheLinearSolutionAndARealLawConservesEnergy)
{
    for (double falltime : {0.0, 5e-9}) {
        const StageFigures linear = AnalyseStage(WithOwnCapacitance(0.5, -1, falltime));
        const StageFigures flat = AnalyseStage(WithOwnCapacitance(0.5, 0, falltime));
        ASSERT_TRUE(linear.valid && flat.valid) << flat.reason;
        for (auto [a, b] : {std::pair{linear.pout, flat.pout}, {linear.idc, flat.idc}, {linear.vpeak, flat.vpeak},
                            {linear.ipeak, flat.ipeak}, {linear.conductionLoss, flat.conductionLoss},
                            {linear.fallLoss + 1e-30, flat.fallLoss + 1e-30}})
            EXPECT_NEAR(b / a, 1, 1e-9) << falltime;
        EXPECT_NEAR(flat.turnOnVoltage, linear.turnOnVoltage, 1e-7);
        EXPECT_NEAR(flat.dischargeEnergy, linear.dischargeEnergy, 1e-9 * linear.pout / 1e6 + 1e-22);

        const StageFigures graded = AnalyseStage(WithOwnCapacitance(0.5, 0.283, falltime));
        ASSERT_TRUE(graded.valid) << graded.reason;
        double losses = graded.switchLoss;
        for (const PartFigures& p : graded.parts) losses += p.loss;
        EXPECT_NEAR((graded.pout + losses) / graded.pin, 1, 1e-7) << falltime;
        // Less capacitance at the high drain voltages than Cj0: the drain rings higher.
        EXPECT_GT(graded.vpeak, linear.vpeak);
    }
}

}  // namespace
}  // namespace voltra

namespace voltra {
namespace {

// The start-up design solved with the published GaN curve's shape, 16.604 pF /
// (1 + V/0.474)^0.283, its Cj0 scaled to half the C1 the ideal switch needs.
struct CurveDesign {
    ExactTargets targets;
    ExactSolution solution;
};

CurveDesign SolvedWithHalfTheC1AsCurve()
{
    const DesignRecord d = CalculatedDesign(kDefaultNetworkQ, false);
    ExactTargets t = ExactTargetsOf(d);
    const double needed = SolveExact(t, ClosedFormStart(d)).stage.c1;
    t.cossLaw = JunctionLaw{0.5 * needed, 0.474, 0.283};
    return {t, SolveExact(t, ClosedFormStart(d))};
}

// The exact design with the switch's curve reaches ZVS at the target power; the same
// external C1 beside a single Coss equal to Cj0 does not.
TEST(ExactSolverWithCapacitanceLaw, ExternalC1BesideTheCurveReachesZeroVoltageTurnOn)
{
    const auto [t, s] = SolvedWithHalfTheC1AsCurve();
    ASSERT_TRUE(s.valid) << s.reason;
    EXPECT_LT(std::fabs(s.figures.turnOnVoltage), 1e-6);
    EXPECT_NEAR(s.figures.pout / t.power, 1, 1e-6);
    ClassEStage single = s.stage;
    single.cossLaw.reset();
    single.coss = t.cossLaw->cj0;
    const StageFigures missed = AnalyseStage(single);
    ASSERT_TRUE(missed.valid);
    EXPECT_GT(std::fabs(missed.turnOnVoltage), 2.0);
    std::printf("single Coss = Cj0: turn-on %.2f %% of the supply, power %+.2f %%\n", missed.turnOnVoltage,
                100 * (missed.pout / t.power - 1));
}


// Above the highest frequency the curve alone is more than the C1 Class E needs: just
// below it the exact design's external C1 is a sliver of the whole, just above it there
// is none. The curve's capacitance falls with the swing, so the limit lies above the
// one its Cj0 would set.
TEST(ExactSolverWithCapacitanceLaw, HighestFrequencyIsWhereTheCurveAloneIsTheC1)
{
    const DesignRecord d = CalculatedDesign(kDefaultNetworkQ, false);
    const ExactTargets t = ExactTargetsOf(d);
    const double needed = SolveExact(t, ClosedFormStart(d)).stage.c1;
    const JunctionLaw law{2 * needed, 0.474, 0.283};
    const double limit = HighestFrequencyForCurve(t, ClosedFormStart(d), law);
    ASSERT_TRUE(std::isfinite(limit));
    EXPECT_GT(limit, d.Frequency * needed / law.cj0 * 1.5);

    for (const double factor : {1 - 1e-3, 1 + 1e-3}) {
        DesignRecord at = d;
        at.Frequency = static_cast<float>(limit * factor);
        FindAll(at);
        ExactTargets near = ExactTargetsOf(at);
        near.cossLaw = law;
        const ExactSolution s = SolveExact(near, ClosedFormStart(at));
        if (factor < 1) {
            ASSERT_TRUE(s.valid) << s.reason;
            const double external = (s.stage.c1 - law.cj0) / s.stage.c1;
            EXPECT_GT(external, 0);
            EXPECT_LT(external, 1e-3);
            // One capacitance with the curve's charge to the ideal peak sets the limit
            // some per cent off: the secant has to have moved from it.
            std::printf("highest frequency %.6g Hz; from the charge-equivalent capacitance %.6g Hz\n", limit,
                        d.Frequency * needed / ChargeEquivalentCapacitance(law, kDrainPeakOverSupply * t.supply));
        } else {
            EXPECT_FALSE(s.valid);
            EXPECT_NE(s.reason.find("larger than the C1"), std::string::npos) << s.reason;
        }
    }
}


// A shooting solve that starts from the memory of another stage's solve ends where a
// cold start ends; a memory of a stage with another number of states is not read; and
// the solve leaves the turn-on state it found for the next one.
TEST(ExactSolverWithCapacitanceLaw, WarmShootingEndsWhereTheColdStartDoes)
{
    const auto [t, s] = SolvedWithHalfTheC1AsCurve();
    ASSERT_TRUE(s.valid) << s.reason;
    const NormalisedStage stage = NormaliseStage(s.stage);
    NormalisedStage nearby = stage;
    nearby.c1 *= 1.01;
    nearby.load *= 0.99;

    const SteadyState cold = SolveSteadyState(nearby, SteadyStateDetail::TurnOn);
    ASSERT_TRUE(cold.solved);
    ShootingMemory memory;
    ASSERT_TRUE(SolveSteadyState(stage, SteadyStateDetail::TurnOn, &memory).solved);
    const std::size_t states = memory.start.size();
    ASSERT_GT(states, 0u);
    EXPECT_EQ(memory.jacobian.size(), (states - 1) * (states - 1));
    const std::vector<double> stageStart = memory.start;
    const SteadyState warm = SolveSteadyState(nearby, SteadyStateDetail::TurnOn, &memory);
    ASSERT_TRUE(warm.solved);
    EXPECT_NEAR(warm.turnOnVoltage, cold.turnOnVoltage, 1e-9);
    EXPECT_NEAR(warm.turnOnSlope, cold.turnOnSlope, 1e-9);
    EXPECT_NEAR(warm.loadPower / cold.loadPower, 1, 1e-9);
    EXPECT_NE(memory.start, stageStart);

    ShootingMemory foreign{std::vector<double>(states + 2, 0.3), std::vector<double>((states + 1) * (states + 1), 1.0)};
    const SteadyState fromForeign = SolveSteadyState(nearby, SteadyStateDetail::TurnOn, &foreign);
    ASSERT_TRUE(fromForeign.solved);
    EXPECT_NEAR(fromForeign.turnOnVoltage, cold.turnOnVoltage, 1e-9);
    EXPECT_EQ(foreign.start.size(), states);
}

}  // namespace
}  // namespace voltra
