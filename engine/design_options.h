// The ways past the closed-form fits that the engineer may choose: the exact solution
// of the circuit, the switch's own output capacitance, and standard part values.
#pragma once

#include <optional>

#include "engine/circuit.h"
#include "engine/standard_values.h"

namespace voltra {

// F: an output capacitance beyond a millifarad is no transistor's.
inline constexpr float kLargestCoss = 1e-3f;

struct DesignOptions {
    bool exact = false;                         // C1, C2 and Rload solved for true Class E
    float coss = 0;                             // F, the switch's output capacitance, part of C1
    std::optional<ESeries> series{};            // round the reactive parts to this series
    double chokeFactor = kDefaultChokeFactor;   // the feed choke as a multiple of Lseries
    bool operator==(const DesignOptions&) const = default;
};

// The circuit of a calculated design under the options; with none chosen, exactly
// the closed-form circuit.
Circuit BuildCircuit(const DesignRecord& calculated, const DesignOptions& options);

}  // namespace voltra
