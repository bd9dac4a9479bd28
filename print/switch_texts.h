// A chosen transistor's standing in words: its junction temperature as the design
// screen and the sheet write it, and why its figures stand short of valid.
#pragma once

#include <string>
#include <vector>

#include "engine/circuit.h"

namespace voltra {

// "Tj: 97 °C", whole degrees as the thermal reasons quote them; "Tj: invalid" when
// the temperature cannot be shown.
std::string JunctionTemperatureText(const Result& tj);

// The reasons the switch's figures are questioned or refused, each once: its peak
// voltage and current against the device's ratings, its RMS current, and its
// junction temperature. Empty when they all stand valid.
std::vector<std::string> SwitchStandingReasons(const Circuit& circuit);

}  // namespace voltra
