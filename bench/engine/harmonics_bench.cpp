// Cost of the harmonics at the load, which every full analysis adds (target: under
// 50 µs a solve): the full steady state of the start-up stage, with and without the
// L-network, and the Fourier sums of one interval alone at the largest state the
// stage has in its fall.
#include <benchmark/benchmark.h>

#include <cmath>

#include "engine/exact_solver.h"
#include "engine/harmonics.h"
#include "engine/stage_analysis.h"
#include "engine/steady_state.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

void FullSteadyState(benchmark::State& state, bool lnetwork)
{
    const DesignRecord design = CalculatedDesign(kDefaultNetworkQ, lnetwork);
    const ClassEStage stage = SolveExact(ExactTargetsOf(design), ClosedFormStart(design)).stage;
    const NormalisedStage normalised = NormaliseStage(stage);
    for (auto _ : state) benchmark::DoNotOptimize(SolveSteadyState(normalised, SteadyStateDetail::Full));
}
BENCHMARK_CAPTURE(FullSteadyState, Startup, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FullSteadyState, StartupWithLnetwork, true)->Unit(benchmark::kMicrosecond);

// One interval of eleven states (the largest: L-network, load reactance, C1's own
// resistance, the fall's two), dense, damped, with a stiff mode as Ron gives one.
void IntervalFourierSums(benchmark::State& state)
{
    constexpr std::size_t M = 11;
    SquareMatrix<M> a;
    for (std::size_t i = 0; i < M - 1; ++i)
        for (std::size_t j = 0; j < M; ++j) a(i, j) = std::sin(1.3 * i + 0.7 * j) - (i == j ? 0.4 : 0.0);
    a(0, 0) = -1e4;
    Vector<M> start{}, end{};
    for (std::size_t i = 0; i < M; ++i) {
        start[i] = std::cos(0.9 * i);
        end[i] = std::sin(0.4 * i);
    }
    start[M - 1] = end[M - 1] = 1;
    const std::array<Vector<M>, 2> rows = {start, end};
    for (auto _ : state) {
        std::array<FourierSums, 2> sums{};
        AddIntervalFourierSums(a, start, end, 0.5, 2.0, rows, sums);
        benchmark::DoNotOptimize(sums);
    }
}
BENCHMARK(IntervalFourierSums)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace voltra
