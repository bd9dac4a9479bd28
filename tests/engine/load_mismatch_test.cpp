// The stage into loads other than its own: the Smith chart's arithmetic, a load
// reactance that changes nothing at zero and equals a known circuit where one exists,
// energy kept into every load, the circuit the verification simulates, and what the
// circle and the grid report.
#include "engine/load_mismatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/design_options.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

Circuit ExactDefault(bool lnetwork = false, float rnetwork = 50)
{
    return BuildCircuit(CalculatedDesign(kDefaultNetworkQ, lnetwork, rnetwork), DesignOptions{.exact = true});
}

double Omega(const ClassEStage& s) { return 2 * std::numbers::pi * s.frequency; }

void ExpectSameFigures(const StageFigures& a, const StageFigures& b)
{
    EXPECT_EQ(a.valid, b.valid);
    EXPECT_EQ(a.pout, b.pout);
    EXPECT_EQ(a.efficiency, b.efficiency);
    EXPECT_EQ(a.vpeak, b.vpeak);
    EXPECT_EQ(a.ipeakNetwork, b.ipeakNetwork);
    EXPECT_EQ(a.turnOnVoltage, b.turnOnVoltage);
}

// Pozar's textbook points: a VSWR-2 circle meets the real axis at 2·Z0 and Z0/2, and
// crosses the imaginary axis of Γ at Z0(0.8 ± 0.6j), the upper half inductive.
TEST(SmithChart, ReflectionAndImpedanceAreEachOthersInverseWithTheTextbookPoints)
{
    const double z0 = 12.5;
    const double g = ReflectionMagnitude(2);
    EXPECT_DOUBLE_EQ(g, 1.0 / 3);
    EXPECT_NEAR(std::abs(ImpedanceOf(g, z0) - Impedance(25, 0)), 0, 1e-12);
    EXPECT_NEAR(std::abs(ImpedanceOf(-g, z0) - Impedance(6.25, 0)), 0, 1e-12);
    EXPECT_NEAR(std::abs(ImpedanceOf(Reflection(0, g), z0) - Impedance(10, 7.5)), 0, 1e-12);
    EXPECT_NEAR(std::abs(ImpedanceOf(Reflection(0, -g), z0) - Impedance(10, -7.5)), 0, 1e-12);
    for (const Reflection gamma : {Reflection(0.3, -0.5), Reflection(-0.59, 0.01), Reflection(0, 0)})
        EXPECT_NEAR(std::abs(ReflectionOf(ImpedanceOf(gamma, z0), z0) - gamma), 0, 1e-14) << gamma;
}

// At zero reactance the stage is the one analysed before loads could be mismatched,
// bit for bit, in every output topology; and the circuit at its own load is itself.
TEST(LoadMismatch, TheMatchedLoadChangesNothing)
{
    const Circuit circuits[] = {ExactDefault(), ExactDefault(true, 50), ExactDefault(true, 2)};
    for (const Circuit& circuit : circuits) {
        SCOPED_TRACE(static_cast<int>(circuit.network));
        const ClassEStage stage = StageOf(circuit);
        EXPECT_EQ(stage.loadReactance, 0);
        const double z0 = ReferenceResistance(circuit);
        const MismatchPoint p = AnalyseLoad(stage, z0, 0);
        const StageFigures f = AnalyseStage(stage);
        ASSERT_TRUE(p.valid) << p.reason;
        EXPECT_EQ(p.pout, f.pout);
        EXPECT_EQ(p.vpeak, f.vpeak);
        EXPECT_EQ(p.turnOnVoltage, f.turnOnVoltage);
        EXPECT_EQ(p.ipeak, f.ipeakNetwork);

        const Circuit same = MismatchedCircuit(circuit, z0);
        ASSERT_EQ(same.parts.size(), circuit.parts.size());
        for (std::size_t i = 0; i < same.parts.size(); ++i) {
            EXPECT_EQ(same.parts[i].role, circuit.parts[i].role);
            EXPECT_EQ(same.parts[i].value.value, circuit.parts[i].value.value);
            EXPECT_STREQ(same.parts[i].from, circuit.parts[i].from);
            EXPECT_STREQ(same.parts[i].to, circuit.parts[i].to);
        }
        EXPECT_EQ(same.pout.value, circuit.pout.value);
    }
    EXPECT_NE(ExactDefault(true, 50).network, ExactDefault(true, 2).network);
}

// Where the load's reactance shares its current with an inductor or a capacitor of the
// stage, that part changed by it is the same circuit: a sign slip, X for X/ω, or the
// reactance on the wrong side of the network shows here.
TEST(LoadMismatch, ASeriesReactanceIsTheStageWithItsBranchRetuned)
{
    const double x = 4.0;
    {
        SCOPED_TRACE("no network, inductive: Lseries grows by X/ω");
        ClassEStage stage = StageOf(ExactDefault());
        ClassEStage retuned = stage;
        stage.loadReactance = x;
        retuned.lseries += x / Omega(stage);
        const StageFigures a = AnalyseStage(stage), b = AnalyseStage(retuned);
        ASSERT_TRUE(a.valid) << a.reason;
        EXPECT_NEAR(a.pout / b.pout, 1, 1e-9);
        EXPECT_NEAR(a.vpeak / b.vpeak, 1, 1e-9);
        EXPECT_NEAR(a.turnOnVoltage, b.turnOnVoltage, 1e-7);
    }
    {
        SCOPED_TRACE("no network, capacitive: C2 in series with 1/(ω|X|)");
        ClassEStage stage = StageOf(ExactDefault());
        ClassEStage retuned = stage;
        stage.loadReactance = -x;
        const double cx = 1 / (Omega(stage) * x);
        retuned.c2 = stage.c2 * cx / (stage.c2 + cx);
        const StageFigures a = AnalyseStage(stage), b = AnalyseStage(retuned);
        ASSERT_TRUE(a.valid) << a.reason;
        // The capacitor's leak shifts the load by a millionth of its reactance.
        EXPECT_NEAR(a.pout / b.pout, 1, 1e-5);
        EXPECT_NEAR(a.vpeak / b.vpeak, 1, 1e-5);
        EXPECT_NEAR(a.turnOnVoltage, b.turnOnVoltage, 1e-3);
    }
    {
        SCOPED_TRACE("shunt C first, inductive: Lnetwork grows by X/ω");
        ClassEStage stage = StageOf(ExactDefault(true, 2));
        ASSERT_EQ(stage.network, NetworkLayout::ShuntCFirst);
        ClassEStage retuned = stage;
        stage.loadReactance = x / 10;
        retuned.lnetwork += x / 10 / Omega(stage);
        const StageFigures a = AnalyseStage(stage), b = AnalyseStage(retuned);
        ASSERT_TRUE(a.valid) << a.reason;
        EXPECT_NEAR(a.pout / b.pout, 1, 1e-9);
        EXPECT_NEAR(a.vpeak / b.vpeak, 1, 1e-9);
    }
}

// Whatever the load, the supply's power is the load's plus every loss: the power the
// load resistor takes is counted once, with the reactance in every topology, lossy
// parts and a fall included.
TEST(LoadMismatch, SupplyPowerIsLoadPowerPlusLossesIntoEveryLoad)
{
    for (const Circuit& circuit : {ExactDefault(), ExactDefault(true, 50), ExactDefault(true, 2)}) {
        ClassEStage stage = StageOf(circuit);
        stage.inductorQ = 80;
        stage.capacitorQ = 400;
        stage.falltime = 0.03 / stage.frequency;
        const double z0 = ReferenceResistance(circuit);
        for (const Reflection gamma : {Reflection(0, 0.5), Reflection(0, -0.5), Reflection(-0.4, 0.2)}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(stage.network) << " Γ " << gamma);
            ClassEStage mismatched = stage;
            const Impedance z = ImpedanceOf(gamma, z0);
            mismatched.load = z.real();
            mismatched.loadReactance = z.imag();
            const StageFigures f = AnalyseStage(mismatched);
            ASSERT_TRUE(f.valid) << f.reason;
            double partLosses = 0;
            for (const PartFigures& part : f.parts) partLosses += part.loss;
            // The capacitor's leak, a millionth of |X|/R of the output, is the only loss not counted.
            EXPECT_NEAR((f.pout + f.switchLoss + partLosses) / f.pin, 1, 1e-6 + 2e-6 * std::fabs(z.imag()) / z.real());
            // Lossless reactance, lossless load: the load resistor's power is Irms²·R.
            const PartFigures& load = f.parts[static_cast<std::size_t>(StagePart::Load)];
            EXPECT_NEAR(load.rmsCurrent * load.rmsCurrent * z.real() / f.pout, 1, 1e-9);
        }
    }
}

// A tiny reflection of either sign of reactance is nearly the matched stage, and the
// figures are not symmetric in X: an inductive load is not its conjugate.
// The reactance left by Γ's rounding on the real axis (1e-16 of the load) included:
// as an inductor of its own beside the network's capacitor it would be stiff enough
// to wreck the solve.
TEST(LoadMismatch, FiguresAreContinuousAtTheCentreAndDifferForConjugateLoads)
{
    for (const Circuit& circuit : {ExactDefault(), ExactDefault(true, 50), ExactDefault(true, 2)}) {
        const ClassEStage stage = StageOf(circuit);
        const double z0 = ReferenceResistance(circuit);
        const StageFigures f = AnalyseStage(stage);
        for (const Reflection gamma : {Reflection(0, 1e-6), Reflection(0, -1e-6), Reflection(1e-6, 0),
                                       std::polar(1e-6, std::numbers::pi), Reflection(1e-6, 1e-17)}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(stage.network) << " Γ " << gamma);
            const MismatchPoint p = AnalyseLoad(stage, z0, gamma);
            ASSERT_TRUE(p.valid) << p.reason;
            EXPECT_NEAR(p.pout / f.pout, 1, 1e-4);
            EXPECT_NEAR(p.vpeak / f.vpeak, 1, 1e-4);
            EXPECT_NEAR(p.turnOnVoltage, f.turnOnVoltage, 1e-2);
            const Circuit c = MismatchedCircuit(circuit, ImpedanceOf(gamma, z0));
            EXPECT_NEAR(c.pout.value / f.pout, 1, 1e-4);
        }
    }
    const Circuit circuit = ExactDefault();
    const ClassEStage stage = StageOf(circuit);
    const double z0 = ReferenceResistance(circuit);
    const MismatchPoint up = AnalyseLoad(stage, z0, Reflection(0, 1.0 / 3));
    const MismatchPoint down = AnalyseLoad(stage, z0, Reflection(0, -1.0 / 3));
    ASSERT_TRUE(up.valid && down.valid);
    EXPECT_GT(std::fabs(up.vpeak / down.vpeak - 1), 0.02);
    EXPECT_GT(std::fabs(up.turnOnVoltage - down.turnOnVoltage), 2);
}

TEST(LoadMismatch, CirclesStartAtPhaseZeroAndTheWorstCasesAreTheExtremes)
{
    const Circuit circuit = ExactDefault();
    const MismatchResult r = AnalyseMismatch(circuit, MismatchSettings{.vswrs = {2, 3}, .phases = 8, .gridSize = 0});
    ASSERT_TRUE(r.problem.empty()) << r.problem;
    ASSERT_EQ(r.points.size(), 16u);
    const double z0 = ReferenceResistance(circuit);
    EXPECT_EQ(r.z0, z0);
    EXPECT_NEAR(r.points[0].load.real(), 2 * z0, 1e-9 * z0);
    EXPECT_NEAR(r.points[4].load.real(), z0 / 2, 1e-9 * z0);
    EXPECT_NEAR(r.points[8].load.real(), 3 * z0, 1e-9 * z0);
    EXPECT_NEAR(r.points[2].phaseDegrees, 90, 1e-9);
    EXPECT_NEAR(r.points[2].vswr, 2, 1e-12);
    EXPECT_NEAR(r.points[14].vswr, 3, 1e-12);
    EXPECT_GT(r.points[2].load.imag(), 0);
    EXPECT_LT(r.points[6].load.imag(), 0);

    ASSERT_TRUE(r.worst.highestVpeak && r.worst.highestIpeak && r.worst.lowestPout && r.worst.worstTurnOn);
    for (const MismatchPoint& p : r.points) {
        ASSERT_TRUE(p.valid) << p.reason;
        EXPECT_LE(p.vpeak, r.points[*r.worst.highestVpeak].vpeak);
        EXPECT_LE(p.ipeak, r.points[*r.worst.highestIpeak].ipeak);
        EXPECT_GE(p.pout, r.points[*r.worst.lowestPout].pout);
        EXPECT_LE(std::fabs(p.turnOnVoltage), std::fabs(r.points[*r.worst.worstTurnOn].turnOnVoltage));
        EXPECT_GE(p.dischargePeak, p.ipeak);
    }
    // The 3:1 circle holds the worst drain voltage of the two.
    EXPECT_GE(*r.worst.highestVpeak, 8u);
}

TEST(LoadMismatch, TheGridCoversTheInnerRegionAndIsTheSameOnAnyThreadCount)
{
    const Circuit circuit = ExactDefault(true, 50);
    MismatchSettings settings{.vswrs = {2}, .phases = 12, .gridRadius = 0.6, .gridSize = 11, .threads = 1};
    const MismatchResult one = AnalyseMismatch(circuit, settings);
    settings.threads = 2;
    const MismatchResult two = AnalyseMismatch(circuit, settings);
    ASSERT_EQ(one.grid.points.size(), 121u);
    ASSERT_EQ(two.grid.points.size(), 121u);
    for (std::size_t i = 0; i < one.grid.points.size(); ++i) {
        EXPECT_EQ(one.grid.points[i].valid, two.grid.points[i].valid);
        EXPECT_EQ(one.grid.points[i].vpeak, two.grid.points[i].vpeak);
    }
    for (std::size_t i = 0; i < one.points.size(); ++i) EXPECT_EQ(one.points[i].pout, two.points[i].pout);

    // Γ = 0 is the middle point, the nominal stage; the corners lie outside the chart's
    // inner region, the points on the axes' ends inside it.
    const MismatchPoint& centre = one.grid.At(5, 5);
    EXPECT_EQ(centre.gamma, Reflection(0, 0));
    ExpectSameFigures(one.nominal, AnalyseStage(StageOf(circuit)));
    EXPECT_EQ(centre.pout, one.nominal.pout);
    EXPECT_FALSE(one.grid.At(0, 0).valid);
    EXPECT_NEAR(one.grid.At(0, 0).gamma.real(), -0.6, 1e-12);
    EXPECT_NEAR(one.grid.At(0, 0).gamma.imag(), -0.6, 1e-12);
    EXPECT_TRUE(one.grid.At(10, 5).valid);
    EXPECT_NEAR(one.grid.At(10, 5).gamma.real(), 0.6, 1e-12);
    EXPECT_TRUE(one.grid.At(5, 10).valid);
    EXPECT_GT(one.grid.At(5, 10).load.imag(), 0);
}

TEST(LoadMismatch, SettingsThatDescribeNoLoadAreRefused)
{
    const Circuit circuit = ExactDefault();
    for (const MismatchSettings& s : {MismatchSettings{.vswrs = {1}}, MismatchSettings{.vswrs = {2, NAN}},
                                      MismatchSettings{.phases = 0}, MismatchSettings{.gridSize = 1},
                                      MismatchSettings{.gridRadius = 1}}) {
        const MismatchResult r = AnalyseMismatch(circuit, s);
        EXPECT_FALSE(r.problem.empty());
        EXPECT_TRUE(r.points.empty());
    }
}

// The circuit with a reactive load has the reactance between the output port and the
// load resistor, the stage's side moved onto the port, and its own figures.
TEST(LoadMismatch, TheMismatchedCircuitPutsTheReactanceBeforeTheLoadResistor)
{
    for (const bool inductive : {true, false}) {
        const Circuit circuit = ExactDefault(true, 50);
        ASSERT_EQ(circuit.network, NetworkLayout::SeriesLFirst);
        const double z0 = ReferenceResistance(circuit);
        const Impedance z = ImpedanceOf(Reflection(0, inductive ? 1.0 / 3 : -1.0 / 3), z0);
        const Circuit c = MismatchedCircuit(circuit, z);
        const PartRole role = inductive ? PartRole::LoadInductor : PartRole::LoadCapacitor;
        ASSERT_TRUE(c.Has(role));
        const Part& x = c.Get(role);
        EXPECT_STREQ(x.from, "port");
        EXPECT_STREQ(x.to, "load");
        EXPECT_STREQ(c.Get(PartRole::Load).from, "load");
        EXPECT_STREQ(c.Get(PartRole::NetworkL).to, "port");
        EXPECT_STREQ(c.Get(PartRole::NetworkC).from, "port");
        EXPECT_NEAR(c.ValueOf(PartRole::Load) / z.real(), 1, 1e-7);
        const double omega = 2 * std::numbers::pi * circuit.frequency;
        const double reactance = inductive ? omega * x.value.value : -1 / (omega * x.value.value);
        EXPECT_NEAR(reactance / z.imag(), 1, 1e-6);
        EXPECT_NEAR(StageOf(c).loadReactance / z.imag(), 1, 1e-6);

        const MismatchPoint p = AnalyseLoad(StageOf(circuit), z0, ReflectionOf(z, z0));
        ASSERT_TRUE(c.analysed && c.pout.Usable());
        EXPECT_NEAR(c.pout.value / p.pout, 1, 1e-5);
        EXPECT_NEAR(c.vpeak.value / p.vpeak, 1, 1e-5);
        EXPECT_FALSE(c.losses.empty());
        for (const PartStress& s : c.stresses) EXPECT_NE(s.role, role);
    }
}

}  // namespace
}  // namespace voltra
