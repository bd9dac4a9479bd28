// The search for the best standard parts of the start-up design in E24, without and
// with the L-network (121 and 2,881 circuits): it runs on every cycle while its window
// is open, so it is to stay well under a second.
#include <benchmark/benchmark.h>

#include "engine/best_parts.h"
#include "engine/equations.h"

namespace voltra {
namespace {

// Argument: 1 with the L-network to 50 ohm.
void BestE24Parts(benchmark::State& state)
{
    DesignRecord design;
    StartupValues(design);
    design.LnetState = state.range(0) != 0;
    FindAll(design);
    LnetworkWorking working;
    FindLnetwork(design, working, 50);
    const DesignOptions options{.series = ESeries::E24};
    long combinations = 0;
    for (auto _ : state) {
        const BestParts found = FindBestParts(design, options);
        combinations = found.combinations;
        benchmark::DoNotOptimize(found.best.pout);
    }
    state.counters["circuits"] = static_cast<double>(combinations);
}
BENCHMARK(BestE24Parts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace voltra
