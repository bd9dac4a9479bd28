// The verification plot's axes: ranges and ticks on round values, and the switch
// current's range without the impulse of a turn-on that is not at zero voltage.
#pragma once

#include "simulation/simulator.h"

namespace voltra {

struct AxisScale {
    double low;
    double high;
    double step;  // between ticks: 1, 2 or 5 times a power of ten
};

// The smallest range on whole steps that holds low to high, with no more than
// `maxIntervals` steps across it.
AxisScale RoundAxis(double low, double high, int maxIntervals = 8);

struct CurrentScale {
    double low;   // A, the switch current outside its turn-on instants
    double high;  // A
    // A discharge of C1 through the closing switch: far above the rest of the
    // trace, it would squash it to a line if the axis held it.
    bool impulse = false;
    double impulsePeak = 0;  // A
    double impulseTime = 0;  // s
};

// The range of the switch current away from each turn-on, and the impulse at a
// turn-on when it rises beyond that range by more than a fifth.
CurrentScale SwitchCurrentScale(const SimulationWaveforms& waveforms);

}  // namespace voltra
