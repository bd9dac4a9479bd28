// The periodic steady state of the single-switch Class E stage in normalised units:
// linear in each switch interval (on, falling, open), so one period follows from
// three transition matrices and the state at turn-on from one linear solve, with
// no time stepping; losses and RMS currents are exact quadratic-form integrals.
// A switch capacitance that follows a junction law makes the drain nonlinear: then
// each interval is integrated and the turn-on state found by shooting.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "engine/harmonics.h"
#include "engine/junction_law.h"
#include "engine/network_layout.h"

namespace voltra {


// Every reactance at the switching frequency and every resistance divided by one
// reference resistance. Time runs in radians of the switching frequency (θ = ωt),
// voltages in units of the supply, currents in supply / reference resistance.
struct NormalisedStage {
    double choke = 0;     // ωLchoke
    double c1 = 0;        // 1/(ωC1), all capacitance across the switch, Coss included
    double coss = 0;      // ωCoss: the part of that capacitance that is the switch's own (no ESR)
    double lseries = 0;   // ωLseries
    double c2 = 0;        // 1/(ωC2); zero is a short, and Newton may pass through negative values
    double ron = 0;       // switch resistance while on
    NetworkLayout network = NetworkLayout::None;
    double lnetwork = 0;  // ωLnetwork
    double cnetwork = 0;  // 1/(ωCnetwork)
    double lnetwork2 = 0; // ωL of the T's load-side inductor
    double cnetwork2 = 0; // 1/(ωC) of the Pi's load-side shunt, the tapped-C's shunt Cb
    // The parallel trap between the series branch and the network (or the load).
    bool trap = false;
    double ltrap = 0;     // ωLtrap
    double ctrap = 0;     // 1/(ωCtrap)
    double load = 0;      // the resistor the output power goes into
    // The load's reactance in series with that resistor: ωL of a series inductor
    // above zero, −1/(ωC) of a series capacitor below, no part at zero.
    double loadReactance = 0;
    double duty = 0.5;    // fraction of the period the switch is fully on
    double fall = 0;      // ω·tf: the channel current falls linearly to zero over this angle
    // Series resistance of each inductor is its reactance times inductorLoss (1/QL),
    // of each capacitor other than Coss its reactance times capacitorLoss (1/QC).
    double inductorLoss = 0;
    double capacitorLoss = 0;
    // An inductor with a loss of its own (1/Q of its winding) in place of inductorLoss.
    std::optional<double> chokeLoss, lseriesLoss, lnetworkLoss;
    // The switch's own capacitance as a junction law: cj0 as ωCj0 (and coss equal to it,
    // so c1 holds the external C1 plus Cj0), vj in supplies, m as it is. The equations
    // are then nonlinear at the drain and are integrated in time; absent, they are linear.
    std::optional<JunctionLaw> cossLaw;
};

// How much of the waveform to work out: Newton needs only the turn-on state and the
// power; the figures shown to the user need the rest.
// SwitchPeak adds the peak currents of the conducting switch, which Ron follows, and
// leaves every other peak and, of a linear stage, the load power at zero.
enum class SteadyStateDetail { TurnOn, SwitchPeak, Full };

// The parts whose stresses and losses the full detail reports, in circuit order.
// The Pi, T and tapped-C networks' third parts and the trap's follow the load, so the
// first eight keep their places.
enum class StagePart { Choke, Switch, C1, C2, Lseries, NetworkL, NetworkC, Load, NetworkL2, NetworkC2, TrapL, TrapC };
inline constexpr std::size_t kStageParts = 12;

struct PartWaveform {
    double peakVoltage = 0;  // highest |voltage| across the part's terminals
    double rmsCurrent = 0;
    double meanCurrent = 0;  // DC part of the current (only the choke carries one)
    double loss = 0;         // mean power in the part's series resistance (the switch: none)
};

struct SteadyState {
    bool solved = false;        // false when the circuit has no unique periodic state
    double turnOnVoltage = 0;   // drain voltage just before the switch closes
    double turnOnSlope = 0;     // d(drain voltage)/dθ just before the switch closes
    double loadPower = 0;       // mean power into the load
    // Full detail only:
    double supplyCurrent = 0;   // mean choke current
    double conductionLoss = 0;  // mean power in Ron while fully on, the discharge below included
    double dischargeLoss = 0;   // ½·C1·v²·f: the drain capacitance's energy at turn-on, per period
    double fallLoss = 0;        // mean power of the channel current against the drain voltage in the fall
    double peakDrainVoltage = 0;
    double peakSwitchCurrent = 0;     // highest |switch current|, the turn-on impulse through Ron included
    double peakNetworkCurrent = 0;    // highest current the choke and the series branch drive into
                                      // the switch while it conducts: the switch's current without
                                      // the impulse of C1 discharging
    double dischargeEnergy = 0;       // ½·C1·v² at turn-on, in supply² / (reference resistance · ω)
    std::array<PartWaveform, kStageParts> parts{};
    // Amplitudes of harmonics 1 to kHarmonics of the load voltage and of the drain
    // voltage, in supplies, from the exact Fourier integrals of the solution.
    HarmonicAmplitudes loadHarmonics{};
    HarmonicAmplitudes drainHarmonics{};
};

// A series capacitor in the load leaves C2 and itself an island without a DC path, whose
// charge no periodic solution decides. A leak across it of this many times its
// reactance fixes its mean voltage at zero (the mean branch current is zero behind C2)
// and takes 1e-6 of that reactance over the load resistance of the output power.
inline constexpr double kLoadCapacitorLeak = 1e6;

// What a shooting solve of a stage with a capacitance law leaves for the next solve of
// a nearly equal stage: its turn-on state and the Jacobian of its period's mismatch.
// The linear stages solve their period in closed form and neither read nor write it.
struct ShootingMemory {
    std::vector<double> start;
    std::vector<double> jacobian;  // row by row
};

SteadyState SolveSteadyState(const NormalisedStage& stage, SteadyStateDetail detail, ShootingMemory* memory = nullptr);

}  // namespace voltra
