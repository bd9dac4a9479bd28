// What one period of the simulated stage amounts to: powers, supply current,
// peaks, the discharge at turn-on and the drain voltage as the switch closes, from
// samples at the simulator's own, unevenly spaced time points.
#pragma once

#include <vector>

#include "simulation/simulator.h"

namespace voltra {

struct StageSamples {
    std::vector<double> time;           // s
    std::vector<double> drain;          // V
    std::vector<double> switchCurrent;  // A, drain to source
    std::vector<double> chokeCurrent;   // A, from the supply into the drain
    std::vector<double> seriesCurrent;  // A, out of the drain through C2
    std::vector<double> load;           // V
    std::vector<double> supplyCurrent;  // A, into the stage

    // Keeps what a period from `start` on needs, with the sample before it.
    void DropBefore(double start);
};

// The figures of [start, start + 1/frequency], start being a turn-on; the counts of
// the run stay zero. Without samples before start the turn-on figures are NaN.
SimulationFigures MeasurePeriod(const StageSamples& samples, double start, const SimulationRequest& request);

// The samples of [start, start + 2/frequency], shifted to begin at 0.
SimulationWaveforms TwoPeriods(const StageSamples& samples, double start, const SimulationRequest& request);

}  // namespace voltra
