// The harmonics the analysis finds at the load against the ones ngspice's waveform of
// the same circuit holds, over the network layouts the stage can have.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "class_e_circuit.h"
#include "engine/design_options.h"
#include "simulation/netlist.h"
#include "simulation/ngspice_simulator.h"
#include "simulation/verification.h"

namespace voltra {
namespace {

// The shortest fall time the entry takes, as the solver's sharp switch sees it.
constexpr float kSharpEdges = 1e-10f;

struct SpectrumCase {
    const char* what;
    float networkQ;
    bool lnetwork;
    float rnetwork;  // ohm; 0: the design's own load, no network
    NetworkLayout layout;
};

TEST(HarmonicsInTheSimulator, AnalysisAgreesWithTheSimulatedSpectrumAboveTheFloor)
{
    const SpectrumCase cases[] = {
        {"series resonator, Q 20", 20, false, 0, NetworkLayout::None},
        {"series resonator, Q 5", 5, false, 0, NetworkLayout::None},
        {"L-network, series L first", 5, true, 50, NetworkLayout::SeriesLFirst},
        {"L-network, shunt C first", 5, true, 0.5f, NetworkLayout::ShuntCFirst},
    };
    for (const SpectrumCase& c : cases) {
        SCOPED_TRACE(c.what);
        DesignRecord d = CalculatedDesign(c.networkQ, c.lnetwork, c.rnetwork);
        d.Falltime = kSharpEdges;
        FindAll(d);
        LnetworkWorking working;
        FindLnetwork(d, working, c.rnetwork > 0 ? c.rnetwork : d.Rload);
        const Circuit circuit = BuildCircuit(d, DesignOptions{.exact = true});
        ASSERT_TRUE(AllUsable(circuit));
        ASSERT_EQ(circuit.network, c.layout);
        NgspiceSimulator simulator;
        SimulationRequest request = RequestFor(circuit);
        request.maxPeriods = 4000;
        const SimulationOutcome outcome = simulator.Run(request, std::stop_token());
        ASSERT_TRUE(outcome.result.has_value()) << outcome.error;
        const std::vector<HarmonicComparison> rows = CompareHarmonics(circuit, outcome.result->figures);
        ASSERT_EQ(rows.size(), kHarmonics - 1);
        for (const HarmonicComparison& row : rows) {
            std::printf("%-28s n %2d  analysis %7.2f  simulation %7.2f dBc\n", c.what, row.n, row.predicted,
                        row.simulated);
            if (row.predicted > kHarmonicFloorDbc) {
                EXPECT_NEAR(row.difference, 0, kHarmonicWarningDb) << "n " << row.n;
                EXPECT_FALSE(row.beyondWarning);
            }
        }
    }
}

}  // namespace
}  // namespace voltra
