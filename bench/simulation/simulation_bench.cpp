// Verifying the start-up design: its netlist, the transient to steady state in
// ngspice, and the figures over the last period.
#include <benchmark/benchmark.h>

#include "simulation/ngspice_simulator.h"
#include "tests/simulation/class_e_circuit.h"

namespace voltra {
namespace {

void VerifyDefaultDesign(benchmark::State& state)
{
    NgspiceSimulator simulator;
    int periods = 0;
    for (auto _ : state) {
        const SimulationOutcome outcome =
            simulator.Run(ClassERequest(CalculatedDesign(kDefaultNetworkQ)), std::stop_token());
        if (!outcome.result) {
            state.SkipWithError(outcome.error.c_str());
            return;
        }
        periods = outcome.result->figures.periods;
    }
    state.counters["periods"] = periods;
}
BENCHMARK(VerifyDefaultDesign)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace voltra
