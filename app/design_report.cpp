// The writers of the design commands, all from one walk of the circuit model.
#include "app/design_report.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <iomanip>
#include <sstream>
#include <string>
#include <tuple>

#include "engine/figure_table.h"
#include "engine/harmonic_limit.h"
#include "engine/result_units.h"
#include "units/format.h"
#include "units/number_text.h"

namespace voltra {
namespace {

using Json = nlohmann::ordered_json;

// The decimal a single-precision value was stored from: 1.1e-06, not the
// 1.100000023841858e-06 its double widening prints as. NaN and infinities are no
// JSON number and become null.
Json Number(float value)
{
    if (!std::isfinite(value)) return nullptr;
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    double decimal = 0;
    std::from_chars(text, end, decimal);
    return decimal;
}

// A prediction the design holds in single precision, widened, is written as the
// float it is; a simulated figure as the double it is.
Json Number(double value)
{
    if (std::isfinite(value) && static_cast<double>(static_cast<float>(value)) == value)
        return Number(static_cast<float>(value));
    if (!std::isfinite(value)) return nullptr;
    return value;
}

const char* StatusName(Status status)
{
    switch (status) {
    case Status::Valid: return "valid";
    case Status::Warning: return "warning";
    case Status::Invalid: return "invalid";
    case Status::NotComputed: break;
    }
    return "not computed";
}

const char* RoleName(PartRole role)
{
    switch (role) {
    case PartRole::Supply: return "supply";
    case PartRole::Choke: return "choke";
    case PartRole::Switch: return "switch";
    case PartRole::C1: return "C1";
    case PartRole::C2: return "C2";
    case PartRole::Lseries: return "Lseries";
    case PartRole::NetworkL: return "Lnetwork";
    case PartRole::NetworkC: return "Cnetwork";
    case PartRole::LoadInductor: return "Lload";
    case PartRole::LoadCapacitor: return "Cload";
    case PartRole::NetworkL2: return "Lnetwork2";
    case PartRole::NetworkC2: return "Cnetwork2";
    case PartRole::TrapL: return "Ltrap";
    case PartRole::TrapC: return "Ctrap";
    case PartRole::Load: break;
    }
    return "load";
}

const char* TargetKey(Target target)
{
    switch (target) {
    case Target::Frequency: return "Frequency";
    case Target::Power: return "Power";
    case Target::Supply: return "Supply";
    case Target::Saturation: return "Saturation";
    case Target::NetworkQ: return "NetworkQ";
    case Target::Falltime: break;
    }
    return "Falltime";
}

const char* TargetUnit(Target target)
{
    switch (target) {
    case Target::Frequency: return "Hz";
    case Target::Power: return "W";
    case Target::Supply:
    case Target::Saturation: return "V";
    case Target::NetworkQ: return "";
    case Target::Falltime: break;
    }
    return "s";
}

Json ResultJson(const Result& result, std::string_view unit)
{
    return {{"value", Number(result.value)},
            {"unit", unit},
            {"status", StatusName(result.status)},
            {"reason", result.reason}};
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// The shortest text that reads back as the same value; empty for no number.
template <typename Floating>
std::string CsvNumber(Floating value)
{
    if (!std::isfinite(value)) return "";
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void CsvRow(std::ostream& out, const std::string& kind, const std::string& name, const std::string& value,
            const std::string& unit, const std::string& status, const std::string& reason)
{
    out << kind << ',' << CsvField(name) << ',' << value << ',' << CsvField(unit) << ',' << status << ','
        << CsvField(reason) << "\r\n";
}

// With its prefix and unit, as an engineer reads it: "1.234567 nF"; a ratio in %.
std::string Readable(float value, const std::string& unit)
{
    if (!std::isfinite(value)) return "not a number";
    if (unit.empty()) return FormatPercent(value);
    // A temperature takes no prefix: 1250 °C, never 1.25 k°C.
    if (unit == "%" || unit == "°C") return SignificantText(value) + " " + unit;
    const std::string number = FormatPrefixed(value);
    return (number.empty() ? std::string("0 ") : number) + unit;
}

// Seven significant digits, as the simulation table has always shown them.
std::string Significant(double value)
{
    if (!std::isfinite(value)) return "null";
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 7).ptr;
    return std::string(text, end);
}

// One line of left-aligned columns of the widths given, without trailing blanks.
void Columns(std::ostream& out, std::initializer_list<std::pair<std::string, std::size_t>> cells)
{
    std::string line;
    for (const auto& [text, width] : cells)
        line += text + std::string(width > text.size() ? width - text.size() : 1, ' ');
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << "\n";
}

std::string Standing(const Result& result)
{
    if (result.status == Status::Valid) return "";
    return std::string(StatusName(result.status)) + (result.reason.empty() ? "" : ": " + result.reason);
}

// [{"n": 2, "dBc": -31.5}, ...]
Json HarmonicsJson(const std::vector<Harmonic>& harmonics)
{
    Json all = Json::array();
    for (const Harmonic& h : harmonics) all.push_back({{"n", h.n}, {"dBc", Number(h.dBc)}});
    return all;
}

}  // namespace

Json ReportJson(const CommandDesign& made, const Circuit& circuit, const SimulationReport* simulation)
{
    Json report = {{"program", "Voltra"}, {"version", VOLTRA_VERSION}};
    Json targets = Json::object();
    for (Target target : kTargets)
        targets[TargetKey(target)] = {{"value", Number(TargetField(made.design, target))},
                                      {"unit", TargetUnit(target)}};
    report["targets"] = targets;
    report["options"] = {{"lnetwork", made.rnetwork.has_value()},
                         {"Rnetwork", made.rnetwork ? Number(*made.rnetwork) : Json(nullptr)},
                         {"exact", made.options.exact},
                         {"coss", Number(made.options.coss)},
                         {"series", made.options.series ? Json(SeriesName(*made.options.series)) : Json(nullptr)},
                         {"chokeFactor", Number(made.options.chokeFactor)},
                         {"duty", Number(made.options.duty)},
                         {"inductorQ", Number(made.options.inductorQ)},
                         {"capacitorQ", Number(made.options.capacitorQ)}};
    // The matching network beyond the L-section, and the trap, only where chosen: the
    // default report stays as it was.
    if (made.options.network != NetworkKind::L) {
        report["options"]["network"] = NamesOf(made.options.network).option;
        report["options"]["networkQ"] = Number(made.options.matchingQ);
    }
    if (made.options.trap) report["options"]["notch"] = true;
    // The wound inductors whose estimated Q stands in the budget in place of inductorQ.
    if (circuit.windingQ.Any()) {
        Json wound = Json::object();
        for (const Part& part : circuit.parts)
            if (const std::optional<double> q = WindingQOf(circuit, part.role)) wound[part.name] = Number(*q);
        report["options"]["windingQ"] = wound;
    }
    // The chosen transistor and the conditions its ratings and temperature are
    // checked under; its capacitance is the circuit's Coss.
    if (made.options.device)
        report["options"]["device"] = {{"name", made.options.device->name},
                                       {"datasheet", made.options.device->datasheet},
                                       {"coss", Number(circuit.coss)},
                                       {"derating", Number(made.options.derating)},
                                       {"thetaCaseSink", Number(made.options.heatSink.thetaCaseSink)},
                                       {"thetaSinkAmbient", Number(made.options.heatSink.thetaSinkAmbient)},
                                       {"ambient", Number(made.options.heatSink.ambientCelsius)}};
    report["analysed"] = circuit.analysed;
    report["valid"] = AllUsable(circuit);

    Json parts = Json::object();
    for (const Part& part : circuit.parts) {
        Json one = ResultJson(part.value, UnitOf(part.role));
        one["role"] = RoleName(part.role);
        one["from"] = part.from;
        one["to"] = part.to;
        parts[part.name] = one;
    }
    report["parts"] = parts;
    Json figures = Json::object();
    for (const ShownFigure& figure : FiguresIn(circuit, kInReports))
        figures[figure.row->name] = ResultJson(figure.result, figure.row->unit);
    report["figures"] = figures;
    // What an analysis of the circuit's own waveform adds: where the power goes, and
    // what each part must stand.
    if (!circuit.losses.empty()) {
        Json losses = Json::array();
        for (const Loss& loss : circuit.losses) {
            Json one = ResultJson(loss.watts, "W");
            one["part"] = loss.part;
            one["cause"] = loss.cause;
            // The gate drive is drawn from the driver's supply, outside Pin - Pout.
            if (!loss.fromSupply) one["fromDrainSupply"] = false;
            losses.push_back(one);
        }
        report["losses"] = losses;
    }
    if (!circuit.stresses.empty()) {
        Json stresses = Json::object();
        for (const PartStress& stress : circuit.stresses)
            stresses[stress.part] = {{"peakVoltage", ResultJson(stress.peakVoltage, "V")},
                                     {"rmsCurrent", ResultJson(stress.rmsCurrent, "A")},
                                     {"reactivePower", ResultJson(stress.reactivePower, "var")}};
        report["stresses"] = stresses;
        report["dischargeImpulse"] = {{"peakCurrent", ResultJson(circuit.dischargePeakCurrent, "A")},
                                      {"energy", ResultJson(circuit.dischargeEnergy, "J")}};
    }
    // The spectrum at the load, from the same waveform.
    if (!circuit.harmonics.empty()) report["harmonics"] = HarmonicsJson(circuit.harmonics);

    if (!simulation) return report;
    const SimulationOutcome& outcome = simulation->outcome;
    Json simulated = {{"completed", outcome.result.has_value()}, {"error", outcome.error}};
    if (outcome.result) {
        const SimulationFigures& s = outcome.result->figures;
        simulated["steady"] = s.steady;
        simulated["periods"] = s.periods;
        simulated["turnOnSlope"] = Number(s.turnOnSlope);
        simulated["lastChange"] = Number(s.lastChange);
        simulated["dischargePeak"] = Number(s.dischargePeak);
        simulated["dischargeEnergy"] = Number(s.dischargeEnergy);
        Json compared = Json::object();
        for (const FigureComparison& row : simulation->rows)
            compared[row.key] = {{"predicted", Number(row.predicted)},
                                 {"simulated", Number(row.simulated)},
                                 {"unit", row.unit},
                                 {"deviationPercent", Number(row.deviationPercent)},
                                 {"beyondWarning", row.beyondWarning}};
        simulated["figures"] = compared;
        simulated["harmonics"] = HarmonicsJson(HarmonicsBelowFundamental(s.loadHarmonics));
    }
    report["simulation"] = simulated;
    return report;
}

namespace {

const char* CurrentSourceName(CurrentSource source)
{
    switch (source) {
    case CurrentSource::Analysis: return "analysis";
    case CurrentSource::ClosedForm: return "closed form";
    case CurrentSource::None: break;
    }
    return "not computed";
}

}  // namespace

Json WindingsJson(const std::vector<InductorWinding>& windings)
{
    Json all = Json::array();
    for (const InductorWinding& w : windings) {
        const auto computed = [&](double value) { return w.computed ? Number(value) : Json(nullptr); };
        Json warnings = Json::array();
        for (const std::string& warning : w.warnings) warnings.push_back(warning);
        all.push_back({{"part", w.part},
                       {"role", RoleName(w.role)},
                       {"inductance", Number(w.inductance)},
                       {"winding", w.core.empty() ? "air core" : "toroid"},
                       {"core", w.core.empty() ? Json(nullptr) : Json(w.core)},
                       {"rmsCurrent", Number(w.rmsCurrent)},
                       {"currentFrom", CurrentSourceName(w.currentSource)},
                       {"computed", w.computed},
                       {"turns", computed(w.turns)},
                       {"diameter", computed(w.diameter)},
                       {"length", computed(w.length)},
                       {"awg", w.computed ? Json(w.gauge) : Json(nullptr)},
                       {"q", computed(w.q)},
                       {"selfResonance", Number(w.selfResonance)},
                       {"fluxDensity", Number(w.fluxDensity)},
                       {"warnings", warnings}});
    }
    return all;
}

void WriteWindingsText(std::ostream& out, const std::vector<InductorWinding>& windings)
{
    out << "\n";
    Columns(out, {{"Winding", 10}, {"On", 14}, {"Turns", 8}, {"Diameter", 12}, {"Length", 12}, {"Wire", 8},
                  {"Q", 8}, {"SRF / B", 0}});
    for (const InductorWinding& w : windings) {
        const std::string on = w.core.empty() ? "air core" : w.core;
        if (w.computed) {
            char turns[16], q[16];
            std::snprintf(turns, sizeof turns, "%.1f", w.turns);
            std::snprintf(q, sizeof q, "%.0f", w.q);
            Columns(out, {{w.part, 10},
                          {on, 14},
                          {turns, 8},
                          {Readable(static_cast<float>(w.diameter), "m"), 12},
                          {Readable(static_cast<float>(w.length), "m"), 12},
                          {"AWG " + std::to_string(w.gauge), 8},
                          {q, 8},
                          {w.core.empty() ? Readable(static_cast<float>(w.selfResonance), "Hz")
                                          : Readable(static_cast<float>(w.fluxDensity), "T"),
                           0}});
        } else {
            Columns(out, {{w.part, 10}, {on, 14}, {"-", 0}});
        }
        for (const std::string& warning : w.warnings) out << "  " << w.part << ": " << warning << "\n";
    }
}

void WriteReportCsv(std::ostream& out, const CommandDesign& made, const Circuit& circuit,
                    const SimulationReport* simulation)
{
    CsvRow(out, "kind", "name", "value", "unit", "status", "reason");
    for (Target target : kTargets)
        CsvRow(out, "target", TargetKey(target), CsvNumber(TargetField(made.design, target)), TargetUnit(target),
               "valid", "");
    for (const Part& part : circuit.parts)
        CsvRow(out, "part", part.name, CsvNumber(part.value.value), std::string(UnitOf(part.role)),
               StatusName(part.value.status), part.value.reason);
    for (const ShownFigure& figure : FiguresIn(circuit, kInReports))
        CsvRow(out, "figure", figure.row->name, CsvNumber(figure.result.value), figure.row->unit,
               StatusName(figure.result.status), figure.result.reason);
    for (const Loss& loss : circuit.losses)
        CsvRow(out, "loss", std::string(loss.part) + " " + loss.cause, CsvNumber(loss.watts.value), "W",
               StatusName(loss.watts.status), loss.watts.reason);
    for (const PartStress& stress : circuit.stresses)
        for (const auto& [what, result, unit] : {std::tuple{"peak voltage", &stress.peakVoltage, "V"},
                                                 std::tuple{"RMS current", &stress.rmsCurrent, "A"},
                                                 std::tuple{"reactive power", &stress.reactivePower, "var"}})
            CsvRow(out, "stress", std::string(stress.part) + " " + what, CsvNumber(result->value), unit,
                   StatusName(result->status), result->reason);
    if (!simulation) return;
    const SimulationOutcome& outcome = simulation->outcome;
    if (!outcome.result) {
        CsvRow(out, "simulation", "completed", "0", "", "invalid", outcome.error);
        return;
    }
    const SimulationFigures& s = outcome.result->figures;
    CsvRow(out, "simulation", "completed", "1", "", "valid", "");
    CsvRow(out, "simulation", "steady", s.steady ? "1" : "0", "", s.steady ? "valid" : "warning",
           s.steady ? "" : "not yet in steady state when the simulation stopped");
    CsvRow(out, "simulation", "periods", std::to_string(s.periods), "", "valid", "");
    CsvRow(out, "simulation", "turnOnSlope", CsvNumber(s.turnOnSlope), "", "valid", "");
    for (const FigureComparison& row : simulation->rows) {
        CsvRow(out, "predicted", row.key, CsvNumber(row.predicted), row.unit, "valid", "");
        std::ostringstream deviation;
        deviation.imbue(std::locale::classic());
        deviation << std::showpos << std::fixed << std::setprecision(1) << row.deviationPercent;
        CsvRow(out, "simulated", row.key, CsvNumber(row.simulated), row.unit, row.beyondWarning ? "warning" : "valid",
               row.beyondWarning ? deviation.str() + " % from the prediction" : "");
    }
}

void WriteDesignText(std::ostream& out, const CommandDesign& made, const Circuit& circuit)
{
    out << "Voltra " << VOLTRA_VERSION << " design";
    for (Target target : kTargets) {
        const std::string unit = TargetUnit(target);
        const float value = TargetField(made.design, target);
        out << (target == Target::Frequency ? ": " : ", ") << TargetKey(target) << " "
            << (unit.empty() ? SignificantText(value) : Readable(value, unit));
    }
    out << "\n";
    if (made.rnetwork) out << "L-network to " << Readable(*made.rnetwork, "ohm") << "\n";
    if (made.limitDbc)
        out << "Network chosen for harmonics " << SignificantText(-*made.limitDbc) << " dBc or below\n";
    if (circuit.exact) out << "Solved exactly\n";
    if (circuit.series) out << "Parts rounded to " << SeriesName(*circuit.series) << "\n";
    out << "\n";
    Columns(out, {{"Part", 10}, {"Value", 20}, {"Nodes", 18}, {"Status", 0}});
    for (const Part& part : circuit.parts)
        Columns(out, {{part.name, 10},
                      {Readable(part.value.value, std::string(UnitOf(part.role))), 20},
                      {std::string(part.from) + " - " + part.to, 18},
                      {Standing(part.value), 0}});
    out << "\n";
    Columns(out, {{"Figure", 16}, {"Value", 20}, {"Status", 0}});
    for (const ShownFigure& figure : FiguresIn(circuit, kInReports))
        Columns(out, {{figure.row->name, 16},
                      {Readable(figure.result.value, figure.row->unit), 20},
                      {Standing(figure.result), 0}});
    // The spectrum at the load where the network was chosen or asked for.
    if (made.limitDbc || made.options.network != NetworkKind::L || made.options.trap)
        if (const std::string worst = WorstHarmonicText(LoadHarmonicsOf(circuit)); !worst.empty()) out << worst << "\n";
    if (!circuit.losses.empty()) {
        out << "\n";
        Columns(out, {{"Loss", 34}, {"Power", 20}, {"Status", 0}});
        for (const Loss& loss : circuit.losses)
            Columns(out, {{std::string(loss.part) + " " + loss.cause, 34},
                          {Readable(loss.watts.value, "W"), 20},
                          {Standing(loss.watts), 0}});
    }
    if (!circuit.stresses.empty()) {
        out << "\n";
        Columns(out, {{"Stress", 10}, {"Peak voltage", 20}, {"RMS current", 20}, {"Reactive power", 0}});
        for (const PartStress& stress : circuit.stresses)
            Columns(out, {{stress.part, 10},
                          {Readable(stress.peakVoltage.value, "V"), 20},
                          {Readable(stress.rmsCurrent.value, "A"), 20},
                          {Readable(stress.reactivePower.value, "var"), 0}});
    }
}

void WriteSimulationText(std::ostream& out, const SimulationReport& simulation)
{
    const SimulationFigures& figures = simulation.outcome.result->figures;
    out << std::left << std::setw(16) << "Figure" << std::setw(16) << "Predicted" << std::setw(16) << "Simulated"
        << "Deviation\n";
    for (const FigureComparison& row : simulation.rows) {
        const std::string unit = row.unit[0] ? std::string(" ") + row.unit : "";
        std::ostringstream deviation;
        deviation.imbue(std::locale::classic());
        deviation << std::showpos << std::fixed << std::setprecision(1) << row.deviationPercent << " %";
        out << std::setw(16) << row.key << std::setw(16) << Significant(row.predicted) + unit << std::setw(16)
            << Significant(row.simulated) + unit << deviation.str() << (row.beyondWarning ? "  !" : "") << "\n";
    }
    out << (figures.steady ? "Steady state after " : "Not yet steady after ") << figures.periods << " periods.\n";
}

}  // namespace voltra
