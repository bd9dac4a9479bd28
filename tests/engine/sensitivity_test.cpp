// The sensitivities against finite differences taken here on the circuit's own part
// values, and the bench guide applied: each advised change, made, moves its figure
// back.
#include "engine/sensitivity.h"

#include <gtest/gtest.h>

#include "engine/design_options.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

std::vector<Circuit> Designs()
{
    return {BuildCircuit(CalculatedDesign(), DesignOptions{.exact = true}),
            BuildCircuit(CalculatedDesign(), DesignOptions{}),
            BuildCircuit(CalculatedDesign(3, true, 50), DesignOptions{.exact = true}),
            BuildCircuit(CalculatedDesign(10), DesignOptions{.exact = true, .inductorQ = 100, .capacitorQ = 500}),
            // A third of C1 the switch's own: only the external capacitor is the part.
            BuildCircuit(CalculatedDesign(), DesignOptions{.exact = true, .coss = 500e-12f})};
}

// The circuit with one part's value times `factor`, changed in the circuit itself.
StageFigures WithPart(Circuit circuit, PartRole role, double factor)
{
    Result& value = circuit.Get(role).value;
    value.value = static_cast<float>(value.value * factor);
    return AnalyseStage(StageOf(circuit));
}

// A one-sided difference over a quarter of the step, from the single-precision part
// values: it agrees with the central difference to the curvature over 1 %, far
// inside 10 % wherever the part matters.
TEST(Sensitivities, AgreeWithOneSidedDifferencesOfTheCircuit)
{
    for (const Circuit& circuit : Designs()) {
        const Sensitivities table = AnalyseSensitivities(circuit);
        ASSERT_TRUE(table.nominal.valid);
        ASSERT_GE(table.parts.size(), 5u);
        for (const PartSensitivity& s : table.parts) {
            ASSERT_TRUE(s.valid) << s.part;
            const float before = circuit.Get(s.role).value.value;
            const double factor = static_cast<float>(before * 1.0025) / static_cast<double>(before);
            const StageFigures up = WithPart(circuit, s.role, 1.0025);
            const double per = (factor - 1) * 100;
            const double pout = 100 * (up.pout - table.nominal.pout) / table.nominal.pout / per;
            const double efficiency = 100 * (up.efficiency - table.nominal.efficiency) / per;
            const double turnOn = (up.turnOnVoltage - table.nominal.turnOnVoltage) / per;
            const double vpeak = 100 * (up.vpeak - table.nominal.vpeak) / table.nominal.vpeak / per;
            // Within 10 %, or a hundredth of a unit where the effect itself is near zero.
            EXPECT_NEAR(s.pout, pout, std::max(0.1 * std::abs(pout), 0.01)) << s.part;
            EXPECT_NEAR(s.efficiency, efficiency, std::max(0.1 * std::abs(efficiency), 0.01)) << s.part;
            EXPECT_NEAR(s.turnOnVoltage, turnOn, std::max(0.1 * std::abs(turnOn), 0.01)) << s.part;
            EXPECT_NEAR(s.vpeak, vpeak, std::max(0.1 * std::abs(vpeak), 0.01)) << s.part;
        }
    }
}

// The shunt capacitor is what tunes the turn-on (N. O. Sokal, A. D. Sokal, IEEE JSSC
// SC-10(3), 1975: C1 is sized for zero voltage at turn-on), the feed choke only carries
// the supply current: C1 moves the drain voltage at turn-on far more than the choke.
TEST(Sensitivities, TheShuntCapacitorTunesTheTurnOnAndTheChokeHardly)
{
    for (const Circuit& circuit : Designs()) {
        const Sensitivities table = AnalyseSensitivities(circuit);
        const auto of = [&table](PartRole role) {
            for (const PartSensitivity& s : table.parts)
                if (s.role == role) return s;
            return PartSensitivity{role, ""};
        };
        EXPECT_GT(std::abs(of(PartRole::C1).turnOnVoltage), 3 * std::abs(of(PartRole::Choke).turnOnVoltage));
    }
}

TEST(BenchGuide, EveryAdvisedChangeMovesItsFigureBack)
{
    for (const Circuit& circuit : Designs()) {
        const Sensitivities table = AnalyseSensitivities(circuit);
        const std::vector<BenchAdvice> guide = BenchGuide(table);
        ASSERT_EQ(guide.size(), 6u);
        for (const BenchAdvice& advice : guide) {
            ASSERT_FALSE(advice.moves.empty()) << advice.text;
            EXPECT_LE(advice.moves.size(), kAdvisedParts);
            for (const PartMove& move : advice.moves) {
                const StageFigures after = WithPart(circuit, move.role, move.increase ? 1.02 : 0.98);
                ASSERT_TRUE(after.valid);
                double change = 0;
                switch (advice.figure) {
                case BenchFigure::TurnOnVoltage: change = after.turnOnVoltage - table.nominal.turnOnVoltage; break;
                case BenchFigure::OutputPower: change = after.pout - table.nominal.pout; break;
                case BenchFigure::Efficiency: change = after.efficiency - table.nominal.efficiency; break;
                case BenchFigure::PeakDrainVoltage: change = after.vpeak - table.nominal.vpeak; break;
                }
                if (advice.tooHigh)
                    EXPECT_LT(change, 0) << advice.text << " (" << move.part << ")";
                else
                    EXPECT_GT(change, 0) << advice.text << " (" << move.part << ")";
            }
        }
    }
}

TEST(BenchGuide, NamesTheStrongestPartsFirstInPlainWords)
{
    const Circuit circuit = BuildCircuit(CalculatedDesign(), DesignOptions{.exact = true});
    const std::vector<BenchAdvice> guide = BenchGuide(AnalyseSensitivities(circuit));
    const BenchAdvice& high = guide[0];
    ASSERT_EQ(high.figure, BenchFigure::TurnOnVoltage);
    ASSERT_TRUE(high.tooHigh);
    ASSERT_EQ(high.moves.size(), 2u);
    EXPECT_GE(std::abs(high.moves[0].effect), std::abs(high.moves[1].effect));
    EXPECT_EQ(high.text, std::string("Drain voltage at turn-on above zero: ") +
                             (high.moves[0].increase ? "increase " : "decrease ") + high.moves[0].part + " or " +
                             (high.moves[1].increase ? "increase " : "decrease ") + high.moves[1].part);
    // Below zero is the same parts the other way.
    const BenchAdvice& low = guide[1];
    ASSERT_EQ(low.moves.size(), high.moves.size());
    for (std::size_t i = 0; i < low.moves.size(); ++i) {
        EXPECT_STREQ(low.moves[i].part, high.moves[i].part);
        EXPECT_NE(low.moves[i].increase, high.moves[i].increase);
    }
    EXPECT_EQ(guide[2].text.rfind("Output power high: ", 0), 0u) << guide[2].text;
    EXPECT_EQ(guide[4].text.rfind("Efficiency low: ", 0), 0u) << guide[4].text;
    EXPECT_EQ(guide[5].text.rfind("Peak drain voltage high: ", 0), 0u) << guide[5].text;

    // A table with no effect advises nothing.
    Sensitivities flat = AnalyseSensitivities(circuit);
    for (PartSensitivity& s : flat.parts) s = PartSensitivity{s.role, s.part, true};
    for (const BenchAdvice& advice : BenchGuide(flat)) {
        EXPECT_TRUE(advice.moves.empty());
        EXPECT_TRUE(advice.text.ends_with(": no part alone moves it")) << advice.text;
    }
}

}  // namespace
}  // namespace voltra
