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

// The start-up design with the switch's capacitance as a junction law (the published
// 16.604 pF/(1 + V/0.474)^0.283 curve scaled to half the C1 Class E needs), which
// turns every interval into a time integration.
void SolveExactWithDeviceCurve(benchmark::State& state)
{
    const DesignRecord design = CalculatedDesign(kDefaultNetworkQ, false);
    voltra::ExactTargets targets = voltra::ExactTargetsOf(design);
    const voltra::ExactStart start = voltra::ClosedFormStart(design);
    const double needed = voltra::SolveExact(targets, start).stage.c1;
    targets.cossLaw = voltra::JunctionLaw{0.5 * needed, 0.474, 0.283};
    for (auto _ : state) benchmark::DoNotOptimize(voltra::SolveExact(targets, start));
}
BENCHMARK(SolveExactWithDeviceCurve)->Unit(benchmark::kMillisecond);

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
