// The guide reads the signs off the table: a part whose increase raises a figure
// that is too high is advised down, and the other way round.
#include "engine/sensitivity.h"

#include <algorithm>
#include <cmath>

#include "engine/design_options.h"
#include "engine/part_values.h"

namespace voltra {
namespace {

// An effect smaller than this, in the figure's unit per +1 %, is rounding noise of the
// steady-state solution, not advice.
constexpr double kNoEffect = 1e-6;

double EffectOn(const PartSensitivity& s, BenchFigure figure)
{
    switch (figure) {
    case BenchFigure::TurnOnVoltage: return s.turnOnVoltage;
    case BenchFigure::OutputPower: return s.pout;
    case BenchFigure::Efficiency: return s.efficiency;
    case BenchFigure::PeakDrainVoltage: break;
    }
    return s.vpeak;
}

const char* Condition(BenchFigure figure, bool tooHigh)
{
    switch (figure) {
    case BenchFigure::TurnOnVoltage:
        return tooHigh ? "Drain voltage at turn-on above zero" : "Drain voltage at turn-on below zero";
    case BenchFigure::OutputPower: return tooHigh ? "Output power high" : "Output power low";
    case BenchFigure::Efficiency: return tooHigh ? "Efficiency high" : "Efficiency low";
    case BenchFigure::PeakDrainVoltage: break;
    }
    return tooHigh ? "Peak drain voltage high" : "Peak drain voltage low";
}

BenchAdvice AdviceFor(const Sensitivities& table, BenchFigure figure, bool tooHigh)
{
    BenchAdvice advice{figure, tooHigh, {}, Condition(figure, tooHigh)};
    std::vector<PartMove> moves;
    for (const PartSensitivity& s : table.parts) {
        const double effect = EffectOn(s, figure);
        if (s.valid && std::abs(effect) > kNoEffect) moves.push_back({s.role, s.part, (effect > 0) != tooHigh, effect});
    }
    std::stable_sort(moves.begin(), moves.end(),
                     [](const PartMove& a, const PartMove& b) { return std::abs(a.effect) > std::abs(b.effect); });
    for (const PartMove& move : moves) {
        if (advice.moves.size() == kAdvisedParts || std::abs(move.effect) < kAdvisedShare * std::abs(moves[0].effect))
            break;
        advice.moves.push_back(move);
    }
    if (advice.moves.empty()) {
        advice.text += ": no part alone moves it";
        return advice;
    }
    for (std::size_t i = 0; i < advice.moves.size(); ++i) {
        advice.text += i == 0 ? ": " : " or ";
        advice.text += std::string(advice.moves[i].increase ? "increase " : "decrease ") + advice.moves[i].part;
    }
    return advice;
}

}  // namespace

Sensitivities AnalyseSensitivities(const Circuit& circuit)
{
    Sensitivities table;
    const ClassEStage nominal = StageOf(circuit);
    table.nominal = AnalyseStage(nominal);
    // Per 1 %: the difference over the two steps, in units of 1 %.
    const double per = 2 * kSensitivityStep * 100;
    for (const TrimmablePart& part : TrimmableParts(circuit)) {
        PartSensitivity s{part.role, part.name};
        ClassEStage up = nominal, down = nominal;
        ScalePart(up, part.role, 1 + kSensitivityStep);
        ScalePart(down, part.role, 1 - kSensitivityStep);
        const StageFigures fu = AnalyseStage(up), fd = AnalyseStage(down);
        s.valid = table.nominal.valid && fu.valid && fd.valid;
        if (s.valid) {
            s.pout = 100 * (fu.pout - fd.pout) / table.nominal.pout / per;
            s.efficiency = 100 * (fu.efficiency - fd.efficiency) / per;
            s.turnOnVoltage = (fu.turnOnVoltage - fd.turnOnVoltage) / per;
            s.vpeak = 100 * (fu.vpeak - fd.vpeak) / table.nominal.vpeak / per;
        }
        table.parts.push_back(s);
    }
    return table;
}

std::vector<BenchAdvice> BenchGuide(const Sensitivities& sensitivities)
{
    return {AdviceFor(sensitivities, BenchFigure::TurnOnVoltage, true),
            AdviceFor(sensitivities, BenchFigure::TurnOnVoltage, false),
            AdviceFor(sensitivities, BenchFigure::OutputPower, true),
            AdviceFor(sensitivities, BenchFigure::OutputPower, false),
            AdviceFor(sensitivities, BenchFigure::Efficiency, false),
            AdviceFor(sensitivities, BenchFigure::PeakDrainVoltage, true)};
}

}  // namespace voltra
