// Analysis of a given Class E stage in SI units: the supply, the feed choke, the switch
// (Ron while on, its channel current falling linearly over the fall time, open after),
// Coss and the external C1, the series Lseries-C2 branch, the optional L-network and
// the load, every inductor and capacitor with the series resistance of its Q, solved
// exactly for its periodic steady state.
#pragma once

#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "engine/inductor_qualities.h"
#include "engine/junction_law.h"
#include "engine/steady_state.h"

namespace voltra {

struct ClassEStage {
    double frequency = 0;  // Hz, switching frequency
    double supply = 0;     // V
    double ron = 0;        // ohm, switch resistance while on
    double lchoke = 0;     // H, feed choke from the supply to the drain
    double c1 = 0;         // F, all capacitance across the switch, its own included
    double coss = 0;       // F, the switch's own part of c1 (no series resistance)
    // The switch's own capacitance as a junction law (cj0 in F, vj in V), in place of
    // coss: c1 then holds the external C1 plus the law's Cj0.
    std::optional<JunctionLaw> cossLaw;
    double lseries = 0;    // H
    double c2 = 0;         // F
    NetworkLayout network = NetworkLayout::None;
    double lnetwork = 0;   // H
    double cnetwork = 0;   // F
    double lnetwork2 = 0;  // H, the T's load-side inductor
    double cnetwork2 = 0;  // F, the Pi's load-side shunt, the tapped-C's shunt Cb
    bool trap = false;     // the parallel trap for the second harmonic
    double ltrap = 0;      // H
    double ctrap = 0;      // F
    double load = 0;       // ohm, the resistor the power goes into: Rnetwork with the L-network in
    // ohm at the switching frequency, in series with the load resistor, lossless: above
    // zero an inductor of X/ω, below zero a capacitor of 1/(ω|X|), none at zero.
    double loadReactance = 0;
    double duty = 0.5;     // fraction of the period the switch is fully on
    double falltime = 0;   // s, the channel current's linear fall at turn-off
    double inductorQ = INFINITY;   // every inductor's series resistance is ωL/Q
    InductorQualities ownQ;        // but these inductors', with their own Q
    double capacitorQ = INFINITY;  // every capacitor's but Coss's is 1/(ωC·Q)
};

// One part's stresses and loss from the solved waveform.
struct PartFigures {
    double peakVoltage = 0;    // V, highest |voltage| across its terminals
    double rmsCurrent = 0;     // A
    double reactivePower = 0;  // var: ωL·Iac² for an inductor, Irms²/(ωC) for a capacitor
    double loss = 0;           // W in its series resistance
};

// What the stage does, from its waveforms; numbers only when valid.
struct StageFigures {
    bool valid = false;
    std::string reason;        // why not, when invalid
    double pout = 0;           // W, into the load
    double pin = 0;            // W, supply times Idc
    double efficiency = 0;     // Pout / Pin
    double idc = 0;            // A, mean supply current
    double switchLoss = 0;     // W in the switch: Ron (with any C1 discharge) and the fall
    double conductionLoss = 0; // W in Ron while fully on, the discharge below taken out
    double dischargeLoss = 0;  // W, the drain capacitance's charge at turn-on, lost as the switch closes
    double fallLoss = 0;       // W, the channel current against the rising drain voltage in the fall
    double dischargeEnergy = 0;  // J per period, ½·C·v² of the drain capacitance at turn-on
    double vpeak = 0;          // V, highest drain voltage
    double ipeak = 0;          // A, highest switch current, the turn-on impulse included
    double ipeakNetwork = 0;   // A, highest switch current without the impulse of C1 discharging
    double turnOnVoltage = 0;  // drain voltage as the switch closes, % of the supply
    double turnOnSlope = 0;    // drain-voltage slope as the switch closes, (dv/dt) / (ω · supply)
    std::array<PartFigures, kStageParts> parts{};  // indexed by StagePart
    // V, amplitudes of harmonics 1 to kHarmonics (index n − 1) of the load voltage and
    // of the drain voltage.
    HarmonicAmplitudes loadHarmonics{};
    HarmonicAmplitudes drainHarmonics{};
};

StageFigures AnalyseStage(const ClassEStage& stage);

// The stage in the solver's units, its load resistor the reference resistance.
NormalisedStage NormaliseStage(const ClassEStage& stage);

}  // namespace voltra
