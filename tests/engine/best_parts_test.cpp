// The search for the best combination of standard parts, through its public
// functions: never worse than rounding each part alone, on several designs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/best_parts.h"
#include "engine/design_options.h"
#include "engine/equations.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

struct Case {
    const char* name;
    DesignRecord design;
    DesignOptions options;
};

DesignRecord Changed(float frequency, float power, float supply, bool lnet = false, float rnetwork = 50)
{
    DesignRecord d;
    StartupValues(d);
    d.Frequency = frequency;
    d.Power = power;
    d.Supply = supply;
    d.LnetState = lnet;
    FindAll(d);
    LnetworkWorking working;
    FindLnetwork(d, working, rnetwork);
    return d;
}

// The start-up design and others away from it: another band and power, the network in
// both layouts, the Pi with the trap and the T, a switch whose own capacitance is part
// of C1, the exact design, lossy parts.
std::vector<Case> Designs()
{
    const DesignOptions e24{.series = ESeries::E24};
    DesignOptions coss = e24;
    coss.coss = 30e-12f;
    DesignOptions exact = e24;
    exact.exact = true;
    DesignOptions lossy = e24;
    lossy.inductorQ = 100;
    lossy.capacitorQ = 500;
    DesignOptions e12 = e24;
    e12.series = ESeries::E12;
    // The newer networks: the second network part and the trap are rounded too.
    DesignOptions piTrap = e24;
    piTrap.network = NetworkKind::Pi;
    piTrap.trap = true;
    DesignOptions tee = e24;
    tee.network = NetworkKind::T;
    return {
        {"default, Pi with the trap to 50 ohm", CalculatedDesign(kDefaultNetworkQ, true, 50), piTrap},
        {"default, T to 2 ohm", CalculatedDesign(kDefaultNetworkQ, true, 2), tee},
        {"default", CalculatedDesign(), e24},
        {"default, L-network to 50 ohm", CalculatedDesign(kDefaultNetworkQ, true, 50), e24},
        {"default, L-network to 2 ohm", CalculatedDesign(kDefaultNetworkQ, true, 2), e24},
        {"default, Coss 30 pF", CalculatedDesign(), coss},
        {"default, exact", CalculatedDesign(), exact},
        {"default, lossy parts", CalculatedDesign(), lossy},
        {"default, E12", CalculatedDesign(), e12},
        {"13.56 MHz 25 W 24 V", Changed(13.56e6f, 25, 24), e24},
        {"1.8 MHz 100 W 48 V, L-network", Changed(1.8e6f, 100, 48, true, 50), e24},
        {"27 MHz 5 W 12 V, Coss 30 pF", Changed(27e6f, 5, 12), coss},
    };
}

double PowerMiss(const CircuitOutcome& o, double target) { return std::fabs(o.pout / target - 1); }

TEST(BestParts, NeverFurtherFromTheTargetsThanPlainRoundingAndTheCircuitAcceptedDoesWhatWasFound)
{
    for (const Case& c : Designs()) {
        SCOPED_TRACE(c.name);
        const BestParts found = FindBestParts(c.design, c.options);
        ASSERT_TRUE(found.problem.empty()) << found.problem;
        ASSERT_TRUE(found.rounded.valid && found.best.valid);
        EXPECT_LE(std::fabs(found.best.turnOnPercent), std::fabs(found.rounded.turnOnPercent));
        EXPECT_LE(PowerMiss(found.best, c.design.Power), PowerMiss(found.rounded, c.design.Power));

        // Plain rounding as the search reports it is the circuit the series option builds.
        const Circuit rounded = BuildCircuit(c.design, c.options);
        EXPECT_FLOAT_EQ(rounded.pout.value, static_cast<float>(found.rounded.pout));
        EXPECT_FLOAT_EQ(rounded.turnOnPercent.value, static_cast<float>(found.rounded.turnOnPercent));

        // Accepted, the circuit every consumer walks carries the values and does what
        // the search said of them.
        DesignOptions accepted = c.options;
        accepted.accepted = AcceptedParts(found);
        const Circuit built = BuildCircuit(c.design, accepted);
        ASSERT_TRUE(AllUsable(built));
        for (const PartSearch& p : found.parts)
            EXPECT_EQ(built.ValueOf(p.role), static_cast<float>(p.chosen.total)) << p.name;
        EXPECT_EQ(built.accepted.size(), found.parts.size());
        EXPECT_FLOAT_EQ(built.pout.value, static_cast<float>(found.best.pout));
        EXPECT_FLOAT_EQ(built.turnOnPercent.value, static_cast<float>(found.best.turnOnPercent));
        // The L-network's total inductance follows the accepted values.
        if (IsLNetwork(built.network)) {
            EXPECT_FLOAT_EQ(built.ltotal.value, built.ValueOf(PartRole::Lseries) + built.ValueOf(PartRole::NetworkL));
        }
    }
}

TEST(BestParts, SearchesABoundedNumberOfCombinationsEachInsideItsWindow)
{
    for (const Case& c : Designs()) {
        SCOPED_TRACE(c.name);
        const BestParts found = FindBestParts(c.design, c.options);
        long product = 1;
        for (const PartSearch& p : found.parts) {
            SCOPED_TRACE(p.name);
            product *= static_cast<long>(p.candidates.size());
            // Each candidate stays within two standard steps of the exact value; in
            // E12 a step is at most 23 %.
            EXPECT_GE(p.windowLow, p.exact / (1.23 * 1.23));
            EXPECT_LE(p.windowHigh, p.exact * 1.23 * 1.23);
            EXPECT_LE(p.candidates.size(), p.kind == PartKind::Capacitor ? 6u : 4u);
            for (const StandardChoice& choice : p.candidates) {
                EXPECT_GE(choice.total, static_cast<float>(p.windowLow));
                EXPECT_LE(choice.total, static_cast<float>(p.windowHigh));
            }
            EXPECT_GE(p.chosen.total, static_cast<float>(p.windowLow));
            EXPECT_LE(p.chosen.total, static_cast<float>(p.windowHigh));
            // Plain rounding is one of the candidates, so the search can always keep it.
            bool roundedAmong = false;
            for (const StandardChoice& choice : p.candidates)
                roundedAmong = roundedAmong || (choice.values.size() == 1 && choice.total == static_cast<float>(p.rounded));
            EXPECT_TRUE(roundedAmong);
        }
        // Plain rounding once, then every combination; the network's two parts are
        // searched too where it is in, and a Pi's, T's or tapped-C's second part and
        // the trap are held at plain rounding, one candidate each.
        EXPECT_EQ(found.combinations, product + 1);
        const Circuit circuit = BuildCircuit(c.design, c.options);
        const std::size_t stageAndNetwork = circuit.network == NetworkLayout::None ? 3 : IsLNetwork(circuit.network) ? 5 : 6;
        EXPECT_EQ(found.parts.size(), stageAndNetwork + (circuit.Has(PartRole::TrapL) ? 2 : 0));
        for (const PartSearch& p : found.parts)
            if (p.role == PartRole::NetworkL2 || p.role == PartRole::NetworkC2 || p.role == PartRole::TrapL ||
                p.role == PartRole::TrapC)
                EXPECT_EQ(p.candidates.size(), 1u) << p.name;
    }
}

TEST(BestParts, ParallelPairsAreStandardValuesThatSumToThePart)
{
    // 107 pF in E24: 100 pF with 6.8 pF or 7.5 pF beside it, or 91 pF with 16 pF.
    const std::vector<StandardChoice> choices = CandidatesFor(107e-12, PartKind::Capacitor, ESeries::E24);
    std::vector<std::string> texts;
    for (const StandardChoice& c : choices) {
        texts.push_back(ChoiceText(c, PartKind::Capacitor));
        double sum = 0;
        for (double v : c.values) {
            sum += v;
            EXPECT_NEAR(RoundToSeries(v, ESeries::E24), v, 1e-6 * v) << "not a standard value";
        }
        EXPECT_FLOAT_EQ(c.total, static_cast<float>(sum));
    }
    const std::vector<std::string> expected = {"100pF",          "110pF",           "100pF \u2225 6.8pF",
                                               "100pF \u2225 7.5pF", "91pF \u2225 16pF"};
    EXPECT_EQ(texts, expected);
    // An inductor is never paired: its neighbours, two each side.
    EXPECT_EQ(CandidatesFor(2.5e-6, PartKind::Inductor, ESeries::E24).size(), 4u);
    // A rest below a hundredth of the value makes no pair with the value below: only
    // 91 pF with its trims stands beside the two neighbours.
    const std::vector<StandardChoice> close = CandidatesFor(100.5e-12, PartKind::Capacitor, ESeries::E24);
    ASSERT_EQ(close.size(), 4u);
    for (std::size_t i = 2; i < close.size(); ++i) EXPECT_FLOAT_EQ(static_cast<float>(close[i].values[0]), 91e-12f);
}

TEST(BestParts, AValueAlreadyStandardIsKept)
{
    for (const PartKind kind : {PartKind::Capacitor, PartKind::Inductor}) {
        const std::vector<StandardChoice> choices = CandidatesFor(static_cast<float>(4.7e-9), kind, ESeries::E12);
        ASSERT_EQ(choices.size(), 1u);
        EXPECT_EQ(choices[0].values.size(), 1u);
        EXPECT_FLOAT_EQ(choices[0].total, 4.7e-9f);
    }
    // Through the search: a switch whose own capacitance leaves an external C1 that is
    // exactly the standard value below the design's keeps that value, whatever the
    // other parts do, and its window is that value.
    const DesignRecord d = CalculatedDesign();
    const float c1 = BuildCircuit(d).ValueOf(PartRole::C1);
    const std::vector<StandardChoice> around = CandidatesFor(c1, PartKind::Capacitor, ESeries::E24);
    const double standardBelow = around.at(0).total;
    DesignOptions options{.series = ESeries::E24};
    options.coss = static_cast<float>(c1 - standardBelow);
    const BestParts found = FindBestParts(d, options);
    ASSERT_TRUE(found.problem.empty()) << found.problem;
    ASSERT_EQ(found.parts[0].role, PartRole::C1);
    ASSERT_NEAR(found.parts[0].exact, standardBelow, 1e-6 * standardBelow);
    EXPECT_EQ(found.parts[0].candidates.size(), 1u);
    EXPECT_FLOAT_EQ(found.parts[0].chosen.total, static_cast<float>(standardBelow));
    EXPECT_FLOAT_EQ(static_cast<float>(found.parts[0].windowLow), static_cast<float>(standardBelow));
    EXPECT_GT(found.parts[1].candidates.size(), 1u);
}

TEST(BestParts, WithoutASeriesOrADesignThatStandsThereIsNoSearchAndItSaysWhy)
{
    const BestParts none = FindBestParts(CalculatedDesign(), DesignOptions{});
    EXPECT_NE(none.problem.find("no series"), std::string::npos);
    EXPECT_EQ(none.combinations, 0);

    DesignOptions huge{.series = ESeries::E24};
    huge.coss = 1e-6f;  // more than the whole C1
    const BestParts refused = FindBestParts(CalculatedDesign(), huge);
    EXPECT_NE(refused.problem.find("C1 is not valid"), std::string::npos) << refused.problem;
    EXPECT_TRUE(refused.parts.empty());
}

}  // namespace
}  // namespace voltra
