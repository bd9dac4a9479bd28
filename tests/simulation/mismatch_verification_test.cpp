// The stage into a mismatched load, proven in the simulator: the netlist of the
// mismatched circuit carries the load's reactance where the analysis puts it, and at
// VSWR 2 the analysis predicts what ngspice measures in that circuit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "engine/design_options.h"
#include "engine/load_mismatch.h"
#include "simulation/netlist.h"
#include "simulation/verification.h"
#include "settled_simulation.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

// What the analysis and the simulation must agree to: 2 % of the figure, 2 points of
// the supply for the drain voltage at turn-on.
constexpr double kAgreementPercent = 2;
constexpr double kTurnOnAgreementPoints = 2;

bool HasLine(const std::string& netlist, const std::string& line)
{
    return netlist.find("\n" + line + "\n") != std::string::npos || netlist.rfind(line + "\n", 0) == 0;
}

TEST(MismatchNetlist, TheMatchedLoadLeavesTheNetlistAsItWasAndAReactanceSitsBeforeTheLoad)
{
    const DesignRecord d = CalculatedDesign();
    const Circuit circuit = BuildCircuit(d, DesignOptions{.exact = true});
    const double z0 = ReferenceResistance(circuit);
    EXPECT_EQ(RequestFor(MismatchedCircuit(circuit, z0)).circuit, RequestFor(circuit).circuit);

    const double omega = 2 * std::numbers::pi * circuit.frequency;
    const Circuit inductive = MismatchedCircuit(circuit, Impedance(z0, 3));
    const std::string lines = RequestFor(inductive).circuit;
    EXPECT_TRUE(HasLine(lines, "L2 series port " + NetlistNumber(circuit.ValueOf(PartRole::Lseries)))) << lines;
    EXPECT_TRUE(HasLine(lines, "LLoad port load " + NetlistNumber(static_cast<float>(3 / omega)))) << lines;
    EXPECT_TRUE(HasLine(lines, "RLoad load 0 " + NetlistNumber(static_cast<float>(z0)))) << lines;
    EXPECT_EQ(RequestFor(inductive).loadResistance, static_cast<float>(z0));

    // The capacitor with its leak across it, a million times its reactance.
    const Circuit capacitive = MismatchedCircuit(circuit, Impedance(z0 / 2, -3));
    const std::string c = RequestFor(capacitive).circuit;
    const float cload = capacitive.ValueOf(PartRole::LoadCapacitor);
    EXPECT_NEAR(1 / (omega * cload), 3, 3e-6);
    EXPECT_TRUE(HasLine(c, "CLoad port load " + NetlistNumber(cload))) << c;
    EXPECT_TRUE(HasLine(c, "RCLoadleak port load " + NetlistNumber(kLoadCapacitorLeak / (omega * cload)))) << c;
    EXPECT_EQ(RequestFor(capacitive).loadResistance, static_cast<float>(z0 / 2));
}

struct Checked {
    double predicted, simulated, deviation;
};

Checked Figure(const std::vector<FigureComparison>& figures, const std::string& key)
{
    for (const FigureComparison& f : figures)
        if (key == f.key) return {f.predicted, f.simulated, f.deviationPercent};
    ADD_FAILURE() << "no " << key;
    return {};
}

// The default design, and with the L-network whose series inductor faces the stage
// (the load reactance then stands beside the network's shunt capacitor), each into
// the four loads of the VSWR-2 circle on the axes of Γ.
TEST(MismatchInTheSimulator, AnalysisPredictsPowerDrainPeakAndTurnOnAtVswr2)
{
    for (const bool lnetwork : {false, true}) {
        const DesignRecord d = CalculatedDesign(kDefaultNetworkQ, lnetwork, 50);
        const Circuit circuit = BuildCircuit(d, DesignOptions{.exact = true});
        ASSERT_TRUE(AllUsable(circuit));
        const double z0 = ReferenceResistance(circuit);
        const double g = ReflectionMagnitude(2);
        for (const int degrees : {0, 90, 180, 270}) {
            const Reflection gamma = std::polar(g, degrees * std::numbers::pi / 180);
            const Impedance z = ImpedanceOf(gamma, z0);
            SCOPED_TRACE(testing::Message() << (lnetwork ? "L-network, " : "") << degrees << "°, Z " << z);
            const Circuit mismatched = MismatchedCircuit(circuit, z);
            ASSERT_TRUE(mismatched.analysed && mismatched.pout.Usable());

            const SimulationOutcome outcome = SimulateSettled(mismatched);
            ASSERT_TRUE(outcome.result.has_value()) << outcome.error;
            EXPECT_TRUE(outcome.result->figures.steady);
            const std::vector<FigureComparison> figures = Compare(d, mismatched, outcome.result->figures);
            const Checked pout = Figure(figures, "Pout");
            const Checked vpeak = Figure(figures, "Vpeak");
            const Checked turnOn = Figure(figures, "VturnOnPercent");
            std::printf("%s %3d° Z %6.3f%+7.3fj  Pout %.4f / %.4f W  Vpeak %.3f / %.3f V  turn-on %.2f / %.2f %%\n",
                        lnetwork ? "L-net" : "plain", degrees, z.real(), z.imag(), pout.predicted, pout.simulated,
                        vpeak.predicted, vpeak.simulated, turnOn.predicted, turnOn.simulated);
            EXPECT_NEAR(pout.deviation, 0, kAgreementPercent);
            EXPECT_NEAR(vpeak.deviation, 0, kAgreementPercent);
            EXPECT_NEAR(turnOn.deviation, 0, kTurnOnAgreementPoints);
        }
    }
}

}  // namespace
}  // namespace voltra
