// The simulated stage obeys its physics; ngspice faults and cancellations become messages that leave the next run untouched.
#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <functional>
#include <string>
#include <thread>

#include "simulation/ngspice_simulator.h"
#include "tests/simulation/class_e_circuit.h"

namespace voltra {
namespace {

SimulationRequest DefaultDesignRequest() { return ClassERequest(CalculatedDesign(kDefaultNetworkQ)); }

// Trapezoidal mean of value(i) over the samples of one of the two periods.
double MeanOverPeriod(const SimulationWaveforms& w, double period, int which,
                      const std::function<double(size_t)>& value)
{
    const double from = which * period;
    const double to = from + period;
    double area = 0;
    for (size_t i = 1; i < w.time.size(); ++i)
        if (w.time[i - 1] >= from && w.time[i] <= to)
            area += 0.5 * (value(i - 1) + value(i)) * (w.time[i] - w.time[i - 1]);
    return area / period;
}

void ExpectSameFigures(const SimulationFigures& a, const SimulationFigures& b)
{
    EXPECT_EQ(a.Pout, b.Pout);
    EXPECT_EQ(a.Pin, b.Pin);
    EXPECT_EQ(a.Idc, b.Idc);
    EXPECT_EQ(a.Vpeak, b.Vpeak);
    EXPECT_EQ(a.Ipeak, b.Ipeak);
    EXPECT_EQ(a.VturnOnPercent, b.VturnOnPercent);
    EXPECT_EQ(a.turnOnSlope, b.turnOnSlope);
    EXPECT_EQ(a.periods, b.periods);
}

class NgspiceSimulation : public ::testing::Test {
protected:
    SimulationResult Simulate(const SimulationRequest& request)
    {
        SimulationOutcome outcome = simulator.Run(request, {});
        if (!outcome.result) ADD_FAILURE() << outcome.error;
        return outcome.result.value_or(SimulationResult{});
    }

    NgspiceSimulator simulator;
};

// At the lowest Q the power overshoots on its way to steady state; at Q 10 the switch
// turns on at nearly zero voltage and slope, in the second period.
TEST_F(NgspiceSimulation, StageDrawsWhatItDeliversAndDissipatesAcrossTheQRange)
{
    for (const float networkQ : {kEntryLimits[static_cast<int>(Target::NetworkQ)].recalcLow, kDefaultNetworkQ, 10.0f}) {
        SCOPED_TRACE(networkQ);
        const SimulationRequest request = ClassERequest(CalculatedDesign(networkQ));
        const SimulationResult result = Simulate(request);
        const SimulationWaveforms& w = result.waveforms;
        const double switchLoss = MeanOverPeriod(w, 1.0 / request.frequency, 1,
                                                 [&](size_t i) { return w.drain[i] * w.switchCurrent[i]; });
        EXPECT_GT(switchLoss, 0.0);
        EXPECT_NEAR(result.figures.Pin, result.figures.Pout + switchLoss, 0.01 * result.figures.Pin);
        EXPECT_NEAR(result.figures.Efficiency, result.figures.Pout / result.figures.Pin, 1e-12);
        if (networkQ != 10.0f) continue;
        EXPECT_LT(std::fabs(result.figures.VturnOnPercent), 10.0);
        EXPECT_LT(std::fabs(result.figures.turnOnSlope), 0.1);
        EXPECT_EQ(w.turnOnTime, 1.0 / kDefaultFrequency);
    }
}

TEST_F(NgspiceSimulation, RunsUntilSuccessivePeriodsDeliverTheSamePower)
{
    const SimulationRequest request = DefaultDesignRequest();
    const SimulationResult result = Simulate(request);
    ASSERT_TRUE(result.figures.steady);
    EXPECT_LT(result.figures.periods, request.maxPeriods);
    const SimulationWaveforms& w = result.waveforms;
    auto loadPower = [&](size_t i) { return w.load[i] * w.load[i] / request.loadResistance; };
    const double before = MeanOverPeriod(w, 1.0 / request.frequency, 0, loadPower);
    const double last = MeanOverPeriod(w, 1.0 / request.frequency, 1, loadPower);
    EXPECT_NEAR(last, before, 1e-3 * last);
    EXPECT_NEAR(result.figures.Pout, last, 1e-3 * last);
    // The closed-form design delivers a few per cent more than its target.
    EXPECT_GT(result.figures.Pout, kDefaultPower);
    EXPECT_LT(result.figures.Pout, 1.1 * kDefaultPower);
}

TEST_F(NgspiceSimulation, SaysWhenThePeriodCapCameFirst)
{
    SimulationRequest request = DefaultDesignRequest();
    request.maxPeriods = 5;
    const SimulationFigures figures = Simulate(request).figures;
    EXPECT_FALSE(figures.steady);
    EXPECT_EQ(figures.periods, 5);
    EXPECT_GT(figures.lastChange, 1e-3);
}

// Each fault names its cause, and the next run gives the same figures as one before any fault.
TEST_F(NgspiceSimulation, FaultsBecomeMessagesAndLeaveTheNextRunAsBefore)
{
    const SimulationRequest good = DefaultDesignRequest();
    const SimulationFigures before = Simulate(good).figures;

    auto replaced = [&](const std::string& from, const std::string& to) {
        SimulationRequest request = good;
        for (size_t at = request.circuit.find(from); at != std::string::npos; at = request.circuit.find(from, at))
            request.circuit.replace(at, from.size(), to);
        return request;
    };
    auto added = [&](const std::string& lines) {
        SimulationRequest request = good;
        request.circuit += lines;
        return request;
    };
    SimulationRequest noFrequency = good;
    noFrequency.frequency = 0;
    const struct {
        const char* fault;
        SimulationRequest request;
        const char* messageStart;
        const char* messageHas;
    } cases[] = {
        {"switch expression cut short", replaced("+(1-V(son))", "+(1-V(son)"), "ngspice refused the circuit",
         "bs1"},
        {"load given as an undefined parameter (fatal to ngspice)",
         replaced("RLoad load 0 " + NetlistNumber(good.loadResistance), "RLoad load 0 {rload}"),
         "ngspice stopped with a fatal error", "rload"},
        {"no node named load", replaced(" load", " out"), "The simulated circuit has no node \"load\"", ""},
        {"a second switch that chatters once its current starts",
         added("I9 0 a PULSE(0 1m 600n 1n 1n 1 2)\nR9 a 0 1e6\nS9 a 0 a 0 Chatter\n"
               ".model Chatter SW(Vt=1 Vh=0 Ron=1 Roff=1e6)\n"),
         "The simulation failed in period 3", "Timestep too small"},
        {"no frequency", noFrequency, "The simulation needs a frequency", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        const SimulationOutcome outcome = simulator.Run(c.request, {});
        EXPECT_FALSE(outcome.result);
        EXPECT_FALSE(outcome.cancelled);
        EXPECT_TRUE(outcome.error.starts_with(c.messageStart)) << outcome.error;
        EXPECT_NE(outcome.error.find(c.messageHas), std::string::npos) << outcome.error;
        ExpectSameFigures(Simulate(good).figures, before);
    }
}

TEST_F(NgspiceSimulation, CancelledRunLeavesTheNextRunAsAFreshOne)
{
    const SimulationRequest good = DefaultDesignRequest();
    const SimulationFigures fresh = Simulate(good).figures;

    // At Q 200 the series network takes thousands of periods to settle.
    SimulationRequest slow = ClassERequest(CalculatedDesign(200.0f));
    slow.maxPeriods = 20000;
    std::stop_source stop;
    std::jthread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stop.request_stop();
    });
    const SimulationOutcome cancelled = simulator.Run(slow, stop.get_token());
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.result);
    EXPECT_FALSE(cancelled.error.empty());

    ExpectSameFigures(Simulate(good).figures, fresh);
    EXPECT_TRUE(simulator.Run(good, stop.get_token()).cancelled);
}

// A brace expression makes ngspice reread the numbers with the C library, which follows the locale.
TEST_F(NgspiceSimulation, ReadsTheCircuitAlikeInACommaDecimalLocale)
{
    SimulationRequest request = DefaultDesignRequest();
    const std::string load = "RLoad load 0 " + NetlistNumber(request.loadResistance);
    const std::string loadAsExpression = "RLoad load 0 {" + NetlistNumber(request.loadResistance) + "}";
    request.circuit.replace(request.circuit.find(load), load.size(), loadAsExpression);
    const SimulationFigures inC = Simulate(request).figures;

    const std::string callers = std::setlocale(LC_ALL, nullptr);
    bool commaLocale = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (!commaLocale && std::setlocale(LC_ALL, name) != nullptr) commaLocale = true;
    if (!commaLocale) GTEST_SKIP() << "no locale with a decimal comma is installed";
    const SimulationFigures inComma = Simulate(request).figures;
    std::setlocale(LC_ALL, callers.c_str());
    ExpectSameFigures(inComma, inC);
}

TEST_F(NgspiceSimulation, RunsFromTwoThreadsAtOnceTakeTurns)
{
    const SimulationRequest good = DefaultDesignRequest();
    SimulationOutcome first;
    SimulationOutcome second;
    {
        std::jthread a([&] { first = simulator.Run(good, {}); });
        std::jthread b([&] { second = simulator.Run(good, {}); });
    }
    ASSERT_TRUE(first.result) << first.error;
    ASSERT_TRUE(second.result) << second.error;
    ExpectSameFigures(first.result->figures, second.result->figures);
}

}  // namespace
}  // namespace voltra
