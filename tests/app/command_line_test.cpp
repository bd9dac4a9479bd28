// The headless commands through RunCommandLine: every exit status, and the design
// they print against the core's own calculation of the same design. The system's
// reasons come in the user's language, so they are compared with strerror's.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/command_line.h"
#include "engine/design_options.h"
#include "engine/program_texts.h"
#include "engine/result_units.h"
#include "files/design_file.h"
#include "tests/calculated_design.h"
#include "units/parse.h"

namespace voltra {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

// Answers at once: with fixed figures, or with the error ngspice gave.
class ScriptedSimulator : public Simulator {
public:
    SimulationOutcome Run(const SimulationRequest& request, std::stop_token) override
    {
        ++runs;
        asked = request;
        if (!error.empty()) return {std::nullopt, error, false};
        SimulationResult result;
        result.figures = {.Pout = 52.5, .Pin = 55, .Efficiency = 52.5 / 55, .Idc = 55 / 24.0, .Vpeak = 85, .Ipeak = 9,
                          .VturnOnPercent = 1.5, .turnOnSlope = -0.25, .loadHarmonics = {10, 0.1, 0.01},
                          .periods = 180, .steady = true,
                          .lastChange = 1e-4};
        return {result, "", false};
    }
    std::string error;
    int runs = 0;
    SimulationRequest asked;
};

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("voltra-command-line-" + std::to_string(::getpid()) + "-" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    int Run(const std::vector<std::string>& arguments)
    {
        out_.str("");
        err_.str("");
        return RunCommandLine(arguments, out_, err_, simulator_).value_or(-1);
    }
    Json RunJson(const std::vector<std::string>& arguments, int expected = 0)
    {
        EXPECT_EQ(Run(arguments), expected) << err_.str();
        return Json::parse(out_.str());
    }
    std::string Path(const char* name) const { return (folder_ / name).string(); }
    std::string Write(const char* name, const std::string& text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
        return Path(name);
    }
    std::string SavedDesign(float power = kDefaultPower)
    {
        DesignRecord design;
        StartupValues(design);
        design.Power = power;
        struct Quiet : MessageSink {
            void ShowMessage(const std::string&, const std::string&) override {}
            void Beep() override {}
        } quiet;
        WriteDesignFile(Path("amp.VLT"), design, quiet);
        return Path("amp.VLT");
    }
    bool Said(const std::string& text) const { return err_.str().find(text) != std::string::npos; }

    fs::path folder_;
    std::ostringstream out_, err_;
    ScriptedSimulator simulator_;
};

// The JSON's part and figure values are the circuit's floats, written as their
// shortest decimal: reading one back as float gives the same bits.
void ExpectSameCircuit(const Json& report, const Circuit& expected)
{
    ASSERT_EQ(report["parts"].size(), expected.parts.size()) << report["parts"].dump();
    for (const Part& part : expected.parts) {
        const Json& written = report["parts"][part.name];
        ASSERT_TRUE(written.is_object()) << part.name;
        EXPECT_EQ(written["value"].get<float>(), part.value.value) << part.name;
        EXPECT_EQ(written["unit"], std::string(UnitOf(part.role))) << part.name;
        EXPECT_EQ(written["from"], part.from) << part.name;
        EXPECT_EQ(written["to"], part.to) << part.name;
        EXPECT_EQ(written["status"], part.value.Usable() ? "valid" : "invalid") << part.name;
    }
    const auto named = expected.NamedResults();
    EXPECT_EQ(report["figures"].size(), named.size() + (expected.analysed ? 2 : 0));
    for (const auto& [name, result] : named) {
        const Json& written = report["figures"][name];
        ASSERT_TRUE(written.is_object()) << name;
        if (std::isfinite(result.value))
            EXPECT_EQ(written["value"].get<float>(), result.value) << name;
        else
            EXPECT_TRUE(written["value"].is_null()) << name;
        EXPECT_EQ(written["reason"], result.reason) << name;
        const char* status = result.status == Status::Valid ? "valid" : result.Usable() ? "warning" : "invalid";
        EXPECT_EQ(written["status"], status) << name;
    }
    EXPECT_EQ(report["valid"], AllUsable(expected));
}

TEST_F(CommandLine, DesignPrintsTheCoresOwnNumbersForTheStartupDesignTheNetworkAndTheExactSolution)
{
    const Json plain = RunJson({"design", "--json"});
    ExpectSameCircuit(plain, BuildCircuit(CalculatedDesign()));
    EXPECT_EQ(plain["targets"]["Frequency"]["value"], 4e6);
    EXPECT_EQ(plain["targets"]["Falltime"]["value"], 1e-9);  // the decimal, not 9.99999971718e-10
    EXPECT_EQ(plain["targets"]["Falltime"]["unit"], "s");
    EXPECT_FALSE(plain["parts"].contains("L3"));
    EXPECT_EQ(plain["figures"]["Efficiency"]["unit"], "");
    EXPECT_LT(plain["figures"]["Efficiency"]["value"].get<double>(), 1.0);  // a fraction, not %

    // The start-up load is below 50 ohm: the network's inductor faces the stage.
    const Json network = RunJson({"design", "--lnet", "50", "--json"});
    const Circuit withNetwork = BuildCircuit(CalculatedDesign(kDefaultNetworkQ, true, 50));
    ASSERT_EQ(withNetwork.network, NetworkLayout::SeriesLFirst);
    ExpectSameCircuit(network, withNetwork);
    EXPECT_EQ(network["parts"]["L3"]["role"], "Lnetwork");
    EXPECT_EQ(network["parts"]["RLoad"]["value"], 50.0);
    EXPECT_EQ(network["options"]["Rnetwork"], 50.0);
    EXPECT_TRUE(network["figures"].contains("Ltotal"));

    DesignOptions exact;
    exact.exact = true;
    const Json solved = RunJson({"design", "--exact", "--json"});
    const Circuit exactCircuit = BuildCircuit(CalculatedDesign(), exact);
    ASSERT_TRUE(exactCircuit.analysed);
    ExpectSameCircuit(solved, exactCircuit);
    EXPECT_EQ(solved["figures"]["Pout"]["value"].get<float>(), exactCircuit.pout.value);
    EXPECT_EQ(solved["figures"]["VturnOnPercent"]["unit"], "%");
    // The solved parts differ from the fits': the option reached the circuit.
    EXPECT_NE(solved["parts"]["C1"]["value"], plain["parts"]["C1"]["value"]);

    exact.series = ESeries::E24;
    exact.chokeFactor = 20;
    exact.coss = 100e-12f;
    ExpectSameCircuit(RunJson({"design", "--exact", "--series", "E24", "--choke", "20", "--coss", "100p", "--json"}),
                      BuildCircuit(CalculatedDesign(), exact));
}

TEST_F(CommandLine, TargetsFromFlagsReadAsTheBoxesReadThemAndOverrideADesignFile)
{
    const Json typed = RunJson({"design", "--frequency", "13.56M", "--power", "100", "--supply", "48", "--saturation",
                                "0.5", "--q", "3", "--falltime", "2n", "--json"});
    DesignRecord design;
    StartupValues(design);
    design.Frequency = ParseValue("13.56M");
    design.Power = 100;
    design.Supply = 48;
    design.Saturation = 0.5f;
    design.NetworkQ = 3;
    design.Falltime = ParseValue("2n");
    FindAll(design);
    ExpectSameCircuit(typed, BuildCircuit(design));
    EXPECT_EQ(typed["targets"]["Frequency"]["value"], 13.56e6);

    // A file's targets, with the power given beside it replacing the file's.
    const Json fromFile = RunJson({"design", "--power", "80", "--file", SavedDesign(20), "--json"});
    EXPECT_EQ(fromFile["targets"]["Power"]["value"], 80.0);
    const Json fileAlone = RunJson({"design", "--file", SavedDesign(20), "--json"});
    EXPECT_EQ(fileAlone["targets"]["Power"]["value"], 20.0);
    ExpectSameCircuit(fileAlone, [] {
        DesignRecord d = CalculatedDesign();
        d.Power = 20;
        FindAll(d);
        return BuildCircuit(d);
    }());
}

TEST_F(CommandLine, TextAndCsvCarryEveryPartAndFigureWithItsUnit)
{
    ASSERT_EQ(Run({"design", "--lnet", "50"}), 0) << err_.str();
    const Circuit circuit = BuildCircuit(CalculatedDesign(kDefaultNetworkQ, true, 50));
    for (const Part& part : circuit.parts)
        EXPECT_NE(out_.str().find(std::string("\n") + part.name + " "), std::string::npos) << part.name;
    EXPECT_NE(out_.str().find("Vbattery  24 V"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("L-network to 50 ohm"), std::string::npos);

    ASSERT_EQ(Run({"design", "--lnet", "50", "--csv"}), 0) << err_.str();
    std::istringstream rows(out_.str());
    std::string row;
    std::getline(rows, row);
    EXPECT_EQ(row, "kind,name,value,unit,status,reason\r");
    int targets = 0, parts = 0, figures = 0;
    while (std::getline(rows, row)) {
        targets += row.starts_with("target,");
        parts += row.starts_with("part,");
        figures += row.starts_with("figure,");
    }
    EXPECT_EQ(targets, 6);
    EXPECT_EQ(parts, static_cast<int>(circuit.parts.size()));
    EXPECT_EQ(figures, static_cast<int>(circuit.NamedResults().size()));
    EXPECT_NE(out_.str().find("\r\npart,RLoad,50,ohm,valid,\r\n"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("\r\ntarget,Falltime,1e-09,s,valid,\r\n"), std::string::npos) << out_.str();
}

// A figure the model gains must come with its unit, or the writers print it bare.
// The loss budget and the stresses come with an analysed circuit only, and the budget
// the JSON carries adds up to the dissipation it reports beside it.
TEST_F(CommandLine, JsonCarriesTheLossBudgetAndTheStressesOfAnAnalysedCircuit)
{
    ASSERT_EQ(Run({"design", "--json"}), 0) << err_.str();
    const Json plain = Json::parse(out_.str());
    EXPECT_FALSE(plain.contains("losses"));
    EXPECT_FALSE(plain.contains("stresses"));
    EXPECT_EQ(plain["options"]["duty"], 0.5);

    ASSERT_EQ(Run({"design", "--exact", "--inductor-q", "100", "--capacitor-q", "400", "--duty", "0.4", "--json"}), 0)
        << err_.str();
    const Json lossy = Json::parse(out_.str());
    EXPECT_EQ(lossy["options"]["inductorQ"], 100);
    double total = 0;
    for (const Json& loss : lossy["losses"]) {
        EXPECT_EQ(loss["unit"], "W");
        EXPECT_EQ(loss["status"], "valid") << loss["part"] << " " << loss["cause"];
        total += loss["value"].get<double>();
    }
    const double dissipation = lossy["figures"]["Dissipation"]["value"].get<double>();
    EXPECT_NEAR(total, dissipation, 1e-3 * dissipation);
    // Every part but the supply and the load has a loss of its own past the switch's three.
    EXPECT_EQ(lossy["losses"].size(), 3u + lossy["parts"].size() - 3u);
    for (const auto& [part, stress] : lossy["stresses"].items()) {
        EXPECT_TRUE(lossy["parts"].contains(part)) << part;
        EXPECT_GT(stress["rmsCurrent"]["value"].get<double>(), 0) << part;
    }
    EXPECT_GT(lossy["stresses"]["S1"]["peakVoltage"]["value"].get<double>(),
              2 * lossy["targets"]["Supply"]["value"].get<double>());
}

// The harmonics at the load come with an analysed circuit only, n = 2 to 10, each the
// circuit's own figure and a finite number however deep.
TEST_F(CommandLine, JsonCarriesTheHarmonicsOfAnAnalysedCircuit)
{
    EXPECT_FALSE(RunJson({"design", "--json"}).contains("harmonics"));
    const Json solved = RunJson({"design", "--exact", "--json"});
    DesignOptions exact;
    exact.exact = true;
    const Circuit circuit = BuildCircuit(CalculatedDesign(), exact);
    ASSERT_EQ(circuit.harmonics.size(), 9u);
    ASSERT_EQ(solved["harmonics"].size(), circuit.harmonics.size());
    for (std::size_t i = 0; i < circuit.harmonics.size(); ++i) {
        const Json& h = solved["harmonics"][i];
        EXPECT_EQ(h["n"], static_cast<int>(i + 2));
        ASSERT_TRUE(h["dBc"].is_number()) << h;
        EXPECT_NEAR(h["dBc"].get<double>(), circuit.harmonics[i].dBc, 1e-9) << h;
        EXPECT_LT(h["dBc"].get<double>(), -10) << h;
    }
}

TEST_F(CommandLine, EveryNamedResultHasAUnit)
{
    DesignOptions exact;
    exact.exact = true;
    for (const Circuit& circuit : {BuildCircuit(CalculatedDesign(kDefaultNetworkQ, true, 50)),
                                   BuildCircuit(CalculatedDesign(kDefaultNetworkQ, true, 2), exact)})
        for (const auto& [name, result] : circuit.NamedResults()) EXPECT_TRUE(UnitOfResult(name)) << name;
}

TEST_F(CommandLine, HelpAndVersionExitZeroOnTheOutputStream)
{
    for (const std::vector<std::string>& asked :
         {std::vector<std::string>{"--help"}, {"-h"}, {"help"}, {"design", "--help"}, {"help", "design"},
          {"help", "simulate"}, {"help", "export-asc"}}) {
        EXPECT_EQ(Run(asked), 0) << asked.back();
        EXPECT_NE(out_.str().find("Usage:"), std::string::npos) << asked.back();
        EXPECT_EQ(err_.str(), "");
    }
    ASSERT_EQ(Run({"help", "design"}), 0);
    for (const char* option : {"--frequency", "--file", "--lnet", "--exact", "--coss", "--series", "--choke", "--json"})
        EXPECT_NE(out_.str().find(option), std::string::npos) << option;
    ASSERT_EQ(Run({"help", "export-asc"}), 0);
    EXPECT_NE(out_.str().find("OUT"), std::string::npos);

    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(out_.str(), std::string("voltra ") + VOLTRA_VERSION + "\n");
    EXPECT_EQ(std::string(VOLTRA_VERSION), kVersionText);  // the screens show the same
    EXPECT_EQ(simulator_.runs, 0);
}

TEST_F(CommandLine, MisuseExitsTwoWithTheUsageOnTheErrorStream)
{
    for (const std::vector<std::string>& misused :
         {std::vector<std::string>{"--bogus"}, {"design", "--bogus"}, {"--lnet", "50"}, {"design", "--json", "--csv"},
          {"design", "--power"}, {"help", "bogus"}, {"desing", "--power", "5"}, {"export-asc"},
          {"design", "stray"}, {"--simulate"}, {"--export-asc", "out.asc"}, {"help", "design", "simulate"}}) {
        EXPECT_EQ(Run(misused), kCommandMisused) << misused.back();
        EXPECT_NE(err_.str().find("Usage: voltra design"), std::string::npos) << err_.str();
        EXPECT_EQ(out_.str(), "") << misused.back();
    }
    for (const char* option : {"--file DESIGN.VLT", "--frequency HZ", "--q Q", "--lnet OHMS", "--exact]", "--choke N"})
        EXPECT_NE(err_.str().find(option), std::string::npos) << option;
    EXPECT_EQ(simulator_.runs, 0);
}

// The command line has no box to turn red: a value the box would read otherwise, or
// replace, is refused and nothing is designed.
TEST_F(CommandLine, AValueThatDoesNotReadOrThatTheLimitsWouldReplaceIsRefused)
{
    struct Case {
        std::vector<std::string> arguments;
        const char* said;
    };
    for (const Case& c : std::vector<Case>{
             {{"--lnet", "abc"}, "--lnet \"abc\" is not a value"},
             {{"--lnet", "20k"}, "must lie from 0.01 ohm to 10000 ohm"},
             {{"--lnet", "0.009"}, "network resistance"},
             {{"--frequency", "999"}, "the frequency must lie from 1000 Hz to 1E+10 Hz"},
             {{"--frequency", "10.5G"}, "beyond 1e10"},
             {{"--power", "1.1M"}, "the output power must lie"},
             {{"--power", "5m"}, "the output power must lie from 0.01 W"},
             {{"--supply", "50.1k"}, "the supply voltage must lie"},
             {{"--saturation", "5.1k"}, "the saturation voltage must lie"},
             {{"--saturation", "24"}, "must be above the saturation voltage"},
             {{"--q", "1.79"}, "the network Q must lie from 1.8 to 10000"},
             {{"--falltime", "50p"}, "the fall time must lie from 1E-10 s"},
             {{"--falltime", "1E3n"}, "both an exponent and a scale letter"},
             {{"--power", "50 ohm"}, "and the unit W"},
             {{"--coss", "-1p"}, "capacitance must lie from 0"},
             {{"--coss", "2m"}, "capacitance must lie from 0"},
             {{"--choke", "0"}, "above 0"},
             {{"--series", "E7"}, "E12, E24 and E96"},
             {{"--duty", "0.24"}, "on-time must lie from 0.25 to 0.75"},
             {{"--duty", "0.76"}, "on-time must lie from 0.25 to 0.75"},
             {{"--inductor-q", "0"}, "quality factor must be above 0"},
             {{"--capacitor-q", "-5"}, "quality factor must be above 0"},
         }) {
        std::vector<std::string> arguments = {"design", "--json"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        EXPECT_EQ(Run(arguments), kCommandMisused) << c.arguments[1];
        EXPECT_TRUE(Said(c.said)) << err_.str();
        EXPECT_EQ(out_.str(), "");
    }
    // The limits themselves stand.
    for (const std::vector<std::string>& edge :
         {std::vector<std::string>{"--frequency", "1k", "--q", "1.8", "--falltime", "100p", "--lnet", "10k"},
          {"--frequency", "10G", "--power", "10m", "--lnet", "10m", "--coss", "0"},
          {"--saturation", "23.99", "--coss", "1m"},
          {"--exact", "--duty", "0.25"},
          {"--exact", "--duty", "0.75", "--inductor-q", "1", "--capacitor-q", "1"}})
        EXPECT_NE(Run([&] {
                      std::vector<std::string> arguments = {"design"};
                      arguments.insert(arguments.end(), edge.begin(), edge.end());
                      return arguments;
                  }()),
                  kCommandMisused)
            << edge[1] << ": " << err_.str();
}

TEST_F(CommandLine, ADesignFileThatDoesNotReadAsADesignFailsWithItsReason)
{
    fs::create_directory(Path("folder.VLT"));
    EXPECT_EQ(Run({"design", "--file", Path("missing.VLT")}), kCommandFailed);
    EXPECT_TRUE(Said(std::string("missing.VLT\": ") + std::strerror(ENOENT) + ".")) << err_.str();
    EXPECT_EQ(Run({"design", "--file", Path("folder.VLT")}), kCommandFailed);
    EXPECT_TRUE(Said(std::strerror(EISDIR))) << err_.str();
    EXPECT_EQ(Run({"design", "--file", Write("short.VLT", "title\r\ndate\r\n4000000\r\n")}), kCommandFailed);
    EXPECT_TRUE(Said("ends before its six values")) << err_.str();
    EXPECT_EQ(Run({"design", "--file", Write("junk.VLT", std::string(20, 'x') + "\nq\nw\ne\nr\nt\ny\nu\ni\n")}),
              kCommandFailed);
    EXPECT_TRUE(Said("does not hold a usable design: ")) << err_.str();
    // The reader takes a Q of 1.5; the design screen would open it at 1.8.
    EXPECT_EQ(Run({"design", "--file",
                   Write("lowq.VLT", "p\r\nd\r\nFrequency: 4000000\r\nSupply voltage: 24\r\nSaturation voltage: 1\r\n"
                                     "Power output: 50\r\nNetwork Q: 1.5\r\nFalltime: 1E-09\r\n")}),
              kCommandFailed);
    EXPECT_TRUE(Said("holds the network Q 1.5, outside the 1.8 to 10000 a design opens with")) << err_.str();
    EXPECT_EQ(Run({"design", "--file", "a.VL"}), kCommandFailed);
    EXPECT_TRUE(Said("too short a name")) << err_.str();
    EXPECT_EQ(out_.str(), "");
}

TEST_F(CommandLine, AnInvalidDesignIsPrintedWithItsReasonsAndFails)
{
    const Json report = RunJson({"design", "--exact", "--coss", "1u", "--json"}, kCommandFailed);
    EXPECT_EQ(report["valid"], false);
    EXPECT_EQ(report["parts"]["C1"]["status"], "invalid");
    EXPECT_NE(report["parts"]["C1"]["reason"].get<std::string>().find("output capacitance"), std::string::npos);
    EXPECT_TRUE(Said("C1 is not valid: the switch's own output capacitance")) << err_.str();

    EXPECT_EQ(Run({"simulate", "--exact", "--coss", "1u"}), kCommandFailed);
    EXPECT_NE(out_.str().find("invalid"), std::string::npos) << out_.str();
    EXPECT_EQ(Run({"export-asc", Path("out.asc"), "--exact", "--coss", "1u"}), kCommandFailed);
    EXPECT_FALSE(fs::exists(Path("out.asc")));
    EXPECT_EQ(simulator_.runs, 0);
}

TEST_F(CommandLine, SimulateReportsSteadinessTheTurnOnSlopeAndThePeriods)
{
    const Json report = RunJson({"simulate", "--lnet", "50", "--json"});
    EXPECT_EQ(simulator_.runs, 1);
    EXPECT_EQ(simulator_.asked.loadResistance, 50);
    ExpectSameCircuit(report, BuildCircuit(CalculatedDesign(kDefaultNetworkQ, true, 50)));
    const Json& simulated = report["simulation"];
    EXPECT_EQ(simulated["completed"], true);
    EXPECT_EQ(simulated["steady"], true);
    EXPECT_EQ(simulated["periods"], 180);
    EXPECT_EQ(simulated["turnOnSlope"], -0.25);
    EXPECT_EQ(simulated["figures"]["Pout"]["simulated"], 52.5);
    EXPECT_EQ(simulated["figures"]["Pout"]["predicted"], 50.0);
    EXPECT_DOUBLE_EQ(simulated["figures"]["Pout"]["deviationPercent"].get<double>(), 5.0);
    EXPECT_EQ(simulated["figures"]["VturnOnPercent"]["simulated"], 1.5);
    EXPECT_EQ(simulated["figures"]["VturnOnPercent"]["unit"], "%");

    ASSERT_EQ(Run({"simulate", "--csv"}), 0) << err_.str();
    EXPECT_NE(out_.str().find("\r\nsimulation,steady,1,,valid,\r\n"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("\r\nsimulation,turnOnSlope,-0.25,,valid,\r\n"), std::string::npos);
    EXPECT_NE(out_.str().find("\r\nsimulated,Pout,52.5,W,valid,\r\n"), std::string::npos);

    ASSERT_EQ(Run({"simulate"}), 0) << err_.str();
    EXPECT_NE(out_.str().find("Steady state after 180 periods."), std::string::npos) << out_.str();
}

// The simulated load voltage's harmonics in dB below its fundamental, however deep.
TEST_F(CommandLine, SimulateReportsTheSimulatedHarmonics)
{
    const Json harmonics = RunJson({"simulate", "--json"})["simulation"]["harmonics"];
    ASSERT_EQ(harmonics.size(), 9u);
    EXPECT_EQ(harmonics[0]["n"], 2);
    EXPECT_NEAR(harmonics[0]["dBc"].get<double>(), -40, 1e-9);
    EXPECT_NEAR(harmonics[1]["dBc"].get<double>(), -60, 1e-9);
    EXPECT_EQ(harmonics[8]["n"], 10);
    EXPECT_EQ(harmonics[8]["dBc"], kDeepestHarmonicDbc);
}

TEST_F(CommandLine, AFailedSimulationStillReportsThePredictedDesignAndFails)
{
    simulator_.error = "ngspice stopped: Timestep too small";
    const Json report = RunJson({"simulate", "--exact", "--choke", "1000", "--json"}, kCommandFailed);
    DesignOptions options;
    options.exact = true;
    options.chokeFactor = 1000;
    ExpectSameCircuit(report, BuildCircuit(CalculatedDesign(), options));
    EXPECT_EQ(report["simulation"]["completed"], false);
    EXPECT_EQ(report["simulation"]["error"], simulator_.error);
    EXPECT_TRUE(Said("voltra: the simulation failed: ngspice stopped: Timestep too small")) << err_.str();

    EXPECT_EQ(Run({"simulate"}), kCommandFailed);
    EXPECT_NE(out_.str().find("Vbattery"), std::string::npos) << out_.str();
    EXPECT_EQ(Run({"simulate", "--csv"}), kCommandFailed);
    EXPECT_NE(out_.str().find("\r\nsimulation,completed,0,,invalid,ngspice stopped: Timestep too small\r\n"),
              std::string::npos)
        << out_.str();
}

TEST_F(CommandLine, ExportWritesTheSchematicOrSaysWhyNotInTheSystemsWords)
{
    ASSERT_EQ(Run({"export-asc", Path("new.asc"), "--lnet", "50"}), 0) << err_.str();
    std::ifstream written(Path("new.asc"));
    const std::string schematic{std::istreambuf_iterator<char>(written), {}};
    EXPECT_NE(schematic.find("SYMATTR InstName L3"), std::string::npos);

    EXPECT_EQ(Run({"export-asc", Path("no/such/folder/out.asc")}), kCommandFailed);
    EXPECT_TRUE(Said(std::string("out.asc\": ") + std::strerror(ENOENT) + ".")) << err_.str();
    fs::create_directory(Path("taken.asc"));
    EXPECT_EQ(Run({"export-asc", Path("taken.asc")}), kCommandFailed);
    EXPECT_TRUE(Said(std::strerror(EISDIR))) << err_.str();
    Write("plain", "x");
    EXPECT_EQ(Run({"export-asc", Path("plain") + "/out.asc"}), kCommandFailed);
    EXPECT_TRUE(Said(std::strerror(ENOTDIR))) << err_.str();
    EXPECT_EQ(Run({"export-asc", "a.x"}), kCommandMisused);  // too short to be a schematic's name
}

TEST_F(CommandLine, TheEarlierFormsStillWork)
{
    const std::string design = SavedDesign(20);
    const Json report = RunJson({"--simulate", design, "--json", "--lnet", "50"});
    EXPECT_EQ(report["targets"]["Power"]["value"], 20.0);
    EXPECT_EQ(report["options"]["lnetwork"], true);
    EXPECT_EQ(Run({"--lnet", "50", "--export-asc", Path("old.asc"), design}), 0) << err_.str();
    EXPECT_TRUE(fs::exists(Path("old.asc")));
    EXPECT_EQ(Run({"--simulate", Path("missing.VLT")}), kCommandFailed);
    EXPECT_TRUE(Said("cannot read the design file"));
}

TEST_F(CommandLine, OneDesignFileAloneOpensTheWindows)
{
    EXPECT_EQ(Run({}), -1);
    EXPECT_EQ(Run({"amp.VLT"}), -1);
    EXPECT_EQ(DesignFileToOpen({"amp.VLT"}), "amp.VLT");
    EXPECT_EQ(DesignFileToOpen({"/designs/stage 2.vlt"}), "/designs/stage 2.vlt");
    EXPECT_FALSE(DesignFileToOpen({}));
    EXPECT_FALSE(DesignFileToOpen({"design"}));
    EXPECT_FALSE(DesignFileToOpen({"--json"}));
    EXPECT_FALSE(DesignFileToOpen({"amp.VLT", "--json"}));
    EXPECT_EQ(out_.str() + err_.str(), "");
}

// `voltra devices` lists the user's device folder (under $XDG_DATA_HOME) before the
// installed one; a file there that is no device is named and the listing fails.
TEST_F(CommandLine, DevicesListsTheUsersDevicesOneNameALineAndNamesAFileThatIsNone)
{
    const char* before = std::getenv("XDG_DATA_HOME");
    const std::string saved = before ? before : "";
    ::setenv("XDG_DATA_HOME", folder_.c_str(), 1);
    fs::create_directories(folder_ / "voltra" / "devices");
    auto device = [](const char* name) {
        return Json{{"format", "voltra-device"},
                    {"version", 1},
                    {"name", name},
                    {"drain_voltage_max_V", 60},
                    {"drain_current_continuous_A", 1},
                    {"on_resistance_25C_ohm", 0.5},
                    {"output_capacitance", {{"junction_law", {{"cj0_pF", 50}, {"vj_V", 0.7}, {"m", 0.5}}}}}}
            .dump();
    };
    Write("voltra/devices/b.json", device("Test FET B"));
    Write("voltra/devices/a.json", device("Test FET A"));
    const int listed = Run({"devices"});
    const std::string names = out_.str();
    Write("voltra/devices/c.json", "{");
    const int broken = Run({"devices"});
    const std::string complaint = err_.str();
    if (before)
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");

    EXPECT_EQ(listed, 0);
    const auto a = names.find("Test FET A\n"), b = names.find("Test FET B\n");
    ASSERT_NE(a, std::string::npos) << names;
    ASSERT_NE(b, std::string::npos) << names;
    EXPECT_LT(a, b);
    EXPECT_EQ(broken, 1);
    EXPECT_EQ(out_.str(), names) << "the readable devices are still listed";
    EXPECT_NE(complaint.find("c.json"), std::string::npos) << complaint;
}

}  // namespace
}  // namespace voltra

namespace voltra {
namespace {

// A device by file: Tj in the figures, the gate drive outside the drain supply, the
// conditions in the options; an unknown name is misuse, a file that is no device a
// failure, and --coss beside --device is refused.
TEST_F(CommandLine, DeviceGivesTjRatingsAndGateDrive)
{
    const std::string device = Write("fet.json", R"({"format": "voltra-device", "version": 1, "name": "T",
        "drain_voltage_max_V": 150, "drain_current_continuous_A": 20, "drain_current_pulsed_A": 60,
        "on_resistance_25C_ohm": 0.05, "on_resistance_rise": {"per_kelvin": 0.007},
        "output_capacitance": {"junction_law": {"cj0_pF": 200, "vj_V": 1, "m": 0}},
        "gate_charge_nC": 50, "gate_drive_V": 10,
        "thermal_resistance_junction_case_K_per_W": 1, "junction_temperature_max_C": 150})");
    const Json r = RunJson({"design", "--device", device, "--theta-sa", "5", "--json"});
    // The hand calculation of the engine's tests: 28.6002 / 0.97095 °C.
    EXPECT_NEAR(r["figures"]["Tj"]["value"].get<double>(), 29.456, 0.01);
    EXPECT_EQ(r["options"]["device"]["derating"], 0.8);
    bool gate = false;
    for (const Json& loss : r["losses"])
        if (loss["cause"] == "gate drive") gate = !loss["fromDrainSupply"].get<bool>();
    EXPECT_TRUE(gate);
    EXPECT_EQ(RunJson({"design", "--device", device, "--theta-sa", "150", "--json"}, 1)["figures"]["Tj"]["status"],
              "invalid");
    // Its reason is a sentence of its own: one full stop.
    EXPECT_TRUE(Said("voltra: Tj is not valid: ")) << err_.str();
    EXPECT_EQ(err_.str().find(".."), std::string::npos) << err_.str();
    // A runaway temperature in the text report reads in degrees, without a prefix.
    EXPECT_EQ(Run({"design", "--device", device, "--theta-sa", "1000", "--theta-cs", "1000"}), 1);
    EXPECT_NE(out_.str().find(" °C"), std::string::npos) << out_.str();
    EXPECT_EQ(out_.str().find("k°C"), std::string::npos) << out_.str();
    EXPECT_EQ(Run({"design", "--device", "no such device"}), 2);
    EXPECT_EQ(Run({"design", "--device", Write("bad.json", "{}")}), 1);
    EXPECT_EQ(Run({"design", "--coss", "100p", "--device", device}), 2);
    EXPECT_EQ(Run({"design", "--derating", "101"}), 2);
}

// --windings adds one object per inductor to the JSON, and only then; --core winds an
// inductor on a core of the user's table (under $XDG_DATA_HOME) and refuses one that
// is in no table.
TEST_F(CommandLine, WindingsArrayOnlyWhenAskedAndCoresFromTheUsersTable)
{
    EXPECT_FALSE(RunJson({"design", "--json"}).contains("windings"));
    const Json wound = RunJson({"design", "--lnet", "50", "--windings", "--json"});
    ASSERT_EQ(wound["windings"].size(), 3u);
    const Json& l2 = wound["windings"][1];
    EXPECT_EQ(l2["part"], "L2");
    EXPECT_EQ(l2["winding"], "air core");
    EXPECT_TRUE(l2["core"].is_null());
    EXPECT_TRUE(l2["computed"].get<bool>());
    EXPECT_FLOAT_EQ(l2["inductance"].get<float>(), wound["parts"]["L2"]["value"].get<float>());
    // The default former is square: as long as it is wide.
    EXPECT_NEAR(l2["length"].get<double>() / l2["diameter"].get<double>(), 1, 1e-9);
    EXPECT_GT(l2["selfResonance"].get<double>(), 3 * 4e6);
    EXPECT_TRUE(l2["fluxDensity"].is_null());
    for (const char* field : {"role", "rmsCurrent", "currentFrom", "turns", "awg", "q", "warnings"})
        EXPECT_TRUE(l2.contains(field)) << field;

    const char* before = std::getenv("XDG_DATA_HOME");
    const std::string saved = before ? before : "";
    ::setenv("XDG_DATA_HOME", folder_.c_str(), 1);
    fs::create_directories(folder_ / "voltra");
    Write("voltra/cores.json", Json{{"format", "voltra-cores"},
                                    {"version", 1},
                                    {"cores", {{{"name", "T-test"},
                                                {"al_nH_per_turn2", 10},
                                                {"od_mm", 20},
                                                {"id_mm", 10},
                                                {"height_mm", 6},
                                                {"ae_mm2", 30},
                                                {"le_mm", 45}}}}}
                                       .dump());
    const Json cored = RunJson({"design", "--core", "L1=T-test", "--json"});
    EXPECT_EQ(Run({"design", "--core", "L1=T-none"}), 2);
    EXPECT_TRUE(Said("T-none"));
    EXPECT_EQ(Run({"design", "--core", "C1=T-test"}), 2);
    if (before) ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
    const Json& l1 = cored["windings"][0];
    EXPECT_EQ(l1["core"], "T-test");
    // Turns from the inductance factor: N = √(L/AL).
    EXPECT_NEAR(l1["turns"].get<double>(), std::sqrt(cored["parts"]["L1"]["value"].get<double>() / 10e-9), 1e-6);
    EXPECT_TRUE(l1["selfResonance"].is_null());
    EXPECT_GT(l1["fluxDensity"].get<double>(), 0);
}

// --winding-q winds the inductors (the windings array is there without --windings)
// and takes each one's loss from its winding's Q: the budget has a "winding" line per
// inductor, each I²·ωL/Q with the Q the windings array shows, and still sums to the
// supply power less the output power. Without it no loss is a winding's.
TEST_F(CommandLine, WindingQPutsEachWindingsLossIntoTheJsonBudget)
{
    const Json plain = RunJson({"design", "--inductor-q", "100", "--json"});
    for (const Json& loss : plain["losses"]) EXPECT_NE(loss["cause"], "winding");
    EXPECT_FALSE(plain["options"].contains("windingQ"));

    const Json wound = RunJson({"design", "--lnet", "50", "--winding-q", "--json"});
    ASSERT_EQ(wound["windings"].size(), 3u);
    ASSERT_TRUE(wound["analysed"].get<bool>());
    const double omega = 2 * std::acos(-1.0) * wound["targets"]["Frequency"]["value"].get<double>();
    double sum = 0;
    int windingLines = 0;
    for (const Json& loss : wound["losses"]) {
        if (!loss.contains("fromDrainSupply")) sum += loss["value"].get<double>();
        if (loss["cause"] != "winding") continue;
        ++windingLines;
        const std::string part = loss["part"];
        double q = NAN;
        for (const Json& w : wound["windings"])
            if (w["part"] == part) q = w["q"].get<double>();
        EXPECT_NEAR(wound["options"]["windingQ"][part].get<double>() / q, 1, 1e-4) << part;
        const double irms = wound["stresses"][part]["rmsCurrent"]["value"].get<double>();
        const double inductance = wound["parts"][part]["value"].get<double>();
        const double used = wound["options"]["windingQ"][part].get<double>();
        EXPECT_NEAR(loss["value"].get<double>() / (irms * irms * omega * inductance / used), 1, 1e-5) << part;
    }
    EXPECT_EQ(windingLines, 3);
    EXPECT_NEAR(sum / wound["figures"]["Dissipation"]["value"].get<double>(), 1, 1e-4);
}

}  // namespace
}  // namespace voltra
