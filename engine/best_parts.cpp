// Candidates part by part, then every combination of them analysed as the fixed
// circuit it is, scored by the rule in the header.
#include "engine/best_parts.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <span>
#include <tuple>

#include "engine/single.h"
#include "engine/stage_analysis.h"
#include "units/format.h"

namespace voltra {
namespace {

// Two values this close by ratio are the same standard value: a float part value
// read back against the double table differs in the eighth digit.
constexpr double kSameValue = 1e-6;

bool Same(double a, double b) { return std::fabs(a / b - 1) <= kSameValue; }

// The standard values around x: `below` of them at or under it (nearest first) and
// `above` at or over it, a standard x counting on both sides.
struct Neighbours {
    std::vector<double> below, above;
};

Neighbours NeighboursOf(double x, ESeries series)
{
    Neighbours n;
    const std::vector<double> values = StandardValuesNear(x, series);
    for (auto v = values.rbegin(); v != values.rend(); ++v)
        if (*v <= x || Same(*v, x)) n.below.push_back(*v);
    for (double v : values)
        if (v >= x || Same(v, x)) n.above.push_back(v);
    return n;
}

StandardChoice Single(double value)
{
    const float stored = StoreSingle(value);
    return {{stored}, stored};
}

StandardChoice Pair(double larger, double trim)
{
    const AcceptedPart part{PartRole::C1, StoreSingle(larger), StoreSingle(trim)};
    return {{part.first, part.second}, part.Value()};
}

bool IsStandard(double x, ESeries series) { return Same(RoundToSeries(x, series), x); }

// Where a part's candidates must lie: from the second standard value below the exact
// one to the second above.
std::pair<double, double> WindowOf(double x, ESeries series)
{
    if (IsStandard(x, series)) return {StoreSingle(x), StoreSingle(x)};
    const Neighbours n = NeighboursOf(x, series);
    return {StoreSingle(n.below.at(1)), StoreSingle(n.above.at(1))};
}

CircuitOutcome OutcomeOf(const StageFigures& f)
{
    if (!f.valid) return {false, f.reason, 0, 0, 0};
    return {true, {}, f.turnOnVoltage, f.pout, f.efficiency};
}

// Lower is better; see kZvsBandPercent.
using Score = std::tuple<double, double, double, std::size_t>;

Score ScoreOf(const CircuitOutcome& o, double target, std::size_t partCount)
{
    const double turnOn = std::fabs(o.turnOnPercent);
    return {std::max(turnOn, kZvsBandPercent), std::fabs(o.pout / target - 1), turnOn, partCount};
}

bool NoWorse(const CircuitOutcome& candidate, const CircuitOutcome& rounded, double target)
{
    if (!candidate.valid) return false;
    if (!rounded.valid) return true;
    return std::fabs(candidate.turnOnPercent) <= std::fabs(rounded.turnOnPercent) &&
           std::fabs(candidate.pout / target - 1) <= std::fabs(rounded.pout / target - 1);
}

constexpr PartRole kSearchedParts[] = {PartRole::C1, PartRole::C2, PartRole::Lseries, PartRole::NetworkL,
                                       PartRole::NetworkC};
// The newer networks' second parts and the trap are held at their nearest standard
// value, as plain rounding has them: searched too, each would multiply the
// combinations by its candidates, five or so, for parts that move ZVS least.
constexpr PartRole kHeldParts[] = {PartRole::NetworkL2, PartRole::NetworkC2, PartRole::TrapL, PartRole::TrapC};

bool Among(PartRole role, std::span<const PartRole> roles)
{
    return std::find(roles.begin(), roles.end(), role) != roles.end();
}

}  // namespace

std::vector<StandardChoice> CandidatesFor(double exact, PartKind kind, ESeries series)
{
    if (!std::isfinite(exact) || !(exact > 0)) return {};
    if (IsStandard(exact, series)) return {Single(RoundToSeries(exact, series))};
    const Neighbours n = NeighboursOf(exact, series);
    std::vector<StandardChoice> choices = {Single(n.below[0]), Single(n.above[0])};
    if (kind == PartKind::Inductor) {
        choices.push_back(Single(n.below[1]));
        choices.push_back(Single(n.above[1]));
        return choices;
    }
    const auto [low, high] = WindowOf(exact, series);
    for (double larger : {n.below[0], n.below[1]}) {
        const double rest = exact - larger;
        if (rest < kSmallestTrim * exact) continue;
        const Neighbours trims = NeighboursOf(rest, series);
        for (double trim : {trims.below[0], trims.above[0]}) {
            const StandardChoice pair = Pair(larger, trim);
            if (pair.total < low || pair.total > high) continue;
            if (std::find_if(choices.begin(), choices.end(), [&](const StandardChoice& c) {
                    return c.total == pair.total;
                }) == choices.end())
                choices.push_back(pair);
        }
    }
    return choices;
}

BestParts FindBestParts(const DesignRecord& d, const DesignOptions& options)
{
    BestParts found;
    found.targetPower = d.Power;
    if (!options.series) {
        found.problem = "no series of standard values is chosen: the search looks among the values of one";
        return found;
    }
    found.series = *options.series;
    DesignOptions unrounded = options;
    unrounded.series.reset();
    unrounded.accepted.clear();
    const Circuit exact = BuildCircuit(d, unrounded);
    for (const auto& [name, result] : exact.NamedResults()) {
        if (!result.Usable()) {
            found.problem = std::string("the design does not stand: ") + name + " is not valid: " + result.reason;
            return found;
        }
    }
    const auto started = std::chrono::steady_clock::now();
    ClassEStage stage = StageOf(exact);
    found.exact = OutcomeOf(AnalyseStage(stage));

    for (const TrimmablePart& part : TrimmableParts(exact)) {
        const bool held = Among(part.role, kHeldParts);
        if (!held && !Among(part.role, kSearchedParts)) continue;
        PartSearch search;
        search.role = part.role;
        search.name = part.name;
        search.kind = part.kind;
        search.exact = exact.ValueOf(part.role);
        search.rounded = StoreSingle(RoundToSeries(search.exact, found.series));
        std::tie(search.windowLow, search.windowHigh) = WindowOf(search.exact, found.series);
        search.candidates = held ? std::vector{Single(search.rounded)} : CandidatesFor(search.exact, part.kind, found.series);
        found.parts.push_back(std::move(search));
    }

    const auto analyse = [&](const std::vector<double>& values) {
        for (std::size_t i = 0; i < found.parts.size(); ++i) SetPartValue(stage, found.parts[i].role, values[i]);
        ++found.combinations;
        return OutcomeOf(AnalyseStage(stage));
    };
    std::vector<double> roundedValues;
    for (const PartSearch& p : found.parts) roundedValues.push_back(p.rounded);
    found.rounded = analyse(roundedValues);

    // Every combination, the last part's candidate turning fastest.
    std::vector<std::size_t> at(found.parts.size(), 0);
    std::vector<std::size_t> bestAt;
    Score bestScore{};
    std::vector<double> values(found.parts.size());
    for (bool more = !found.parts.empty(); more;) {
        std::size_t partCount = 0;
        for (std::size_t i = 0; i < at.size(); ++i) {
            const StandardChoice& choice = found.parts[i].candidates[at[i]];
            values[i] = choice.total;
            partCount += choice.values.size();
        }
        const CircuitOutcome outcome = analyse(values);
        if (NoWorse(outcome, found.rounded, found.targetPower)) {
            const Score score = ScoreOf(outcome, found.targetPower, partCount);
            if (bestAt.empty() || score < bestScore) {
                bestAt = at;
                bestScore = score;
                found.best = outcome;
            }
        }
        more = false;
        for (std::size_t i = at.size(); i-- > 0;) {
            if (++at[i] < found.parts[i].candidates.size()) {
                more = true;
                break;
            }
            at[i] = 0;
        }
    }
    found.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    for (std::size_t i = 0; i < found.parts.size(); ++i) {
        PartSearch& p = found.parts[i];
        p.chosen = bestAt.empty() ? Single(p.rounded) : p.candidates[bestAt[i]];
        found.improved = found.improved || p.chosen.total != static_cast<float>(p.rounded) || p.chosen.values.size() > 1;
    }
    if (bestAt.empty()) found.best = found.rounded;
    return found;
}

std::vector<AcceptedPart> AcceptedParts(const BestParts& found)
{
    std::vector<AcceptedPart> parts;
    for (const PartSearch& p : found.parts) {
        const auto& v = p.chosen.values;
        if (v.empty()) continue;
        parts.push_back({p.role, StoreSingle(v[0]), v.size() > 1 ? StoreSingle(v[1]) : 0.0f});
    }
    return parts;
}

std::string ChoiceText(const StandardChoice& choice, PartKind kind)
{
    std::string text;
    for (double value : choice.values) {
        if (!text.empty()) text += " \u2225 ";
        text += kind == PartKind::Inductor ? FormatInductance(value) : FormatCapacitance(value);
    }
    return text;
}

}  // namespace voltra
