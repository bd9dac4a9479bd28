// The matching networks' reactances checked by the impedance the stage sees through
// them, worked out from the load with complex arithmetic of the ladder.
#include "engine/matching_networks.h"

#include <complex>

#include <gtest/gtest.h>

namespace voltra {
namespace {

using Z = std::complex<double>;

Z Parallel(Z a, Z b) { return a * b / (a + b); }
Z Inductor(double x) { return {0, x}; }
Z Capacitor(double x) { return {0, -x}; }

// What the stage sees looking into the network terminated in `rnetwork`.
Z InputImpedance(const NetworkReactances& n, double rnetwork)
{
    const Z load = rnetwork;
    switch (n.layout) {
    case NetworkLayout::SeriesLFirst: return Inductor(n.lnetwork) + Parallel(Capacitor(n.cnetwork), load);
    case NetworkLayout::ShuntCFirst: return Parallel(Capacitor(n.cnetwork), Inductor(n.lnetwork) + load);
    case NetworkLayout::Pi:
        return Parallel(Capacitor(n.cnetwork), Inductor(n.lnetwork) + Parallel(Capacitor(n.cnetwork2), load));
    case NetworkLayout::T:
        return Inductor(n.lnetwork) + Parallel(Capacitor(n.cnetwork), Inductor(n.lnetwork2) + load);
    case NetworkLayout::TappedCShuntLFirst:
        return Parallel(Inductor(n.lnetwork), Capacitor(n.cnetwork) + Parallel(Capacitor(n.cnetwork2), load));
    case NetworkLayout::TappedCShuntCFirst:
        return Parallel(Capacitor(n.cnetwork2), Capacitor(n.cnetwork) + Parallel(Inductor(n.lnetwork), load));
    case NetworkLayout::None: break;
    }
    return load;
}

TEST(MatchingNetworks, EachKindPresentsTheStageResistanceFromEitherSide)
{
    struct Case {
        NetworkKind kind;
        double rstage;
        NetworkLayout layout;
    };
    // 6.6 ohm is the Class E load of 50 W from 24 V; 180 ohm one of a high-voltage stage.
    for (const Case c : {Case{NetworkKind::L, 6.6, NetworkLayout::SeriesLFirst},
                         Case{NetworkKind::L, 180, NetworkLayout::ShuntCFirst},
                         Case{NetworkKind::Pi, 6.6, NetworkLayout::Pi}, Case{NetworkKind::Pi, 180, NetworkLayout::Pi},
                         Case{NetworkKind::T, 6.6, NetworkLayout::T}, Case{NetworkKind::T, 180, NetworkLayout::T},
                         Case{NetworkKind::TappedC, 6.6, NetworkLayout::TappedCShuntCFirst},
                         Case{NetworkKind::TappedC, 180, NetworkLayout::TappedCShuntLFirst}}) {
        SCOPED_TRACE(c.rstage);
        SCOPED_TRACE(static_cast<int>(c.kind));
        const NetworkReactances n = MatchingNetwork(c.kind, c.rstage, 50, 5);
        ASSERT_TRUE(n.refusal.empty()) << n.refusal;
        ASSERT_EQ(n.layout, c.layout);
        const Z in = InputImpedance(n, 50);
        EXPECT_NEAR(in.real(), c.rstage, 1e-9 * c.rstage);
        EXPECT_NEAR(in.imag(), 0, 1e-9 * c.rstage);
        for (double x : {n.lnetwork, n.cnetwork}) EXPECT_GT(x, 0);
    }
}

TEST(MatchingNetworks, TheLoadedQIsTheStageSidesOwn)
{
    // The Pi's Q is its high-side shunt's R/X, the T's its low-side series X/R, the
    // tapped-C's its shunt inductor's R/X at the high side: a network built to another
    // Q than asked still matches, so the match alone would not catch it.
    EXPECT_NEAR(50 / MatchingNetwork(NetworkKind::Pi, 6.6, 50, 7).cnetwork2, 7, 1e-12);
    EXPECT_NEAR(180 / MatchingNetwork(NetworkKind::Pi, 180, 50, 7).cnetwork, 7, 1e-12);
    EXPECT_NEAR(MatchingNetwork(NetworkKind::T, 6.6, 50, 7).lnetwork / 6.6, 7, 1e-12);
    EXPECT_NEAR(MatchingNetwork(NetworkKind::T, 180, 50, 7).lnetwork2 / 50, 7, 1e-12);
    EXPECT_NEAR(50 / MatchingNetwork(NetworkKind::TappedC, 6.6, 50, 7).lnetwork, 7, 1e-12);
}

TEST(MatchingNetworks, AQAtOrBelowTheLSectionsOwnIsRefused)
{
    const double lowest = LowestMatchingQ(6.6, 50);
    EXPECT_NEAR(lowest, std::sqrt(50 / 6.6 - 1), 1e-15);
    EXPECT_NEAR(LowestMatchingQ(50, 6.6), lowest, 1e-15);
    for (NetworkKind kind : {NetworkKind::Pi, NetworkKind::T, NetworkKind::TappedC}) {
        SCOPED_TRACE(static_cast<int>(kind));
        EXPECT_FALSE(MatchingNetwork(kind, 6.6, 50, lowest).refusal.empty());
        EXPECT_FALSE(MatchingNetwork(kind, 50, 6.6, 0.5 * lowest).refusal.empty());
        const NetworkReactances just = MatchingNetwork(kind, 6.6, 50, lowest * (1 + 1e-6));
        EXPECT_TRUE(just.refusal.empty()) << just.refusal;
    }
    EXPECT_EQ(MatchingNetwork(NetworkKind::Pi, 6.6, 50, 2.5).refusal,
              "the Pi network needs a loaded Q above 2.56 for these resistances");
}

TEST(MatchingNetworks, JustAboveTheLowestQThePiAndTBecomeTheLSection)
{
    // At Q → sqrt(Rhigh/Rlow − 1) the virtual resistance reaches the low (Pi) or high
    // (T) side, the second section vanishes, and what is left is the L-section.
    const LSection l = LSectionFor(6.6, 50);
    const double q = LowestMatchingQ(6.6, 50) * (1 + 1e-9);
    const NetworkReactances pi = MatchingNetwork(NetworkKind::Pi, 6.6, 50, q);
    EXPECT_NEAR(pi.lnetwork, l.series, 1e-3 * l.series);
    EXPECT_NEAR(pi.cnetwork2, l.shunt, 1e-3 * l.shunt);
    EXPECT_GT(pi.cnetwork, 1e3 * l.shunt);  // the stage-side shunt opens
    const NetworkReactances t = MatchingNetwork(NetworkKind::T, 6.6, 50, q);
    EXPECT_NEAR(t.lnetwork, l.series, 1e-3 * l.series);
    EXPECT_NEAR(t.cnetwork, l.shunt, 1e-3 * l.shunt);
    EXPECT_LT(t.lnetwork2, 1e-3 * l.series);  // the load-side series shorts
}

TEST(MatchingNetworks, EqualResistancesLeaveTheLSectionOutButFilterWithPiAndT)
{
    EXPECT_EQ(MatchingNetwork(NetworkKind::L, 50, 50, 5).layout, NetworkLayout::None);
    for (NetworkKind kind : {NetworkKind::Pi, NetworkKind::T}) {
        const NetworkReactances n = MatchingNetwork(kind, 50, 50, 5);
        ASSERT_TRUE(n.refusal.empty());
        EXPECT_NEAR(InputImpedance(n, 50).real(), 50, 1e-9);
        EXPECT_NEAR(InputImpedance(n, 50).imag(), 0, 1e-9);
    }
    EXPECT_FALSE(MatchingNetwork(NetworkKind::TappedC, 50, 50, 5).refusal.empty());
}

TEST(Trap, BlocksTheSecondHarmonicAndC2AbsorbsItsReactanceAtTheFundamental)
{
    const TrapReactances trap = TrapFor(6.6);
    EXPECT_DOUBLE_EQ(trap.inductor, 6.6);
    // At 2f the inductor's reactance doubles and the capacitor's halves: they meet, and
    // the parallel tank opens.
    EXPECT_NEAR(2 * trap.inductor, trap.capacitor / 2, 1e-12);
    const Z atF = Parallel(Inductor(trap.inductor), Capacitor(trap.capacitor));
    EXPECT_NEAR(TrapReactanceAtFundamental(trap), atF.imag(), 1e-12);
    EXPECT_NEAR(atF.imag(), 4.0 / 3 * 6.6, 1e-12);
    // The series branch's net reactance at f: ωLs − 1/(ωC2) before, with the trap and
    // the absorbing C2 after.
    const double lseries = 5 * 6.6, c2 = 26.0;
    EXPECT_NEAR(lseries - c2, lseries + atF.imag() - AbsorbTrap(c2, trap), 1e-12);
}

}  // namespace
}  // namespace voltra
