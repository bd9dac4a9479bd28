// The parts of a fixed stage that a builder may trim or that come with a tolerance,
// by their role and instance name, and their values in the stage the analysis takes.
#pragma once

#include <vector>

#include "engine/circuit.h"
#include "engine/stage_analysis.h"

namespace voltra {

enum class PartKind { Capacitor, Inductor, Resistor };

struct TrimmablePart {
    PartRole role;
    const char* name;  // instance name, "C1", "L2", ...
    PartKind kind;
};

// C1, C2, the choke, Lseries, the network's parts where it is in, and the load, in
// circuit order.
std::vector<TrimmablePart> TrimmableParts(const Circuit& circuit);

// Sets the part's value as bought: for C1 the external capacitor, the switch's own
// capacitance left as it is.
void SetPartValue(ClassEStage& stage, PartRole role, double value);

// The value times `factor`; a factor of exactly 1 leaves the stage bit for bit.
void ScalePart(ClassEStage& stage, PartRole role, double factor);

}  // namespace voltra
