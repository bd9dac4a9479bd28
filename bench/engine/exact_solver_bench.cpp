// Cost of the exact solve, which runs on every keystroke with "Exact" on (target:
// under 200 µs for the start-up design), and of one analysis of a given stage.
#include <benchmark/benchmark.h>

#include "engine/equations.h"
#include "engine/exact_solver.h"
#include "tests/calculated_design.h"

namespace voltra {

namespace {

void SolveExact(benchmark::State& state, bool lnetwork)
{
    const DesignRecord design = CalculatedDesign(kDefaultNetworkQ, lnetwork);
    const voltra::ExactTargets targets = voltra::ExactTargetsOf(design);
    const voltra::ExactStart start = voltra::ClosedFormStart(design);
    for (auto _ : state) benchmark::DoNotOptimize(voltra::SolveExact(targets, start));
}
BENCHMARK_CAPTURE(SolveExact, Startup, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SolveExact, StartupWithLnetwork, true)->Unit(benchmark::kMicrosecond);

void AnalyseStage(benchmark::State& state)
{
    const DesignRecord design = CalculatedDesign(kDefaultNetworkQ, false);
    const voltra::ClassEStage stage =
        voltra::SolveExact(voltra::ExactTargetsOf(design), voltra::ClosedFormStart(design)).stage;
    for (auto _ : state) benchmark::DoNotOptimize(voltra::AnalyseStage(stage));
}
BENCHMARK(AnalyseStage)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace voltra
