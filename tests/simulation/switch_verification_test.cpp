// The verification simulates the switch the solver solves: its on-time is the duty's,
// its current falls linearly over the fall time, its own capacitance stands across the
// drain, the discharge at a missed turn-on is reported apart from the network's
// current, and "steady" means a longer run would not move the powers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/design_options.h"
#include "engine/stage_analysis.h"
#include "simulation/netlist.h"
#include "simulation/ngspice_simulator.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

SimulationResult Simulated(const SimulationRequest& request)
{
    NgspiceSimulator simulator;
    const SimulationOutcome outcome = simulator.Run(request, std::stop_token());
    EXPECT_TRUE(outcome.result.has_value()) << outcome.error;
    return outcome.result.value_or(SimulationResult{});
}

DesignRecord Targets(float frequency, float power, float supply, float networkQ, float fallFraction)
{
    DesignRecord d = CalculatedDesign(networkQ);
    d.Frequency = frequency;
    d.Power = power;
    d.Supply = supply;
    d.Falltime = fallFraction / frequency;
    FindAll(d);
    return d;
}

// The waveform over the second plotted period, at time t from its turn-on.
double At(const SimulationWaveforms& w, const std::vector<double>& value, double t)
{
    const double target = w.turnOnTime + t;
    const auto after = std::lower_bound(w.time.begin(), w.time.end(), target);
    const std::size_t i = static_cast<std::size_t>(after - w.time.begin());
    const double f = (target - w.time[i - 1]) / (w.time[i] - w.time[i - 1]);
    return value[i - 1] + f * (value[i] - value[i - 1]);
}

// Whether the plot marks the switch on at time t from the second period's turn-on.
bool MarkedOn(const SimulationWaveforms& w, double t)
{
    const auto at = std::lower_bound(w.time.begin(), w.time.end(), w.turnOnTime + t);
    return w.switchOn[static_cast<std::size_t>(at - w.time.begin())];
}

// A gate with edges as long as the fall, switching at a fixed threshold, kept the
// switch fully on for T/2 + 0.417·tf: at 15 % of the period that alone put a third
// of the supply on the drain at turn-on. The simulated switch is Ron for exactly D·T,
// its current then falls along a straight line to zero at D·T + tf, and it stays open.
TEST(SimulatedSwitch, IsOnForTheDutyThenFallsLinearlyOverTheFallTime)
{
    for (const double duty : {0.5, 0.4}) {
        SCOPED_TRACE(duty);
        const DesignRecord d = Targets(4e6f, 50, 24, 5, 0.15f);
        const Circuit circuit = BuildCircuit(d, DesignOptions{.exact = true, .duty = duty});
        ASSERT_TRUE(AllUsable(circuit));
        const SimulationResult r = Simulated(RequestFor(circuit));
        const SimulationWaveforms& w = r.waveforms;
        const double period = circuit.period.value;
        const double onTime = duty * period;
        const double fall = circuit.falltime;
        const double ron = circuit.ValueOf(PartRole::Switch);
        const double turnOff = At(w, w.switchCurrent, onTime);
        ASSERT_GT(turnOff, 0.5);
        for (const double x : {0.1, 0.5, 0.9}) {
            EXPECT_TRUE(MarkedOn(w, x * onTime));
            EXPECT_FALSE(MarkedOn(w, onTime + x * (period - onTime)));
            // Fully on: the drain is Ron times the switch current.
            EXPECT_NEAR(At(w, w.drain, x * onTime), ron * At(w, w.switchCurrent, x * onTime), 2e-3 * r.figures.Vpeak);
            // Falling: a straight line from the turn-off current.
            EXPECT_NEAR(At(w, w.switchCurrent, onTime + x * fall), turnOff * (1 - x), 5e-3 * turnOff);
            // Open.
            const double open = onTime + fall + x * (period - onTime - fall);
            EXPECT_NEAR(At(w, w.switchCurrent, open), 0.0, 1e-6 * turnOff);
        }
        // What the solver promised for this switch, the simulated stage does.
        EXPECT_NEAR(r.figures.VturnOnPercent, 0, 2);
        EXPECT_NEAR(r.figures.Pout, d.Power, 0.02 * d.Power);
        EXPECT_NEAR(100 * r.figures.Efficiency, 100 * circuit.efficiency.value, 1);
    }
}

// With the switch's own capacitance the external C1 is the rest of what the stage
// needs; verifying that rest without Coss checked another circuit (853 % at turn-on
// while ZVS was promised).
TEST(SimulatedSwitch, CarriesItsOwnCapacitanceAcrossTheDrain)
{
    const DesignRecord d = Targets(30e6f, 10, 28, 10, 0.01f);
    const Circuit circuit = BuildCircuit(d, DesignOptions{.exact = true, .coss = 20e-12f});
    ASSERT_TRUE(AllUsable(circuit));
    const SimulationFigures s = Simulated(RequestFor(circuit)).figures;
    EXPECT_NEAR(s.VturnOnPercent, 0, 2);
    EXPECT_NEAR(s.Pout, d.Power, 0.02 * d.Power);
    EXPECT_NEAR(100 * s.Efficiency, 100 * circuit.efficiency.value, 1);

    Circuit withoutCoss = circuit;
    withoutCoss.coss = 0;
    EXPECT_GT(std::fabs(Simulated(RequestFor(withoutCoss)).figures.VturnOnPercent), 20);
}

// E12 parts detune the exact stage so the switch closes on a charged C1: the drain
// voltage arrives at turn-on with the analysed value and slope, the switch's peak is
// still the network's current, as the analysis predicts, and the discharge is the
// analysis's ½·C·v², reported beside it.
TEST(SimulatedSwitch, PeakCurrentLeavesOutTheDischargeAtAMissedTurnOn)
{
    const DesignRecord d = Targets(4e6f, 50, 24, 3, 0.05f);
    const Circuit circuit = BuildCircuit(d, DesignOptions{.exact = true, .series = ESeries::E12});
    ASSERT_TRUE(circuit.analysed && AllUsable(circuit));
    const SimulationFigures s = Simulated(RequestFor(circuit)).figures;
    ASSERT_GT(std::fabs(s.VturnOnPercent), 5) << "the rounded stage should miss zero-voltage switching";
    EXPECT_GT(s.dischargePeak, s.Ipeak);
    EXPECT_NEAR(s.Ipeak, circuit.ipeak.value, 0.02 * circuit.ipeak.value);
    EXPECT_NEAR(s.dischargeEnergy, circuit.dischargeEnergy.value, 0.05 * circuit.dischargeEnergy.value);
    const StageFigures analysed = AnalyseStage(StageOf(circuit));
    ASSERT_TRUE(analysed.valid);
    ASSERT_NEAR(analysed.turnOnVoltage, circuit.turnOnPercent.value, 1e-3 * std::fabs(analysed.turnOnVoltage));
    EXPECT_NEAR(s.VturnOnPercent, analysed.turnOnVoltage, 0.02 * std::fabs(analysed.turnOnVoltage));
    EXPECT_NEAR(s.turnOnSlope, analysed.turnOnSlope, 0.02 * std::fabs(analysed.turnOnSlope));
}

// Inductors of Q 100 and capacitors of Q 200 at a loaded Q of 5 take a quarter of the
// supply power in their series resistances: the simulated circuit, with its own resistors, loses
// what the analysis says.
TEST(SimulatedSwitch, LossyPartsLoseWhatTheAnalysisSays)
{
    const DesignRecord d = Targets(4e6f, 50, 24, 5, 0.03f);
    const Circuit circuit = BuildCircuit(d, DesignOptions{.exact = true, .inductorQ = 100, .capacitorQ = 200});
    ASSERT_TRUE(circuit.analysed && AllUsable(circuit));
    const Circuit ideal = BuildCircuit(d, DesignOptions{.exact = true});
    ASSERT_LT(circuit.efficiency.value, ideal.efficiency.value - 0.1f) << "the parts should lose a good share";
    const SimulationFigures s = Simulated(RequestFor(circuit)).figures;
    EXPECT_NEAR(s.Efficiency, circuit.efficiency.value, 0.005);
    EXPECT_NEAR(s.Pout, circuit.pout.value, 0.01 * circuit.pout.value);
}

// Wound inductors with Qs of their own, the choke's 400 and the series inductor's 60,
// beside a common Q of 150 for the L-network's: ngspice, with each part's own series
// resistor, loses what the analysis says.
TEST(SimulatedSwitch, WindingsOwnQsLoseWhatTheAnalysisSays)
{
    DesignRecord d = CalculatedDesign(kDefaultNetworkQ, true, 50);
    const DesignOptions options{.exact = true, .inductorQ = 150, .windingQ = {400.0, 60.0, std::nullopt}};
    const Circuit circuit = BuildCircuit(d, options);
    ASSERT_TRUE(circuit.analysed && AllUsable(circuit));
    const Circuit common = BuildCircuit(d, DesignOptions{.exact = true, .inductorQ = 150});
    // The choke carries the supply current: its own Q of 400 saves more than the series
    // inductor's 60 costs.
    ASSERT_GT(circuit.efficiency.value, common.efficiency.value + 0.02f) << "the own Qs should count";
    const SimulationFigures s = Simulated(RequestFor(circuit)).figures;
    EXPECT_NEAR(s.Efficiency, circuit.efficiency.value, 0.005);
    EXPECT_NEAR(s.Pout, circuit.pout.value, 0.01 * circuit.pout.value);
}

// 358 kHz, 77.6 W from 40.7 V, Vsat 0.38 V, Q 25.1, L-network to 50 ohm: its choke
// settles over some 25 periods a step, and a watch of one-period changes called it
// steady at 75.42 W after 116 periods where 300 gave 78.50 W. Three times as long a
// run moves neither power by 0.2 %.
TEST(SimulatedSwitch, SteadyStateHoldsOnALongerRun)
{
    DesignRecord d = CalculatedDesign(25.1f, true, 50);
    d.Frequency = 358e3f;
    d.Power = 77.6f;
    d.Supply = 40.7f;
    d.Saturation = 0.38f;
    FindAll(d);
    LnetworkWorking working;
    FindLnetwork(d, working, 50);
    const Circuit circuit = BuildCircuit(d, DesignOptions{.exact = true});
    ASSERT_TRUE(AllUsable(circuit));
    SimulationRequest request = RequestFor(circuit);
    const SimulationFigures steady = Simulated(request).figures;
    ASSERT_TRUE(steady.steady) << steady.periods << " periods, last change " << steady.lastChange << ", Pout " << steady.Pout;
    request.minPeriods = 3 * steady.periods;
    request.maxPeriods = request.minPeriods;
    const SimulationFigures longer = Simulated(request).figures;
    ASSERT_EQ(longer.periods, 3 * steady.periods);
    EXPECT_NEAR(steady.Pout, longer.Pout, 2e-3 * longer.Pout);
    EXPECT_NEAR(steady.Pin, longer.Pin, 2e-3 * longer.Pin);
    EXPECT_NEAR(longer.Pout, d.Power, 0.02 * d.Power);
}

// At 600 MHz a 1 ns fall does not fit the half-period off-time: no pulse can be
// written for it, and the simulator says why instead of running a negative width.
TEST(SimulatedSwitch, AFallLongerThanTheOffTimeIsNotSimulated)
{
    const DesignRecord d = Targets(600e6f, 10, 24, 5, 0.6f);
    const Circuit circuit = BuildCircuit(d);
    NgspiceSimulator simulator;
    const SimulationOutcome outcome = simulator.Run(RequestFor(circuit), std::stop_token());
    EXPECT_FALSE(outcome.result);
    EXPECT_NE(outcome.error.find("fall time is longer than its off-time"), std::string::npos) << outcome.error;
}

}  // namespace
}  // namespace voltra
