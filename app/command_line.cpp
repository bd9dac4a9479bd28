// The headless commands on one argument parser: each design command takes the
// shared options of app/command_inputs.h, builds the circuit the screen would, and
// prints, simulates or exports it.
#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "app/command_inputs.h"
#include "app/design_report.h"
#include "app/robustness_report.h"
#include "engine/best_parts.h"
#include "engine/circuit.h"
#include "engine/circuit_sweep.h"
#include "engine/load_mismatch.h"
#include "engine/sensitivity.h"
#include "engine/tolerance_analysis.h"
#include "engine/inductor_windings.h"
#include "engine/wound_circuit.h"
#include "files/core_table.h"
#include "files/device_folders.h"
#include "files/file_text.h"
#include "files/spice_schematic.h"
#include "simulation/netlist.h"
#include "simulation/verification.h"
#include "units/whole_value.h"

namespace voltra {
namespace {

constexpr const char* kSynopsis =
    "Usage: voltra design [OPTIONS] [--json|--csv]\n"
    "       voltra simulate [OPTIONS] [--json|--csv]\n"
    "       voltra export-asc OUT.asc [OPTIONS]\n"
    "       voltra tolerance [--samples N] [--seed S] [--c-tol 5] [--l-tol 10] [--r-tol 0] [OPTIONS] [--json|--csv]\n"
    "       voltra sensitivity [OPTIONS] [--json|--csv]\n"
    "       voltra sweep --param NAME --from A --to B [--steps N] [OPTIONS] [--json|--csv]\n"
    "       voltra mismatch [--vswr 2,3] [--phases 36] [--vpeak-limit V] [OPTIONS] [--json|--csv]\n"
    "       voltra best-parts [OPTIONS] [--json|--csv]\n"
    "       voltra devices\n"
    "       voltra [DESIGN.VLT]\n"
    "       voltra help [COMMAND] | --help | --version\n";

// The synopsis and every shared option, as the table has them.
std::string Usage()
{
    std::string usage = std::string(kSynopsis) + "OPTIONS:";
    for (const InputOption& option : InputOptions())
        usage +=
            std::string(" [--") + option.name + (option.valueName ? std::string(" ") + option.valueName : "") + "]";
    return usage + "\nRun 'voltra help COMMAND' for what each option means.\n";
}

constexpr const char* kDesignCommand = "design";
constexpr const char* kSimulateCommand = "simulate";
constexpr const char* kExportCommand = "export-asc";
constexpr const char* kToleranceCommand = "tolerance";
constexpr const char* kSensitivityCommand = "sensitivity";
constexpr const char* kSweepCommand = "sweep";
constexpr const char* kMismatchCommand = "mismatch";
constexpr const char* kBestPartsCommand = "best-parts";
constexpr const char* kDevicesCommand = "devices";
constexpr const char* kHelpCommand = "help";
constexpr const char* kCommands[] = {kDesignCommand,      kSimulateCommand, kExportCommand,   kToleranceCommand,
                                     kSensitivityCommand, kSweepCommand,    kMismatchCommand, kBestPartsCommand,
                                     kDevicesCommand,     kHelpCommand};

// The forms before the commands, "--simulate DESIGN.VLT" and "--export-asc OUT
// DESIGN.VLT" anywhere among the options, as the commands they stand for. A missing
// value leaves "--file" without one, which the parser refuses.
std::vector<std::string> WithEarlierFormsAsCommands(std::vector<std::string> args)
{
    if (args.empty() || std::find(std::begin(kCommands), std::end(kCommands), args[0]) != std::end(kCommands))
        return args;
    for (const auto& [flag, command, values] : {std::tuple{"--simulate", kSimulateCommand, 1},
                                                std::tuple{"--export-asc", kExportCommand, 2}}) {
        const auto at = std::find(args.begin(), args.end(), flag);
        if (at == args.end()) continue;
        std::vector<std::string> words(at + 1, at + std::min<std::ptrdiff_t>(1 + values, args.end() - at));
        args.erase(at, at + 1 + static_cast<std::ptrdiff_t>(words.size()));
        std::vector<std::string> form = {command};
        if (values == 2 && !words.empty()) {
            form.push_back(words.front());
            words.erase(words.begin());
        }
        form.push_back("--file");
        form.insert(form.end(), words.begin(), words.end());
        args.insert(args.begin(), form.begin(), form.end());
        return args;
    }
    return args;
}

// Why a file cannot be written at `path`, in the system's words, where it can tell.
std::string WhyNotWritable(const std::filesystem::path& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return std::strerror(EISDIR);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    const auto status = std::filesystem::status(folder, error);
    if (error) return error.message();
    if (!std::filesystem::is_directory(status)) return std::strerror(ENOTDIR);
    if (::access(folder.c_str(), W_OK) != 0) return std::strerror(errno);
    return {};
}

// The writers' messages, gathered for the error stream.
class Gathering : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string&) override { said.push_back(text); }
    void Beep() override {}
    std::vector<std::string> said;
};

enum class Format { Text, Json, Csv };

struct Request {
    std::vector<GivenOption> given;
    bool json = false;
    bool csv = false;
    bool version = false;
    std::string output;
    // design and simulate: how the inductors can be wound, and on which cores
    bool windings = false;
    bool windingQ = false;
    std::vector<std::string> cores;
    // tolerance: percentages as typed
    int samples = 10000;
    std::uint64_t seed = 1;
    double capacitorTolerance = 5, inductorTolerance = 10, resistorTolerance = 0;
    double powerBand = 10, turnOnLimit = 10, efficiencyFloor = 0;
    std::optional<double> vpeakLimit;
    // sweep
    std::string quantity, from, to;
    int steps = 21;
    // mismatch
    std::vector<double> vswrs = MismatchSettings{}.vswrs;
    int phases = MismatchSettings{}.phases;
    Format format() const { return json ? Format::Json : csv ? Format::Csv : Format::Text; }
};

void AddInputs(CLI::App& command, Request& request)
{
    for (const InputOption& option : InputOptions()) {
        const std::string flag = std::string("--") + option.name;
        if (option.valueName) {
            command
                .add_option_function<std::string>(
                    flag, [&request, &option](const std::string& text) { request.given.push_back({&option, text}); },
                    option.help)
                ->type_name(option.valueName);
        } else {
            command.add_flag_callback(flag, [&request, &option] { request.given.push_back({&option, ""}); },
                                      option.help);
        }
    }
}

void AddFormats(CLI::App& command, Request& request, const char* csvHeader = "kind,name,value,unit,status,reason")
{
    CLI::Option* json = command.add_flag("--json", request.json, "write JSON: numbers in SI units");
    CLI::Option* csv = command.add_flag("--csv", request.csv, std::string("write CSV: ") + csvHeader);
    json->excludes(csv);
}

void AddWindingOptions(CLI::App& command, Request& request)
{
    command.add_flag("--windings", request.windings,
                     "also write how each inductor can be wound: turns, diameter, wire, Q, self-resonance");
    command
        .add_option("--core", request.cores,
                    "wind this inductor (L1, L2, L3) on this core of the core table instead of air; "
                    "implies --windings")
        ->delimiter(',')
        ->type_name("PART=CORE");
    command.add_flag("--winding-q", request.windingQ,
                     "take each inductor's loss from its winding's estimated Q instead of --inductor-q; "
                     "implies --windings");
}

bool WantsWindings(const Request& request) { return request.windings || request.windingQ || !request.cores.empty(); }

// The circuit with the windings the request asks for, none when it asks for none, and
// with --winding-q their Qs in its budget; false, with the reason on the error stream,
// when a --core names no inductor or no core of the tables.
bool Wind(const Request& request, const CommandDesign& made, WoundCircuit& wound, std::ostream& err)
{
    wound = {BuildCircuit(made.design, made.options), {}};
    if (!WantsWindings(request)) return true;
    WindingRequest asked;
    asked.qInBudget = request.windingQ;
    CoreTable table;
    if (!request.cores.empty()) table = AvailableCores();
    for (const std::string& given : request.cores) {
        const std::size_t equals = given.find('=');
        const std::string name = given.substr(0, equals);
        const auto part = std::find_if(wound.circuit.parts.begin(), wound.circuit.parts.end(),
                                       [&](const Part& p) { return IsInductor(p.role) && name == p.name; });
        if (equals == std::string::npos || part == wound.circuit.parts.end()) {
            err << "voltra: --core " << given << ": name an inductor of the circuit and a core, as L2=CORE.\n";
            return false;
        }
        const std::string core = given.substr(equals + 1);
        if (std::none_of(table.cores.begin(), table.cores.end(), [&](const ToroidCore& c) { return c.name == core; })) {
            if (!table.error.empty()) err << "voltra: " << table.error << "\n";
            err << "voltra: --core " << given << ": there is no core \"" << core << "\" in the core tables.\n";
            return false;
        }
        asked.choices.push_back({part->role, core});
    }
    asked.cores = std::move(table.cores);
    wound = BuildWoundCircuit(made.design, made.options, asked);
    return true;
}

void SayInvalid(const Circuit& circuit, std::ostream& err)
{
    for (const auto& [name, result] : circuit.NamedResults())
        if (!result.Usable()) err << "voltra: " << name << " is not valid: " << AsSentence(result.reason) << "\n";
}

void Write(Format format, const CommandDesign& made, const Circuit& circuit, const SimulationReport* simulation,
           const std::vector<InductorWinding>& windings, std::ostream& out)
{
    switch (format) {
    case Format::Json: {
        nlohmann::ordered_json report = ReportJson(made, circuit, simulation);
        if (!windings.empty()) report["windings"] = WindingsJson(windings);
        out << report.dump(2) << "\n";
        return;
    }
    case Format::Csv: WriteReportCsv(out, made, circuit, simulation); return;
    case Format::Text: break;
    }
    if (simulation && simulation->outcome.result)
        WriteSimulationText(out, *simulation);
    else
        WriteDesignText(out, made, circuit);
    if (!windings.empty()) WriteWindingsText(out, windings);
}

int Design(const Request& request, const CommandDesign& made, std::ostream& out, std::ostream& err)
{
    WoundCircuit wound;
    if (!Wind(request, made, wound, err)) return kCommandMisused;
    const Circuit& circuit = wound.circuit;
    const std::vector<InductorWinding>& windings = wound.windings;
    Write(request.format(), made, circuit, nullptr, windings, out);
    if (AllUsable(circuit)) return 0;
    SayInvalid(circuit, err);
    return kCommandFailed;
}

// A design that cannot be simulated, or a simulation that failed, still reports the
// predicted design, with the reason.
int Simulate(const Request& request, const CommandDesign& made, std::ostream& out, std::ostream& err,
             Simulator& simulator)
{
    WoundCircuit wound;
    if (!Wind(request, made, wound, err)) return kCommandMisused;
    const Circuit& circuit = wound.circuit;
    const std::vector<InductorWinding>& windings = wound.windings;
    if (!AllUsable(circuit)) {
        Write(request.format(), made, circuit, nullptr, windings, out);
        SayInvalid(circuit, err);
        return kCommandFailed;
    }
    const SimulationOutcome outcome = simulator.Run(RequestFor(circuit), std::stop_token());
    SimulationReport report{outcome, {}};
    if (outcome.result) report.rows = Compare(made.design, circuit, outcome.result->figures);
    Write(request.format(), made, circuit, &report, windings, out);
    if (outcome.result) return 0;
    err << "voltra: the simulation failed: " << outcome.error << "\n";
    return kCommandFailed;
}

int Export(const Request& request, const Circuit& circuit, std::ostream& err)
{
    if (!AllUsable(circuit)) {
        SayInvalid(circuit, err);
        return kCommandFailed;
    }
    if (!IsUsablePath(request.output)) {
        err << "voltra: \"" << request.output << "\" is too short a name for a schematic file.\n" << Usage();
        return kCommandMisused;
    }
    Gathering writer;
    WriteSpiceSchematic(request.output, circuit, writer);
    if (writer.said.empty()) return 0;
    const std::string why = WhyNotWritable(request.output);
    for (const std::string& message : writer.said)
        err << "voltra: " << message << " \"" << request.output << "\"" << (why.empty() ? "" : ": " + why) << ".\n";
    return kCommandFailed;
}


// The analyses of the circuit as built need a circuit that stands and a steady state
// of it; without, the reason.
bool Analysable(const Circuit& circuit, std::ostream& err)
{
    if (!AllUsable(circuit)) {
        SayInvalid(circuit, err);
        return false;
    }
    const StageFigures nominal = AnalyseStage(StageOf(circuit));
    if (nominal.valid) return true;
    err << "voltra: the circuit as built has no steady state: " << nominal.reason << ".\n";
    return false;
}

void AddToleranceOptions(CLI::App& command, Request& request)
{
    command.add_option("--samples", request.samples, "builds to analyse (default 10000)")
        ->type_name("N")
        ->check(CLI::Range(1, 10000000));
    command.add_option("--seed", request.seed, "seed of the random builds: the same seed, the same builds (default 1)")
        ->type_name("S")
        ->check(CLI::NonNegativeNumber);
    command.add_option("--c-tol", request.capacitorTolerance, "capacitor tolerance, ±%, 0 to 50 (default 5)")
        ->type_name("P")
        ->check(CLI::Range(0.0, 50.0));
    command.add_option("--l-tol", request.inductorTolerance, "inductor tolerance, ±%, 0 to 50 (default 10)")
        ->type_name("P")
        ->check(CLI::Range(0.0, 50.0));
    command.add_option("--r-tol", request.resistorTolerance, "load tolerance, ±%, 0 to 50 (default 0)")
        ->type_name("P")
        ->check(CLI::Range(0.0, 50.0));
    command.add_option("--power-band", request.powerBand, "a working build's Pout within ±% of the target (default 10)")
        ->type_name("P")
        ->check(CLI::Range(0.0, 100.0));
    command
        .add_option("--turn-on-limit", request.turnOnLimit,
                    "a working build's drain voltage at turn-on within % of the supply (default 10)")
        ->type_name("P")
        ->check(CLI::Range(0.0, 1000.0));
    command
        .add_option("--efficiency-floor", request.efficiencyFloor,
                    "a working build's efficiency at least this, % (default 0)")
        ->type_name("P")
        ->check(CLI::Range(0.0, 100.0));
    command.add_option("--vpeak-limit", request.vpeakLimit, "a working build's peak drain voltage at most this, V")
        ->type_name("V")
        ->check(CLI::PositiveNumber);
}

int Tolerance(const Request& request, const CommandDesign& made, const Circuit& circuit, std::ostream& out,
              std::ostream& err)
{
    if (!Analysable(circuit, err)) return kCommandFailed;
    ToleranceSettings settings;
    settings.samples = request.samples;
    settings.seed = request.seed;
    settings.tolerances = {request.capacitorTolerance / 100, request.inductorTolerance / 100,
                           request.resistorTolerance / 100};
    settings.criteria = {request.powerBand / 100, request.turnOnLimit, request.efficiencyFloor / 100,
                         request.vpeakLimit};
    const double target = made.design.Power;
    const ToleranceResult result = AnalyseTolerances(circuit, target, settings);
    switch (request.format()) {
    case Format::Json: out << ToleranceJson(settings, target, result).dump(2) << "\n"; break;
    case Format::Csv: WriteToleranceCsv(out, settings, target, result); break;
    case Format::Text: WriteToleranceText(out, settings, target, result); break;
    }
    return 0;
}

int Sensitivity(const Request& request, const Circuit& circuit, std::ostream& out, std::ostream& err)
{
    if (!Analysable(circuit, err)) return kCommandFailed;
    const Sensitivities table = AnalyseSensitivities(circuit);
    const std::vector<BenchAdvice> guide = BenchGuide(table);
    switch (request.format()) {
    case Format::Json: out << SensitivityJson(table, guide).dump(2) << "\n"; break;
    case Format::Csv: WriteSensitivityCsv(out, table); break;
    case Format::Text: WriteSensitivityText(out, table, guide); break;
    }
    return 0;
}

void AddSweepOptions(CLI::App& command, Request& request)
{
    command.add_option("--param", request.quantity, "what to sweep: frequency, supply, falltime or a part (C1, L2, ...)")
        ->required()
        ->type_name("NAME");
    command.add_option("--from", request.from, "the first value, SI units as the targets take them")
        ->required()
        ->type_name("A");
    command.add_option("--to", request.to, "the last value")->required()->type_name("B");
    command.add_option("--steps", request.steps, "points from A to B, 2 to 100000 (default 21)")
        ->type_name("N")
        ->check(CLI::Range(2, 100000));
}

int Sweep(const Request& request, const Circuit& circuit, std::ostream& out, std::ostream& err)
{
    if (!AllUsable(circuit)) {
        SayInvalid(circuit, err);
        return kCommandFailed;
    }
    const std::optional<std::string> unit = SweptUnit(circuit, request.quantity);
    if (!unit) {
        std::string names;
        for (const std::string& name : SweepableNames(circuit)) names += (names.empty() ? "" : ", ") + name;
        err << "voltra: --param " << request.quantity << ": this circuit sweeps " << names << ".\n" << Usage();
        return kCommandMisused;
    }
    double ends[2] = {};
    for (int i = 0; i < 2; ++i) {
        const std::string& text = i == 0 ? request.from : request.to;
        const WholeValue read = ReadWholeValue(text, *unit);
        if (!read.value || !(*read.value > 0)) {
            err << "voltra: " << (i == 0 ? "--from " : "--to ")
                << (read.value ? text + ": a swept value must be above 0" : read.problem) << ".\n"
                << Usage();
            return kCommandMisused;
        }
        ends[i] = *read.value;
    }
    const SweepResult sweep = SweepCircuit(circuit, request.quantity, ends[0], ends[1], request.steps);
    switch (request.format()) {
    case Format::Json: out << SweepJson(request.quantity, sweep).dump(2) << "\n"; break;
    case Format::Csv: WriteSweepCsv(out, request.quantity, sweep); break;
    case Format::Text: WriteSweepText(out, request.quantity, sweep); break;
    }
    return 0;
}

void AddMismatchOptions(CLI::App& command, Request& request)
{
    command
        .add_option("--vswr", request.vswrs,
                    "the VSWR circles, each above 1: repeat the option or give a comma list (default 2,3)")
        ->type_name("S")
        ->delimiter(',')
        ->check(CLI::Range(1.0, 1000.0));
    command.add_option("--phases", request.phases, "loads on each circle, evenly in phase from 0, 1 to 3600 (default 36)")
        ->type_name("N")
        ->check(CLI::Range(1, 3600));
    command.add_option("--vpeak-limit", request.vpeakLimit, "mark the loads whose peak drain voltage is above this, V")
        ->type_name("V")
        ->check(CLI::PositiveNumber);
}

int Mismatch(const Request& request, const Circuit& circuit, std::ostream& out, std::ostream& err)
{
    if (!Analysable(circuit, err)) return kCommandFailed;
    // The contour grid is the chart's; the rows are the circles'.
    const MismatchSettings settings{.vswrs = request.vswrs, .phases = request.phases, .gridSize = 0};
    const MismatchResult result = AnalyseMismatch(circuit, settings);
    if (!result.problem.empty()) {
        err << "voltra: " << result.problem << ".\n" << Usage();
        return kCommandMisused;
    }
    switch (request.format()) {
    case Format::Json: out << MismatchJson(settings, result, request.vpeakLimit).dump(2) << "\n"; break;
    case Format::Csv: WriteMismatchCsv(out, result, request.vpeakLimit); break;
    case Format::Text: WriteMismatchText(out, result, request.vpeakLimit); break;
    }
    return 0;
}

// The search needs a series; without --series it takes E24, the series capacitors and
// inductors are most often stocked in, and says so in its output.
constexpr ESeries kBestPartsDefaultSeries = ESeries::E24;

int BestPartsCommand(const Request& request, const CommandDesign& made, std::ostream& out, std::ostream& err)
{
    DesignOptions options = made.options;
    if (!options.series) options.series = kBestPartsDefaultSeries;
    const BestParts found = FindBestParts(made.design, options);
    if (!found.problem.empty()) {
        err << "voltra: " << found.problem << ".\n";
        return kCommandFailed;
    }
    switch (request.format()) {
    case Format::Json: out << BestPartsJson(found).dump(2) << "\n"; break;
    case Format::Csv: WriteBestPartsCsv(out, found); break;
    case Format::Text: WriteBestPartsText(out, found); break;
    }
    if (found.best.valid) return 0;
    err << "voltra: no combination of standard parts has a steady state: " << found.rounded.reason << ".\n";
    return kCommandFailed;
}

// The devices of the user's folder and the installed one, one name a line; a file
// that is no device is named on the error stream, and the listing then fails.
int Devices(std::ostream& out, std::ostream& err)
{
    const DeviceListing listing = ListDevices(DeviceFolders());
    out << DeviceNamesText(listing);
    for (const std::string& problem : listing.problems) err << "voltra: " << problem << "\n";
    return listing.problems.empty() ? 0 : kCommandFailed;
}

}  // namespace

std::optional<std::string> DesignFileToOpen(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 1 || arguments[0].empty() || arguments[0][0] == '-') return std::nullopt;
    if (std::find(std::begin(kCommands), std::end(kCommands), arguments[0]) != std::end(kCommands))
        return std::nullopt;
    return arguments[0];
}

std::optional<int> RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                                  Simulator& simulator)
{
    if (arguments.empty() || DesignFileToOpen(arguments)) return std::nullopt;

    Request request;
    CLI::App app("Voltra " VOLTRA_VERSION ": a design calculator for single-switch Class E RF power amplifiers.\n"
                 "Without a command it opens its windows, with DESIGN.VLT open in them when given.",
                 "voltra");
    app.add_flag("--version", request.version, "print the version and exit");
    // One command a run; a command's name after another's is a word for it.
    app.require_subcommand(0, 1);
    app.get_formatter()->label("SUBCOMMAND", "COMMAND");
    app.footer("Run 'voltra help COMMAND' for a command's targets and options. Exit status: 0 done, 1 failed "
               "(the reason on the error stream), 2 misused (with the usage).");
    CLI::App* design = app.add_subcommand(kDesignCommand, "print the design without simulating it");
    CLI::App* simulate =
        app.add_subcommand(kSimulateCommand, "verify the design in ngspice, predicted beside simulated");
    CLI::App* exportAsc = app.add_subcommand(kExportCommand, "write the design as an LTspice schematic");
    CLI::App* tolerance =
        app.add_subcommand(kToleranceCommand, "Monte Carlo of the circuit as built: the yield under part tolerances");
    CLI::App* sensitivity =
        app.add_subcommand(kSensitivityCommand, "what each part does per +1 % of its value, and the bench guide");
    CLI::App* sweep = app.add_subcommand(kSweepCommand, "one quantity of the circuit as built swept, the rest held");
    CLI::App* mismatch =
        app.add_subcommand(kMismatchCommand, "the circuit as built into every load on circles of constant VSWR");
    CLI::App* bestParts = app.add_subcommand(
        kBestPartsCommand, "the combination of standard parts nearest the targets, beside rounding each alone (E24 "
                           "unless --series)");
    CLI::App* devices = app.add_subcommand(
        kDevicesCommand, "list the transistors of your device folder and the installed one, one name a line");
    CLI::App* help = app.add_subcommand(kHelpCommand, "print the usage of a command");
    const std::vector<CLI::App*> designCommands = {design, simulate, exportAsc, tolerance, sensitivity, sweep,
                                                   mismatch, bestParts};
    for (CLI::App* command : designCommands) command->group("Commands");
    devices->group("Commands");
    help->group("Commands");
    for (CLI::App* command : designCommands) AddInputs(*command, request);
    AddFormats(*design, request);
    AddFormats(*simulate, request);
    AddWindingOptions(*design, request);
    AddWindingOptions(*simulate, request);
    AddFormats(*tolerance, request, "kind,name,value,unit,low,high");
    AddFormats(*sensitivity, request, "part,Pout,Efficiency,turnOnPercent,Vpeak");
    AddFormats(*sweep, request, "NAME,Pout,Efficiency,turnOnPercent,Vpeak,Ipeak,status,reason");
    AddFormats(*bestParts, request, "kind,name,exact,rounded,chosen,bought,turnOnPercent,Pout,Efficiency");
    AddToleranceOptions(*tolerance, request);
    AddSweepOptions(*sweep, request);
    AddFormats(*mismatch, request, "VSWR,phase,R,X,Pout,Efficiency,Vpeak,Ipeak,turnOnPercent,status,reason");
    AddMismatchOptions(*mismatch, request);
    exportAsc->add_option("OUT", request.output, "the schematic file to write")->required()->type_name("OUT.asc");
    // What follows "help" names a command to describe, not one to run.
    help->prefix_command();

    std::vector<std::string> words = WithEarlierFormsAsCommands(arguments);
    std::reverse(words.begin(), words.end());
    try {
        app.parse(words);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        err << "voltra: " << error.what() << "\n" << Usage();
        return kCommandMisused;
    }

    if (request.version) {
        out << "voltra " << VOLTRA_VERSION << "\n";
        return 0;
    }
    if (help->parsed()) {
        const std::vector<std::string> topics = help->remaining();
        if (topics.size() > 1) {
            err << "voltra: help describes one command at a time.\n" << Usage();
            return kCommandMisused;
        }
        if (topics.empty()) {
            out << app.help();
            return 0;
        }
        std::vector<CLI::App*> described = designCommands;
        described.push_back(devices);
        for (CLI::App* command : described) {
            if (command->get_name() == topics[0]) {
                out << command->help("voltra");
                return 0;
            }
        }
        err << "voltra: there is no command \"" << topics[0] << "\".\n" << Usage();
        return kCommandMisused;
    }
    if (devices->parsed()) return Devices(out, err);
    if (std::none_of(designCommands.begin(), designCommands.end(), [](CLI::App* c) { return c->parsed(); })) {
        err << "voltra: name a command.\n" << Usage();
        return kCommandMisused;
    }

    const PreparedDesign prepared = PrepareDesign(request.given);
    for (const std::string& problem : prepared.problems) err << "voltra: " << problem << "\n";
    if (prepared.fault == InputFault::Misused) {
        err << Usage();
        return kCommandMisused;
    }
    if (prepared.fault == InputFault::Failed) return kCommandFailed;

    const CommandDesign& made = prepared.design;
    const Circuit circuit = BuildCircuit(made.design, made.options);
    if (design->parsed()) return Design(request, made, out, err);
    if (simulate->parsed()) return Simulate(request, made, out, err, simulator);
    if (tolerance->parsed()) return Tolerance(request, made, circuit, out, err);
    if (sensitivity->parsed()) return Sensitivity(request, circuit, out, err);
    if (sweep->parsed()) return Sweep(request, circuit, out, err);
    if (mismatch->parsed()) return Mismatch(request, circuit, out, err);
    if (bestParts->parsed()) return BestPartsCommand(request, made, out, err);
    return Export(request, circuit, err);
}

}  // namespace voltra
