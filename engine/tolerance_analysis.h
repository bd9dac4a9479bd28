// Monte Carlo of the circuit as built: every part drawn within its tolerance, each
// build analysed as the fixed circuit it is, and the share of builds that meet the
// targets, with histograms of what they do.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <vector>

#include "engine/circuit.h"
#include "engine/stage_analysis.h"

namespace voltra {

// Fractions of the value, ± about it.
struct PartTolerances {
    double capacitor = 0.05;
    double inductor = 0.10;
    double resistor = 0;  // the load
};

// What a build must do to count as working.
struct YieldCriteria {
    double powerBand = 0.10;              // Pout within this fraction of the target
    double turnOnLimit = 10;              // |drain voltage at turn-on|, % of the supply, at most
    double efficiencyFloor = 0;           // efficiency (a fraction) at least
    std::optional<double> vpeakLimit;     // V, peak drain voltage at most, when given
};

struct ToleranceSettings {
    PartTolerances tolerances;
    YieldCriteria criteria;
    int samples = 10000;
    std::uint64_t seed = 1;
    int bins = 20;
    unsigned threads = 0;  // 0: one per core
};

// Counts of the figure in `counts.size()` equal bins from low to high, the highest
// value in the last bin; empty when no build gave a number.
struct Histogram {
    double low = 0;
    double high = 0;
    std::vector<int> counts;
};

struct BuildFigures {
    bool valid = false;  // the analysis found a steady state
    bool works = false;  // and it meets every criterion
    double pout = 0;           // W
    double efficiency = 0;     // fraction
    double turnOnVoltage = 0;  // % of the supply
    double vpeak = 0;          // V
};

struct ToleranceResult {
    bool cancelled = false;          // stopped before every build was analysed: no figures
    StageFigures nominal;            // the circuit as it stands
    std::vector<BuildFigures> builds;  // by sample index
    int working = 0;
    int invalid = 0;                 // builds without a steady state; they do not work
    double yield = 0;                // working / samples
    Histogram pout, efficiency, turnOnVoltage, vpeak;
};

// Called with the builds analysed so far, rising call by call, and the total, from
// the worker threads one at a time.
using ToleranceProgress = std::function<void(int done, int total)>;

// Every part of TrimmableParts is drawn independently and uniformly within ±its
// kind's tolerance: the flat distribution that bounds a part known only by its
// tolerance band, the worst case among those inside it for the yield (R. Spence,
// R. S. Soin, "Tolerance Design of Electronic Circuits", Addison-Wesley 1988, ch. 3).
// Sample i's numbers are UniformAt(seed, i·slots + part slot), so the result is the
// same for every thread count. The switch, the supply and the switch's own
// capacitance are as designed.
ToleranceResult AnalyseTolerances(const Circuit& circuit, double targetPower, const ToleranceSettings& settings,
                                  std::stop_token stop = {}, const ToleranceProgress& progress = {});

}  // namespace voltra
