// The circuit's inductors wound: the current each is sized for, the default square
// coil against a hand calculation, the self-resonance warning at its limit, and cores.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "engine/inductor_windings.h"

namespace voltra {
namespace {

constexpr double kMm = 1e-3;
constexpr double kMicro = 1e-6;

Result Value(float v) { return {v, Status::Valid, {}}; }

// 25 W into 10 Ω at 7 MHz from 1 A of supply current: choke 10 µH, Lseries 1 µH.
Circuit Stage()
{
    Circuit c;
    c.frequency = 7e6f;
    c.rload = Value(10);
    c.idc = Value(1);
    c.parts = {{PartRole::Supply, "V1", Value(12), "vdd", "0"},
               {PartRole::Choke, "L1", Value(10e-6f), "vdd", "drain"},
               {PartRole::Switch, "S1", Value(0.1f), "drain", "0"},
               {PartRole::C1, "C1", Value(1e-9f), "drain", "0"},
               {PartRole::C2, "C2", Value(1e-9f), "drain", "mid"},
               {PartRole::Lseries, "L2", Value(1e-6f), "mid", "lnet"},
               {PartRole::Load, "RLoad", Value(10), "lnet", "0"}};
    return c;
}

InductorWinding Of(const std::vector<InductorWinding>& windings, PartRole role)
{
    for (const InductorWinding& w : windings)
        if (w.role == role) return w;
    throw std::runtime_error("no such inductor");
}

TEST(InductorWindings, SquareCoilMatchesAHandCalculation)
{
    // By hand: Irms = √(25 W / 10 Ω) = 1.581 A; at 3 A/mm² that needs 0.527 mm², and
    // AWG 20 (0.813 mm, 1.553 A) is too thin, AWG 19 (0.912 mm, 1.958 A) carries it.
    // Pitch p = 2 × 0.912 mm = 0.07178 in; Wheeler's L = 4r³/(29p²) with l = D gives
    // r = (29 × 0.07178² × 1 µH / 4)^(1/3) = 0.3343 in, D = 16.98 mm, N = D/p = 9.314.
    // Medhurst's C = 1.698 cm × (0.1126 + 0.08 + 0.27) pF = 0.786 pF, so the coil
    // resonates at 1/(2π√(1 µH × 0.786 pF)) = 179.6 MHz.
    const auto windings = WindInductors(Stage(), 25, {}, {});
    ASSERT_EQ(windings.size(), 2u);
    EXPECT_EQ(windings[0].role, PartRole::Choke);
    const InductorWinding l2 = Of(windings, PartRole::Lseries);
    ASSERT_TRUE(l2.computed);
    EXPECT_EQ(l2.currentSource, CurrentSource::ClosedForm);
    EXPECT_NEAR(l2.rmsCurrent, 1.5811, 1e-4);
    EXPECT_EQ(l2.gauge, 19);
    EXPECT_NEAR(l2.diameter / kMm, 16.98, 0.01);
    EXPECT_NEAR(l2.length / l2.diameter, 1, 1e-9);
    EXPECT_NEAR(l2.turns, 9.314, 0.001);
    EXPECT_NEAR(l2.selfResonance / 1e6, 179.6, 0.1);
    EXPECT_TRUE(l2.warnings.empty());
    EXPECT_TRUE(std::isnan(l2.fluxDensity));
    // The choke carries the supply current: 1 A, AWG 21 (0.723 mm, 1.23 A) and not 22.
    EXPECT_EQ(Of(windings, PartRole::Choke).gauge, 21);
}

TEST(InductorWindings, AnalysedCurrentsTakePrecedenceAndAnUnknownOneIsNotComputed)
{
    Circuit c = Stage();
    c.analysed = true;
    c.stresses = {{PartRole::Lseries, "L2", Value(40), Value(3.2f), Value(0)}};
    const auto analysed = WindInductors(c, 25, {}, {});
    EXPECT_EQ(Of(analysed, PartRole::Lseries).currentSource, CurrentSource::Analysis);
    EXPECT_FLOAT_EQ(Of(analysed, PartRole::Lseries).rmsCurrent, 3.2f);
    EXPECT_EQ(Of(analysed, PartRole::Lseries).gauge, GaugeForCurrent(3.2));
    // The analysis gave no choke current: the closed form's Idc stands in.
    EXPECT_EQ(Of(analysed, PartRole::Choke).currentSource, CurrentSource::ClosedForm);

    c = Stage();
    c.idc = {NAN, Status::Invalid, "no supply current"};
    const InductorWinding choke = Of(WindInductors(c, 25, {}, {}), PartRole::Choke);
    EXPECT_FALSE(choke.computed);
    EXPECT_EQ(choke.currentSource, CurrentSource::None);
    ASSERT_EQ(choke.warnings.size(), 1u);
    EXPECT_NE(choke.warnings[0].find("Not computed"), std::string::npos);
}

TEST(InductorWindings, TheNetworkInductorCarriesTheCurrentOfItsSide)
{
    // Rload 10 Ω transformed up to 50 Ω: the shunt C faces the stage, the inductor
    // carries the load's current √(25/50) = 0.707 A; transformed down, the inductor
    // faces the stage and carries √(25/10) = 1.581 A.
    Circuit up = Stage();
    up.network = NetworkLayout::ShuntCFirst;
    up.parts.back().value = Value(50);
    up.parts.insert(up.parts.end() - 1, {PartRole::NetworkL, "L3", Value(0.5e-6f), "lnet", "load"});
    EXPECT_NEAR(Of(WindInductors(up, 25, {}, {}), PartRole::NetworkL).rmsCurrent, std::sqrt(0.5), 1e-6);
    up.network = NetworkLayout::SeriesLFirst;
    EXPECT_NEAR(Of(WindInductors(up, 25, {}, {}), PartRole::NetworkL).rmsCurrent, std::sqrt(2.5), 1e-6);
}

TEST(InductorWindings, SelfResonanceWarningAtThreeTimesTheFrequency)
{
    // The coil's geometry does not depend on the frequency: wind it once, then move the
    // frequency across a third of its self-resonance.
    const WindingChoice wide{PartRole::Lseries, std::nullopt, 60 * kMm};
    const double resonance = Of(WindInductors(Stage(), 25, {wide}, {}), PartRole::Lseries).selfResonance;
    const auto warned = [&](double frequency) {
        Circuit c = Stage();
        c.frequency = static_cast<float>(frequency);
        const InductorWinding w = Of(WindInductors(c, 25, {wide}, {}), PartRole::Lseries);
        EXPECT_NEAR(w.selfResonance, resonance, resonance * 1e-12);
        return std::any_of(w.warnings.begin(), w.warnings.end(),
                           [](const std::string& s) { return s.find("self-resonance") != std::string::npos; });
    };
    EXPECT_TRUE(warned(resonance / 3 * 1.001));
    EXPECT_FALSE(warned(resonance / 3 * 0.999));
}

TEST(InductorWindings, AWideFormerIsOutsideWheelersRange)
{
    // 1 µH on a 60 mm former is a ring of a few turns, far shorter than 0.4 D.
    const InductorWinding w =
        Of(WindInductors(Stage(), 25, {{PartRole::Lseries, std::nullopt, 60 * kMm}}, {}), PartRole::Lseries);
    EXPECT_LT(w.length, 0.4 * w.diameter);
    EXPECT_TRUE(std::any_of(w.warnings.begin(), w.warnings.end(),
                            [](const std::string& s) { return s.find("Wheeler") != std::string::npos; }));
}

TEST(InductorWindings, ToroidOnTheChosenCoreAndAnUnknownCoreFallsBackToAir)
{
    ToroidCore core;
    core.name = "T-test";
    core.inductanceFactor = 10e-9;
    core.outerDiameter = 20 * kMm;
    core.innerDiameter = 10 * kMm;
    core.height = 6 * kMm;
    core.area = 30 * kMm * kMm;
    core.pathLength = 45 * kMm;
    const std::vector<WindingChoice> choices = {{PartRole::Choke, "T-test"}, {PartRole::Lseries, "T-none"}};
    const auto windings = WindInductors(Stage(), 25, choices, {core});
    const InductorWinding choke = Of(windings, PartRole::Choke);
    // 10 µH on 10 nH/turn²: √1000 turns; B = 10 µH × 1 A / (31.62 × 30 mm²) = 10.54 mT.
    EXPECT_EQ(choke.core, "T-test");
    EXPECT_DOUBLE_EQ(choke.turns, std::sqrt(static_cast<double>(10e-6f) / 10e-9));
    EXPECT_NEAR(choke.fluxDensity, 10.54e-3, 0.01e-3);
    EXPECT_TRUE(std::isnan(choke.selfResonance));
    EXPECT_GT(choke.q, 0);
    const InductorWinding l2 = Of(windings, PartRole::Lseries);
    EXPECT_TRUE(l2.core.empty());
    EXPECT_NEAR(l2.turns, 9.314, 0.001);
    ASSERT_EQ(l2.warnings.size(), 1u);
    EXPECT_NE(l2.warnings[0].find("T-none"), std::string::npos);
}

}  // namespace
}  // namespace voltra
