// From the windings back into the circuit, until the two agree.
#include "engine/wound_circuit.h"

#include <cmath>

namespace voltra {
namespace {

// The windings' Qs and the Qs the budget took agree when no Q moves by more than this
// share between passes: below the last digit the windings table shows of a Q of
// several hundred.
constexpr double kSameQ = 1e-4;
// Each pass shrinks the Qs' change by about the windings' share of the output power
// (a few per cent): the closed form's fixed values agree after one pass, exact designs
// after two to four. A winding whose current lies on a wire gauge's limit may step
// between two gauges, and there the passes stop.
constexpr int kMostPasses = 6;

bool Same(const std::optional<double>& a, const std::optional<double>& b)
{
    if (a.has_value() != b.has_value()) return false;
    return !a || std::fabs(*a - *b) <= kSameQ * std::fabs(*b);
}

bool Same(const InductorQualities& a, const InductorQualities& b)
{
    return Same(a.choke, b.choke) && Same(a.lseries, b.lseries) && Same(a.lnetwork, b.lnetwork);
}

}  // namespace

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
    // The windings are sized from the circuit's RMS currents and values, and their Qs
    // change both: the losses lower the currents by about their share of the output
    // power, which reaches a coil's Q only through a step of wire gauge, but the exact
    // solution also moves its load, and with it every inductor's value, and a square
    // coil's Q goes as L^(1/3). So the circuit is built again with the windings' Qs
    // until the coils wound for it have the Qs it was built with; the windings shown
    // are those of the circuit shown.
    DesignOptions lossy = options;
    for (int pass = 0; pass < kMostPasses; ++pass) {
        lossy.windingQ = WindingQualities(wound.windings);
        if (!lossy.windingQ.Any()) return wound;
        wound.circuit = BuildCircuit(calculated, lossy);
        wound.windings = WindInductors(wound.circuit, calculated.Power, request.choices, request.cores);
        if (Same(WindingQualities(wound.windings), lossy.windingQ)) break;
    }
    return wound;
}

}  // namespace voltra
