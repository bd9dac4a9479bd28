// The device's output-capacitance curve as the simulators see it: the switch lines
// carry it as a junction diode across the drain, and ngspice charges that diode with
// the charge the engine's junction law integrates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/design_options.h"
#include "engine/junction_law.h"
#include "files/spice_switch.h"
#include "simulation/ngspice_session.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

// A published GaN device's fitted output capacitance, 16.604 pF / (1 + V/0.474)^0.283.
constexpr JunctionLaw kPublishedLaw{16.604e-12, 0.474, 0.283};

Circuit WithLaw(const JunctionLaw& law)
{
    Circuit circuit = BuildCircuit(CalculatedDesign(), DesignOptions{.exact = true});
    circuit.cossLaw = law;
    return circuit;
}

std::vector<std::string> LinesStarting(const std::vector<std::string>& lines, const std::string& start)
{
    std::vector<std::string> found;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(found),
                 [&](const std::string& line) { return line.starts_with(start); });
    return found;
}

// The number after `key=` in a model line.
double Parameter(const std::string& line, const std::string& key)
{
    std::size_t at = line.find(" " + key + "=");
    if (at == std::string::npos) at = line.find("(" + key + "=");
    if (at == std::string::npos) {
        ADD_FAILURE() << key << " missing from " << line;
        return NAN;
    }
    return std::strtod(line.c_str() + at + key.size() + 2, nullptr);
}

TEST(DeviceCurveInTheSwitchLines, IsAJunctionDiodeFromGroundToTheDrainInPlaceOfTheFixedCoss)
{
    Circuit circuit = WithLaw(kPublishedLaw);
    circuit.coss = 12e-12f;  // the single value the closed form took off C1: not simulated twice
    const std::vector<std::string> lines = SwitchModelLines(circuit);
    EXPECT_TRUE(LinesStarting(lines, "Coss ").empty());

    const std::string drain = circuit.Get(PartRole::Switch).from;
    const std::vector<std::string> diode = LinesStarting(lines, "Dcoss ");
    ASSERT_EQ(diode.size(), 1u);
    // The cathode on the drain: a positive drain voltage reverse-biases the junction.
    EXPECT_EQ(diode[0], "Dcoss 0 " + drain + " CossJunction");

    const std::vector<std::string> model = LinesStarting(lines, ".model CossJunction D(");
    ASSERT_EQ(model.size(), 1u);
    EXPECT_EQ(Parameter(model[0], "CJO"), kPublishedLaw.cj0);
    EXPECT_EQ(Parameter(model[0], "VJ"), kPublishedLaw.vj);
    EXPECT_EQ(Parameter(model[0], "M"), kPublishedLaw.m);
    EXPECT_LE(Parameter(model[0], "IS"), 1e-29);

    // A junction potential above one volt is split over junctions in series, each of
    // Vj/N and N·Cj0: the same law.
    circuit.cossLaw = JunctionLaw{1.2e-9, 6.5, 0.5};
    const std::vector<std::string> stack = SwitchModelLines(circuit);
    EXPECT_EQ(LinesStarting(stack, "Dcoss").size(), 7u);
    EXPECT_EQ(LinesStarting(stack, "Dcoss1 0 cossj1 ").size(), 1u);
    EXPECT_EQ(LinesStarting(stack, "Dcoss7 cossj6 " + drain + " ").size(), 1u);
    const std::string stackModel = LinesStarting(stack, ".model ").at(0);
    EXPECT_FLOAT_EQ(Parameter(stackModel, "CJO"), 7 * 1.2e-9);
    EXPECT_FLOAT_EQ(Parameter(stackModel, "VJ"), 6.5 / 7);

    circuit.cossLaw.reset();
    EXPECT_EQ(LinesStarting(SwitchModelLines(circuit), "Coss ").size(), 1u);
    EXPECT_TRUE(LinesStarting(SwitchModelLines(circuit), "Dcoss ").empty());
}

// A ramp from 0 V to 60 V across the diode, the production lines' diode and model:
// the charge the source delivers, ∫ i dt, against the law's closed-form charge
// Cj0·Vj·((1 + V/Vj)^(1-m) - 1)/(1 - m). A diode the wrong way round conducts, a
// swapped VJ and M or a CJO in the wrong unit moves the charge by far more than 0.5 %.
// The second law's Vj of 6.5 V is above the 2 V ngspice takes for one junction.
TEST(DeviceCurveInNgspice, ChargesWithTheJunctionLawsCharge)
{
    for (const JunctionLaw law : {kPublishedLaw, JunctionLaw{1.2e-9, 6.5, 0.5}}) {
        SCOPED_TRACE(law.cj0);
        const Circuit circuit = WithLaw(law);
        const std::vector<std::string> switchLines = SwitchModelLines(circuit);
        const std::string drain = circuit.Get(PartRole::Switch).from;
        std::vector<std::string> deck = {"* junction charge", "Vramp " + drain + " 0 PWL(0 0 1u 60)"};
        for (const std::string& line : switchLines)
            if (line.starts_with("Dcoss") || line.starts_with(".model ")) deck.push_back(line);
        deck.push_back(".end");

        NgspiceSession ngspice;
        ASSERT_EQ(ngspice.LoadFailure(), "");
        ASSERT_TRUE(ngspice.LoadCircuit(deck));
        ngspice.Command("tran 1n 1u 0 1n");
        const NgspiceVector time = ngspice.Vector("time");
        const NgspiceVector current = ngspice.Vector("vramp#branch");
        ASSERT_GT(time.length, 100);
        ASSERT_EQ(current.length, time.length);

        // A source's current flows into its positive terminal: the charge it delivers is -∫ i dt.
        double charge = 0;
        int checked = 0;
        for (int k = 1; k < time.length; ++k) {
            charge -= 0.5 * (current.data[k] + current.data[k - 1]) * (time.data[k] - time.data[k - 1]);
            const double volts = 60 * time.data[k] / 1e-6;
            if (volts < 1 || k % 50 != 0) continue;
            EXPECT_NEAR(charge, Charge(law, volts), 5e-3 * Charge(law, volts)) << volts << " V";
            ++checked;
        }
        EXPECT_GT(checked, 10);
    }
}

}  // namespace
}  // namespace voltra
