// The matching networks and the trap through the command line: the parts and figures
// printed are the core's own circuit, and the options that cannot apply are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/command_line.h"
#include "engine/design_options.h"
#include "engine/harmonic_limit.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

using Json = nlohmann::json;

// Never asked: the design command does not simulate.
class NoSimulator : public Simulator {
public:
    SimulationOutcome Run(const SimulationRequest&, std::stop_token) override { return {std::nullopt, "none", false}; }
};

class NetworkCommand : public ::testing::Test {
protected:
    int Run(const std::vector<std::string>& arguments)
    {
        out_.str("");
        err_.str("");
        return RunCommandLine(arguments, out_, err_, simulator_).value_or(-1);
    }
    Json RunJson(const std::vector<std::string>& arguments)
    {
        EXPECT_EQ(Run(arguments), 0) << err_.str();
        return Json::parse(out_.str());
    }
    std::ostringstream out_, err_;
    NoSimulator simulator_;
};

void ExpectParts(const Json& report, const Circuit& expected)
{
    ASSERT_EQ(report["parts"].size(), expected.parts.size()) << report["parts"].dump();
    for (const Part& part : expected.parts) {
        const Json& written = report["parts"][part.name];
        ASSERT_TRUE(written.is_object()) << part.name;
        EXPECT_EQ(written["value"].get<float>(), part.value.value) << part.name;
        EXPECT_EQ(written["from"], part.from) << part.name;
        EXPECT_EQ(written["to"], part.to) << part.name;
    }
    for (const auto& [name, result] : expected.NamedResults()) {
        ASSERT_TRUE(report["figures"].contains(name)) << name;
        EXPECT_EQ(report["figures"][name]["value"].get<float>(), result.value) << name;
    }
}

TEST_F(NetworkCommand, EachKindAndTheNotchPrintTheCoresCircuit)
{
    struct Case {
        std::vector<std::string> arguments;
        NetworkKind kind;
        double q;
        bool trap;
        std::vector<const char*> roles;  // of C3, L3, C4 / L4 where they stand
    };
    for (const Case& c : std::vector<Case>{
             {{"--network", "pi"}, NetworkKind::Pi, kDefaultMatchingQ, false, {"Cnetwork", "Lnetwork", "Cnetwork2"}},
             {{"--network", "t", "--network-q", "7"}, NetworkKind::T, 7, false, {"Cnetwork", "Lnetwork", "Lnetwork2"}},
             {{"--network", "tapped-c", "--notch"}, NetworkKind::TappedC, kDefaultMatchingQ, true,
              {"Cnetwork", "Lnetwork", "Cnetwork2"}},
             {{"--notch"}, NetworkKind::L, kDefaultMatchingQ, true, {"Cnetwork", "Lnetwork"}},
         }) {
        SCOPED_TRACE(c.arguments.back());
        std::vector<std::string> arguments = {"design", "--lnet", "50", "--json"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const Json report = RunJson(arguments);
        DesignOptions options;
        options.network = c.kind;
        options.matchingQ = c.q;
        options.trap = c.trap;
        const Circuit expected = BuildCircuit(CalculatedDesign(kDefaultNetworkQ, true, 50), options);
        ExpectParts(report, expected);
        const char* names[] = {"C3", "L3", c.kind == NetworkKind::T ? "L4" : "C4"};
        for (std::size_t i = 0; i < c.roles.size(); ++i) EXPECT_EQ(report["parts"][names[i]]["role"], c.roles[i]);
        EXPECT_EQ(report["figures"].contains("Ltrap"), c.trap);
        EXPECT_EQ(report["parts"].contains("L5"), c.trap);
        EXPECT_EQ(report["figures"].contains("Ltotal"), c.kind == NetworkKind::L);
        EXPECT_EQ(report["options"].value("notch", false), c.trap);
        EXPECT_TRUE(report["valid"].get<bool>());
    }
    // The text report names the same parts.
    ASSERT_EQ(Run({"design", "--lnet", "50", "--network", "pi", "--notch"}), 0) << err_.str();
    for (const char* name : {"Cnetwork2", "Ltrap", "Ctrap"}) EXPECT_NE(out_.str().find(name), std::string::npos) << name;
}

TEST_F(NetworkCommand, ANetworkThatCannotApplyIsMisuse)
{
    struct Case {
        std::vector<std::string> arguments;
        const char* said;
    };
    for (const Case& c : std::vector<Case>{
             {{"--network", "pi"}, "--network needs --lnet OHMS"},
             {{"--lnet", "50", "--network", "cauer"}, "the networks are l, pi, t and tapped-c"},
             {{"--lnet", "50", "--network", "PI"}, "the networks are l, pi, t and tapped-c"},
             {{"--lnet", "50", "--network", "pi", "--network-q", "0"}, "loaded Q must be above 0"},
             {{"--lnet", "50", "--network", "pi", "--network-q", "abc"}, "--network-q \"abc\" is not a value"},
             {{"--lnet", "50", "--network-q", "5"}, "give --network pi, t or tapped-c"},
         }) {
        SCOPED_TRACE(c.said);
        std::vector<std::string> arguments = {"design"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        EXPECT_EQ(Run(arguments), kCommandMisused);
        EXPECT_NE(err_.str().find(c.said), std::string::npos) << err_.str();
        EXPECT_EQ(out_.str(), "");
    }
}

TEST_F(NetworkCommand, AQBelowTheNetworksOwnDesignsNothingUsableAndSaysWhy)
{
    const int status = Run({"design", "--lnet", "50", "--network", "pi", "--network-q", "2", "--json"});
    EXPECT_EQ(status, kCommandFailed);
    const Json report = Json::parse(out_.str());
    EXPECT_FALSE(report["valid"].get<bool>());
    EXPECT_NE(report["figures"]["Lnetwork"]["reason"].get<std::string>().find("the Pi network needs a loaded Q above"),
              std::string::npos);
}

// The limit chooses the network the engine's search chooses and prints the core's
// circuit of it with its worst harmonic; the forms that cannot apply are misuse, and a
// limit no network meets fails with the closest found.
TEST_F(NetworkCommand, ALimitPrintsTheSearchsNetworkAndRefusesWhatCannotApply)
{
    DesignRecord design = CalculatedDesign(kDefaultNetworkQ, true, 50);
    const LimitDesign found = DesignToLimit(design, DesignOptions{.exact = true}, 60);
    ASSERT_TRUE(found.met);
    const Json report = RunJson({"design", "--lnet", "50", "--limit-dbc", "-60", "--exact", "--json"});
    ExpectParts(report, BuildCircuit(design, found.options));
    double worst = -300;
    for (const Json& h : report["harmonics"]) worst = std::max(worst, h["dBc"].get<double>());
    EXPECT_LE(worst, -60);
    EXPECT_EQ(Run({"design", "--lnet", "50", "--limit-dbc", "60", "--exact"}), 0);
    EXPECT_NE(out_.str().find("Network chosen for harmonics -60 dBc or below\n"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("Worst harmonic: "), std::string::npos);

    for (const std::vector<std::string>& misuse :
         {std::vector<std::string>{"design", "--limit-dbc", "43"},
          {"design", "--lnet", "50", "--limit-dbc", "9.9"},
          {"design", "--lnet", "50", "--limit-dbc", "150.1"},
          {"design", "--lnet", "50", "--limit-dbc", "x"},
          {"design", "--lnet", "50", "--limit-dbc", "43", "--network", "pi"},
          {"design", "--lnet", "50", "--limit-dbc", "43", "--notch"}}) {
        SCOPED_TRACE(misuse.back());
        EXPECT_EQ(Run(misuse), 2);
        EXPECT_NE(err_.str().find("--limit-dbc"), std::string::npos) << err_.str();
    }
    EXPECT_EQ(Run({"design", "--lnet", "50", "--limit-dbc", "150"}), 1);
    EXPECT_NE(err_.str().find("No network meets -150 dBc"), std::string::npos) << err_.str();
    EXPECT_TRUE(out_.str().empty());
}

}  // namespace
}  // namespace voltra
