// The headless commands: read a design file as the design screen would load it,
// build its circuit, then simulate it or export it.
#include "app/command_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>

#include "engine/circuit.h"
#include "engine/design_options.h"
#include "engine/equations.h"
#include "files/design_file.h"
#include "files/file_text.h"
#include "files/spice_schematic.h"
#include "simulation/netlist.h"
#include "simulation/verification.h"
#include "units/parse.h"

namespace voltra {
namespace {

constexpr int kFailed = 1;
constexpr int kMisused = 2;
constexpr const char* kUsage =
    "Usage: voltra --simulate DESIGN.VLT [--lnet OHMS] [--json] [OPTIONS]\n"
    "       voltra --export-asc OUT.asc DESIGN.VLT [--lnet OHMS] [OPTIONS]\n"
    "Options: --exact  --coss FARADS  --series E12|E24|E96  --choke N (feed choke, times Lseries)\n";

struct Request {
    std::string command;
    std::string designPath;
    std::string outputPath;
    std::optional<float> rnetwork;
    bool json = false;
    DesignOptions options;
};

std::optional<ESeries> SeriesNamed(const std::string& name)
{
    if (name == "E12") return ESeries::E12;
    if (name == "E24") return ESeries::E24;
    if (name == "E96") return ESeries::E96;
    return std::nullopt;
}

// Whatever the design file says is reported on the error stream, as the screen would
// show it in message boxes.
class StreamSink : public MessageSink {
public:
    explicit StreamSink(std::ostream& err) : err_(err) {}
    void ShowMessage(const std::string& text, const std::string&) override
    {
        err_ << "voltra: " << text << "\n";
        ++told;
    }
    void Beep() override {}
    int told = 0;

private:
    std::ostream& err_;
};

std::optional<Request> Parse(const std::vector<std::string>& args, std::ostream& err)
{
    Request request;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--simulate" && hasValue) {
            request.command = arg;
            request.designPath = args[++i];
        } else if (arg == "--export-asc" && i + 2 < args.size()) {
            request.command = arg;
            request.outputPath = args[++i];
            request.designPath = args[++i];
        } else if (arg == "--lnet" && hasValue) {
            request.rnetwork = ParseValue(args[++i]);
        } else if (arg == "--json") {
            request.json = true;
        } else if (arg == "--exact") {
            request.options.exact = true;
        } else if (arg == "--coss" && hasValue) {
            request.options.coss = std::max(0.0f, ParseValue(args[++i]));
        } else if (arg == "--series" && hasValue && SeriesNamed(args[i + 1])) {
            request.options.series = SeriesNamed(args[++i]);
        } else if (arg == "--choke" && hasValue && ParseValue(args[i + 1]) > 0) {
            request.options.chokeFactor = ParseValue(args[++i]);
        } else {
            err << "voltra: cannot use the argument \"" << arg << "\".\n" << kUsage;
            return std::nullopt;
        }
    }
    if (request.command.empty()) {
        err << kUsage;
        return std::nullopt;
    }
    return request;
}

// The design as the design screen loads it: load limits, the equations, the network.
std::optional<DesignRecord> LoadDesign(const Request& request, std::ostream& err)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(request.designPath, error) || !std::ifstream(request.designPath)) {
        err << "voltra: cannot read the design file \"" << request.designPath << "\".\n";
        return std::nullopt;
    }
    DesignRecord design;
    StartupValues(design);
    StreamSink sink(err);
    ReadDesignFile(request.designPath, design, sink);
    for (Target target : kTargets) TargetField(design, target) = ClampOnLoad(target, TargetField(design, target));
    FindAll(design);
    design.LnetState = request.rnetwork.has_value();
    LnetworkWorking working;
    FindLnetwork(design, working, request.rnetwork.value_or(ParseValue(kRnetworkFirstText)));
    return design;
}

std::string Number(double value)
{
    if (!std::isfinite(value)) return "null";
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 7).ptr;
    return std::string(text, end);
}

void PrintTable(const std::vector<FigureComparison>& rows, const SimulationFigures& figures, std::ostream& out)
{
    out << std::left << std::setw(16) << "Figure" << std::setw(16) << "Predicted" << std::setw(16) << "Simulated"
        << "Deviation\n";
    for (const FigureComparison& row : rows) {
        const std::string unit = row.unit[0] ? std::string(" ") + row.unit : "";
        std::ostringstream deviation;
        deviation.imbue(std::locale::classic());
        deviation << std::showpos << std::fixed << std::setprecision(1) << row.deviationPercent << " %";
        out << std::setw(16) << row.key << std::setw(16) << Number(row.predicted) + unit << std::setw(16)
            << Number(row.simulated) + unit << deviation.str() << (row.beyondWarning ? "  !" : "") << "\n";
    }
    out << (figures.steady ? "Steady state after " : "Not yet steady after ") << figures.periods << " periods.\n";
}

// The figures, then the part values the simulation ran with.
void PrintJson(const std::vector<FigureComparison>& rows, const Circuit& circuit, std::ostream& out)
{
    out << "{";
    for (const FigureComparison& row : rows)
        out << "\"" << row.key << "\": {\"predicted\": " << Number(row.predicted)
            << ", \"simulated\": " << Number(row.simulated) << "}, ";
    const auto value = [&circuit](PartRole role) { return Number(circuit.ValueOf(role)); };
    out << "\"parts\": {\"Rload\": " << Number(circuit.rload.value) << ", \"C1\": " << value(PartRole::C1)
        << ", \"C2\": " << value(PartRole::C2) << ", \"Lseries\": " << value(PartRole::Lseries)
        << ", \"Lchoke\": " << value(PartRole::Choke) << "}}\n";
}

int Simulate(const Request& request, const DesignRecord& design, const Circuit& circuit, std::ostream& out,
             std::ostream& err, Simulator& simulator)
{
    const SimulationOutcome outcome = simulator.Run(RequestFor(circuit), std::stop_token());
    if (!outcome.result) {
        err << "voltra: the simulation failed: " << outcome.error << "\n";
        return kFailed;
    }
    const std::vector<FigureComparison> rows = Compare(design, circuit, outcome.result->figures);
    if (request.json)
        PrintJson(rows, circuit, out);
    else
        PrintTable(rows, outcome.result->figures, out);
    return 0;
}

}  // namespace

std::optional<int> RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                                  Simulator& simulator)
{
    if (arguments.empty()) return std::nullopt;
    const std::optional<Request> request = Parse(arguments, err);
    if (!request) return kMisused;
    const std::optional<DesignRecord> design = LoadDesign(*request, err);
    if (!design) return kFailed;
    const Circuit circuit = BuildCircuit(*design, request->options);
    if (!AllUsable(circuit)) {
        for (const auto& [name, result] : circuit.NamedResults())
            if (!result.Usable()) err << "voltra: " << name << " is not valid: " << result.reason << ".\n";
        return kFailed;
    }
    if (request->command == "--simulate") return Simulate(*request, *design, circuit, out, err, simulator);
    if (!IsUsablePath(request->outputPath)) {
        err << "voltra: \"" << request->outputPath << "\" is too short a name for a schematic file.\n";
        return kMisused;
    }
    StreamSink sink(err);
    WriteSpiceSchematic(request->outputPath, circuit, sink);
    return sink.told == 0 ? 0 : kFailed;
}

}  // namespace voltra
