// Verifying a design by circuit simulation: what is asked of a simulator, what it
// measures in periodic steady state, and the interface tests and the GUI replace.
#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/harmonics.h"

namespace voltra {

// The circuit is the amplifier's SPICE element lines and models, without a title,
// analysis or .end line. The simulator finds its way around it by these names:
//
//   Vbattery supply 0 <V>         DC supply; its current into the stage is -i(Vbattery)
//   L1 supply ...                 the feed choke, its current i(L1) into the drain
//   ... drain                     the switch's node: the switch, C1 and Coss to ground
//   C2 drain ...                  the series branch, whose current i(L2) leaves
//   L2 ... ...                    the drain through C2 and Lseries
//   Vswitch swsrc 0 0             the switch's source lead: i(Vswitch) is the
//                                 switch current, drain to source
//   RLoad load 0 <ohm>            the load: output power is v(load)^2/R
//
// The switch closes at the start of every period (t = 0, T, 2T, ...) and is fully on
// for duty times the period; its fall and the open time follow. The transient starts
// from the DC operating point with the switch open, so the circuit needs no initial
// conditions: C2 then already holds the supply and only the choke current has to
// build up, from the circuit itself rather than from the predictions being checked.
struct SimulationRequest {
    std::string circuit;
    double frequency = 0;         // Hz, of the switching
    double supply = 0;            // V, of Vbattery
    double loadResistance = 0;    // ohm, of RLoad
    double duty = 0.5;            // fraction of the period the switch is fully on
    double falltime = 0;          // s, of the switch's turn-off
    double shuntCapacitance = 0;  // F, all capacitance across the switch (C1 and Coss)
    int maxPeriods = 1000;        // the transient stops here even if not yet steady
    int minPeriods = 0;           // and runs at least this long, steady or not
};

// Figures over the last simulated period.
struct SimulationFigures {
    double Pout = 0;            // W, mean v(load)^2 / RLoad
    double Pin = 0;             // W, supply times Idc
    double Efficiency = 0;      // Pout / Pin
    double Idc = 0;             // A, mean supply current
    double Vpeak = 0;           // V, highest drain voltage
    // A, highest switch current, drain to source, without the shunt capacitance's
    // discharge into the switch at turn-on: the current the network drives through it.
    double Ipeak = 0;
    // A, the highest current the shunt capacitance discharges into the switch as it
    // closes (zero at zero-voltage switching); it depends on the switch's speed, not
    // on the network.
    double dischargePeak = 0;
    double dischargeEnergy = 0;  // J, per turn-on: the shunt capacitance's charge then
    // Drain voltage as the switch turns on, % of supply; below zero when the
    // drain has swung under ground, which the switch model (no body diode) allows.
    double VturnOnPercent = 0;
    // dv/d(wt) of the drain voltage just before turn-on, divided by the supply:
    // zero with VturnOnPercent zero is the Class E switching condition. Both are
    // NaN when the switch never turns on.
    double turnOnSlope = 0;
    // V, amplitudes of harmonics 1 to kHarmonics (index n − 1) of v(load) over the period.
    HarmonicAmplitudes loadHarmonics{};
    int periods = 0;            // periods simulated
    bool steady = false;        // false when maxPeriods came before steady state
    double lastChange = 0;      // relative change of Pout or Pin from the period before
};

// The last two periods as the simulator stepped them, for a plot; time runs from
// 0 at the start of the first of the two.
struct SimulationWaveforms {
    std::vector<double> time;           // s
    std::vector<double> drain;          // V
    std::vector<double> switchCurrent;  // A, drain to source
    std::vector<double> load;           // V
    std::vector<bool> switchOn;         // the switch fully on (before its fall)
    double turnOnTime = 0;              // s, the turn-on of the second period
};

struct SimulationResult {
    SimulationFigures figures;
    SimulationWaveforms waveforms;
};

// A result, or why there is none: a plain English message for the user.
struct SimulationOutcome {
    std::optional<SimulationResult> result;
    std::string error;
    bool cancelled = false;  // stopped by the caller; error says so as well
};

class Simulator {
public:
    virtual ~Simulator() = default;
    // Safe to call from any thread; `cancel` may be requested from another one.
    virtual SimulationOutcome Run(const SimulationRequest& request, std::stop_token cancel) = 0;
};

}  // namespace voltra
