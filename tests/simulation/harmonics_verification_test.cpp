// The harmonics the analysis finds at the load against the ones ngspice's waveform of
// the same circuit holds, over the network layouts the stage can have.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "class_e_circuit.h"
#include "settled_simulation.h"
#include "engine/design_options.h"
#include "engine/harmonic_limit.h"
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
    NetworkKind kind = NetworkKind::L;
    bool trap = false;
};

TEST(HarmonicsInTheSimulator, AnalysisAgreesWithTheSimulatedSpectrumAboveTheFloor)
{
    const SpectrumCase cases[] = {
        {"series resonator, Q 20", 20, false, 0, NetworkLayout::None},
        {"series resonator, Q 5", 5, false, 0, NetworkLayout::None},
        {"L-network, series L first", 5, true, 50, NetworkLayout::SeriesLFirst},
        {"L-network, shunt C first", 5, true, 0.5f, NetworkLayout::ShuntCFirst},
        {"Pi into 50 ohm", 5, true, 50, NetworkLayout::Pi, NetworkKind::Pi},
        {"T into 50 ohm", 5, true, 50, NetworkLayout::T, NetworkKind::T},
        {"tapped-C, shunt C first", 5, true, 50, NetworkLayout::TappedCShuntCFirst, NetworkKind::TappedC},
        {"tapped-C, shunt L first", 5, true, 0.5f, NetworkLayout::TappedCShuntLFirst, NetworkKind::TappedC},
        {"trap, no network", 5, false, 0, NetworkLayout::None, NetworkKind::L, true},
        {"Pi with the trap", 5, true, 50, NetworkLayout::Pi, NetworkKind::Pi, true},
    };
    for (const SpectrumCase& c : cases) {
        SCOPED_TRACE(c.what);
        DesignRecord d = CalculatedDesign(c.networkQ, c.lnetwork, c.rnetwork);
        d.Falltime = kSharpEdges;
        FindAll(d);
        LnetworkWorking working;
        FindLnetwork(d, working, c.rnetwork > 0 ? c.rnetwork : d.Rload);
        DesignOptions options{.exact = true};
        options.network = c.kind;
        options.trap = c.trap;
        const Circuit circuit = BuildCircuit(d, options);
        ASSERT_TRUE(AllUsable(circuit));
        ASSERT_EQ(circuit.network, c.layout);
        ASSERT_EQ(circuit.Has(PartRole::TrapL), c.trap);
        const SimulationOutcome outcome = SimulateSettled(circuit);
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

// The network designed to a limit at the start-up targets into 50 ohm keeps every
// harmonic in ngspice's waveform of the exported circuit below the limit, not only in
// the analysis it was chosen by.
TEST(HarmonicsInTheSimulator, ADesignToALimitMeetsItInTheSimulatedWaveform)
{
    for (const double limit : {43.0, 60.0}) {
        SCOPED_TRACE(limit);
        DesignRecord d = CalculatedDesign(kDefaultNetworkQ, true, 50);
        const LimitDesign found = DesignToLimit(d, DesignOptions{.exact = true}, limit);
        ASSERT_TRUE(found.met) << found.reason;
        EXPECT_LE(found.worstDbc, -limit);
        const Circuit circuit = BuildCircuit(d, found.options);
        ASSERT_TRUE(AllUsable(circuit));
        const SimulationOutcome outcome = SimulateSettled(circuit);
        ASSERT_TRUE(outcome.result.has_value()) << outcome.error;
        for (const HarmonicComparison& row : CompareHarmonics(circuit, outcome.result->figures)) {
            std::printf("limit %.0f: %d kind %d Q %.3g trap %d  n %2d  analysis %7.2f  simulation %7.2f dBc\n", limit,
                        found.met, static_cast<int>(found.options.network), found.options.matchingQ,
                        found.options.trap, row.n, row.predicted, row.simulated);
            EXPECT_LE(row.simulated, -limit) << "n " << row.n;
        }
    }
}

// A limit beyond what any kind reaches at this power and frequency is said so, with
// the best that was found, and no network is taken for it.
TEST(HarmonicsInTheSimulator, ALimitNoNetworkMeetsIsRefusedWithTheBestFound)
{
    DesignRecord d = CalculatedDesign(kDefaultNetworkQ, true, 50);
    const LimitDesign found = DesignToLimit(d, DesignOptions{}, 150);
    EXPECT_FALSE(found.met);
    EXPECT_NE(found.reason.find("No network meets -150 dBc"), std::string::npos) << found.reason;
    EXPECT_GT(found.worstDbc, -150);
}

}  // namespace
}  // namespace voltra
