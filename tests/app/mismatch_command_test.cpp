// `voltra mismatch` through RunCommandLine: the rows it writes are the engine's own
// loads, its VSWR list in both forms, the limit it marks, and its refusals.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "app/command_line.h"
#include "engine/design_options.h"
#include "engine/load_mismatch.h"
#include "tests/app/analysis_command_fixture.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

using Json = nlohmann::json;

using MismatchCommand = AnalysisCommand;

TEST_F(MismatchCommand, JsonRowsAreTheEnginesLoadsOnEveryCircleAsked)
{
    ASSERT_EQ(Run({"mismatch", "--vswr", "2", "--vswr", "3", "--phases", "4", "--json"}), 0) << err_.str();
    const Json report = Json::parse(out_.str());
    const Circuit circuit = BuildCircuit(CalculatedDesign(), DesignOptions{});
    const MismatchResult engine = AnalyseMismatch(circuit, {.vswrs = {2, 3}, .phases = 4, .gridSize = 0});
    ASSERT_EQ(report["points"].size(), 8u);
    // Values a float holds are written as the decimal it was stored from.
    const double z0 = circuit.ValueOf(PartRole::Load);
    EXPECT_NEAR(report["Z0"].get<double>(), z0, 1e-7 * z0);
    for (std::size_t i = 0; i < 8; ++i) {
        const Json& row = report["points"][i];
        const MismatchPoint& p = engine.points[i];
        EXPECT_EQ(row["VSWR"].get<double>(), i < 4 ? 2 : 3);
        EXPECT_EQ(row["phase"].get<double>(), 90.0 * static_cast<double>(i % 4));
        EXPECT_NEAR(row["R"].get<double>(), p.load.real(), 1e-7 * z0);
        EXPECT_NEAR(row["X"].get<double>(), p.load.imag(), 1e-7 * z0);
        EXPECT_EQ(row["Pout"].get<double>(), p.pout);
        EXPECT_EQ(row["Vpeak"].get<double>(), p.vpeak);
        EXPECT_EQ(row["turnOnPercent"].get<double>(), p.turnOnVoltage);
        EXPECT_FALSE(row.contains("beyondVpeak"));
    }
    EXPECT_EQ(report["worst"]["highestVpeak"].get<std::size_t>(), *engine.worst.highestVpeak);
    EXPECT_EQ(report["worst"]["lowestPout"].get<std::size_t>(), *engine.worst.lowestPout);
}

// The comma list is the repeated option; the default is 2:1 and 3:1 at 36 phases.
TEST_F(MismatchCommand, VswrListsDefaultsAndTheMarkedLimitInCsv)
{
    ASSERT_EQ(Run({"mismatch", "--vswr", "2,3", "--phases", "4", "--csv"}), 0) << err_.str();
    const std::string listed = out_.str();
    ASSERT_EQ(Run({"mismatch", "--vswr", "2", "--vswr", "3", "--phases", "4", "--csv"}), 0);
    EXPECT_EQ(out_.str(), listed);
    ASSERT_EQ(Run({"mismatch", "--csv"}), 0);
    const std::string all = out_.str();
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 1 + 72);
    EXPECT_EQ(all.rfind("VSWR,phase,R,X,Pout,Efficiency,Vpeak,Ipeak,turnOnPercent,status,reason\n", 0), 0u);

    // A limit between the lowest and highest peak marks some rows, not all.
    ASSERT_EQ(Run({"mismatch", "--vswr", "2", "--phases", "4", "--vpeak-limit", "90", "--csv"}), 0);
    const std::string marked = out_.str();
    EXPECT_NE(marked.find(",beyond,"), std::string::npos);
    EXPECT_NE(marked.find(",valid,"), std::string::npos);
    ASSERT_EQ(Run({"mismatch", "--vswr", "2", "--phases", "4"}), 0);
    EXPECT_NE(out_.str().find("Worst cases:"), std::string::npos);
}

TEST_F(MismatchCommand, RefusesLoadsThatAreNoMismatchAndCircuitsThatDoNotStand)
{
    for (const std::vector<std::string>& misuse :
         {std::vector<std::string>{"mismatch", "--vswr", "1"}, {"mismatch", "--vswr", "0.5"},
          {"mismatch", "--phases", "0"}, {"mismatch", "--vswr", "2,x"}}) {
        EXPECT_EQ(Run(misuse), kCommandMisused) << misuse[2];
        EXPECT_TRUE(out_.str().empty());
        EXPECT_NE(err_.str().find("Usage:"), std::string::npos);
    }
    // A fall longer than the off-time leaves no circuit to analyse.
    EXPECT_EQ(Run({"mismatch", "--falltime", "100u"}), kCommandFailed);
    EXPECT_FALSE(err_.str().empty());
}

}  // namespace
}  // namespace voltra
