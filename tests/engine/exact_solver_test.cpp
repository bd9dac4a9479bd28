// The exact solver against physics: closed-form limits, published ideal solutions, Coss, L-network, no-solution targets.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>

#include "engine/equations.h"
#include "engine/exact_solver.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

constexpr double kPi = std::numbers::pi;

DesignRecord Design(float q, float saturation = kDefaultSaturation)
{
    DesignRecord d = CalculatedDesign(q);
    d.Saturation = saturation;
    FindAll(d);
    return d;
}

double Omega(const ClassEStage& st) { return 2 * kPi * st.frequency; }

#define EXPECT_RATIO(actual, expected, tolerance) EXPECT_NEAR((actual) / (expected), 1.0, tolerance)

// Q 1000 and a 1 mV switch: the assumptions the closed-form equations were fitted under.
TEST(ExactSolver, HighQAndIdealSwitchGiveTheClosedFormDesign)
{
    const DesignRecord d = Design(1000, 0.001f);
    ExactTargets t = ExactTargetsOf(d);
    t.falltime = 0;
    const ExactSolution s = SolveExact(t, ClosedFormStart(d));
    ASSERT_TRUE(s.valid) << s.reason;
    EXPECT_RATIO(s.rload, d.Rload, 0.01);
    EXPECT_RATIO(s.stage.lseries, d.Lseries, 0.01);
    EXPECT_RATIO(s.stage.c1, d.C1, 0.01);
    EXPECT_RATIO(s.stage.c2, d.C2, 0.01);
    EXPECT_RATIO(s.figures.vpeak, d.Vpeak, 0.01);
    EXPECT_RATIO(s.figures.idc, d.Idc, 0.01);
    // Ipeak left out: the closed form keeps a deliberate 1/0.9 margin over the ideal 2.862 Idc.
}

// Near-ideal stage (choke 1e5 Lseries, Ron 1e-7 Rload): the circuit the published analyses solve.
constexpr double kNearInfiniteChoke = 1e5;
constexpr double kNearIdealRon = 1e-7;

struct Normalised {
    double powerFactor;  // P·R/Vdd²
    double c1;           // ωC1R
    double c2;           // ωC2R
};

Normalised SolveIdeal(float q, ExactSolution& s)
{
    const DesignRecord d = Design(q, 0.001f);
    ExactTargets t = ExactTargetsOf(d, kNearInfiniteChoke);
    t.ron = kNearIdealRon * d.Rload;
    t.saturation = 0;
    t.falltime = 0;
    s = SolveExact(t, ClosedFormStart(d));
    const double w = Omega(s.stage);
    return {s.figures.pout * s.rload / (t.supply * t.supply), w * s.stage.c1 * s.rload, w * s.stage.c2 * s.rload};
}

// Infinite-Q optimum: F. H. Raab, "Idealized operation of the class E tuned power amplifier",
// IEEE Trans. Circuits and Systems CAS-24(12), 725-735, 1977.
TEST(ExactSolver, LargeQMeetsThePublishedInfiniteQOptimum)
{
    constexpr float kQ = 1000;
    ExactSolution s;
    const Normalised n = SolveIdeal(kQ, s);
    ASSERT_TRUE(s.valid) << s.reason;
    EXPECT_RATIO(n.powerFactor, 8 / (kPi * kPi + 4), 0.005);
    EXPECT_RATIO(n.c1, 8 / (kPi * (kPi * kPi + 4)), 0.005);
    EXPECT_RATIO(kQ - 1 / n.c2, kPi * (kPi * kPi - 4) / 16, 0.005);
    EXPECT_RATIO(s.figures.vpeak / s.stage.supply, 3.562, 0.005);
    EXPECT_RATIO(s.figures.ipeak / s.figures.idc, 1 + std::sqrt(1 + kPi * kPi / 4), 0.005);
}

// Finite Q: Raab's (1977) table is not at hand; the published curve fits to it (Q >= 1.7879),
// which are the closed-form equations, are the reference, with the fits' own error.
class FiniteQ : public ::testing::TestWithParam<float> {};

TEST_P(FiniteQ, MatchesThePublishedFitsToTheExactSolutions)
{
    const float q = GetParam();
    ExactSolution s;
    const Normalised n = SolveIdeal(q, s);
    ASSERT_TRUE(s.valid) << s.reason;
    const DesignRecord d = Design(q, 0.001f);
    const double w = 2 * kPi * d.Frequency;
    const double drive = static_cast<double>(d.Supply) - d.Saturation;
    EXPECT_RATIO(n.powerFactor, d.Power * d.Rload / (drive * drive), 0.005);
    EXPECT_RATIO(n.c1, w * d.C1 * d.Rload, 0.005);
    EXPECT_RATIO(n.c2, w * d.C2 * d.Rload, 0.005);
    EXPECT_RATIO(s.figures.pout, d.Power, 1e-8);
    EXPECT_NEAR(s.figures.turnOnVoltage, 0, 1e-6);
    EXPECT_NEAR(s.figures.turnOnSlope, 0, 1e-8);
}

INSTANTIATE_TEST_SUITE_P(LowToModerateQ, FiniteQ, ::testing::Values(1.8f, 2.0f, 3.0f, 5.0f, 10.0f, 20.0f));

// C1 goes exactly as 1/f: just below the limit Coss fits inside C1, just above it does not.
TEST(ExactSolver, CossLimitIsTheFrequencyWhereC1FallsToCoss)
{
    constexpr double kCoss = 2e-9;
    DesignRecord d = Design(5);
    d.Falltime = 0;  // with a fall, the fall's share of the period moves with the frequency too
    const double limit = HighestFrequencyForCoss(ExactTargetsOf(d), ClosedFormStart(d), kCoss);
    ASSERT_LT(limit, d.Frequency);

    for (double factor : {0.999, 1.0, 1.001}) {
        DesignRecord at = d;
        at.Frequency = static_cast<float>(limit * factor);
        FindAll(at);
        at.Falltime = 0;
        ExactTargets t = ExactTargetsOf(at);
        const ExactSolution free = SolveExact(t, ClosedFormStart(at));
        ASSERT_TRUE(free.valid) << free.reason;
        EXPECT_RATIO(free.stage.c1 * at.Frequency, kCoss * limit, 1e-6);
        t.coss = kCoss;
        EXPECT_EQ(SolveExact(t, ClosedFormStart(at)).valid, factor < 1) << factor << SolveExact(t, ClosedFormStart(at)).reason;
    }
    EXPECT_TRUE(std::isnan(HighestFrequencyForCoss(ExactTargetsOf(d), ClosedFormStart(d), 0)));
}

// Impedance the L-network and its load present to the series branch at frequency w.
std::complex<double> NetworkImpedance(const ClassEStage& st, double w)
{
    const std::complex<double> j(0, 1);
    const std::complex<double> inductor = j * w * st.lnetwork;
    const std::complex<double> capacitor = 1.0 / (j * w * st.cnetwork);
    auto parallel = [](std::complex<double> a, std::complex<double> b) { return a * b / (a + b); };
    if (st.network == StageNetwork::SeriesLFirst) return inductor + parallel(capacitor, st.load);
    return parallel(capacitor, inductor + st.load);
}

TEST(ExactSolver, LnetworkDeliversTheTargetIntoRnetworkInEitherLayout)
{
    struct Case {
        float rnetwork;
        StageNetwork layout;
    };
    for (const Case c : {Case{50, StageNetwork::SeriesLFirst}, Case{2, StageNetwork::ShuntCFirst}}) {
        DesignRecord d = Design(5);
        d.LnetState = true;
        LnetworkWorking working;
        FindLnetwork(d, working, c.rnetwork);
        const ExactSolution s = SolveExact(ExactTargetsOf(d), ClosedFormStart(d));
        ASSERT_TRUE(s.valid) << c.rnetwork << ": " << s.reason;
        EXPECT_EQ(s.stage.network, c.layout);
        EXPECT_EQ(s.stage.load, d.Rnetwork);
        EXPECT_RATIO(s.figures.pout, d.Power, 1e-8);
        EXPECT_NEAR(s.figures.turnOnVoltage, 0, 1e-6);
        const std::complex<double> z = NetworkImpedance(s.stage, Omega(s.stage));
        EXPECT_RATIO(z.real(), s.rload, 1e-9) << c.rnetwork;
        EXPECT_NEAR(z.imag() / s.rload, 0, 1e-9) << c.rnetwork;
    }
}

TEST(ExactSolver, RnetworkEqualToTheStageResistanceLeavesTheStageAlone)
{
    const DesignRecord d = Design(5);
    const ExactSolution plain = SolveExact(ExactTargetsOf(d), ClosedFormStart(d));
    ASSERT_TRUE(plain.valid);
    ExactTargets t = ExactTargetsOf(d);
    t.lnetwork = true;
    t.rnetwork = plain.rload;
    const ExactSolution s = SolveExact(t, ClosedFormStart(d));
    ASSERT_TRUE(s.valid) << s.reason;
    EXPECT_RATIO(s.rload, plain.rload, 1e-6);
    EXPECT_RATIO(s.stage.c1, plain.stage.c1, 1e-6);
    EXPECT_RATIO(s.stage.c2, plain.stage.c2, 1e-6);
    EXPECT_LT(s.stage.lnetwork, 1e-3 * s.stage.lseries);
}

TEST(ExactSolver, TargetsWithoutClassETuningAreReportedNotSolved)
{
    struct Case {
        const char* what;
        void (*change)(ExactTargets&);
        const char* reasonStart;
    };
    const Case cases[] = {
        {"Coss above the C1 needed", [](ExactTargets& t) { t.coss = 5e-9; }, "The switch's own capacitance"},
        {"Q below the lowest for this choke", [](ExactTargets& t) { t.networkQ = 1.5; }, "C2 would have to be"},
        {"Ron near the load resistance", [](ExactTargets& t) { t.ron = 20; }, "C1 would have to be"},
        {"no power asked", [](ExactTargets& t) { t.power = 0; }, "The targets"},
    };
    const DesignRecord d = Design(1.8f);
    for (const Case& c : cases) {
        ExactTargets t = ExactTargetsOf(d);
        c.change(t);
        const ExactSolution s = SolveExact(t, ClosedFormStart(d));
        EXPECT_FALSE(s.valid) << c.what;
        EXPECT_FALSE(s.figures.valid) << c.what;
        EXPECT_EQ(s.reason.rfind(c.reasonStart, 0), 0u) << c.what << ": " << s.reason;
    }
}

}  // namespace
}  // namespace voltra
