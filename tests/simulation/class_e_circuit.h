// A design's Class E stage as the program simulates it: the circuit model's netlist
// of the core's own numbers, for the simulation tests and the benchmark.
#pragma once

#include <string>

#include "engine/circuit.h"
#include "engine/equations.h"
#include "simulation/netlist.h"
#include "tests/calculated_design.h"

namespace voltra {

inline SimulationRequest ClassERequest(const DesignRecord& d) { return RequestFor(BuildCircuit(d)); }

}  // namespace voltra
