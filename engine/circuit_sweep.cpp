// Each point is the circuit's stage with one field replaced.
#include "engine/circuit_sweep.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "engine/design_options.h"
#include "engine/part_values.h"

namespace voltra {
namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

struct Quantity {
    double ClassEStage::*target = nullptr;  // a target's field, or
    std::optional<TrimmablePart> part;      // a part
    const char* unit = "";
};

const char* UnitOf(PartKind kind)
{
    switch (kind) {
    case PartKind::Capacitor: return "F";
    case PartKind::Inductor: return "H";
    case PartKind::Resistor: break;
    }
    return "ohm";
}

std::optional<Quantity> Find(const Circuit& circuit, std::string_view name)
{
    if (SameName(name, "frequency")) return Quantity{&ClassEStage::frequency, std::nullopt, "Hz"};
    if (SameName(name, "supply")) return Quantity{&ClassEStage::supply, std::nullopt, "V"};
    if (SameName(name, "falltime")) return Quantity{&ClassEStage::falltime, std::nullopt, "s"};
    for (const TrimmablePart& part : TrimmableParts(circuit))
        if (SameName(name, part.name)) return Quantity{nullptr, part, UnitOf(part.kind)};
    return std::nullopt;
}

}  // namespace

std::vector<std::string> SweepableNames(const Circuit& circuit)
{
    std::vector<std::string> names = {"frequency", "supply", "falltime"};
    for (const TrimmablePart& part : TrimmableParts(circuit)) names.emplace_back(part.name);
    return names;
}

std::optional<std::string> SweptUnit(const Circuit& circuit, std::string_view quantity)
{
    const std::optional<Quantity> found = Find(circuit, quantity);
    if (!found) return std::nullopt;
    return found->unit;
}

SweepResult SweepCircuit(const Circuit& circuit, std::string_view quantity, double from, double to, int steps)
{
    SweepResult result;
    const std::optional<Quantity> found = Find(circuit, quantity);
    if (!found) {
        result.problem = "there is no quantity \"" + std::string(quantity) + "\" to sweep in this circuit";
        return result;
    }
    if (steps < 2) {
        result.problem = "a sweep needs at least 2 steps";
        return result;
    }
    result.unit = found->unit;
    const ClassEStage nominal = StageOf(circuit);
    for (int i = 0; i < steps; ++i) {
        SweepPoint point;
        point.value = i == 0 ? from : i == steps - 1 ? to : from + (to - from) * i / (steps - 1);
        ClassEStage stage = nominal;
        if (found->part)
            SetPartValue(stage, found->part->role, point.value);
        else
            stage.*(found->target) = point.value;
        const StageFigures f = AnalyseStage(stage);
        point.valid = f.valid;
        point.reason = f.reason;
        if (f.valid) {
            point.pout = f.pout;
            point.efficiency = f.efficiency;
            point.turnOnVoltage = f.turnOnVoltage;
            point.vpeak = f.vpeak;
            point.ipeak = f.ipeak;
        }
        result.points.push_back(point);
    }
    return result;
}

}  // namespace voltra
