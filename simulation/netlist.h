// The circuit model as the simulator reads it: the same parts, values and switch
// model as the exact solver and the schematic file with the switch model, the part
// losses as series resistors, and the switch current sensed.
#pragma once

#include <string>

#include "engine/circuit.h"
#include "simulation/simulator.h"

namespace voltra {

// The request that verifies a circuit whose results are all usable and whose fall
// fits its off-time.
SimulationRequest RequestFor(const Circuit& circuit);

// A number as the netlist writes it: nine significant digits, enough for every
// single-precision value, in the C form whatever the user's locale.
std::string NetlistNumber(double value);

}  // namespace voltra
