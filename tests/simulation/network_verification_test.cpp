// Each matching network and the trap, solved exactly with the stage, proven in the
// simulator on the same circuit: the power the analysis finds and zero-voltage
// switching with the network in place.
#include <gtest/gtest.h>

#include "class_e_circuit.h"
#include "settled_simulation.h"
#include "engine/design_options.h"

namespace voltra {
namespace {

TEST(NetworksInTheSimulator, EachKindMeetsPowerAndZeroVoltageSwitchingWithExact)
{
    // The start-up targets (24 V, 50 W, QL 5) into 50 ohm, and into 2 ohm, where the
    // stage's own load is the higher resistance and each network turns around.
    for (const float rnetwork : {50.0f, 2.0f})
        for (const NetworkKind kind : {NetworkKind::L, NetworkKind::Pi, NetworkKind::T, NetworkKind::TappedC})
            for (const bool trap : {false, true}) {
                SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(kind) << ", trap " << trap << ", into "
                                                << rnetwork << " ohm");
                const DesignRecord d = CalculatedDesign(kDefaultNetworkQ, true, rnetwork);
                DesignOptions options{.exact = true};
                options.network = kind;
                options.trap = trap;
                const Circuit circuit = BuildCircuit(d, options);
                ASSERT_TRUE(AllUsable(circuit));
                ASSERT_TRUE(circuit.analysed);
                EXPECT_EQ(circuit.Has(PartRole::TrapL), trap);
                const SimulationFigures s = SettledFigures(circuit);
                EXPECT_NEAR(circuit.pout.value, d.Power, 1e-4 * d.Power);
                EXPECT_NEAR(s.Pout, circuit.pout.value, 0.02 * circuit.pout.value);
                EXPECT_NEAR(s.VturnOnPercent, 0, 2);
            }
}

TEST(NetworksInTheSimulator, TheTrapAloneBeforeTheLoadMeetsPowerAndZeroVoltageSwitching)
{
    const DesignRecord d = CalculatedDesign();
    DesignOptions options{.exact = true, .inductorQ = 150};
    options.trap = true;
    const Circuit circuit = BuildCircuit(d, options);
    ASSERT_TRUE(AllUsable(circuit));
    ASSERT_EQ(circuit.network, NetworkLayout::None);
    ASSERT_TRUE(circuit.Has(PartRole::TrapC));
    const SimulationFigures s = SettledFigures(circuit);
    EXPECT_NEAR(s.Pout, circuit.pout.value, 0.02 * circuit.pout.value);
    EXPECT_NEAR(s.VturnOnPercent, 0, 2);
    EXPECT_NEAR(100 * s.Efficiency, 100 * circuit.efficiency.value, 1);
}

}  // namespace
}  // namespace voltra
