// Verifying a design by circuit simulation: what is asked of a simulator, what it
// measures in periodic steady state, and the interface tests and the GUI replace.
#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace voltra {

// The circuit is the amplifier's SPICE element lines and models, without a title,
// analysis or .end line. The simulator finds its way around it by these names:
//
//   Vbattery supply 0 <V>                   DC supply; its current into the stage
//                                           is -i(Vbattery)
//   S1 drain swsrc gate 0 MySwitch          the switch, with a zero-volt sense
//   Vswitch swsrc 0 0                       source: i(Vswitch) flows drain to source
//   .model MySwitch SW(Ron=.. Roff=.. Vt=.. Vh=0)
//   Vgen gsrc 0 PULSE(0 12 0 tf tf T/2-tf T)  gate drive at the design frequency,
//   Rgen gsrc gate 10                       rising from 0 at t = 0: each period
//                                           starts with a turn-on
//   RLoad load 0 <ohm>                      the load: output power is v(load)^2/R
//
// Every other node and part is free. The transient starts from the DC operating
// point with the gate low, so the circuit needs no initial conditions: C2 then
// already holds the supply and only the choke current has to build up, from the
// circuit itself rather than from the predictions being checked.
struct SimulationRequest {
    std::string circuit;
    double frequency = 0;        // Hz, of the gate drive
    double supply = 0;           // V, of Vbattery
    double loadResistance = 0;   // ohm, of RLoad
    double switchThreshold = 0;  // V, S1 conducts while v(gate) is above it (its Vt)
    int maxPeriods = 1000;       // the transient stops here even if not yet steady
};

// Figures over the last simulated period.
struct SimulationFigures {
    double Pout = 0;            // W, mean v(load)^2 / RLoad
    double Pin = 0;             // W, supply times Idc
    double Efficiency = 0;      // Pout / Pin
    double Idc = 0;             // A, mean supply current
    double Vpeak = 0;           // V, highest drain voltage
    double Ipeak = 0;           // A, highest switch current, drain to source
    // Drain voltage as the switch turns on, % of supply; below zero when the
    // drain has swung under ground, which the switch model (no body diode) allows.
    double VturnOnPercent = 0;
    // dv/d(wt) of the drain voltage just before turn-on, divided by the supply:
    // zero with VturnOnPercent zero is the Class E switching condition. Both are
    // NaN when the switch never turns on.
    double turnOnSlope = 0;
    int periods = 0;            // periods simulated
    bool steady = false;        // false when maxPeriods came before steady state
    double lastChange = 0;      // relative change of Pout from the period before
};

// The last two periods as the simulator stepped them, for a plot; time runs from
// 0 at the start of the first of the two.
struct SimulationWaveforms {
    std::vector<double> time;           // s
    std::vector<double> drain;          // V
    std::vector<double> switchCurrent;  // A, drain to source
    std::vector<double> load;           // V
    std::vector<bool> switchOn;         // gate above the switch threshold
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
