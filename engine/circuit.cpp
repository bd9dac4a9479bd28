// Parts, nodes and the standing of every result, decided in one place for the screen,
// the printed sheet, the schematic file and the simulation.
#include "engine/circuit.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/equations.h"
#include "engine/figure_table.h"
#include "engine/single.h"
#include "engine/switch_model.h"

namespace voltra {
namespace {

// The open switch is at least a thousand times the Class E load, so it draws under a
// thousandth of the load current from the drain; 10 kilohm where that already holds.
constexpr float kRoffFloor = 10000.0f;
constexpr double kRoffOverRload = 1000.0;

constexpr const char* kNotANumber = "its calculation divided by zero or left the single-precision range";
constexpr const char* kNotPositive = "a part needs a value above zero";
constexpr const char* kNoSwing = "the saturation voltage leaves the switch no voltage to swing";
constexpr const char* kImpossibleEfficiency =
    "the fall-time and saturation losses put the drain efficiency outside 0 to 100 %";
constexpr const char* kNegativeLoss = "the supply gives less power than the load takes";

Result Figure(float value)
{
    if (!IsValid(value)) return {value, Status::Invalid, kNotANumber};
    return {value, Status::Valid, {}};
}

// A part's value must be a number above zero: a zero capacitor is an open, a zero
// inductor a short, and neither is what the equations asked for.
Result PartValue(float value)
{
    Result result = Figure(value);
    if (result.Usable() && !(value > 0)) result = {value, Status::Invalid, kNotPositive};
    return result;
}

// Each layout's parts in signal order from the stage's side ("lnet") to the load.
struct NetworkPlace {
    PartRole role;
    const char* name;
    const char* from;
    const char* to;
    PartShape shape;
};
struct LayoutParts {
    NetworkLayout layout;
    std::array<NetworkPlace, 3> parts;  // an L-section's third is left empty (no name)
};
constexpr PartShape kL = PartShape::Inductor;
constexpr PartShape kC = PartShape::Capacitor;
constexpr LayoutParts kLayoutParts[] = {
    {NetworkLayout::SeriesLFirst,
     {{{PartRole::NetworkL, "L3", "lnet", "load", kL}, {PartRole::NetworkC, "C3", "load", "0", kC}}}},
    {NetworkLayout::ShuntCFirst,
     {{{PartRole::NetworkC, "C3", "lnet", "0", kC}, {PartRole::NetworkL, "L3", "lnet", "load", kL}}}},
    {NetworkLayout::Pi,
     {{{PartRole::NetworkC, "C3", "lnet", "0", kC},
       {PartRole::NetworkL, "L3", "lnet", "load", kL},
       {PartRole::NetworkC2, "C4", "load", "0", kC}}}},
    {NetworkLayout::T,
     {{{PartRole::NetworkL, "L3", "lnet", "tee", kL},
       {PartRole::NetworkC, "C3", "tee", "0", kC},
       {PartRole::NetworkL2, "L4", "tee", "load", kL}}}},
    {NetworkLayout::TappedCShuntLFirst,
     {{{PartRole::NetworkL, "L3", "lnet", "0", kL},
       {PartRole::NetworkC, "C3", "lnet", "load", kC},
       {PartRole::NetworkC2, "C4", "load", "0", kC}}}},
    {NetworkLayout::TappedCShuntCFirst,
     {{{PartRole::NetworkC2, "C4", "lnet", "0", kC},
       {PartRole::NetworkC, "C3", "lnet", "load", kC},
       {PartRole::NetworkL, "L3", "load", "0", kL}}}},
};

float NetworkValueOf(const NetworkParts& n, PartRole role)
{
    switch (role) {
    case PartRole::NetworkL: return n.lnetwork;
    case PartRole::NetworkC: return n.cnetwork;
    case PartRole::NetworkL2: return n.lnetwork2;
    default: return n.cnetwork2;
    }
}

// The network's parts, each refused with the network where it cannot be built.
void AddNetwork(Circuit& c, const DesignRecord& d, const NetworkParts& n)
{
    for (const LayoutParts& layout : kLayoutParts) {
        if (layout.layout != c.network) continue;
        for (const NetworkPlace& place : layout.parts) {
            if (!place.name) break;
            Result value = PartValue(NetworkValueOf(n, place.role));
            if (!n.refusal.empty()) value = {value.value, Status::Invalid, n.refusal};
            c.parts.push_back({place.role, place.name, value, place.from, place.to, place.shape});
        }
    }
    if (IsLNetwork(c.network)) c.ltotal = Figure(Ltotal(d));
}

// Results that a drawing must question or refuse beyond a failed calculation.
void DecideFigures(Circuit& c, const DesignRecord& d)
{
    c.vpeak = Figure(d.Vpeak);
    // The drain of a Class E stage swings above the supply; a peak at or below zero
    // comes only from a saturation voltage the supply does not exceed.
    if (!(d.Vpeak > 0)) Invalidate(c.vpeak, kNoSwing);
    c.ipeak = Figure(d.Ipeak);
    c.idc = Figure(d.Idc);
    c.rdc = Figure(Rdc(d));
    c.efficiency = Figure(d.Efficiency);
    c.dissipation = Figure(StoreSingle(static_cast<double>(d.Supply) * d.Idc - d.Power));
    // A fall that outlasts the off-time is the first thing wrong with such a design,
    // whatever the fits then make of its efficiency.
    RefuseUnfitFall(c);
    // More power out than in, or less than none in, is no amplifier: the supply
    // current that claims it cannot be trusted, nor the resistance made from it.
    if (c.efficiency.Usable() && !(d.Efficiency > 0 && d.Efficiency <= 1)) {
        for (Result* figure : {&c.efficiency, &c.idc, &c.rdc, &c.dissipation})
            Invalidate(*figure, kImpossibleEfficiency);
    }
    // A switch cannot cool: supply power below the output power is a supply current
    // that does not belong to this design. Judged on the figure as computed, in double:
    // near 100 % efficiency the single-precision product can round up to the power
    // while the dissipation shown is a few nanowatts below zero.
    if (c.dissipation.value < 0) Invalidate(c.dissipation, kNegativeLoss);
    // A supply current above the switch's peak current cannot flow through it.
    if (c.idc.Usable() && c.ipeak.Usable() && d.Idc > d.Ipeak) {
        c.idc.status = Status::Warning;
        c.ipeak.status = Status::Warning;
    }
}

}  // namespace

std::optional<double> WindingQOf(const Circuit& c, PartRole role)
{
    switch (role) {
    case PartRole::Choke: return c.windingQ.choke;
    case PartRole::Lseries: return c.windingQ.lseries;
    case PartRole::NetworkL: return c.windingQ.lnetwork;
    default: return std::nullopt;
    }
}

double InductorQOf(const Circuit& c, PartRole role)
{
    switch (role) {
    case PartRole::Choke:
    case PartRole::Lseries:
    case PartRole::NetworkL: return WindingQOf(c, role).value_or(c.inductorQ);
    case PartRole::NetworkL2:
    case PartRole::TrapL: return c.inductorQ;
    default: return INFINITY;
    }
}

NetworkLayout LayoutOf(const DesignRecord& d)
{
    if (!d.LnetState) return NetworkLayout::None;
    if (d.Rload < d.Rnetwork) return NetworkLayout::SeriesLFirst;
    if (d.Rload > d.Rnetwork) return NetworkLayout::ShuntCFirst;
    return NetworkLayout::None;
}

NetworkParts LNetworkOf(const DesignRecord& d)
{
    NetworkParts n;
    n.layout = LayoutOf(d);
    n.lnetwork = d.Lnetwork;
    n.cnetwork = d.Cnetwork;
    return n;
}

Circuit BuildCircuit(const DesignRecord& d, double chokeFactor) { return BuildCircuit(d, chokeFactor, LNetworkOf(d)); }

Circuit BuildCircuit(const DesignRecord& d, double chokeFactor, const NetworkParts& network)
{
    Circuit c;
    c.frequency = d.Frequency;
    c.falltime = d.Falltime;
    c.period = PartValue(StoreSingle(1.0 / d.Frequency));
    c.network = network.layout;
    c.rload = PartValue(d.Rload);
    c.roff = std::max(kRoffFloor, StoreSingle(kRoffOverRload * d.Rload));
    if (!IsValid(c.roff)) c.roff = kRoffFloor;
    const bool networkIn = c.network != NetworkLayout::None;
    const char* const afterSeries = network.trap ? "trap" : networkIn ? "lnet" : "load";

    c.parts = {
        {PartRole::Supply, "Vbattery", PartValue(d.Supply), "supply", "0", PartShape::Source},
        {PartRole::Choke, "L1", PartValue(StoreSingle(chokeFactor * d.Lseries)), "supply", "drain", PartShape::Inductor},
        {PartRole::Switch, "S1", PartValue(Ron(d)), "drain", "0", PartShape::Switch},
        {PartRole::C1, "C1", PartValue(d.C1), "drain", "0", PartShape::Capacitor},
        {PartRole::C2, "C2", PartValue(d.C2), "drain", "series", PartShape::Capacitor},
        {PartRole::Lseries, "L2", PartValue(d.Lseries), "series", afterSeries, PartShape::Inductor},
    };
    if (network.trap) {
        const char* const beyond = networkIn ? "lnet" : "load";
        c.parts.push_back({PartRole::TrapL, "L5", PartValue(network.ltrap), "trap", beyond, PartShape::Inductor});
        c.parts.push_back({PartRole::TrapC, "C5", PartValue(network.ctrap), "trap", beyond, PartShape::Capacitor});
    }
    AddNetwork(c, d, network);
    c.parts.push_back(
        {PartRole::Load, "RLoad", PartValue(networkIn ? d.Rnetwork : d.Rload), "load", "0", PartShape::Resistor});
    DecideFigures(c, d);
    return c;
}

const Part& Circuit::Get(PartRole role) const
{
    return *std::find_if(parts.begin(), parts.end(), [role](const Part& p) { return p.role == role; });
}

Part& Circuit::Get(PartRole role)
{
    return *std::find_if(parts.begin(), parts.end(), [role](const Part& p) { return p.role == role; });
}

bool Circuit::Has(PartRole role) const
{
    return std::any_of(parts.begin(), parts.end(), [role](const Part& p) { return p.role == role; });
}

float Circuit::ValueOf(PartRole role) const { return Has(role) ? Get(role).value.value : 0.0f; }

std::vector<std::pair<const char*, Result>> Circuit::NamedResults() const
{
    std::vector<std::pair<const char*, Result>> named;
    for (ShownFigure& figure : FiguresIn(*this, kStopsExport)) named.push_back({figure.row->name, std::move(figure.result)});
    return named;
}

std::vector<std::string> QuestionedReasons(const Circuit& circuit)
{
    std::vector<std::string> reasons;
    auto note = [&](const Result& result) {
        if (result.status != Status::Warning || result.reason.empty()) return;
        if (std::find(reasons.begin(), reasons.end(), result.reason) == reasons.end()) reasons.push_back(result.reason);
    };
    for (const ShownFigure& figure : FiguresIn(circuit, kInReports)) note(figure.result);
    return reasons;
}

bool AllUsable(const Circuit& circuit)
{
    for (const auto& [name, result] : circuit.NamedResults())
        if (!result.Usable()) return false;
    return true;
}

}  // namespace voltra
