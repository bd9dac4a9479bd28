// One quantity of the fixed circuit swept over a range, the rest held: the operating
// frequency, the supply, the fall time or a part's value, each point analysed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/circuit.h"

namespace voltra {

struct SweepPoint {
    double value = 0;          // the swept quantity, SI units
    bool valid = false;
    std::string reason;        // why there is no steady state, when invalid
    double pout = 0;           // W
    double efficiency = 0;     // fraction
    double turnOnVoltage = 0;  // % of the supply
    double vpeak = 0;          // V
    double ipeak = 0;          // A
};

struct SweepResult {
    std::string problem;  // why nothing was swept: an unknown quantity, too few steps
    std::string unit;     // of the swept quantity
    std::vector<SweepPoint> points;
};

// "frequency", "supply", "falltime", then the instance names of the circuit's
// trimmable parts ("C1", "L2", ...): what SweepCircuit takes, case aside.
std::vector<std::string> SweepableNames(const Circuit& circuit);

// The unit of a quantity SweepCircuit takes ("Hz", "V", "s", "F", "H", "ohm"); nothing
// for a name it does not take.
std::optional<std::string> SweptUnit(const Circuit& circuit, std::string_view quantity);

// `steps` points (at least 2) from `from` to `to`, evenly spaced, the first at exactly
// `from`; C1 is its external part, the switch's own capacitance held.
SweepResult SweepCircuit(const Circuit& circuit, std::string_view quantity, double from, double to, int steps);

}  // namespace voltra
