// Voltra without a window, for scripts: print a design, verify it by simulation or
// write its LTspice schematic, from targets on the command line or a design file.
// Needs no display.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "simulation/simulator.h"

namespace voltra {

// Exit statuses: 0 done; 1 a failure, with its reason on the error stream (a design
// file that does not read, an invalid design, a failed simulation, a file that
// cannot be written); 2 misuse, with the usage (an unknown command or option, a
// value that does not read or lies outside its limits).
inline constexpr int kCommandFailed = 1;
inline constexpr int kCommandMisused = 2;

// Runs the command the arguments name and returns the process's exit status;
// nothing when they name none, and the program opens its windows:
//   voltra design|simulate [TARGETS] [OPTIONS] [--json|--csv]
//   voltra export-asc OUT.asc [TARGETS] [OPTIONS]
//   voltra help [COMMAND], voltra --help, voltra --version
// and the earlier forms voltra --simulate DESIGN.VLT [...] and
// voltra --export-asc OUT.asc DESIGN.VLT [...].
std::optional<int> RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                                  Simulator& simulator);

// The design file the program is to open with its windows: `voltra FILE.VLT`.
std::optional<std::string> DesignFileToOpen(const std::vector<std::string>& arguments);

}  // namespace voltra
