// The commands on the circuit as built through RunCommandLine: their exit statuses,
// and the JSON and CSV they write against the engine's own runs on the same circuit.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <numeric>
#include <sstream>

#include "app/command_line.h"
#include "engine/circuit_sweep.h"
#include "engine/design_options.h"
#include "engine/sensitivity.h"
#include "engine/tolerance_analysis.h"
#include "tests/app/analysis_command_fixture.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

using Json = nlohmann::json;

using RobustnessCommands = AnalysisCommand;

// The start-up design, closed form, as `voltra design` builds it with no options.
Circuit StartupCircuit() { return BuildCircuit(CalculatedDesign(), DesignOptions{}); }

TEST_F(RobustnessCommands, ToleranceWritesTheYieldAndHistogramsOfTheEnginesRun)
{
    const Json report = RunJson({"tolerance", "--samples", "500", "--seed", "9", "--c-tol", "2", "--l-tol", "3",
                                 "--efficiency-floor", "95", "--json"});
    const ToleranceSettings settings{.tolerances = {0.02, 0.03, 0},
                                     .criteria = {.efficiencyFloor = 0.95},
                                     .samples = 500,
                                     .seed = 9};
    const ToleranceResult engine = AnalyseTolerances(StartupCircuit(), 50, settings);
    EXPECT_EQ(report["yield"].get<double>(), engine.yield);
    EXPECT_GT(engine.yield, 0.0);
    EXPECT_LT(engine.yield, 1.0);
    EXPECT_EQ(report["working"], engine.working);
    EXPECT_EQ(report["samples"], 500);
    EXPECT_EQ(report["seed"], 9);
    EXPECT_EQ(report["tolerances"]["inductor"].get<double>(), 0.03);
    EXPECT_EQ(report["criteria"]["efficiencyFloor"].get<double>(), 0.95);
    EXPECT_TRUE(report["criteria"]["Vpeak"].is_null());
    for (const char* figure : {"Pout", "Efficiency", "turnOnPercent", "Vpeak"}) {
        const Json& h = report["histograms"][figure];
        const auto counts = h["counts"].get<std::vector<int>>();
        EXPECT_EQ(counts.size(), 20u) << figure;
        EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0), 500 - engine.invalid) << figure;
        EXPECT_LT(h["low"].get<double>(), h["high"].get<double>()) << figure;
    }
    EXPECT_EQ(report["histograms"]["Pout"]["counts"].get<std::vector<int>>(), engine.pout.counts);

    // The same seed, the same run; a peak-voltage limit below every build, no yield.
    EXPECT_EQ(RunJson({"tolerance", "--samples", "500", "--seed", "9", "--c-tol", "2", "--l-tol", "3",
                       "--efficiency-floor", "95", "--json"}),
              report);
    EXPECT_EQ(RunJson({"tolerance", "--samples", "50", "--vpeak-limit", "10", "--json"})["yield"], 0.0);
    EXPECT_EQ(RunJson({"tolerance", "--samples", "50", "--c-tol", "0", "--l-tol", "0", "--json"})["yield"], 1.0);
}

TEST_F(RobustnessCommands, ToleranceCsvAndTextCarryTheYield)
{
    ASSERT_EQ(Run({"tolerance", "--samples", "40", "--csv"}), 0) << err_.str();
    const std::string csv = out_.str();
    EXPECT_EQ(csv.rfind("kind,name,value,unit,low,high\n", 0), 0u);
    EXPECT_NE(csv.find("\nresult,yield,"), std::string::npos);
    EXPECT_NE(csv.find("\nbin,Vpeak,"), std::string::npos);
    ASSERT_EQ(Run({"tolerance", "--samples", "40"}), 0) << err_.str();
    EXPECT_NE(out_.str().find("Yield: "), std::string::npos) << out_.str();
}

TEST_F(RobustnessCommands, SensitivityWritesTheTableAndTheGuide)
{
    const Json report = RunJson({"sensitivity", "--json"});
    const Sensitivities engine = AnalyseSensitivities(StartupCircuit());
    ASSERT_EQ(report["parts"].size(), engine.parts.size());
    for (std::size_t i = 0; i < engine.parts.size(); ++i) {
        EXPECT_EQ(report["parts"][i]["part"], engine.parts[i].part);
        EXPECT_EQ(report["parts"][i]["turnOnPercent"].get<double>(), engine.parts[i].turnOnVoltage);
        EXPECT_EQ(report["parts"][i]["Pout"].get<double>(), engine.parts[i].pout);
    }
    const std::vector<BenchAdvice> guide = BenchGuide(engine);
    ASSERT_EQ(report["guide"].size(), guide.size());
    EXPECT_EQ(report["guide"][0]["text"], guide[0].text);
    EXPECT_EQ(report["guide"][0]["moves"][0]["increase"], guide[0].moves[0].increase);

    ASSERT_EQ(Run({"sensitivity", "--csv", "--lnet", "50"}), 0) << err_.str();
    EXPECT_EQ(out_.str().rfind("part,Pout,Efficiency,turnOnPercent,Vpeak\n", 0), 0u);
    EXPECT_NE(out_.str().find("\nL3,"), std::string::npos) << out_.str();
    ASSERT_EQ(Run({"sensitivity"}), 0);
    EXPECT_NE(out_.str().find(guide[0].text), std::string::npos) << out_.str();
}

TEST_F(RobustnessCommands, SweepWritesARowAPointTheFirstAtTheNominalValue)
{
    const Json report = RunJson({"sweep", "--param", "frequency", "--from", "4M", "--to", "4.2M", "--steps", "41",
                                 "--json"});
    EXPECT_EQ(report["param"], "frequency");
    EXPECT_EQ(report["unit"], "Hz");
    ASSERT_EQ(report["points"].size(), 41u);
    const StageFigures nominal = AnalyseStage(StageOf(StartupCircuit()));
    const Json& first = report["points"][0];
    EXPECT_EQ(first["value"].get<double>(), 4e6);
    EXPECT_EQ(first["Pout"].get<double>(), nominal.pout);
    EXPECT_EQ(first["turnOnPercent"].get<double>(), nominal.turnOnVoltage);
    EXPECT_EQ(first["Ipeak"].get<double>(), nominal.ipeak);
    EXPECT_EQ(report["points"][40]["value"].get<double>(), 4.2e6);

    ASSERT_EQ(Run({"sweep", "--param", "C2", "--from", "1nF", "--to", "2n", "--steps", "3", "--csv"}), 0)
        << err_.str();
    EXPECT_EQ(out_.str().rfind("C2,Pout,Efficiency,turnOnPercent,Vpeak,Ipeak,status,reason\n1e-09,", 0), 0u)
        << out_.str();
}

TEST_F(RobustnessCommands, MisuseIsRefusedWithTheUsageAndAnUnbuildableCircuitFails)
{
    for (const std::vector<std::string>& misuse : std::vector<std::vector<std::string>>{
             {"tolerance", "--c-tol", "60"},
             {"tolerance", "--samples", "0"},
             {"tolerance", "--seed", "-1"},
             {"tolerance", "--json", "--csv"},
             {"sensitivity", "--samples", "10"},
             {"sweep", "--param", "frequency", "--from", "1M"},
             {"sweep", "--param", "L3", "--from", "1u", "--to", "2u"},
             {"sweep", "--param", "supply", "--from", "12", "--to", "x"},
             {"sweep", "--param", "supply", "--from", "0", "--to", "24"},
             {"sweep", "--param", "supply", "--from", "12", "--to", "24", "--steps", "1"},
             {"tolerance", "--power", "0"}}) {
        EXPECT_EQ(Run(misuse), kCommandMisused) << misuse[1] << " " << misuse.back();
        EXPECT_NE(err_.str().find("Usage: "), std::string::npos) << err_.str();
        EXPECT_EQ(out_.str(), "");
    }
    for (const std::vector<std::string>& invalid : std::vector<std::vector<std::string>>{
             {"tolerance", "--exact", "--coss", "1u"},
             {"sensitivity", "--exact", "--coss", "1u"},
             {"sweep", "--exact", "--coss", "1u", "--param", "supply", "--from", "12", "--to", "24"}}) {
        EXPECT_EQ(Run(invalid), kCommandFailed) << invalid[0];
        EXPECT_NE(err_.str().find("C1 is not valid"), std::string::npos) << err_.str();
    }
    ASSERT_EQ(Run({"help", "tolerance"}), 0);
    EXPECT_NE(out_.str().find("--efficiency-floor"), std::string::npos);
}

}  // namespace
}  // namespace voltra
