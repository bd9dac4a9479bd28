// The exact design with a device's output-capacitance curve, against ngspice on the
// same circuit (the curve as junction diodes): zero-voltage switching and the target
// power where the external C1 is only part of the drain capacitance; the design made
// with one Coss number instead misses on the real device.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "engine/design_options.h"
#include "engine/junction_law.h"
#include "simulation/netlist.h"
#include "simulation/ngspice_simulator.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

SimulationFigures Simulated(const Circuit& circuit)
{
    NgspiceSimulator simulator;
    const SimulationOutcome outcome = simulator.Run(RequestFor(circuit), std::stop_token());
    EXPECT_TRUE(outcome.result.has_value()) << outcome.error;
    return outcome.result.value_or(SimulationResult{}).figures;
}

DesignRecord At(float frequency)
{
    DesignRecord d = CalculatedDesign();
    d.Frequency = frequency;
    d.Power = 10;
    d.Supply = 24;
    d.Falltime = 0.01f / frequency;
    FindAll(d);
    return d;
}

// A device whose curve has the shape of a published GaN transistor's fitted Coss,
// 16.604 pF / (1 + V/0.474)^0.283, its Cj0 scaled to `share` of the closed form's C1.
Transistor DeviceFor(const DesignRecord& d, double share)
{
    Transistor device;
    device.name = "scaled curve";
    device.coss = JunctionLaw{share * d.C1, 0.474, 0.283};
    // Ratings far above the stage's stresses: only the capacitance is under test.
    device.maxDrainVolts = 1000;
    device.continuousDrainAmps = 100;
    // A small switch for 10 W: its RDS(on) in the design in place of the saturation voltage.
    device.onResistance25 = 0.5;
    return device;
}

TEST(DeviceCurveDesign, SwitchesAtZeroVoltageInNgspiceFrom1To30MHzWhereOneCossMisses)
{
    std::printf("  f MHz | curve's share of C1 | with the curve: turn-on %%, Pout W | one Coss, C(Vdd): turn-on %%, Pout W"
                " | one Coss, Cj0: turn-on %%, Pout W\n");
    const struct {
        float frequency;
        double cj0OverC1;  // the curve's size against the closed form's C1
    } cases[] = {{1e6f, 1.0}, {7e6f, 1.6}, {14e6f, 2.2}, {30e6f, 2.2}};
    for (const auto& [frequency, cj0OverC1] : cases) {
        SCOPED_TRACE(frequency);
        const DesignRecord d = At(frequency);
        const Transistor device = DeviceFor(d, cj0OverC1);
        const Circuit circuit = BuildCircuit(d, DesignOptions{.exact = true, .device = device});
        ASSERT_TRUE(circuit.exact && AllUsable(circuit));
        ASSERT_TRUE(circuit.cossLaw.has_value());
        // The device's curve is 30..80 % of what the drain needs: the external part is the rest.
        const double external = circuit.ValueOf(PartRole::C1);
        const double share = 1 - external / (external + ChargeEquivalentCapacitance(device.coss, circuit.vpeak.value));
        EXPECT_GT(share, 0.3);
        EXPECT_LT(share, 0.8);

        const SimulationFigures curve = Simulated(circuit);
        EXPECT_NEAR(curve.VturnOnPercent, 0, 2);
        EXPECT_NEAR(curve.Pout, d.Power, 0.02 * d.Power);

        // The same stage designed with one Coss number, the curve's value at the supply
        // or at 0 V, then built with the real device: the switch closes on a charged C1.
        std::string missedText;
        const double singles[2] = {Capacitance(device.coss, d.Supply), device.coss.cj0};
        for (int k = 0; k < 2; ++k) {
            Circuit oneCoss = BuildCircuit(d, DesignOptions{.exact = true, .coss = static_cast<float>(singles[k])});
            char text[64];
            if (!(oneCoss.exact && AllUsable(oneCoss))) {
                std::snprintf(text, sizeof text, " | no design: Coss above C1");
            } else {
                oneCoss.cossLaw = device.coss;
                const SimulationFigures missed = Simulated(oneCoss);
                EXPECT_FALSE(std::fabs(missed.VturnOnPercent) < 3) << "one Coss " << singles[k];
                std::snprintf(text, sizeof text, " | %+8.1f %%, %6.3f W", missed.VturnOnPercent, missed.Pout);
            }
            missedText += text;
        }
        std::printf("  %5.0f | %18.0f%% | %+8.2f %%, %6.3f W%s\n", frequency / 1e6, 100 * share, curve.VturnOnPercent,
                    curve.Pout, missedText.c_str());
    }
}

}  // namespace
}  // namespace voltra
