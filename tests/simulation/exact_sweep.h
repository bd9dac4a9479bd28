// A seeded sweep of exact designs across the ranges an engineer enters (100 kHz to
// 30 MHz, loaded Q 1.8 to 50, fall time up to 15 % of the period, duty 0.25, 0.5 and
// 0.75, with and without the L-network, Coss up to half of C1), each verified by the
// program's own simulation: the sample in the tests and the full table of the bench.
#pragma once

#include <cmath>
#include <random>
#include <string>

#include "engine/design_options.h"
#include "simulation/netlist.h"
#include "simulation/ngspice_simulator.h"
#include "tests/calculated_design.h"

namespace voltra {

// What the exact design's verification must show in every case.
inline constexpr double kSweepTurnOnPercent = 2;    // % of the supply
inline constexpr double kSweepPowerPercent = 2;     // % of the target power
inline constexpr double kSweepEfficiencyPoints = 1; // percentage points

struct SweepCase {
    int index = 0;
    float frequency = 0;     // Hz
    float networkQ = 0;
    float fallFraction = 0;  // of the period
    double duty = 0.5;
    bool lnetwork = false;   // to 50 ohm
    double cossFraction = 0; // of the C1 the design needs
};

// Case `index` of the sweep with `seed`: the same designs on every machine
// (std::mt19937's sequence is fixed by the standard; the draws use only it).
inline SweepCase SweepCaseOf(unsigned seed, int index)
{
    std::mt19937 random(seed + 7919u * static_cast<unsigned>(index));
    auto uniform = [&random](double low, double high) {
        return low + (high - low) * (static_cast<double>(random()) / 4294967296.0);
    };
    SweepCase c;
    c.index = index;
    c.frequency = static_cast<float>(std::exp(uniform(std::log(100e3), std::log(30e6))));
    c.networkQ = static_cast<float>(std::exp(uniform(std::log(1.8), std::log(50.0))));
    c.fallFraction = static_cast<float>(uniform(0, 0.15));
    c.duty = (index % 3 == 0) ? 0.25 : (index % 3 == 1) ? 0.5 : 0.75;
    c.lnetwork = (index / 3) % 2 == 1;
    c.cossFraction = (index % 4 == 3) ? 0 : uniform(0, 0.5);
    return c;
}

struct SweepOutcome {
    bool solved = false;     // the solver found a valid exact design
    std::string reason;      // why not, or why the simulation failed
    bool simulated = false;
    double targetPower = 0;  // W
    double turnOnPercent = 0;
    double powerPercent = 0;  // simulated minus target, % of the target
    double predictedEfficiency = 0;
    double simulatedEfficiency = 0;
    int periods = 0;
    bool steady = false;
    bool Passes() const
    {
        return simulated && steady && std::fabs(turnOnPercent) <= kSweepTurnOnPercent &&
               std::fabs(powerPercent) <= kSweepPowerPercent &&
               std::fabs(100 * (simulatedEfficiency - predictedEfficiency)) <= kSweepEfficiencyPoints;
    }
};

// The design of the case's targets on the start-up supply and power; Coss is the
// case's fraction of the C1 the exact design needs without it.
inline Circuit SweepCircuit(const SweepCase& c, DesignRecord& d)
{
    d = CalculatedDesign(c.networkQ, c.lnetwork, 50);
    d.Frequency = c.frequency;
    d.Falltime = c.fallFraction / c.frequency;
    FindAll(d);
    LnetworkWorking working;
    FindLnetwork(d, working, 50);
    DesignOptions options{.exact = true, .duty = c.duty};
    if (c.cossFraction > 0) {
        const Circuit free = BuildCircuit(d, options);
        const double c1 = free.ValueOf(PartRole::C1);
        if (AllUsable(free) && c1 > 0) options.coss = static_cast<float>(c.cossFraction * c1);
    }
    return BuildCircuit(d, options);
}

inline SweepOutcome RunSweepCase(const SweepCase& c)
{
    SweepOutcome o;
    DesignRecord d;
    const Circuit circuit = SweepCircuit(c, d);
    o.targetPower = d.Power;
    if (!AllUsable(circuit)) {
        for (const auto& [name, result] : circuit.NamedResults())
            if (!result.Usable() && o.reason.empty()) o.reason = std::string(name) + ": " + result.reason;
        return o;
    }
    o.solved = true;
    o.predictedEfficiency = circuit.efficiency.value;
    SimulationRequest request = RequestFor(circuit);
    request.maxPeriods = 6000;
    NgspiceSimulator simulator;
    const SimulationOutcome outcome = simulator.Run(request, std::stop_token());
    if (!outcome.result) {
        o.reason = outcome.error;
        return o;
    }
    const SimulationFigures& s = outcome.result->figures;
    o.simulated = true;
    o.turnOnPercent = s.VturnOnPercent;
    o.powerPercent = 100 * (s.Pout - d.Power) / d.Power;
    o.simulatedEfficiency = s.Efficiency;
    o.periods = s.periods;
    o.steady = s.steady;
    return o;
}

}  // namespace voltra
