// The design as a schematic file the LTspice simulator opens ready to run: supply
// and choke, pulse-driven switch, C1, C2 and Lseries, the optional L-network, load.
#pragma once

#include <string>

#include "engine/circuit.h"
#include "engine/message_sink.h"

namespace voltra {

inline constexpr const char* kSpiceNotWritten = "We did not write the LTspice schematic file";
// A failed calculation would put "NaN" or "Inf" into part values the simulator
// cannot read, and an impossible one would simulate something else: such a design is
// not exported at all.
inline constexpr const char* kSpiceInvalidDesign =
    "We did not write the LTspice schematic file: the design has results that are not valid numbers.";

// A switch whose fall does not end before it closes again has no pulse widths to write.
inline constexpr const char* kSpiceFallTooLong =
    "We did not write the LTspice schematic file: the fall time is longer than the switch's off-time.";

// True when every part value of the design can be written and its switch's fall fits; otherwise beeps, says so
// and returns false, so the command can refuse before it asks for a file name.
bool CheckSpiceExportable(const Circuit& circuit, MessageSink& sink);

// Writes the schematic of the last calculated design's circuit. A path shorter than
// five characters writes nothing and says nothing; a failure beeps and says so, with
// the system's reason on a second line, and the earlier file stays as it was.
void WriteSpiceSchematic(const std::string& path, const Circuit& circuit, MessageSink& sink);

}  // namespace voltra
