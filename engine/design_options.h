// The ways past the closed-form fits that the engineer may choose: the exact solution
// of the circuit, the switch's own output capacitance, and standard part values.
#pragma once

#include <cmath>
#include <optional>
#include <vector>

#include "engine/circuit.h"
#include "engine/matching_networks.h"
#include "engine/stage_analysis.h"
#include "engine/standard_values.h"
#include "engine/switch_model.h"
#include "engine/thermal.h"
#include "engine/transistor.h"
#include "engine/ratings.h"

namespace voltra {

// F: an output capacitance beyond a millifarad is no transistor's.
inline constexpr float kLargestCoss = 1e-3f;

// K/W, a greased insulating pad under a TO-220 or TO-247 case, and a small finned
// extrusion in still air; °C, a bench.
inline constexpr double kDefaultThetaCaseSink = 0.5;
inline constexpr double kDefaultThetaSinkAmbient = 5;
inline constexpr double kDefaultAmbientCelsius = 25;
// What the user may enter for them: °C from the arctic bench to inside a hot
// enclosure; K/W from a part bolted straight on to one hanging in still air (about
// 60 K/W for a TO-220 alone), and no heat path worse than that by far.
inline constexpr double kLowestAmbientCelsius = -55;
inline constexpr double kHighestAmbientCelsius = 125;
inline constexpr double kLargestThermalResistance = 1000;

struct DesignOptions {
    bool exact = false;                         // C1, C2 and Rload solved for true Class E
    float coss = 0;                             // F, the switch's output capacitance, part of C1
    std::optional<ESeries> series{};            // round the reactive parts to this series
    double chokeFactor = kDefaultChokeFactor;   // the feed choke as a multiple of Lseries
    double duty = kDefaultDuty;                 // the exact design's on-time, kMinDuty..kMaxDuty
    double inductorQ = INFINITY;                // every inductor's Q: series resistance ωL/Q
    // Wound inductors' estimated Qs, each in place of inductorQ for its part, and its
    // loss in the budget as its winding's.
    InductorQualities windingQ{};
    double capacitorQ = INFINITY;               // every capacitor's Q (not Coss): 1/(ωC·Q)
    // With a series: parts whose values come from the accepted search for the best
    // standard parts of this very design and these options, in place of rounding.
    std::vector<AcceptedPart> accepted{};
    // The switching transistor chosen from a device file; none: the switch is ideal but
    // for the Coss entered above.
    std::optional<Transistor> device{};
    // With a device: the share of its V(BR)DSS the drain may reach, and the heat path
    // from its case to the air. Without one they say nothing.
    double derating = kDefaultVoltageDerating;
    HeatSink heatSink{kDefaultThetaCaseSink, kDefaultThetaSinkAmbient, kDefaultAmbientCelsius};
    // With the L-network option on: which network turns Rnetwork into the Class E load,
    // and the loaded Q of a Pi, T or tapped-C (not NetworkQ, the series resonator's).
    NetworkKind network = NetworkKind::L;
    double matchingQ = kDefaultMatchingQ;
    // The parallel trap for the second harmonic after the series branch.
    bool trap = false;
    bool operator==(const DesignOptions&) const = default;
};

// A rounded circuit that misses the targets by more than these is marked: output
// power off the target by more than kTargetPowerMiss, or a drain voltage at turn-on
// above kTurnOnMissPercent of the supply.
inline constexpr double kTargetPowerMiss = 0.10;
inline constexpr double kTurnOnMissPercent = 10;

// With a device: the passes that take its RDS(on) at the junction temperature the
// last pass found into the circuit, until the temperature moves less than this.
inline constexpr int kDeviceOnResistancePasses = 6;
inline constexpr double kJunctionSettledKelvin = 0.05;
// The circuit of a calculated design under the options; with none chosen, exactly
// the closed-form circuit. A chosen device replaces the Coss entered by its own
// capacitance (SingleCossOf at the design's supply), its on-resistance at the junction
// temperature replaces the one the saturation voltage gives, and its ratings, gate drive
// and junction temperature are added to the analysed circuit.
Circuit BuildCircuit(const DesignRecord& calculated, const DesignOptions& options);

// The figures of the circuit's own waveforms in place of the fits' predictions: its
// output power, turn-on voltage, peaks, supply figures, losses and stresses.
void TakeFigures(Circuit& circuit, const StageFigures& figures);

// The circuit as built, in SI units for the analysis of a fixed circuit: C1 is its
// external part with the switch's own capacitance added back across it.
ClassEStage StageOf(const Circuit& circuit);

}  // namespace voltra
