// The switch model as SPICE lines that ngspice and LTspice both read, so the built-in
// verification and the exported schematic simulate the same device: Ron while on, the
// channel current falling linearly over the fall time from its turn-off value, open
// after, and the switch's own capacitance across it.
#pragma once

#include <string>
#include <vector>

#include "engine/circuit.h"

namespace voltra {

// The switch's source lead: a zero-volt source from here to ground senses the switch's
// own current, drain to source, as i(Vswitch).
inline constexpr const char* kSwitchSourceNode = "swsrc";

// A number as SPICE reads it: nine significant digits, enough for every
// single-precision value, in the C form whatever the user's locale.
std::string SpiceNumber(double value);

// The switch from the switch part's drain node to ground, its timing, its
// track-and-hold of the turn-off current and, when the circuit has one, Coss: a
// capacitor, or a junction diode when it is the device's curve. Each
// period starts with the switch closing at t = 0. The circuit's fall must fit its
// off-time (FallFits).
std::vector<std::string> SwitchModelLines(const Circuit& circuit);

}  // namespace voltra
