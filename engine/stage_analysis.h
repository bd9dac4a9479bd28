// Analysis of a given Class E stage in SI units: the supply, the feed choke, the switch
// (Ron while on, open while off, 50 % duty), C1, the series Lseries-C2 branch, the
// optional L-network and the load, solved exactly for its periodic steady state.
#pragma once

#include <string>

#include "engine/steady_state.h"

namespace voltra {

struct ClassEStage {
    double frequency = 0;  // Hz, switching frequency
    double supply = 0;     // V
    double ron = 0;        // ohm, switch resistance while on
    double lchoke = 0;     // H, feed choke from the supply to the drain
    double c1 = 0;         // F, all capacitance across the switch, its own included
    double lseries = 0;    // H
    double c2 = 0;         // F
    StageNetwork network = StageNetwork::None;
    double lnetwork = 0;   // H
    double cnetwork = 0;   // F
    double load = 0;       // ohm, the resistor the power goes into: Rnetwork with the L-network in
};

// What the stage does, from its waveforms; numbers only when valid.
struct StageFigures {
    bool valid = false;
    std::string reason;        // why not, when invalid
    double pout = 0;           // W, into the load
    double pin = 0;            // W, supply times Idc
    double efficiency = 0;     // Pout / Pin
    double idc = 0;            // A, mean supply current
    double switchLoss = 0;     // W, in Ron: conduction, and the discharge of C1 where ZVS is missed
    double vpeak = 0;          // V, highest drain voltage
    double ipeak = 0;          // A, highest switch current
    double turnOnVoltage = 0;  // drain voltage as the switch closes, % of the supply
    double turnOnSlope = 0;    // drain-voltage slope as the switch closes, (dv/dt) / (ω · supply)
};

StageFigures AnalyseStage(const ClassEStage& stage);

}  // namespace voltra
