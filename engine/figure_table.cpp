// The one table of the circuit's figures.
#include "engine/figure_table.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "engine/result_units.h"
#include "units/format.h"

namespace voltra {
namespace {

using C = const Circuit&;

Result PartOrNone(C c, PartRole role) { return c.Has(role) ? c.Get(role).value : NotComputed(); }

// The drain voltage at turn-on is held in % of the supply; the label writes it as a
// percentage the way the efficiency is written.
std::string PercentFigure(double percent) { return FormatPercent(percent * 0.01); }

// Whole degrees print no decimal separator, whatever the C locale's.
std::string WholeDegrees(double celsius)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", celsius);
    return text;
}

// The figures an analysis of the circuit's own waveform gives.
Result Analysed(C c, const Result& figure) { return c.analysed ? figure : NotComputed(); }

constexpr unsigned kPart = kInReports | kOnScreen | kOnSheet | kStopsExport;

constexpr std::array<FigureRow, 25> kFigureRows = {{
    {FigureKey::C1, "C1", "Shunt capacitor at the drain", "F", FormatCapacitance, "", kPart,
     [](C c) { return c.Get(PartRole::C1).value; }},
    {FigureKey::C2, "C2", "Series capacitor", "F", FormatCapacitance, "", kPart,
     [](C c) { return c.Get(PartRole::C2).value; }},
    {FigureKey::Lseries, "Lseries", "Series inductor", "H", FormatInductance, "", kPart,
     [](C c) { return c.Get(PartRole::Lseries).value; }},
    {FigureKey::Lnetwork, "Lnetwork", "Network inductor", "H", FormatInductance, "", kPart,
     [](C c) { return c.network == NetworkLayout::None ? NotComputed() : PartOrNone(c, PartRole::NetworkL); }},
    {FigureKey::Cnetwork, "Cnetwork", "Network capacitor", "F", FormatCapacitance, "", kPart,
     [](C c) { return c.network == NetworkLayout::None ? NotComputed() : PartOrNone(c, PartRole::NetworkC); }},
    {FigureKey::Lnetwork2, "Lnetwork2", "Second network inductor", "H", FormatInductance, "", kPart,
     [](C c) { return c.network == NetworkLayout::None ? NotComputed() : PartOrNone(c, PartRole::NetworkL2); }},
    {FigureKey::Cnetwork2, "Cnetwork2", "Second network capacitor", "F", FormatCapacitance, "", kPart,
     [](C c) { return c.network == NetworkLayout::None ? NotComputed() : PartOrNone(c, PartRole::NetworkC2); }},
    // Lseries and the L-section's inductor, one inductance where they stand in series.
    {FigureKey::Ltotal, "Ltotal", "Series inductance with the network's", "H", FormatInductance, "", kPart,
     [](C c) { return IsLNetwork(c.network) ? c.ltotal : NotComputed(); }},
    {FigureKey::Ltrap, "Ltrap", "Trap inductor", "H", FormatInductance, "", kPart,
     [](C c) { return PartOrNone(c, PartRole::TrapL); }},
    {FigureKey::Ctrap, "Ctrap", "Trap capacitor", "F", FormatCapacitance, "", kPart,
     [](C c) { return PartOrNone(c, PartRole::TrapC); }},
    {FigureKey::Rload, "Rload", "Class E load", "ohm", FormatResistance, "ohms", kInReports | kOnSheet | kStopsExport,
     [](C c) { return c.rload; }},
    {FigureKey::Idc, "Idc", "Supply current", "A", FormatPrefixed, "A",
     kInReports | kOnScreen | kOnSheet | kInVerification | kStopsExport, [](C c) { return c.idc; }},
    {FigureKey::Rdc, "Rdc", "DC resistance the supply sees", "ohm", FormatPrefixed, "ohms",
     kInReports | kOnScreen | kOnSheet | kStopsExport, [](C c) { return c.rdc; }},
    {FigureKey::Vpeak, "Vpeak", "Peak drain voltage", "V", FormatPrefixed, "V",
     kInReports | kOnScreen | kOnSheet | kInVerification | kStopsExport, [](C c) { return c.vpeak; }},
    {FigureKey::Ipeak, "Ipeak", "Peak switch current", "A", FormatPrefixed, "A",
     kInReports | kOnScreen | kOnSheet | kInVerification | kStopsExport, [](C c) { return c.ipeak; }},
    {FigureKey::Ron, "Ron", "Switch on-resistance", "ohm", FormatResistance, "", kInReports | kOnSheet | kStopsExport,
     [](C c) { return c.Get(PartRole::Switch).value; }},
    {FigureKey::Efficiency, "Efficiency", "Efficiency", "", FormatPercent, "",
     kInReports | kOnScreen | kOnSheet | kInVerification | kStopsExport, [](C c) { return c.efficiency; }},
    {FigureKey::Dissipation, "Dissipation", "Supply power less output power", "W", FormatPrefixed, "W",
     kInReports | kOnScreen | kOnSheet | kStopsExport, [](C c) { return c.dissipation; }},
    {FigureKey::Choke, "Choke", "Feed choke", "H", FormatInductance, "", kInReports | kStopsExport,
     [](C c) { return c.Get(PartRole::Choke).value; }},
    {FigureKey::Period, "Period", "Period of the drive", "s", FormatSmall, "s", kInReports | kStopsExport,
     [](C c) { return c.period; }},
    {FigureKey::Tj, "Tj", "Junction temperature", "°C", WholeDegrees, " °C",
     kInReports | kOnScreen | kOnSheet | kStopsExport, [](C c) { return c.tj ? *c.tj : NotComputed(); }},
    {FigureKey::Pout, "Pout", "Output power", "W", FormatPrefixed, "W",
     kInReports | kOnScreen | kOnSheet | kInVerification, [](C c) { return Analysed(c, c.pout); }},
    {FigureKey::VturnOnPercent, "VturnOnPercent", "Drain voltage at turn-on (% of supply)", "%", PercentFigure, "",
     kInReports | kOnScreen | kOnSheet | kInVerification, [](C c) { return Analysed(c, c.turnOnPercent); }},
    {FigureKey::Pin, "Pin", "Input power from the supply", "W", FormatPrefixed, "W", kInVerification,
     [](C c) {
         const Result& idc = c.idc;
         return Result{c.ValueOf(PartRole::Supply) * idc.value, idc.status, idc.reason};
     }},
    {FigureKey::Vsupply, "Vsupply", "Supply voltage", "V", FormatPrefixed, "V", kOnScreen | kOnSheet,
     [](C c) { return c.Get(PartRole::Supply).value; }},
}};

}  // namespace

std::span<const FigureRow> Figures() { return kFigureRows; }

const FigureRow& FigureOf(FigureKey key)
{
    return *std::find_if(kFigureRows.begin(), kFigureRows.end(), [key](const FigureRow& r) { return r.key == key; });
}

std::vector<ShownFigure> FiguresIn(const Circuit& circuit, unsigned medium)
{
    std::vector<ShownFigure> shown;
    for (const FigureRow& row : kFigureRows) {
        if (!(row.shown & medium)) continue;
        Result result = row.of(circuit);
        if (result.Computed()) shown.push_back({&row, std::move(result)});
    }
    return shown;
}

std::string LabelText(const FigureRow& row, const Result& result)
{
    return result.Usable() ? row.format(result.value) + row.labelUnit : std::string(kInvalidMark);
}

std::string LabelText(const Circuit& circuit, FigureKey key)
{
    const FigureRow& row = FigureOf(key);
    return LabelText(row, row.of(circuit));
}

std::string PartValueText(const Part& part)
{
    const std::string_view unit = UnitOf(part.role);
    if (unit == "H") return FormatInductance(part.value.value);
    if (unit == "F") return FormatCapacitance(part.value.value);
    return FormatResistance(part.value.value);
}

}  // namespace voltra
