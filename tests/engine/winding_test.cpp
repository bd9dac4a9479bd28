// Windable inductors: Wheeler's formula against published coils and against the
// exact current-sheet inductance, the wire and skin effect against standard tables,
// the solenoid and toroid designs against their defining equations.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/winding.h"

namespace voltra {
namespace {

constexpr double kMm = 1e-3;
constexpr double kMicro = 1e-6;
constexpr double kMu0 = 4e-7 * std::numbers::pi;

TEST(Wheeler, MatchesPublishedCoilsWithinTwoPercent)
{
    // Worked examples of antentop.org, "Inductance of single-layer coils", page 009_p93
    // (its tables 1 and 2): 10 turns over 20 mm on an 18 mm form, 1.153 µH; 10 turns
    // over 20 mm on a 30 mm form, 2.687 µH.
    EXPECT_NEAR(WheelerInductance(10, 18 * kMm, 20 * kMm) / (1.153 * kMicro), 1, 0.02);
    EXPECT_NEAR(WheelerInductance(10, 30 * kMm, 20 * kMm) / (2.687 * kMicro), 1, 0.02);
    // Wheeler's formula in inches, r = 0.5, l = 1, N = 20: 0.25·400/(4.5 + 10) µH.
    EXPECT_NEAR(WheelerInductance(20, 25.4 * kMm, 25.4 * kMm) / (100 / 14.5 * kMicro), 1, 1e-12);
}

TEST(Wheeler, WithinOnePercentOfTheCurrentSheetWhereWheelerSaysSo)
{
    // Wheeler (1928) claims 1 % for l > 0.8·r; the exact current-sheet value is Nagaoka's.
    for (const double lengthOverRadius : {0.8, 1.0, 2.0, 4.0, 10.0, 50.0}) {
        const double d = 20 * kMm, l = lengthOverRadius * d / 2;
        EXPECT_NEAR(WheelerInductance(12, d, l) / CurrentSheetInductance(12, d, l), 1, 0.01) << lengthOverRadius;
    }
}

TEST(Wheeler, NagaokaCoefficientMatchesGroversTable)
{
    // Nagaoka's K for diameter/length = 1 is 0.6884 (Grover, "Inductance Calculations",
    // 1946, table of K), and K → 1 for a long coil.
    const double d = 10 * kMm;
    const auto k = [&](double l) {
        return CurrentSheetInductance(1, d, l) / (kMu0 * std::numbers::pi * d * d / 4 / l);
    };
    EXPECT_NEAR(k(d), 0.6884, 0.0001);
    EXPECT_NEAR(k(1000 * d), 1, 0.001);
}

TEST(Wire, GaugeDiametersAndSkinDepthMatchTheTables)
{
    // ASTM B258 table: AWG 10 0.1019 in, AWG 20 0.0320 in, AWG 30 0.0100 in.
    EXPECT_NEAR(AwgDiameter(10) / (0.1019 * 25.4 * kMm), 1, 0.003);
    EXPECT_NEAR(AwgDiameter(20) / (0.0320 * 25.4 * kMm), 1, 0.003);
    EXPECT_NEAR(AwgDiameter(30) / (0.0100 * 25.4 * kMm), 1, 0.003);
    // Terman (1943): δ = 6.62/√f cm in copper; 66.2 µm at 1 MHz, 18.0 µm at 13.56 MHz.
    EXPECT_NEAR(SkinDepth(1e6) / 66.2e-6, 1, 0.005);
    EXPECT_NEAR(SkinDepth(13.56e6) / (6.62e-2 / std::sqrt(13.56e6)), 1, 0.005);
}

TEST(Wire, TheChosenGaugeCarriesTheCurrentAndTheNextThinnerDoesNot)
{
    for (const double amps : {0.05, 0.7, 3.0, 12.0}) {
        const int gauge = GaugeForCurrent(amps);
        const auto capacity = [](int g) {
            return std::numbers::pi * std::pow(AwgDiameter(g), 2) / 4 * kWireCurrentDensity;
        };
        EXPECT_GE(capacity(gauge), amps) << amps;
        EXPECT_LT(capacity(gauge + 1), amps) << amps;
    }
    EXPECT_EQ(GaugeForCurrent(1e-6), 40);
    EXPECT_EQ(GaugeForCurrent(1e4), 0);
}

TEST(Wire, ResistanceIsDcAtLowFrequencyAndGrowsAsRootFrequencyAtHigh)
{
    const double d = 1 * kMm, length = 1;
    const double dc = kCopperResistivity * length / (std::numbers::pi * d * d / 4);
    EXPECT_NEAR(WireResistance(length, d, 100), dc, dc * 1e-12);
    // Far into the skin regime the annulus is almost π·d·δ: four times the frequency,
    // half the depth, twice the resistance.
    const double r1 = WireResistance(length, d, 100e6), r4 = WireResistance(length, d, 400e6);
    EXPECT_NEAR(r4 / r1, 2, 0.01);
    EXPECT_GT(r1, 10 * dc);
}

TEST(Medhurst, SelfCapacitanceOfASquareCoil)
{
    // Medhurst's (1947) measured H = C/D (pF/cm) is 0.46 at l/D = 1.
    EXPECT_NEAR(MedhurstCapacitance(20 * kMm, 20 * kMm) / (0.46 * 2.0e-12), 1, 0.01);
}

TEST(AirCoil, TheDesignedCoilHasTheInductanceAskedFor)
{
    for (const double uh : {0.2, 1.5, 12.0}) {
        const AirCoil coil = DesignAirCoil(uh * kMicro, 2, 7e6, 16 * kMm);
        SCOPED_TRACE(uh);
        EXPECT_NEAR(WheelerInductance(coil.turns, coil.diameter, coil.length) / (uh * kMicro), 1, 1e-12);
        EXPECT_NEAR(coil.length, coil.turns * kDefaultPitchOverWire * coil.wireDiameter, 1e-15);
        EXPECT_EQ(coil.gauge, GaugeForCurrent(2));
        EXPECT_NEAR(coil.wireLength, coil.turns * std::numbers::pi * 16 * kMm, 1e-12);
        EXPECT_NEAR(coil.q, 2 * std::numbers::pi * 7e6 * uh * kMicro / coil.resistance, 1e-9);
        const double resonance = 1 / (2 * std::numbers::pi * std::sqrt(uh * kMicro * coil.selfCapacitance));
        EXPECT_NEAR(coil.selfResonance, resonance, 1e-3);
        EXPECT_GT(coil.selfResonance, 7e6);
    }
    // A very small inductance on a wide former is a short coil, outside Wheeler's range.
    EXPECT_FALSE(DesignAirCoil(0.05 * kMicro, 2, 7e6, 30 * kMm).withinWheelerRange);
    EXPECT_TRUE(DesignAirCoil(12 * kMicro, 2, 7e6, 16 * kMm).withinWheelerRange);
}

ToroidCore Core()
{
    ToroidCore core;
    core.name = "test";
    core.inductanceFactor = 4.9e-9;
    core.outerDiameter = 12.7 * kMm;
    core.innerDiameter = 7.7 * kMm;
    core.height = 4.83 * kMm;
    core.area = 11.2 * kMm * kMm;
    core.pathLength = 32 * kMm;
    return core;
}

TEST(Toroid, TurnsFromTheInductanceFactorExactly)
{
    // 4.9 µH on AL = 4.9 nH/turn²: N = √1000 turns, and AL·N² gives the 4.9 µH back.
    const Toroid t = DesignToroid(4.9 * kMicro, 0.3, 7e6, Core());
    EXPECT_DOUBLE_EQ(t.turns, std::sqrt(1000.0));
    EXPECT_NEAR(Core().inductanceFactor * t.turns * t.turns, 4.9 * kMicro, 1e-18);
    // B = L·I/(N·Ae) = 4.9e-6·0.3/(31.623·11.2e-6) = 4.150 mT.
    EXPECT_NEAR(t.fluxDensity, 4.9e-6 * 0.3 / (std::sqrt(1000.0) * 11.2e-6), 1e-12);
    EXPECT_NEAR(t.fluxDensity, 4.150e-3, 0.001e-3);
    // 31.6 turns of AWG 27 (0.36 mm) take 11.4 mm of the hole's 23 mm circumference.
    EXPECT_EQ(t.gauge, 27);
    EXPECT_TRUE(t.fitsOneLayer);
}

TEST(Toroid, TooManyTurnsForTheHoleAreFlagged)
{
    // 400 µH: N = 286 turns of AWG 21 cannot lie side by side inside a 7.7 mm hole.
    const Toroid t = DesignToroid(400 * kMicro, 1, 1e6, Core());
    EXPECT_NEAR(t.turns, std::sqrt(400e-6 / 4.9e-9), 1e-9);
    EXPECT_FALSE(t.fitsOneLayer);
}

}  // namespace
}  // namespace voltra
