// Voltra without a window, for scripts: verify a saved design by simulation, or
// write its LTspice schematic. Needs no display.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "simulation/simulator.h"

namespace voltra {

// Runs the command the arguments name and returns the process's exit code; nothing
// when they name none, and the program opens its windows.
//   --simulate DESIGN.VLT [--lnet OHMS] [--json] [options]
//   --export-asc OUT.asc DESIGN.VLT [--lnet OHMS] [options]
// options: --exact, --coss FARADS, --series E12|E24|E96, --choke N (times Lseries).
std::optional<int> RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                                  Simulator& simulator);

}  // namespace voltra
