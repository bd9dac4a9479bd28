// The switch's junction temperature on its heat sink, solved together with the
// on-resistance's rise: the loss heats the junction, the heat raises RDS(on), and
// RDS(on) raises the loss.
#pragma once

#include <functional>
#include <string>

#include "engine/result_status.h"
#include "engine/transistor.h"

namespace voltra {

// The heat path from the case to the air, as the user enters it; junction–case
// comes from the device.
struct HeatSink {
    double thetaCaseSink = 0;     // K/W, the insulating pad or grease
    double thetaSinkAmbient = 0;  // K/W, the heat sink
    double ambientCelsius = 25;
    bool operator==(const HeatSink&) const = default;
};

// The switch's loss in watts at a given on-resistance in ohms; it must not fall as the
// on-resistance rises.
using LossAtOnResistance = std::function<double(double ohms)>;

// The common case: conduction loss Irms²·RDS(on) plus losses that do not depend on it
// (switching, gate drive).
LossAtOnResistance ConductionPlusFixed(double rmsAmps, double fixedWatts);

struct JunctionTemperature {
    double celsius = 0;
    double onResistance = 0;  // ohm, at that temperature
    double lossWatts = 0;     // at that on-resistance
    // Invalid above the device's maximum, when the heating runs away (no steady
    // temperature exists), or when the device lacks the numbers; reason then says which.
    Status status = Status::Valid;
    std::string reason;
};

// Tj = Ta + (θjc + θcs + θsa)·P(RDS(on)(Tj)): the lowest steady temperature above the
// ambient, the one a cold start settles at, found by stepping up from the ambient
// until the heat balance changes sign and bisecting there.
JunctionTemperature SolveJunctionTemperature(const Transistor& device, const HeatSink& sink,
                                             const LossAtOnResistance& loss);

}  // namespace voltra
