// The commands on the circuit as built, run through RunCommandLine with their output
// caught: none of them may simulate.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "simulation/simulator.h"

namespace voltra {

class NoSimulator : public Simulator {
public:
    SimulationOutcome Run(const SimulationRequest&, std::stop_token) override
    {
        ADD_FAILURE() << "an analysis of the circuit as built ran a simulation";
        return {std::nullopt, "not here", false};
    }
};

class AnalysisCommand : public ::testing::Test {
protected:
    int Run(const std::vector<std::string>& arguments)
    {
        out_.str("");
        err_.str("");
        return RunCommandLine(arguments, out_, err_, simulator_).value_or(-1);
    }
    nlohmann::json RunJson(const std::vector<std::string>& arguments)
    {
        EXPECT_EQ(Run(arguments), 0) << err_.str();
        return nlohmann::json::parse(out_.str());
    }
    NoSimulator simulator_;
    std::ostringstream out_, err_;
};

}  // namespace voltra
