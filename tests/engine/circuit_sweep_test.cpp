// The sweep of a fixed circuit: its nominal point is the circuit's own analysis, its
// points are where they are asked, and the supply scales a linear stage as V².
#include "engine/circuit_sweep.h"

#include <gtest/gtest.h>

#include "engine/design_options.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

TEST(CircuitSweep, ThePointAtTheNominalValueIsTheCircuitsOwnAnalysis)
{
    const Circuit circuit = BuildCircuit(CalculatedDesign(3, true, 50), DesignOptions{.exact = true, .coss = 50e-12f});
    const StageFigures nominal = AnalyseStage(StageOf(circuit));
    ASSERT_TRUE(nominal.valid);
    std::vector<std::pair<std::string, double>> quantities = {
        {"frequency", circuit.frequency},
        {"supply", circuit.ValueOf(PartRole::Supply)},
        {"falltime", circuit.falltime}};
    for (const Part& part : circuit.parts)
        if (part.role != PartRole::Supply && part.role != PartRole::Switch)
            quantities.push_back({part.name, part.value.value});
    EXPECT_EQ(SweepableNames(circuit).size(), quantities.size());
    for (const auto& [name, value] : quantities) {
        const SweepResult sweep = SweepCircuit(circuit, name, value, 1.5 * value, 5);
        ASSERT_TRUE(sweep.problem.empty()) << name << ": " << sweep.problem;
        ASSERT_EQ(sweep.points.size(), 5u);
        const SweepPoint& at = sweep.points.front();
        ASSERT_TRUE(at.valid) << name;
        EXPECT_EQ(at.pout, nominal.pout) << name;
        EXPECT_EQ(at.efficiency, nominal.efficiency) << name;
        EXPECT_EQ(at.turnOnVoltage, nominal.turnOnVoltage) << name;
        EXPECT_EQ(at.vpeak, nominal.vpeak) << name;
        EXPECT_EQ(at.ipeak, nominal.ipeak) << name;
        // Any other value changes what the stage does.
        EXPECT_NE(sweep.points.back().pout, nominal.pout) << name;
    }
}

TEST(CircuitSweep, StepsEvenlyFromTheFirstValueToTheLast)
{
    const Circuit circuit = BuildCircuit(CalculatedDesign(), DesignOptions{});
    const SweepResult sweep = SweepCircuit(circuit, "FREQUENCY", 3.8e6, 4.2e6, 41);
    ASSERT_EQ(sweep.points.size(), 41u);
    EXPECT_EQ(sweep.unit, "Hz");
    EXPECT_EQ(sweep.points.front().value, 3.8e6);
    EXPECT_EQ(sweep.points.back().value, 4.2e6);
    EXPECT_DOUBLE_EQ(sweep.points[20].value, 4.0e6);
    // A descending range runs down.
    const SweepResult down = SweepCircuit(circuit, "c2", 2e-9, 1e-9, 3);
    ASSERT_EQ(down.points.size(), 3u);
    EXPECT_EQ(down.unit, "F");
    EXPECT_DOUBLE_EQ(down.points[1].value, 1.5e-9);

    EXPECT_NE(SweepCircuit(circuit, "L3", 1e-6, 2e-6, 3).problem, "");  // no network in this circuit
    EXPECT_NE(SweepCircuit(circuit, "power", 1, 2, 3).problem, "");
    EXPECT_EQ(SweepCircuit(circuit, "supply", 1, 2, 1).problem, "a sweep needs at least 2 steps");
}

// Ron, the linear fall of the channel current and the parts' series resistances are
// all linear: the steady state scales with the supply, Pout as its square and the
// efficiency and the turn-on voltage as a share of it not at all.
TEST(CircuitSweep, TheSupplyScalesALinearStageAsItsSquare)
{
    const Circuit circuit = BuildCircuit(CalculatedDesign(), DesignOptions{.inductorQ = 80, .capacitorQ = 400});
    const SweepResult sweep = SweepCircuit(circuit, "supply", 12, 36, 3);
    ASSERT_EQ(sweep.points.size(), 3u);
    for (const SweepPoint& point : sweep.points) {
        ASSERT_TRUE(point.valid);
        const double scale = point.value / 12;
        EXPECT_NEAR(point.pout, sweep.points[0].pout * scale * scale, 1e-9 * point.pout);
        EXPECT_NEAR(point.vpeak, sweep.points[0].vpeak * scale, 1e-9 * point.vpeak);
        EXPECT_NEAR(point.efficiency, sweep.points[0].efficiency, 1e-12);
        EXPECT_NEAR(point.turnOnVoltage, sweep.points[0].turnOnVoltage, 1e-9);
    }
}

}  // namespace
}  // namespace voltra
