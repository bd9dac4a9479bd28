// Each load is the circuit's stage with its load resistor and load reactance
// replaced; the loads are independent, so the threads take contiguous ranges of them.
#include "engine/load_mismatch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>
#include <thread>

#include "engine/design_options.h"
#include "engine/single.h"

namespace voltra {
namespace {

constexpr const char* kLoadNode = "load";
// The node between the stage's output and the load's reactance.
constexpr const char* kPortNode = "port";
constexpr const char* kOutsideGrid = "outside the region the grid covers";
constexpr const char* kNoResistance = "a load needs a resistance above zero";

// A reactance below this fraction of the load resistance is no part: the rounding of
// Γ on the real axis leaves ~1e-16 of it, whose inductor would be far stiffer than
// double precision follows, and it moves no figure.
constexpr double kNegligibleReactance = 1e-9;

double SeriesReactanceOf(Impedance z) { return std::fabs(z.imag()) < kNegligibleReactance * z.real() ? 0.0 : z.imag(); }

double PhaseDegrees(Reflection gamma)
{
    const double degrees = std::arg(gamma) * 180 / std::numbers::pi;
    return degrees < 0 ? degrees + 360 : degrees;
}

// Every Γ analysed, into `out` at the same index, on up to `threads` threads.
void AnalyseAll(const ClassEStage& stage, double z0, const std::vector<Reflection>& gammas,
                std::vector<MismatchPoint>& out, unsigned threads)
{
    out.resize(gammas.size());
    const int total = static_cast<int>(gammas.size());
    const auto work = [&](int begin, int end) {
        for (int i = begin; i < end; ++i)
            out[static_cast<std::size_t>(i)] = AnalyseLoad(stage, z0, gammas[static_cast<std::size_t>(i)]);
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const int count = std::clamp(static_cast<int>(threads ? threads : cores), 1, std::max(total, 1));
    std::vector<std::jthread> workers;
    for (int t = 1; t < count; ++t) workers.emplace_back(work, total * t / count, total * (t + 1) / count);
    work(0, total / count);
}

template <typename Better>
std::optional<std::size_t> Extreme(const std::vector<MismatchPoint>& points, Better better)
{
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (points[i].valid && (!best || better(points[i], points[*best]))) best = i;
    return best;
}

}  // namespace

Impedance ImpedanceOf(Reflection gamma, double z0) { return z0 * (1.0 + gamma) / (1.0 - gamma); }

Reflection ReflectionOf(Impedance z, double z0) { return (z - z0) / (z + z0); }

double ReflectionMagnitude(double vswr) { return (vswr - 1) / (vswr + 1); }

double ReferenceResistance(const Circuit& circuit) { return circuit.ValueOf(PartRole::Load); }

double FigureOf(const MismatchPoint& p, MismatchFigure figure)
{
    switch (figure) {
    case MismatchFigure::Pout: return p.pout;
    case MismatchFigure::Efficiency: return p.efficiency;
    case MismatchFigure::Vpeak: return p.vpeak;
    case MismatchFigure::Ipeak: return p.ipeak;
    case MismatchFigure::TurnOnVoltage: break;
    }
    return p.turnOnVoltage;
}

Circuit MismatchedCircuit(const Circuit& circuit, Impedance load)
{
    Circuit c = circuit;
    const float resistance = StoreSingle(load.real());
    const double reactance = SeriesReactanceOf(load);
    if (resistance == circuit.ValueOf(PartRole::Load) && reactance == 0) return c;

    Part& resistor = c.Get(PartRole::Load);
    resistor.value = {resistance, Status::Valid, {}};
    if (!(resistance > 0)) Invalidate(resistor.value, kNoResistance);
    if (reactance != 0) {
        const double omega = 2 * std::numbers::pi * static_cast<double>(c.frequency);
        const bool inductive = reactance > 0;
        const float value = StoreSingle(inductive ? reactance / omega : 1 / (omega * -reactance));
        for (Part& part : c.parts) {
            if (part.role == PartRole::Load) continue;
            for (const char** node : {&part.from, &part.to})
                if (std::string_view(*node) == kLoadNode) *node = kPortNode;
        }
        const Part series = {inductive ? PartRole::LoadInductor : PartRole::LoadCapacitor, inductive ? "LLoad" : "CLoad",
                             {value, Status::Valid, {}}, kPortNode, kLoadNode,
                             inductive ? PartShape::Inductor : PartShape::Capacitor};
        const auto at = std::find_if(c.parts.begin(), c.parts.end(), [](const Part& p) { return p.role == PartRole::Load; });
        c.parts.insert(at, series);
    }
    // The matched circuit's losses and stresses, and its questions (a missed target),
    // are not this load's: its own analysis replaces them all.
    c.losses.clear();
    c.stresses.clear();
    if (c.Get(PartRole::Load).value.Usable()) TakeFigures(c, AnalyseStage(StageOf(c)));
    return c;
}

MismatchPoint AnalyseLoad(const ClassEStage& nominal, double z0, Reflection gamma)
{
    MismatchPoint p;
    p.gamma = gamma;
    const Impedance z = ImpedanceOf(gamma, z0);
    p.load = Impedance(z.real(), SeriesReactanceOf(z));
    const double magnitude = std::abs(gamma);
    p.vswr = (1 + magnitude) / (1 - magnitude);
    p.phaseDegrees = PhaseDegrees(gamma);
    if (!(p.load.real() > 0)) {
        p.reason = kNoResistance;
        return p;
    }
    ClassEStage stage = nominal;
    stage.load = p.load.real();
    stage.loadReactance = p.load.imag();
    const StageFigures f = AnalyseStage(stage);
    p.valid = f.valid;
    p.reason = f.reason;
    if (!f.valid) return p;
    p.pout = f.pout;
    p.efficiency = f.efficiency;
    p.vpeak = f.vpeak;
    p.ipeak = f.ipeakNetwork;
    p.dischargePeak = f.ipeak;
    p.turnOnVoltage = f.turnOnVoltage;
    return p;
}

MismatchResult AnalyseMismatch(const Circuit& circuit, const MismatchSettings& settings)
{
    MismatchResult result;
    for (double vswr : settings.vswrs)
        if (!(vswr > 1 && std::isfinite(vswr))) {
            result.problem = "a VSWR must be a number above 1";
            return result;
        }
    if (settings.phases < 1) {
        result.problem = "a VSWR circle needs at least 1 phase";
        return result;
    }
    if (settings.gridSize < 0 || settings.gridSize == 1 || !(settings.gridRadius > 0 && settings.gridRadius < 1)) {
        result.problem = "the contour grid needs at least 2 points a side within the chart";
        return result;
    }
    result.z0 = ReferenceResistance(circuit);
    const ClassEStage stage = StageOf(circuit);
    result.nominal = AnalyseStage(stage);

    std::vector<Reflection> gammas;
    for (double vswr : settings.vswrs) {
        const double magnitude = ReflectionMagnitude(vswr);
        for (int k = 0; k < settings.phases; ++k)
            gammas.push_back(std::polar(magnitude, 2 * std::numbers::pi * k / settings.phases));
    }
    const std::size_t circlePoints = gammas.size();

    // Grid points within a cell's diagonal of the rim: a contour cell whose corners
    // straddle the rim still has all four.
    const int n = settings.gridSize;
    const double step = n > 1 ? 2 * settings.gridRadius / (n - 1) : 0;
    const double reach = std::min(settings.gridRadius + step * std::numbers::sqrt2, 0.99);
    constexpr std::size_t kOutside = SIZE_MAX;
    std::vector<std::size_t> gridIndex;  // per grid point, where its Γ stands in gammas
    for (int row = 0; row < n; ++row)
        for (int column = 0; column < n; ++column) {
            const Reflection gamma(-settings.gridRadius + step * column, -settings.gridRadius + step * row);
            if (std::abs(gamma) <= reach) {
                gridIndex.push_back(gammas.size());
                gammas.push_back(gamma);
            } else
                gridIndex.push_back(kOutside);
        }

    std::vector<MismatchPoint> analysed;
    AnalyseAll(stage, result.z0, gammas, analysed, settings.threads);
    result.points.assign(analysed.begin(), analysed.begin() + static_cast<std::ptrdiff_t>(circlePoints));
    // Each circle's VSWR and phases as asked, not as they come back from Γ.
    for (std::size_t i = 0; i < circlePoints; ++i) {
        const std::size_t phases = static_cast<std::size_t>(settings.phases);
        result.points[i].vswr = settings.vswrs[i / phases];
        result.points[i].phaseDegrees = 360.0 * static_cast<double>(i % phases) / settings.phases;
    }

    result.grid.radius = settings.gridRadius;
    result.grid.size = n;
    for (int i = 0; i < n * n; ++i) {
        const std::size_t at = gridIndex[static_cast<std::size_t>(i)];
        if (at != kOutside) {
            result.grid.points.push_back(analysed[at]);
            continue;
        }
        MismatchPoint outside;
        outside.gamma = Reflection(-settings.gridRadius + step * (i % n), -settings.gridRadius + step * (i / n));
        outside.reason = kOutsideGrid;
        result.grid.points.push_back(outside);
    }

    const std::vector<MismatchPoint>& p = result.points;
    result.worst.highestVpeak = Extreme(p, [](const MismatchPoint& a, const MismatchPoint& b) { return a.vpeak > b.vpeak; });
    result.worst.highestIpeak = Extreme(p, [](const MismatchPoint& a, const MismatchPoint& b) { return a.ipeak > b.ipeak; });
    result.worst.lowestPout = Extreme(p, [](const MismatchPoint& a, const MismatchPoint& b) { return a.pout < b.pout; });
    result.worst.worstTurnOn = Extreme(p, [](const MismatchPoint& a, const MismatchPoint& b) {
        return std::fabs(a.turnOnVoltage) > std::fabs(b.turnOnVoltage);
    });
    return result;
}

}  // namespace voltra
