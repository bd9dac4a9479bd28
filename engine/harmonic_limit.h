// Designing the output network to a harmonic limit: the network kind, its loaded Q and
// the 2nd-harmonic trap that keep every harmonic 2 to 10 at the load at least the
// limit below the carrier with the least loss, or why none of them can.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/circuit.h"
#include "engine/design_options.h"
#include "engine/harmonics.h"

namespace voltra {

// The harmonics of a circuit's load voltage: its own analysis's, or for a circuit whose
// figures are the closed-form fits an analysis of the circuit as built. Empty when the
// circuit has an invalid part or no steady state.
std::vector<Harmonic> LoadHarmonicsOf(const Circuit& circuit);

// A network beyond the L-section or a trap: the parts chosen to filter, whose
// harmonics every medium shows beside the circuit.
bool FiltersHarmonics(const Circuit& circuit);

// The highest harmonic, none when there are none.
std::optional<Harmonic> WorstHarmonic(const std::vector<Harmonic>& harmonics);

// dB below the carrier a limit may ask: from a bare 10 to beyond any service's 90.
inline constexpr double kLowestLimitDbc = 10;
inline constexpr double kHighestLimitDbc = 150;

// The highest loaded Q the search gives a Pi, T or tapped-C: beyond it the network's
// reactances grow with Q and a real part's loss and its tolerance take over.
inline constexpr double kHighestSearchedQ = 40;

struct LimitDesign {
    bool met = false;
    // Met: the options with the network, Q and trap chosen; the circuit they build,
    // its harmonics and efficiency. Not met: the closest candidate's, and why.
    DesignOptions options;
    std::vector<Harmonic> harmonics;
    double worstDbc = 0;
    double efficiency = 0;
    std::string reason;
};

// Searches the L, Pi, T and tapped-C networks, each without and with the trap, and for
// the three with a Q of their own the lowest Q at which the worst harmonic meets the
// limit; of those that meet it, the one with the highest efficiency (the least loss
// in the parts' series resistances), and at equal efficiency the one with fewer parts
// and then the lower Q. The design must have the L-network on (its Rnetwork the load).
LimitDesign DesignToLimit(const DesignRecord& calculated, const DesignOptions& base, double limitDbc);

}  // namespace voltra
