// Numbers in SI units in JSON and CSV (efficiency a fraction, turn-on voltage % of the
// supply), null where there is none; the tables round for reading.
#include "app/robustness_report.h"

#include <charconv>
#include <cmath>
#include <iomanip>
#include <sstream>

#include "units/format.h"

namespace voltra {
namespace {

using Json = nlohmann::ordered_json;

// A value read as single precision (a swept value, a part) is written as the
// decimal it was stored from, 1e-09 rather than its widening 9.9999997e-10; any
// other as the double it is.
double Decimal(double value)
{
    const float single = static_cast<float>(value);
    if (static_cast<double>(single) != value) return value;
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, single).ptr;
    double decimal = value;
    std::from_chars(text, end, decimal);
    return decimal;
}

Json Number(double value)
{
    if (!std::isfinite(value)) return nullptr;
    return Decimal(value);
}

// Shortest round-trip text, the CSV's field.
std::string Field(double value)
{
    if (!std::isfinite(value)) return "";
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, Decimal(value)).ptr);
}

std::string Readable(double value, int digits = 4)
{
    std::ostringstream text;
    text << std::setprecision(digits) << value;
    return text.str();
}

struct HistogramOf {
    const char* name;
    const char* unit;
    const Histogram& histogram;
};

std::vector<HistogramOf> Histograms(const ToleranceResult& r)
{
    return {{"Pout", "W", r.pout},
            {"Efficiency", "", r.efficiency},
            {"turnOnPercent", "%", r.turnOnVoltage},
            {"Vpeak", "V", r.vpeak}};
}

Json NominalJson(const StageFigures& f)
{
    if (!f.valid) return {{"valid", false}, {"reason", f.reason}};
    return {{"valid", true},
            {"Pout", Number(f.pout)},
            {"Efficiency", Number(f.efficiency)},
            {"turnOnPercent", Number(f.turnOnVoltage)},
            {"Vpeak", Number(f.vpeak)},
            {"Ipeak", Number(f.ipeak)}};
}

}  // namespace

nlohmann::ordered_json ToleranceJson(const ToleranceSettings& s, double targetPower, const ToleranceResult& r)
{
    Json histograms = Json::object();
    for (const HistogramOf& h : Histograms(r))
        histograms[h.name] = {{"unit", h.unit},
                              {"low", Number(h.histogram.low)},
                              {"high", Number(h.histogram.high)},
                              {"counts", h.histogram.counts}};
    return {{"samples", s.samples},
            {"seed", s.seed},
            {"tolerances",
             {{"capacitor", s.tolerances.capacitor}, {"inductor", s.tolerances.inductor},
              {"resistor", s.tolerances.resistor}}},
            {"criteria",
             {{"Pout", targetPower},
              {"powerBand", s.criteria.powerBand},
              {"turnOnPercent", s.criteria.turnOnLimit},
              {"efficiencyFloor", s.criteria.efficiencyFloor},
              {"Vpeak", s.criteria.vpeakLimit ? Json(*s.criteria.vpeakLimit) : Json(nullptr)}}},
            {"nominal", NominalJson(r.nominal)},
            {"yield", r.yield},
            {"working", r.working},
            {"invalid", r.invalid},
            {"histograms", histograms}};
}

void WriteToleranceCsv(std::ostream& out, const ToleranceSettings& s, double targetPower, const ToleranceResult& r)
{
    out << "kind,name,value,unit,low,high\n";
    const auto row = [&out](const char* kind, const std::string& name, const std::string& value, const char* unit) {
        out << kind << "," << name << "," << value << "," << unit << ",,\n";
    };
    row("setting", "samples", std::to_string(s.samples), "");
    row("setting", "seed", std::to_string(s.seed), "");
    row("setting", "capacitorTolerance", Field(s.tolerances.capacitor), "");
    row("setting", "inductorTolerance", Field(s.tolerances.inductor), "");
    row("setting", "resistorTolerance", Field(s.tolerances.resistor), "");
    row("criterion", "Pout", Field(targetPower), "W");
    row("criterion", "powerBand", Field(s.criteria.powerBand), "");
    row("criterion", "turnOnPercent", Field(s.criteria.turnOnLimit), "%");
    row("criterion", "efficiencyFloor", Field(s.criteria.efficiencyFloor), "");
    if (s.criteria.vpeakLimit) row("criterion", "Vpeak", Field(*s.criteria.vpeakLimit), "V");
    row("result", "yield", Field(r.yield), "");
    row("result", "working", std::to_string(r.working), "");
    row("result", "invalid", std::to_string(r.invalid), "");
    for (const HistogramOf& h : Histograms(r)) {
        const std::size_t bins = h.histogram.counts.size();
        for (std::size_t i = 0; i < bins; ++i) {
            const double width = (h.histogram.high - h.histogram.low) / static_cast<double>(bins);
            out << "bin," << h.name << "," << h.histogram.counts[i] << "," << h.unit << ","
                << Field(h.histogram.low + width * static_cast<double>(i)) << ","
                << Field(i + 1 == bins ? h.histogram.high : h.histogram.low + width * static_cast<double>(i + 1))
                << "\n";
        }
    }
}

void WriteToleranceText(std::ostream& out, const ToleranceSettings& s, double targetPower, const ToleranceResult& r)
{
    out << s.samples << " builds (seed " << s.seed << "), capacitors ±" << Readable(100 * s.tolerances.capacitor)
        << " %, inductors ±" << Readable(100 * s.tolerances.inductor) << " %, load ±"
        << Readable(100 * s.tolerances.resistor) << " %, each uniform within its tolerance\n";
    out << "A build works with Pout within ±" << Readable(100 * s.criteria.powerBand) << " % of "
        << Readable(targetPower) << " W, the drain voltage at turn-on within " << Readable(s.criteria.turnOnLimit)
        << " % of the supply, efficiency at least " << Readable(100 * s.criteria.efficiencyFloor) << " %";
    if (s.criteria.vpeakLimit) out << ", Vpeak at most " << Readable(*s.criteria.vpeakLimit) << " V";
    out << "\n\nYield: " << Readable(100 * r.yield) << " % (" << r.working << " of " << s.samples << " work";
    if (r.invalid) out << ", " << r.invalid << " without a steady state";
    out << ")\n";
    for (const HistogramOf& h : Histograms(r)) {
        const double scale = h.unit[0] == '\0' ? 100 : 1;
        out << "\n" << h.name << " (" << (scale == 100 ? "%" : h.unit) << ")";
        if (h.histogram.counts.empty()) {
            out << ": no build gave a number\n";
            continue;
        }
        out << " from " << Readable(scale * h.histogram.low) << " to " << Readable(scale * h.histogram.high) << ":";
        for (int count : h.histogram.counts) out << " " << count;
        out << "\n";
    }
}

nlohmann::ordered_json SensitivityJson(const Sensitivities& table, const std::vector<BenchAdvice>& guide)
{
    Json parts = Json::array();
    for (const PartSensitivity& s : table.parts) {
        parts.push_back({{"part", s.part},
                         {"valid", s.valid},
                         {"Pout", s.valid ? Number(s.pout) : Json(nullptr)},
                         {"Efficiency", s.valid ? Number(s.efficiency) : Json(nullptr)},
                         {"turnOnPercent", s.valid ? Number(s.turnOnVoltage) : Json(nullptr)},
                         {"Vpeak", s.valid ? Number(s.vpeak) : Json(nullptr)}});
    }
    Json advice = Json::array();
    for (const BenchAdvice& a : guide) {
        Json moves = Json::array();
        for (const PartMove& m : a.moves) moves.push_back({{"part", m.part}, {"increase", m.increase}});
        advice.push_back({{"text", a.text}, {"moves", moves}});
    }
    return {{"step", kSensitivityStep},
            {"nominal", NominalJson(table.nominal)},
            {"parts", parts},
            {"guide", advice}};
}

void WriteSensitivityCsv(std::ostream& out, const Sensitivities& table)
{
    out << "part,Pout,Efficiency,turnOnPercent,Vpeak\n";
    for (const PartSensitivity& s : table.parts) {
        out << s.part;
        for (double value : {s.pout, s.efficiency, s.turnOnVoltage, s.vpeak})
            out << "," << (s.valid ? Field(value) : "");
        out << "\n";
    }
}

void WriteSensitivityText(std::ostream& out, const Sensitivities& table, const std::vector<BenchAdvice>& guide)
{
    out << "Per +1 % of each part's value:\n\n";
    out << std::left << std::setw(8) << "Part" << std::setw(12) << "Pout %" << std::setw(16) << "Efficiency pts"
        << std::setw(16) << "Turn-on pts" << "Vpeak %\n";
    for (const PartSensitivity& s : table.parts) {
        out << std::setw(8) << s.part;
        if (!s.valid) {
            out << "no steady state beside this circuit\n";
            continue;
        }
        out << std::setw(12) << Readable(s.pout, 3) << std::setw(16) << Readable(s.efficiency, 3) << std::setw(16)
            << Readable(s.turnOnVoltage, 3) << Readable(s.vpeak, 3) << "\n";
    }
    out << std::right << "\nOn the bench:\n";
    for (const BenchAdvice& a : guide) out << "  " << a.text << "\n";
}

nlohmann::ordered_json SweepJson(const std::string& quantity, const SweepResult& sweep)
{
    Json rows = Json::array();
    for (const SweepPoint& p : sweep.points) {
        Json row = {{"value", Number(p.value)}, {"valid", p.valid}};
        if (p.valid) {
            row["Pout"] = Number(p.pout);
            row["Efficiency"] = Number(p.efficiency);
            row["turnOnPercent"] = Number(p.turnOnVoltage);
            row["Vpeak"] = Number(p.vpeak);
            row["Ipeak"] = Number(p.ipeak);
        } else {
            row["reason"] = p.reason;
        }
        rows.push_back(row);
    }
    return {{"param", quantity}, {"unit", sweep.unit}, {"points", rows}};
}

void WriteSweepCsv(std::ostream& out, const std::string& quantity, const SweepResult& sweep)
{
    out << quantity << ",Pout,Efficiency,turnOnPercent,Vpeak,Ipeak,status,reason\n";
    for (const SweepPoint& p : sweep.points) {
        out << Field(p.value);
        for (double value : {p.pout, p.efficiency, p.turnOnVoltage, p.vpeak, p.ipeak})
            out << "," << (p.valid ? Field(value) : "");
        out << "," << (p.valid ? "valid" : "invalid") << ",";
        if (!p.valid) out << '"' << p.reason << '"';
        out << "\n";
    }
}

void WriteSweepText(std::ostream& out, const std::string& quantity, const SweepResult& sweep)
{
    const std::string head = quantity + (sweep.unit.empty() ? "" : " (" + sweep.unit + ")");
    out << std::left << std::setw(18) << head << std::setw(12) << "Pout (W)" << std::setw(16) << "Efficiency %"
        << std::setw(12) << "Turn-on %" << std::setw(12) << "Vpeak (V)" << "Ipeak (A)\n";
    for (const SweepPoint& p : sweep.points) {
        out << std::setw(18) << Readable(p.value, 6);
        if (!p.valid) {
            out << "no steady state: " << p.reason << "\n";
            continue;
        }
        out << std::setw(12) << Readable(p.pout) << std::setw(16) << Readable(100 * p.efficiency) << std::setw(12)
            << Readable(p.turnOnVoltage, 3) << std::setw(12) << Readable(p.vpeak) << Readable(p.ipeak) << "\n";
    }
    out << std::right;
}

namespace {

bool Beyond(const MismatchPoint& p, std::optional<double> vpeakLimit) { return vpeakLimit && p.vpeak > *vpeakLimit; }

struct WorstOf {
    const char* name;
    const std::optional<std::size_t>& index;
};

std::vector<WorstOf> Worsts(const MismatchWorst& w)
{
    return {{"highestVpeak", w.highestVpeak},
            {"highestIpeak", w.highestIpeak},
            {"lowestPout", w.lowestPout},
            {"worstTurnOn", w.worstTurnOn}};
}

}  // namespace

nlohmann::ordered_json MismatchJson(const MismatchSettings& s, const MismatchResult& r, std::optional<double> vpeakLimit)
{
    Json rows = Json::array();
    for (const MismatchPoint& p : r.points) {
        Json row = {{"VSWR", Number(p.vswr)},
                    {"phase", Number(p.phaseDegrees)},
                    {"R", Number(p.load.real())},
                    {"X", Number(p.load.imag())},
                    {"valid", p.valid}};
        if (p.valid) {
            row["Pout"] = Number(p.pout);
            row["Efficiency"] = Number(p.efficiency);
            row["Vpeak"] = Number(p.vpeak);
            row["Ipeak"] = Number(p.ipeak);
            row["turnOnPercent"] = Number(p.turnOnVoltage);
            if (vpeakLimit) row["beyondVpeak"] = Beyond(p, vpeakLimit);
        } else {
            row["reason"] = p.reason;
        }
        rows.push_back(row);
    }
    Json worst = Json::object();
    for (const WorstOf& w : Worsts(r.worst)) worst[w.name] = w.index ? Json(*w.index) : Json(nullptr);
    return {{"vswr", s.vswrs},
            {"phases", s.phases},
            {"Z0", Number(r.z0)},
            {"Vpeak", vpeakLimit ? Json(*vpeakLimit) : Json(nullptr)},
            {"nominal", NominalJson(r.nominal)},
            {"points", rows},
            {"worst", worst}};
}

void WriteMismatchCsv(std::ostream& out, const MismatchResult& r, std::optional<double> vpeakLimit)
{
    out << "VSWR,phase,R,X,Pout,Efficiency,Vpeak,Ipeak,turnOnPercent,status,reason\n";
    for (const MismatchPoint& p : r.points) {
        out << Field(p.vswr) << "," << Field(p.phaseDegrees) << "," << Field(p.load.real()) << ","
            << Field(p.load.imag());
        for (double value : {p.pout, p.efficiency, p.vpeak, p.ipeak, p.turnOnVoltage})
            out << "," << (p.valid ? Field(value) : "");
        out << "," << (!p.valid ? "invalid" : Beyond(p, vpeakLimit) ? "beyond" : "valid") << ",";
        if (!p.valid) out << '"' << p.reason << '"';
        out << "\n";
    }
}

void WriteMismatchText(std::ostream& out, const MismatchResult& r, std::optional<double> vpeakLimit)
{
    out << "Loads about Z0 = " << Readable(r.z0) << " ohm";
    if (vpeakLimit) out << "; * marks Vpeak above " << Readable(*vpeakLimit) << " V";
    out << "\n\n" << std::left << std::setw(6) << "VSWR" << std::setw(8) << "Phase" << std::setw(20) << "Load (ohm)"
        << std::setw(11) << "Pout (W)" << std::setw(14) << "Efficiency %" << std::setw(12) << "Vpeak (V)"
        << std::setw(12) << "Ipeak (A)" << "Turn-on %\n";
    const auto line = [&](const MismatchPoint& p) {
        std::ostringstream load;
        load << Readable(p.load.real()) << (p.load.imag() < 0 ? " - j" : " + j") << Readable(std::fabs(p.load.imag()));
        out << std::setw(6) << Readable(p.vswr, 3) << std::setw(8) << Readable(p.phaseDegrees, 4) << std::setw(20)
            << load.str();
        if (!p.valid) {
            out << "no steady state: " << p.reason << "\n";
            return;
        }
        out << std::setw(11) << Readable(p.pout) << std::setw(14) << Readable(100 * p.efficiency) << std::setw(12)
            << (Readable(p.vpeak) + (Beyond(p, vpeakLimit) ? " *" : "")) << std::setw(12) << Readable(p.ipeak)
            << Readable(p.turnOnVoltage, 3) << "\n";
    };
    for (const MismatchPoint& p : r.points) line(p);
    out << std::right << "\nWorst cases:\n";
    const char* const titles[] = {"highest Vpeak", "highest Ipeak", "lowest Pout", "worst turn-on"};
    std::size_t t = 0;
    for (const WorstOf& w : Worsts(r.worst)) {
        out << "  " << std::left << std::setw(15) << titles[t++];
        if (!w.index) {
            out << "no load gave a number\n";
            continue;
        }
        line(r.points[*w.index]);
    }
    out << std::right;
}

namespace {

struct NamedOutcome {
    const char* name;
    const CircuitOutcome& outcome;
};

std::vector<NamedOutcome> Outcomes(const BestParts& f)
{
    return {{"exact", f.exact}, {"rounded", f.rounded}, {"best", f.best}};
}

}  // namespace

nlohmann::ordered_json BestPartsJson(const BestParts& f)
{
    Json parts = Json::array();
    for (const PartSearch& p : f.parts) {
        Json bought = Json::array();
        for (double v : p.chosen.values) bought.push_back(Number(v));
        parts.push_back({{"part", p.name},
                         {"exact", Number(p.exact)},
                         {"rounded", Number(p.rounded)},
                         {"chosen", Number(p.chosen.total)},
                         {"bought", bought},
                         {"windowLow", Number(p.windowLow)},
                         {"windowHigh", Number(p.windowHigh)},
                         {"candidates", p.candidates.size()}});
    }
    Json circuits = Json::object();
    for (const NamedOutcome& o : Outcomes(f)) {
        circuits[o.name] = o.outcome.valid ? Json{{"valid", true},
                                                  {"turnOnPercent", Number(o.outcome.turnOnPercent)},
                                                  {"Pout", Number(o.outcome.pout)},
                                                  {"Efficiency", Number(o.outcome.efficiency)}}
                                           : Json{{"valid", false}, {"reason", o.outcome.reason}};
    }
    return {{"series", SeriesName(f.series)}, {"Pout", f.targetPower},   {"combinations", f.combinations},
            {"seconds", f.seconds},         {"improved", f.improved},  {"parts", parts},
            {"circuits", circuits}};
}

void WriteBestPartsCsv(std::ostream& out, const BestParts& f)
{
    out << "kind,name,exact,rounded,chosen,bought,turnOnPercent,Pout,Efficiency\n";
    for (const PartSearch& p : f.parts) {
        std::string bought;
        for (double v : p.chosen.values) bought += (bought.empty() ? "" : "+") + Field(v);
        out << "part," << p.name << "," << Field(p.exact) << "," << Field(p.rounded) << "," << Field(p.chosen.total)
            << "," << bought << ",,,\n";
    }
    for (const NamedOutcome& o : Outcomes(f)) {
        out << "circuit," << o.name << ",,,,";
        for (double value : {o.outcome.turnOnPercent, o.outcome.pout, o.outcome.efficiency})
            out << "," << (o.outcome.valid ? Field(value) : "");
        out << "\n";
    }
}

void WriteBestPartsText(std::ostream& out, const BestParts& f)
{
    out << "Best " << SeriesName(f.series) << " parts: " << f.combinations << " circuits analysed in "
        << Readable(1000 * f.seconds, 3) << " ms\n\n";
    out << std::left << std::setw(8) << "Part" << std::setw(14) << "Exact" << std::setw(14) << "Rounded" << "Chosen\n";
    for (const PartSearch& p : f.parts) {
        const auto text = [&p](double v) {
            return p.kind == PartKind::Inductor ? FormatInductance(v) : FormatCapacitance(v);
        };
        out << std::setw(8) << p.name << std::setw(14) << text(p.exact) << std::setw(14) << text(p.rounded)
            << ChoiceText(p.chosen, p.kind) << "\n";
    }
    out << "\n" << std::setw(10) << "Circuit" << std::setw(12) << "Turn-on %" << std::setw(12) << "Pout (W)"
        << "Efficiency %\n";
    for (const NamedOutcome& o : Outcomes(f)) {
        out << std::setw(10) << o.name;
        if (!o.outcome.valid) {
            out << "no steady state: " << o.outcome.reason << "\n";
            continue;
        }
        out << std::setw(12) << Readable(o.outcome.turnOnPercent, 3) << std::setw(12) << Readable(o.outcome.pout)
            << Readable(100 * o.outcome.efficiency) << "\n";
    }
    out << std::right;
    if (!f.improved) out << "\nRounding each part alone is already the best combination.\n";
}

}  // namespace voltra
