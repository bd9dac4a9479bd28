// One pass from the windings back into the circuit.
#include "engine/wound_circuit.h"

#include <cmath>

namespace voltra {

InductorQualities WindingQualities(const std::vector<InductorWinding>& windings)
{
    InductorQualities qualities;
    for (const InductorWinding& w : windings) {
        if (!w.computed || !(w.q > 0) || std::isnan(w.q)) continue;
        switch (w.role) {
        case PartRole::Choke: qualities.choke = w.q; break;
        case PartRole::Lseries: qualities.lseries = w.q; break;
        case PartRole::NetworkL: qualities.lnetwork = w.q; break;
        default: break;
        }
    }
    return qualities;
}

WoundCircuit BuildWoundCircuit(const DesignRecord& calculated, const DesignOptions& options,
                               const WindingRequest& request)
{
    WoundCircuit wound{BuildCircuit(calculated, options), {}};
    wound.windings = WindInductors(wound.circuit, calculated.Power, request.choices, request.cores);
    if (!request.qInBudget) return wound;
    DesignOptions lossy = options;
    lossy.windingQ = WindingQualities(wound.windings);
    if (!lossy.windingQ.Any()) return wound;
    // One pass is enough: the windings' losses lower the RMS currents by about their
    // share of the output power (a Q of a few hundred against a loaded Q of a few:
    // around 1 %), and the current reaches a winding's Q only through its wire gauge,
    // chosen in steps of 26 % in copper area: a second winding from the lossy
    // currents gives the same coils. The exact solution's inductances move with its
    // load by the same small share, and their Qs by less.
    wound.circuit = BuildCircuit(calculated, lossy);
    return wound;
}

}  // namespace voltra
