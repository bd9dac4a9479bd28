// The simulator that runs the circuit in ngspice until it is in periodic steady
// state, one period at a time.
#pragma once

#include "simulation/simulator.h"

namespace voltra {

// The transient steps at most 1/200 of a period and pauses at the end of each
// period. There it stops once neither the output nor the input power would move by
// 0.2 % more in a longer run (SettlingWatch), or at the request's cap on periods; and
// a cancellation is seen within one period of simulated time.
class NgspiceSimulator : public Simulator {
public:
    SimulationOutcome Run(const SimulationRequest& request, std::stop_token cancel) override;
};

}  // namespace voltra
