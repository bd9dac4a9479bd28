// What the load mismatch window computes on every new calculation: the start-up design
// into the 72 loads of the 2:1 and 3:1 circles and the contour grid, on one core and
// on all of them; it is to stay well under a keystroke's tenth of a second.
#include <benchmark/benchmark.h>

#include "engine/design_options.h"
#include "engine/equations.h"
#include "engine/load_mismatch.h"

namespace voltra {
namespace {

// Argument: the threads, 0 for one per core.
void CirclesAndGrid(benchmark::State& state)
{
    DesignRecord design;
    StartupValues(design);
    FindAll(design);
    const Circuit circuit = BuildCircuit(design, DesignOptions{});
    MismatchSettings settings;
    settings.threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(AnalyseMismatch(circuit, settings).points.size());
}
BENCHMARK(CirclesAndGrid)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace voltra
