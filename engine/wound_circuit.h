// The circuit with its inductors wound as the builder chose, and, when asked, each
// winding's estimated Q taken into the loss budget in place of the one inductor Q.
#pragma once

#include <vector>

#include "engine/circuit.h"
#include "engine/design_options.h"
#include "engine/inductor_windings.h"

namespace voltra {

struct WindingRequest {
    std::vector<WindingChoice> choices;  // the cores chosen; an inductor not named is wound on air
    std::vector<ToroidCore> cores;       // the table the choices name
    bool qInBudget = false;              // the windings' Q in place of the options' inductor Q
};

struct WoundCircuit {
    Circuit circuit;
    std::vector<InductorWinding> windings;  // the circuit's inductors, in circuit order
};

// The wound inductors' estimated Qs by part; an inductor whose winding could not be
// computed keeps the common Q.
InductorQualities WindingQualities(const std::vector<InductorWinding>& windings);

// Builds the circuit under the options and winds its inductors for their values and
// RMS currents; with qInBudget, builds it again with each winding's Q as its part's
// loss until the windings of the circuit built have the Qs it was built with (to
// within a ten-thousandth), so the values, currents and Qs the windings show are
// those of the circuit and its budget.
WoundCircuit BuildWoundCircuit(const DesignRecord& calculated, const DesignOptions& options,
                               const WindingRequest& request);

}  // namespace voltra
