// The output chain every drawing walks, read off the parts' nodes: the order and the
// symbol of each part, the link before the load, and the parallel pair in the rail.
#include <gtest/gtest.h>

#include "engine/circuit_chain.h"
#include "engine/design_options.h"
#include "tests/calculated_design.h"

namespace voltra {

namespace {

std::vector<std::pair<ChainSymbol, std::string>> Links(const Circuit& c)
{
    std::vector<std::pair<ChainSymbol, std::string>> links;
    for (const ChainLink& link : OutputChain(c))
        links.push_back({link.symbol, std::string(link.part->name) + (link.beside ? std::string("|") + link.beside->name : "") +
                                          (link.lastBeforeLoad ? "*" : "")});
    return links;
}

using S = ChainSymbol;

TEST(OutputChain, TheSeedLayoutsInSignalOrderWithTheLinkBeforeTheLoadMarked)
{
    EXPECT_EQ(Links(BuildCircuit(CalculatedDesign())),
              (decltype(Links({})){{S::ShuntC, "C1"}, {S::SeriesC, "C2"}, {S::SeriesL, "L2*"}, {S::Load, "RLoad"}}));
    // Rload below 50 ohm: the series inductor faces the stage, the shunt C the load.
    EXPECT_EQ(Links(BuildCircuit(CalculatedDesign(kDefaultNetworkQ, true, 50))),
              (decltype(Links({})){{S::ShuntC, "C1"},
                                   {S::SeriesC, "C2"},
                                   {S::SeriesL, "L2"},
                                   {S::SeriesL, "L3"},
                                   {S::ShuntC, "C3*"},
                                   {S::Load, "RLoad"}}));
    EXPECT_EQ(Links(BuildCircuit(CalculatedDesign(kDefaultNetworkQ, true, 2))),
              (decltype(Links({})){{S::ShuntC, "C1"},
                                   {S::SeriesC, "C2"},
                                   {S::SeriesL, "L2"},
                                   {S::ShuntC, "C3"},
                                   {S::SeriesL, "L3*"},
                                   {S::Load, "RLoad"}}));
}

// Two rail parts between the same nodes are one symbol, the inductor first whatever
// their order in the list; parts across the rail at one node (a shunt C beside the
// load) stay apart, and an inductor to ground is a shunt inductor.
TEST(OutputChain, PartsSideBySideInTheRailPairAndShuntsAtOneNodeDoNot)
{
    Circuit c = BuildCircuit(CalculatedDesign(kDefaultNetworkQ, true, 50));
    auto at = [&c](const char* name) {
        return std::find_if(c.parts.begin(), c.parts.end(), [name](const Part& p) { return std::string(p.name) == name; });
    };
    Part trapC = *at("C3");
    trapC.name = "C5";
    trapC.from = "lnet";
    trapC.to = "load";
    c.parts.insert(at("L3"), trapC);  // C5 before L3, between the same nodes
    Part shuntL = *at("L3");
    shuntL.name = "L4";
    shuntL.from = "load";
    shuntL.to = "0";
    c.parts.insert(at("RLoad"), shuntL);
    EXPECT_EQ(Links(c), (decltype(Links({})){{S::ShuntC, "C1"},
                                             {S::SeriesC, "C2"},
                                             {S::SeriesL, "L2"},
                                             {S::ParallelLC, "L3|C5"},
                                             {S::ShuntC, "C3"},
                                             {S::ShuntL, "L4*"},
                                             {S::Load, "RLoad"}}));
}

// The newer networks in signal order; the Pi's load-side shunt keeps its label's place,
// which its stage-side twin two links back labels already under the rail.
TEST(OutputChain, TheNewerNetworksAndTheTrapInSignalOrder)
{
    const DesignRecord design = CalculatedDesign(kDefaultNetworkQ, true, 50);
    DesignOptions pi;
    pi.network = NetworkKind::Pi;
    EXPECT_EQ(Links(BuildCircuit(design, pi)), (decltype(Links({})){{S::ShuntC, "C1"},
                                                                   {S::SeriesC, "C2"},
                                                                   {S::SeriesL, "L2"},
                                                                   {S::ShuntC, "C3"},
                                                                   {S::SeriesL, "L3"},
                                                                   {S::ShuntC, "C4"},
                                                                   {S::Load, "RLoad"}}));
    DesignOptions t;
    t.network = NetworkKind::T;
    t.trap = true;
    EXPECT_EQ(Links(BuildCircuit(design, t)), (decltype(Links({})){{S::ShuntC, "C1"},
                                                                  {S::SeriesC, "C2"},
                                                                  {S::SeriesL, "L2"},
                                                                  {S::ParallelLC, "L5|C5"},
                                                                  {S::SeriesL, "L3"},
                                                                  {S::ShuntC, "C3"},
                                                                  {S::SeriesL, "L4*"},
                                                                  {S::Load, "RLoad"}}));
}

}  // namespace

}  // namespace voltra
