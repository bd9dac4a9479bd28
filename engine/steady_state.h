// The periodic steady state of the ideal single-switch Class E stage in normalised
// units: linear in each switch state, so one period follows from two transition
// matrices and the state at turn-on from one linear solve, with no time stepping.
#pragma once

namespace voltra {

// Which end of the low-pass L-network faces the stage: the series inductor when the
// stage resistance is the lower one, the shunt capacitor when it is the higher one.
enum class StageNetwork { None, SeriesLFirst, ShuntCFirst };

// Every reactance at the switching frequency and every resistance divided by one
// reference resistance. Time runs in radians of the switching frequency (θ = ωt),
// voltages in units of the supply, currents in supply / reference resistance.
struct NormalisedStage {
    double choke = 0;     // ωLchoke
    double c1 = 0;        // 1/(ωC1), all capacitance across the switch
    double lseries = 0;   // ωLseries
    double c2 = 0;        // 1/(ωC2); zero is a short, and Newton may pass through negative values
    double ron = 0;       // switch resistance while on
    StageNetwork network = StageNetwork::None;
    double lnetwork = 0;  // ωLnetwork
    double cnetwork = 0;  // 1/(ωCnetwork)
    double load = 0;      // the resistor the output power goes into
};

// How much of the waveform to work out: Newton needs only the turn-on state and the
// power; the figures shown to the user need the rest.
enum class SteadyStateDetail { TurnOn, Full };

struct SteadyState {
    bool solved = false;        // false when the circuit has no unique periodic state
    double turnOnVoltage = 0;   // drain voltage as the switch closes
    double turnOnSlope = 0;     // d(drain voltage)/dθ just before the switch closes
    double loadPower = 0;       // mean power into the load
    // Full detail only:
    double supplyCurrent = 0;   // mean choke current
    double switchLoss = 0;      // mean power in Ron, conduction and capacitor discharge
    double peakDrainVoltage = 0;
    double peakSwitchCurrent = 0;
};

// The switch is closed for the first half period, open for the second.
SteadyState SolveSteadyState(const NormalisedStage& stage, SteadyStateDetail detail);

}  // namespace voltra
