// What one period of the simulated stage amounts to: powers, supply current,
// peaks and the drain voltage at turn-on, from samples at the simulator's own,
// unevenly spaced time points.
#pragma once

#include <vector>

#include "simulation/simulator.h"

namespace voltra {

struct StageSamples {
    std::vector<double> time;           // s
    std::vector<double> drain;          // V
    std::vector<double> gate;           // V
    std::vector<double> switchCurrent;  // A, drain to source
    std::vector<double> load;           // V
    std::vector<double> supplyCurrent;  // A, into the stage

    // Keeps what a period from `start` on needs, with the sample before it.
    void DropBefore(double start);
};

// The figures of [start, start + 1/frequency]; the counts of the run stay zero.
// With no turn-on in the period the turn-on figures are NaN.
SimulationFigures MeasurePeriod(const StageSamples& samples, double start, const SimulationRequest& request);

// The samples of [start, start + 2/frequency], shifted to begin at 0.
SimulationWaveforms TwoPeriods(const StageSamples& samples, double start, const SimulationRequest& request);

}  // namespace voltra
