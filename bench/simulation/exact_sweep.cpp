// The full seeded sweep of exact designs, each verified in ngspice: prints one row a
// design and the worst cases. Usage: exact_sweep [designs [seed]] (48 and 18 unless
// given). Exits 1 when any solved design misses its bounds.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/simulation/exact_sweep.h"

namespace {

constexpr int kDefaultDesigns = 48;
constexpr unsigned kDefaultSeed = 18;  // the seed of the sample in the tests

}  // namespace

int main(int argc, char** argv)
{
    using namespace voltra;
    const int designs = argc > 1 ? std::atoi(argv[1]) : kDefaultDesigns;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : kDefaultSeed;
    std::printf("| # | f (Hz) | Q | tf/T %% | duty | L-net | Coss/C1 | turn-on %% | Pout %% | eff pred %% | eff sim %% | "
                "periods | s | result |\n|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    struct Row {
        SweepCase c;
        SweepOutcome o;
    };
    std::vector<Row> rows;
    int failures = 0, unsolved = 0;
    for (int i = 0; i < designs; ++i) {
        const SweepCase c = SweepCaseOf(seed, i);
        const auto start = std::chrono::steady_clock::now();
        const SweepOutcome o = RunSweepCase(c);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        rows.push_back({c, o});
        const char* verdict = !o.solved ? "no solution" : o.Passes() ? "pass" : "FAIL";
        if (!o.solved) ++unsolved;
        else if (!o.Passes()) ++failures;
        std::printf("| %d | %.4g | %.3g | %.2f | %.2f | %s | %.2f | %+.3f | %+.3f | %.2f | %.2f | %d%s | %.1f | %s%s%s |\n", i,
                    c.frequency, c.networkQ, 100 * c.fallFraction, c.duty, c.lnetwork ? "yes" : "no", c.cossFraction,
                    o.turnOnPercent, o.powerPercent, 100 * o.predictedEfficiency, 100 * o.simulatedEfficiency,
                    o.periods, o.steady || !o.simulated ? "" : " (not steady)", seconds, verdict,
                    o.reason.empty() ? "" : ": ", o.reason.c_str());
        std::fflush(stdout);
    }
    auto worst = [&](const char* what, auto key) {
        const Row* w = nullptr;
        for (const Row& r : rows)
            if (r.o.simulated && (!w || key(r.o) > key(w->o))) w = &r;
        if (w) std::printf("worst %s: design %d, %.3f\n", what, w->c.index, key(w->o));
    };
    std::printf("\n");
    worst("|turn-on| (% of supply)", [](const SweepOutcome& o) { return std::fabs(o.turnOnPercent); });
    worst("|Pout - target| (% of target)", [](const SweepOutcome& o) { return std::fabs(o.powerPercent); });
    worst("|efficiency simulated - predicted| (points)",
          [](const SweepOutcome& o) { return std::fabs(100 * (o.simulatedEfficiency - o.predictedEfficiency)); });
    std::printf("%d designs, %d without an exact solution, %d outside the bounds\n", designs, unsolved, failures);
    return failures == 0 ? 0 : 1;
}
