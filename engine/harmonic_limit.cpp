// For a kind and a trap, the worst harmonic falls as the network's Q rises (each
// reactive part's selectivity grows with it), so the lowest Q that meets the limit is
// found on a geometric grid and refined by bisection; loss grows with Q, so that is the
// kind's best. The kinds are then compared on the analysed efficiency.
#include "engine/harmonic_limit.h"

#include <algorithm>
#include <cmath>

#include "engine/stage_analysis.h"
#include "units/number_text.h"

namespace voltra {
namespace {

// The grid from just above the L-section's own Q to kHighestSearchedQ, and the halvings
// of the step in which the limit is crossed: Q to about 0.3 % of its value.
constexpr int kGridPoints = 12;
constexpr int kBisections = 8;
constexpr double kAboveLowestQ = 1.02;
// Efficiencies this close are the same loss: the one with fewer parts is taken.
constexpr double kSameEfficiency = 1e-4;

struct Candidate {
    DesignOptions options;
    std::vector<Harmonic> harmonics;
    double worst = 0;  // dBc, the highest harmonic; +inf when there is no circuit
    double efficiency = 0;
    int parts = 0;  // in the circuit built: fewer is simpler at equal loss
};

Candidate Evaluate(const DesignRecord& design, DesignOptions options)
{
    const Circuit circuit = BuildCircuit(design, options);
    Candidate c{options, {}, INFINITY, 0, static_cast<int>(circuit.parts.size())};
    if (!AllUsable(circuit)) return c;
    // An analysed circuit carries its harmonics and efficiency; a closed-form one is
    // analysed here once for both.
    if (circuit.analysed) c.harmonics = circuit.harmonics;
    if (circuit.analysed && circuit.efficiency.Usable()) {
        c.efficiency = circuit.efficiency.value;
    } else if (const StageFigures figures = AnalyseStage(StageOf(circuit)); figures.valid) {
        if (!circuit.analysed) c.harmonics = HarmonicsBelowFundamental(figures.loadHarmonics);
        c.efficiency = figures.efficiency;
    }
    if (const auto worst = WorstHarmonic(c.harmonics)) c.worst = worst->dBc;
    return c;
}

bool Meets(const Candidate& c, double limitDbc) { return c.worst <= -limitDbc; }

// Better: meets where the other does not, else the higher efficiency, then fewer parts,
// then the lower Q.
bool Better(const Candidate& a, const Candidate& b, double limitDbc)
{
    if (Meets(a, limitDbc) != Meets(b, limitDbc)) return Meets(a, limitDbc);
    if (!Meets(a, limitDbc)) return a.worst < b.worst;
    if (std::fabs(a.efficiency - b.efficiency) > kSameEfficiency) return a.efficiency > b.efficiency;
    if (a.parts != b.parts) return a.parts < b.parts;
    return a.options.matchingQ < b.options.matchingQ;
}

// The lowest Q on the grid that meets the limit, refined; or the grid's best miss.
Candidate LowestQMeeting(const DesignRecord& design, DesignOptions options, double lowestQ, double limitDbc)
{
    const double first = lowestQ * kAboveLowestQ;
    const double ratio = std::pow(kHighestSearchedQ / first, 1.0 / (kGridPoints - 1));
    std::optional<Candidate> best;
    double below = 0;  // the grid's Q before the first that meets
    for (int k = 0; k < kGridPoints; ++k) {
        options.matchingQ = first * std::pow(ratio, k);
        Candidate c = Evaluate(design, options);
        if (Meets(c, limitDbc)) {
            best = c;
            break;
        }
        if (!best || c.worst < best->worst) best = c;
        below = options.matchingQ;
    }
    if (!best || !Meets(*best, limitDbc) || below == 0) return *best;
    double low = below, high = best->options.matchingQ;
    for (int i = 0; i < kBisections; ++i) {
        options.matchingQ = std::sqrt(low * high);
        Candidate c = Evaluate(design, options);
        if (Meets(c, limitDbc)) {
            best = c;
            high = options.matchingQ;
        } else {
            low = options.matchingQ;
        }
    }
    return *best;
}

}  // namespace

std::vector<Harmonic> LoadHarmonicsOf(const Circuit& circuit)
{
    if (circuit.analysed) return circuit.harmonics;
    if (!AllUsable(circuit)) return {};
    const StageFigures figures = AnalyseStage(StageOf(circuit));
    if (!figures.valid) return {};
    return HarmonicsBelowFundamental(figures.loadHarmonics);
}

bool FiltersHarmonics(const Circuit& circuit)
{
    return BeyondLNetwork(circuit.network, circuit.Has(PartRole::TrapL));
}

std::optional<Harmonic> WorstHarmonic(const std::vector<Harmonic>& harmonics)
{
    const auto worst = std::max_element(harmonics.begin(), harmonics.end(),
                                        [](const Harmonic& a, const Harmonic& b) { return a.dBc < b.dBc; });
    if (worst == harmonics.end()) return std::nullopt;
    return *worst;
}

LimitDesign DesignToLimit(const DesignRecord& design, const DesignOptions& base, double limitDbc)
{
    std::optional<Candidate> best;
    const double lowestQ = LowestMatchingQ(design.Rload, design.Rnetwork);
    for (const NetworkKindNames& names : kNetworkKinds)
        for (const bool trap : {false, true}) {
            DesignOptions options = base;
            options.network = names.kind;
            options.trap = trap;
            const Candidate c = names.kind == NetworkKind::L ? Evaluate(design, options)
                                                       : LowestQMeeting(design, options, lowestQ, limitDbc);
            if (!best || Better(c, *best, limitDbc)) best = c;
        }
    LimitDesign result;
    result.met = Meets(*best, limitDbc);
    result.options = best->options;
    result.harmonics = best->harmonics;
    result.worstDbc = best->worst;
    result.efficiency = best->efficiency;
    if (!result.met) {
        const std::optional<Harmonic> worst = WorstHarmonic(best->harmonics);
        result.reason = worst ? "No network meets " + SignificantText(-limitDbc) + " dBc at this power and frequency: "
                                    "the best, a " + NamesOf(best->options.network).name +
                                    (best->options.trap ? " with the trap" : "") + ", leaves harmonic " +
                                    std::to_string(worst->n) + " at " + SignificantText(worst->dBc) + " dBc."
                              : "No network gives this design a steady state to take harmonics from.";
    }
    return result;
}

}  // namespace voltra
