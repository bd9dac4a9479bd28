// How each inductor of the circuit can be wound: an air-core solenoid or turns on a
// toroid, sized for the part's value, its RMS current and the operating frequency.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/circuit.h"
#include "engine/winding.h"

namespace voltra {

// A winding's self-resonance closer than this factor above the operating frequency
// lets the coil's own capacitance change its reactance noticeably (at 3× the
// reactance is already 1/(1 - 1/9) = 1.125 times ωL): the inductor is no longer
// the part the design assumed.
inline constexpr double kLowestSelfResonanceRatio = 3.0;

// What the builder chose for one inductor: the core by its name in the table, none
// for an air-core solenoid; the former's diameter in metres, 0 for the default.
struct WindingChoice {
    PartRole role;
    std::optional<std::string> core;
    double formerDiameter = 0;
};

// Where the RMS current a winding is sized for comes from.
enum class CurrentSource { Analysis, ClosedForm, None };

struct InductorWinding {
    PartRole role = PartRole::Lseries;
    const char* part = "";    // instance name, "L1", ...
    double inductance = 0;    // H, the part's value
    double rmsCurrent = NAN;  // A; NaN when it could not be found
    CurrentSource currentSource = CurrentSource::None;
    std::string core;  // the core's name; empty for an air-core solenoid
    bool computed = false;
    // Meaningful when computed.
    double turns = 0;     // not rounded
    double diameter = 0;  // m: the winding's, between wire centres (air), the core's outer (toroid)
    double length = 0;    // m: the solenoid's; the wire's for a toroid
    int gauge = 0;        // AWG
    double q = NAN;              // ωL over the wire's skin resistance: an upper estimate
    double selfResonance = NAN;  // Hz, air core only
    double fluxDensity = NAN;    // T at the RMS current, toroid only
    // Why the winding is questioned or could not be computed, each a sentence.
    std::vector<std::string> warnings;
};

// The default former for an air coil of `inductance` wound with `wireDiameter` at
// kDefaultPitchOverWire: the one on which the winding is as long as it is wide, the
// square coil of best Q for a given length of wire (Medhurst, 1947) and well inside
// Wheeler's range. With l = D = 2r and N = l/p, Wheeler's L = r²N²/(9r + 10l) becomes
// L = 4r³/(29p²), so r = (29·p²·L/4)^(1/3) (inches, µH).
double SquareCoilDiameter(double inductance, double wireDiameter);

// The RMS current of an inductor: from the analysed waveform when there is one; else
// the closed form's: the choke carries Idc, the series inductor the output current of
// `outputPower` into Rload (the target power the closed-form design delivers), the
// network's inductor the same current on the stage's side or the load's current into
// Rnetwork on the load's side. NaN when neither is known.
double InductorCurrent(const Circuit& circuit, PartRole role, double outputPower, CurrentSource* source = nullptr);

// Every inductor of the circuit (choke, Lseries, the network's), in circuit order,
// wound as `choices` says (an inductor missing there, or naming a core not in
// `cores`, is an air-core solenoid on its default former).
std::vector<InductorWinding> WindInductors(const Circuit& circuit, double outputPower,
                                           const std::vector<WindingChoice>& choices,
                                           const std::vector<ToroidCore>& cores);

bool IsInductor(PartRole role);

}  // namespace voltra
