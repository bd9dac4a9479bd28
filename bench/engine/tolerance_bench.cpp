// 10,000 builds of the start-up design under the default tolerances, on one core and
// on all of them: the Monte Carlo is to take under half a second on two cores.
#include <benchmark/benchmark.h>

#include "engine/design_options.h"
#include "engine/equations.h"
#include "engine/tolerance_analysis.h"

namespace voltra {
namespace {

Circuit StartupCircuit()
{
    DesignRecord design;
    StartupValues(design);
    FindAll(design);
    return BuildCircuit(design, DesignOptions{});
}

// Argument: the threads, 0 for one per core.
void TenThousandBuilds(benchmark::State& state)
{
    const Circuit circuit = StartupCircuit();
    const ToleranceSettings settings{.samples = 10000, .threads = static_cast<unsigned>(state.range(0))};
    for (auto _ : state) benchmark::DoNotOptimize(AnalyseTolerances(circuit, kDefaultPower, settings).yield);
}
BENCHMARK(TenThousandBuilds)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace voltra
