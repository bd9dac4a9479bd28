// Cost of the exact solve, which runs on every keystroke with "Exact" on (target:
// under 400 µs for the start-up design with its fall time), and of one analysis of a
// given stage.
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

// The start-up design with every option of the switch model: duty, Coss, lossy parts.
void SolveExactWithLossyParts(benchmark::State& state)
{
    const DesignRecord design = CalculatedDesign(kDefaultNetworkQ, false);
    voltra::ExactTargets targets = voltra::ExactTargetsOf(design);
    targets.duty = 0.4;
    targets.coss = 0.3e-9;
    targets.inductorQ = 150;
    targets.capacitorQ = 1000;
    const voltra::ExactStart start = voltra::ClosedFormStart(design);
    for (auto _ : state) benchmark::DoNotOptimize(voltra::SolveExact(targets, start));
}
BENCHMARK(SolveExactWithLossyParts)->Unit(benchmark::kMicrosecond);

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
