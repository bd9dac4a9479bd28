// The simulations the verification tests run: a circuit as the verification simulates
// it, but allowed the periods a network of high loaded Q takes to settle.
#pragma once

#include <gtest/gtest.h>

#include <stop_token>

#include "engine/circuit.h"
#include "simulation/netlist.h"
#include "simulation/ngspice_simulator.h"

namespace voltra {

inline constexpr int kSettlingPeriods = 4000;

inline SimulationOutcome SimulateSettled(const Circuit& circuit)
{
    NgspiceSimulator simulator;
    SimulationRequest request = RequestFor(circuit);
    request.maxPeriods = kSettlingPeriods;
    return simulator.Run(request, std::stop_token());
}

// Its figures; a failed run is a test failure, and its figures are zero.
inline SimulationFigures SettledFigures(const Circuit& circuit)
{
    const SimulationOutcome outcome = SimulateSettled(circuit);
    EXPECT_TRUE(outcome.result.has_value()) << outcome.error;
    return outcome.result.value_or(SimulationResult{}).figures;
}

}  // namespace voltra
