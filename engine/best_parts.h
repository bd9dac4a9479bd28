// Standard values chosen together rather than each part alone: the values of a series
// around every exact one, and pairs of capacitors in parallel, analysed as fixed
// circuits for the combination that comes nearest to zero-voltage switching and then
// to the target power.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/circuit.h"
#include "engine/design_options.h"
#include "engine/part_values.h"

namespace voltra {

// Scoring. A combination is offered only when it is no worse than plain rounding on
// either figure: the search never trades away what rounding each part alone already
// gave, so the engineer can take it without checking. Among those the rule is
// lexicographic with a ZVS band: first |turn-on voltage|, but every value within
// kZvsBandPercent of the supply counts as zero (the discharge loss goes with its
// square: at 1 % it is a ten-thousandth of ½·C1·Vsupply², below what a 5 % capacitor
// moves); then |Pout/target − 1|; then the smaller |turn-on voltage|; then the fewer
// parts to buy. A weighted sum was not taken because no weight between volts at
// turn-on and watts out holds for every design.
inline constexpr double kZvsBandPercent = 1.0;

// A trimming capacitor smaller than this fraction of the exact value changes less than
// its own tolerance does: no pair is made with it.
inline constexpr double kSmallestTrim = 0.01;

// One standard value, or two capacitors in parallel whose sum is the part's value.
struct StandardChoice {
    std::vector<double> values;  // F or H, the larger first
    double total = 0;            // their sum as the circuit stores it (single precision)
    bool operator==(const StandardChoice&) const = default;
};

struct PartSearch {
    PartRole role = PartRole::C1;
    const char* name = "";  // "C1", "L2", ...
    PartKind kind = PartKind::Capacitor;
    double exact = 0;    // as designed; C1 is the external capacitor, Coss taken out
    double rounded = 0;  // the nearest standard value alone
    // Every candidate's total lies within [windowLow, windowHigh]: from the second
    // standard value below the exact one to the second above; a part whose exact value
    // is itself standard is kept as it is, its window that one value.
    double windowLow = 0, windowHigh = 0;
    std::vector<StandardChoice> candidates;
    StandardChoice chosen;
};

// What a circuit does, analysed as it stands.
struct CircuitOutcome {
    bool valid = false;
    std::string reason;         // why not valid
    double turnOnPercent = 0;   // drain voltage as the switch closes, % of the supply
    double pout = 0;            // W
    double efficiency = 0;      // fraction
};

struct BestParts {
    std::string problem;  // why there was no search; empty when there was one
    ESeries series = ESeries::E24;
    double targetPower = 0;  // W
    std::vector<PartSearch> parts;  // C1, C2, Lseries, the network's parts, circuit order
    CircuitOutcome exact, rounded, best;
    long combinations = 0;  // circuits analysed
    double seconds = 0;     // the search's wall-clock time
    bool improved = false;  // best differs from plain rounding
};

// The candidates for one part, each total inside the part's window: the standard
// values next below and above (two each side for an inductor, one for a capacitor),
// and for a capacitor the largest and the second largest standard value below it,
// each in parallel with the trimming standard values next below and above the rest.
// A value that is itself standard gives itself alone.
std::vector<StandardChoice> CandidatesFor(double exact, PartKind kind, ESeries series);

// Searches every combination of the candidates of C1, C2, Lseries and the network's
// parts for the design under `options` (whose series the search uses; none chosen is
// a problem, said so). The choke stays as designed. The design must stand.
BestParts FindBestParts(const DesignRecord& calculated, const DesignOptions& options);

// The chosen values as the options take them, so that the circuit built from them is
// the one the search found.
std::vector<AcceptedPart> AcceptedParts(const BestParts& found);

// "100pF ∥ 22pF", "2.2uH": how a choice is bought.
std::string ChoiceText(const StandardChoice& choice, PartKind kind);

}  // namespace voltra
