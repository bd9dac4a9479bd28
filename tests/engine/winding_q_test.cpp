// Inductors with a Q of their own: each loses I²·ωL/Q in its own series resistance and
// nowhere else, in the analysis of the fixed circuit and in the exact solution; the
// one inductor Q is bit for bit what it was where no part has its own; and the wound
// circuit takes its windings' Qs into a budget that still sums to Pin - Pout.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "engine/design_options.h"
#include "engine/equations.h"
#include "engine/exact_solver.h"
#include "engine/switch_model.h"
#include "engine/wound_circuit.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

constexpr double kPi = std::numbers::pi;

const Loss* LossOf(const Circuit& c, const char* part)
{
    for (const Loss& loss : c.losses)
        if (std::string(loss.part) == part) return &loss;
    return nullptr;
}

double RmsOf(const Circuit& c, PartRole role)
{
    for (const PartStress& s : c.stresses)
        if (s.role == role) return s.rmsCurrent.value;
    ADD_FAILURE() << "no stress for part " << static_cast<int>(role);
    return NAN;
}

double Omega(const Circuit& c) { return 2 * kPi * static_cast<double>(c.frequency); }

double BudgetSum(const Circuit& c)
{
    double sum = 0;
    for (const Loss& loss : c.losses)
        if (loss.fromSupply) sum += loss.watts.value;
    return sum;
}

double Pin(const Circuit& c) { return c.ValueOf(PartRole::Supply) * static_cast<double>(c.idc.value); }

// Only the choke has a finite Q, so only it loses, and exactly its RMS current squared
// times ωL/Q. By hand: the choke at ten times Lseries carries the supply current with a
// ripple of a few per cent, so its loss is within 1 % of Idc²·ωL/Q.
TEST(OwnInductorQ, OnlyTheChokeLosesAndExactlyIrmsSquaredTimesItsResistance)
{
    constexpr double kChokeQ = 50;
    for (const bool exact : {false, true}) {
        SCOPED_TRACE(exact ? "exact" : "closed form");
        const DesignRecord d = CalculatedDesign();
        DesignOptions options{.exact = exact};
        options.windingQ.choke = kChokeQ;
        const Circuit c = BuildCircuit(d, options);
        ASSERT_TRUE(c.analysed);
        ASSERT_TRUE(AllUsable(c));
        const double resistance = Omega(c) * c.ValueOf(PartRole::Choke) / kChokeQ;
        const Loss* choke = LossOf(c, "L1");
        ASSERT_NE(choke, nullptr);
        EXPECT_STREQ(choke->cause, kWindingLoss);
        const double irms = RmsOf(c, PartRole::Choke);
        EXPECT_NEAR(choke->watts.value / (irms * irms * resistance), 1, 1e-6);
        const double idc = c.idc.value;
        EXPECT_NEAR(choke->watts.value / (idc * idc * resistance), 1, 0.01);
        for (const char* part : {"C1", "C2", "L2"}) {
            const Loss* loss = LossOf(c, part);
            ASSERT_NE(loss, nullptr) << part;
            EXPECT_STREQ(loss->cause, kSeriesResistanceLoss) << part;
            EXPECT_EQ(loss->watts.value, 0) << part;
        }
        EXPECT_NEAR(BudgetSum(c), Pin(c) - c.pout.value, 1e-5 * Pin(c));
        // The netlist and the schematic file take the same resistance.
        EXPECT_DOUBLE_EQ(SeriesResistance(PartRole::Choke, c.ValueOf(PartRole::Choke), c), resistance);
        EXPECT_EQ(SeriesResistance(PartRole::Lseries, c.ValueOf(PartRole::Lseries), c), 0);
    }
}

// Where no inductor has a Q of its own the common Q is what it was; and every inductor
// given the common Q as its own changes no bit of the exact solution or its figures.
TEST(OwnInductorQ, OwnQsEqualToTheCommonOneChangeNoBit)
{
    for (const double q : {80.0, static_cast<double>(INFINITY)}) {
        SCOPED_TRACE(q);
        const DesignRecord d = CalculatedDesign(kDefaultNetworkQ, true, 50);
        const DesignOptions common{.exact = true, .inductorQ = q, .capacitorQ = 400};
        DesignOptions own = common;
        own.windingQ = {q, q, q};
        const Circuit a = BuildCircuit(d, common);
        const Circuit b = BuildCircuit(d, own);
        ASSERT_TRUE(AllUsable(a));
        ASSERT_EQ(a.parts.size(), b.parts.size());
        for (std::size_t k = 0; k < a.parts.size(); ++k)
            EXPECT_EQ(a.parts[k].value.value, b.parts[k].value.value) << a.parts[k].name;
        const auto na = a.NamedResults(), nb = b.NamedResults();
        ASSERT_EQ(na.size(), nb.size());
        for (std::size_t k = 0; k < na.size(); ++k) EXPECT_EQ(na[k].second.value, nb[k].second.value) << na[k].first;
        ASSERT_EQ(a.losses.size(), b.losses.size());
        for (std::size_t k = 0; k < a.losses.size(); ++k)
            EXPECT_EQ(a.losses[k].watts.value, b.losses[k].watts.value) << a.losses[k].part;
    }
}

// The exact solution with the series inductor's own Q: still Class E at the target
// power, and at high loaded Q Lseries loses its share of the load, Pout·Q/QL (N. O.
// Sokal, QEX Jan/Feb 2001, Eq 1), while the lossless choke loses nothing.
TEST(OwnInductorQ, TheExactSolutionMeetsTheTargetsWithTheSeriesInductorsOwnLoss)
{
    constexpr float kLoadedQ = 20;
    constexpr double kLseriesQ = 200;
    const DesignRecord d = CalculatedDesign(kLoadedQ);
    DesignOptions options{.exact = true};
    options.windingQ.lseries = kLseriesQ;
    const Circuit c = BuildCircuit(d, options);
    ASSERT_TRUE(AllUsable(c));
    EXPECT_NEAR(c.pout.value / d.Power, 1, 1e-6);
    EXPECT_NEAR(c.turnOnPercent.value, 0, 1e-6);
    EXPECT_NEAR(LossOf(c, "L2")->watts.value / (c.pout.value * kLoadedQ / kLseriesQ), 1, 0.02);
    EXPECT_EQ(LossOf(c, "L1")->watts.value, 0);
    // A Q of its own that is no quality factor is refused as the common one is.
    options.windingQ.lseries = 0;
    EXPECT_FALSE(AllUsable(BuildCircuit(d, options)));
}

// A test table's powdered-iron core for the choke: AL 10 nH/turn².
std::vector<ToroidCore> TestCores()
{
    ToroidCore core;
    core.name = "T-test";
    core.material = "2";
    core.inductanceFactor = 10e-9;
    core.outerDiameter = 33e-3;
    core.innerDiameter = 20e-3;
    core.height = 11e-3;
    core.area = 0.7e-4;
    core.pathLength = 80e-3;
    return {core};
}

// The wound circuit: without the windings' Q in the budget it is the circuit as built,
// bit for bit; with it, each winding is of the inductor shown (its value and current)
// and has the Q the budget took, within a ten-thousandth; each inductor loses I²·ωL/Q
// with that Q as its winding's, and the budget still sums to the supply power less Pout.
TEST(WoundCircuit, TakesEachWindingsQIntoABudgetThatStillSums)
{
    const DesignRecord d = CalculatedDesign(kDefaultNetworkQ, true, 50);
    const DesignOptions options{.exact = true, .capacitorQ = 500};
    const WindingRequest plain{{{PartRole::Choke, "T-test"}}, TestCores(), false};
    const WoundCircuit shown = BuildWoundCircuit(d, options, plain);
    const Circuit built = BuildCircuit(d, options);
    ASSERT_EQ(shown.circuit.losses.size(), built.losses.size());
    for (std::size_t k = 0; k < built.losses.size(); ++k) {
        EXPECT_EQ(shown.circuit.losses[k].watts.value, built.losses[k].watts.value);
        EXPECT_STREQ(shown.circuit.losses[k].cause, built.losses[k].cause);
    }
    ASSERT_EQ(shown.windings.size(), 3u);
    EXPECT_EQ(shown.windings[0].core, "T-test");

    WindingRequest lossy = plain;
    lossy.qInBudget = true;
    const WoundCircuit wound = BuildWoundCircuit(d, options, lossy);
    const Circuit& c = wound.circuit;
    ASSERT_TRUE(AllUsable(c));
    ASSERT_EQ(wound.windings.size(), 3u);
    for (const InductorWinding& w : wound.windings) {
        SCOPED_TRACE(w.part);
        ASSERT_TRUE(w.computed);
        ASSERT_TRUE(std::isfinite(w.q) && w.q > 0);
        const Loss* loss = LossOf(c, w.part);
        ASSERT_NE(loss, nullptr);
        EXPECT_STREQ(loss->cause, kWindingLoss);
        const double irms = RmsOf(c, w.role);
        EXPECT_EQ(w.inductance, c.ValueOf(w.role));
        EXPECT_EQ(w.rmsCurrent, irms);
        const double q = InductorQOf(c, w.role);
        EXPECT_NEAR(w.q / q, 1, 1e-4);
        EXPECT_NEAR(loss->watts.value / (irms * irms * Omega(c) * c.ValueOf(w.role) / q), 1, 1e-6);
        EXPECT_GT(loss->watts.value, 0);
    }
    EXPECT_NEAR(BudgetSum(c), Pin(c) - c.pout.value, 1e-5 * Pin(c));
    // Still the exact design: the windings' losses are paid for from the supply.
    EXPECT_NEAR(c.pout.value / d.Power, 1, 1e-6);
    EXPECT_GT(Pin(c), Pin(built));
}

}  // namespace
}  // namespace voltra
