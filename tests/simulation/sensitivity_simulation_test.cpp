// The sensitivities of the analysis of a fixed circuit against ngspice: the same
// circuit simulated with one part 2 % up and 2 % down, its central difference per 1 %.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/design_options.h"
#include "engine/sensitivity.h"
#include "simulation/netlist.h"
#include "simulation/ngspice_simulator.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

// The simulated step: wide enough that ngspice's own settling noise (a relative
// 1e-4 on the powers) is far below the difference, narrow enough that the curvature
// between ±1 % and ±2 % stays a few % of the slope.
constexpr double kSimulatedStep = 0.02;

SimulationFigures SimulatedWith(Circuit circuit, PartRole role, double factor)
{
    Result& value = circuit.Get(role).value;
    value.value = static_cast<float>(value.value * factor);
    NgspiceSimulator simulator;
    const SimulationOutcome outcome = simulator.Run(RequestFor(circuit), std::stop_token());
    EXPECT_TRUE(outcome.result.has_value()) << outcome.error;
    EXPECT_TRUE(outcome.result && outcome.result->figures.steady);
    return outcome.result ? outcome.result->figures : SimulationFigures{};
}

// The two parts that tune a Class E stage and the one that sets its load angle: the
// series inductor and capacitor for the output power, the shunt capacitor and the
// series inductor for the drain voltage at turn-on.
TEST(SimulatedSensitivities, AgreeWithNgspiceWithinTenPercent)
{
    const Circuit circuit = BuildCircuit(CalculatedDesign(), DesignOptions{.exact = true});
    const Sensitivities table = AnalyseSensitivities(circuit);
    const SimulationFigures nominal = SimulatedWith(circuit, PartRole::C1, 1);
    const double per = 2 * kSimulatedStep * 100;
    for (const PartRole role : {PartRole::C2, PartRole::Lseries, PartRole::C1}) {
        const SimulationFigures up = SimulatedWith(circuit, role, 1 + kSimulatedStep);
        const SimulationFigures down = SimulatedWith(circuit, role, 1 - kSimulatedStep);
        const double pout = 100 * (up.Pout - down.Pout) / nominal.Pout / per;
        const double turnOn = (up.VturnOnPercent - down.VturnOnPercent) / per;
        const double vpeak = 100 * (up.Vpeak - down.Vpeak) / nominal.Vpeak / per;
        const PartSensitivity* s = nullptr;
        for (const PartSensitivity& one : table.parts)
            if (one.role == role) s = &one;
        ASSERT_NE(s, nullptr);
        EXPECT_NEAR(s->turnOnVoltage, turnOn, 0.1 * std::abs(turnOn)) << s->part;
        EXPECT_NEAR(s->pout, pout, 0.1 * std::abs(pout)) << s->part;
        EXPECT_NEAR(s->vpeak, vpeak, 0.1 * std::abs(vpeak)) << s->part;
    }
}

}  // namespace
}  // namespace voltra
