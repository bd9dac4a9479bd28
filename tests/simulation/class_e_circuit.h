// A design's Class E stage as the program simulates it: the circuit model's netlist
// of the core's own numbers, for the simulation tests and the benchmark.
#pragma once

#include <array>
#include <charconv>
#include <string>

#include "engine/circuit.h"
#include "engine/equations.h"
#include "simulation/netlist.h"
#include "tests/calculated_design.h"

namespace voltra {

// A number as the netlist writes it, to find its line.
inline std::string SpiceNumber(double value)
{
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::general, 9).ptr;
    return std::string(text.data(), end);
}

inline SimulationRequest ClassERequest(const DesignRecord& d) { return RequestFor(BuildCircuit(d)); }

}  // namespace voltra
