// `voltra best-parts` through RunCommandLine: E24 unless told, the same search as the
// engine's, its CSV columns, and a design that cannot be searched refused with why.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "app/command_line.h"
#include "engine/best_parts.h"
#include "tests/app/analysis_command_fixture.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

using Json = nlohmann::json;

using BestPartsCommand = AnalysisCommand;

TEST_F(BestPartsCommand, JsonIsTheEnginesSearchInE24UnlessAnotherSeriesIsGiven)
{
    for (const auto& [given, series] : {std::pair{"", ESeries::E24}, std::pair{"E12", ESeries::E12}}) {
        std::vector<std::string> arguments = {"best-parts", "--lnet", "50", "--json"};
        if (*given) arguments.insert(arguments.end(), {"--series", given});
        ASSERT_EQ(Run(arguments), 0) << err_.str();
        const Json report = Json::parse(out_.str());
        const BestParts engine =
            FindBestParts(CalculatedDesign(kDefaultNetworkQ, true, 50), DesignOptions{.series = series});
        EXPECT_EQ(report["series"], *given ? given : "E24");
        EXPECT_EQ(report["combinations"].get<long>(), engine.combinations);
        ASSERT_EQ(report["parts"].size(), engine.parts.size());
        for (std::size_t i = 0; i < engine.parts.size(); ++i) {
            const Json& part = report["parts"][i];
            EXPECT_EQ(part["part"], engine.parts[i].name);
            EXPECT_FLOAT_EQ(part["chosen"].get<float>(), static_cast<float>(engine.parts[i].chosen.total));
            EXPECT_EQ(part["bought"].size(), engine.parts[i].chosen.values.size());
        }
        EXPECT_DOUBLE_EQ(report["circuits"]["best"]["turnOnPercent"].get<double>(), engine.best.turnOnPercent);
        EXPECT_DOUBLE_EQ(report["circuits"]["rounded"]["Pout"].get<double>(), engine.rounded.pout);
    }
}

TEST_F(BestPartsCommand, CsvRowsHaveTheHeadersColumnsAndATableIsTheDefault)
{
    ASSERT_EQ(Run({"best-parts", "--csv"}), 0) << err_.str();
    std::istringstream lines(out_.str());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "kind,name,exact,rounded,chosen,bought,turnOnPercent,Pout,Efficiency");
    int parts = 0, circuits = 0;
    while (std::getline(lines, line)) {
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 8) << line;
        parts += line.starts_with("part,");
        circuits += line.starts_with("circuit,");
    }
    EXPECT_EQ(parts, 3);
    EXPECT_EQ(circuits, 3);

    ASSERT_EQ(Run({"best-parts"}), 0);
    EXPECT_NE(out_.str().find("Best E24 parts"), std::string::npos);
    EXPECT_NE(out_.str().find("\u2225"), std::string::npos) << "the default design's best C2 is a pair";
}

TEST_F(BestPartsCommand, ADesignThatDoesNotStandFailsWithTheReason)
{
    EXPECT_EQ(Run({"best-parts", "--coss", "1u"}), kCommandFailed);
    EXPECT_NE(err_.str().find("C1 is not valid"), std::string::npos) << err_.str();
    EXPECT_TRUE(out_.str().empty());
}

}  // namespace
}  // namespace voltra
