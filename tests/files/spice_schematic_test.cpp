// The exported schematic as the simulator will read it: full text of the start-up
// design, the load-side layouts, connectivity of the wiring, and part values at
// the edges of the formatters.
#include "files/spice_schematic.h"

#include <cmath>
#include <set>
#include <sstream>

#include "engine/equations.h"
#include "file_test_support.h"

namespace {

class SpiceSchematicTest : public ScratchDirTest {
protected:
    void SetUp() override
    {
        ScratchDirTest::SetUp();
        StartupValues(design_);
        FindAll(design_);
    }
    // Turns the L-network on for a network resistance; the equal case keeps the
    // network the last calculation left.
    void UseLnetwork(const char* rnetwork)
    {
        design_.LnetState = 1;
        LnetworkWorking working;
        FindLnetwork(design_, working, rnetwork);
    }
    std::vector<std::string> Export()
    {
        WriteSpiceSchematic(Path("amp.asc"), design_, sink_);
        return LinesOf(ReadBytes(Path("amp.asc")));
    }
    // The value line that follows an instance name.
    std::string ValueOf(const std::string& instance)
    {
        const std::vector<std::string> lines = Export();
        for (std::size_t i = 0; i + 1 < lines.size(); ++i)
            if (lines[i] == "SYMATTR InstName " + instance) return lines[i + 1];
        return "no " + instance;
    }
    DesignRecord design_;
};

TEST_F(SpiceSchematicTest, StartupDesignMatchesTheCheckedFile)
{
    WriteSpiceSchematic(Path("amp.asc"), design_, sink_);
    EXPECT_EQ(ReadBytes(Path("amp.asc")), ReadBytes(VOLTRA_FILES_GOLDEN_DIR "/default_design.asc"));
    EXPECT_TRUE(sink_.messages.empty());
}

struct Layout {
    const char* name;
    const char* rnetwork;  // nullptr: no L-network; "equal": Rnetwork set to Rload
    std::size_t lines;
    const char* loadHeader;
};

void PrintTo(const Layout& layout, std::ostream* out) { *out << layout.name; }

class SpiceLayoutTest : public SpiceSchematicTest, public ::testing::WithParamInterface<Layout> {};

// A simulator joins a part's lead or another wire only at a wire's end: no wire may
// end in the middle of another, or that node is left unconnected.
TEST_P(SpiceLayoutTest, LineCountNamesAndWiresMeetAtEnds)
{
    if (GetParam().rnetwork) {
        UseLnetwork(GetParam().rnetwork == std::string("equal") ? "10" : GetParam().rnetwork);
        if (GetParam().rnetwork == std::string("equal")) design_.Rnetwork = design_.Rload;
    }
    const std::vector<std::string> lines = Export();
    EXPECT_EQ(lines.size(), GetParam().lines);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), GetParam().loadHeader), 1);

    std::set<std::string> names;
    struct Wire { int x1, y1, x2, y2; };
    std::vector<Wire> wires;
    for (const std::string& line : lines) {
        if (line.rfind("SYMATTR InstName ", 0) == 0) names.insert(line.substr(17));
        Wire w;
        if (std::sscanf(line.c_str(), "WIRE %d %d %d %d", &w.x1, &w.y1, &w.x2, &w.y2) == 4) wires.push_back(w);
    }
    std::set<std::string> expected = {"Vbattery", "Vgen", "RGen", "L1", "S1", "C1", "C2", "L2", "RLoad"};
    if (GetParam().rnetwork) expected.insert({"L3", "C3"});
    EXPECT_EQ(names, expected);
    for (const Wire& w : wires) {
        for (const auto& [x, y] : {std::pair{w.x1, w.y1}, std::pair{w.x2, w.y2}}) {
            for (const Wire& v : wires) {
                const bool inside = (v.y1 == y && v.y2 == y && std::min(v.x1, v.x2) < x && x < std::max(v.x1, v.x2)) ||
                                    (v.x1 == x && v.x2 == x && std::min(v.y1, v.y2) < y && y < std::max(v.y1, v.y2));
                EXPECT_FALSE(inside) << "wire end " << x << "," << y << " inside a wire";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    LoadSides, SpiceLayoutTest,
    ::testing::Values(Layout{"NoLnetwork", nullptr, 69, "SYMBOL res  784 -80 R0"},
                      Layout{"NetworkAboveLoad", "10", 84, "SYMBOL res  992 -80 R0"},
                      Layout{"NetworkBelowLoad", "1", 86, "WINDOW 0 4 6 Right 2"},
                      Layout{"NetworkEqualsLoad", "equal", 84, "SYMBOL res  944 -80 R0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SpiceSchematicTest, NetworkBelowLoadPutsC3FirstAndSplitsItsWire)
{
    UseLnetwork("1");
    const std::vector<std::string> lines = Export();
    const auto at = [&](const char* line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
    EXPECT_LT(at("SYMATTR InstName C3"), at("SYMATTR InstName L3"));
    EXPECT_EQ(at("SYMBOL cap  800 -48 M0") + 1, at("WINDOW 0 4 6 Right 2"));
    EXPECT_EQ(at("WIRE 736 -112 784 -112") + 1, at("WIRE 784 -112 832 -112"));
    EXPECT_EQ(at("SYMATTR Value 1"), at("SYMATTR InstName RLoad") + 1);
}

TEST_F(SpiceSchematicTest, PartValuesAtTheFormatterEdges)
{
    design_.Lseries = 1e-6f;
    EXPECT_EQ(ValueOf("L1"), "SYMATTR Value 10uH");
    design_.C1 = 9e-15f;
    EXPECT_EQ(ValueOf("C1"), "SYMATTR Value ");
    for (const auto& [farads, text] : std::vector<std::pair<float, std::string>>{
             {4.7f, "4.7"}, {1.0f, "1"}, {std::nextafter(10.0f, 0.0f), "10"}, {0.047f, "47mF"}, {10.0f, "0.01KF"}}) {
        design_.C2 = farads;
        EXPECT_EQ(ValueOf("C2"), "SYMATTR Value " + text) << farads;
    }
    design_.Saturation = 1;
    design_.Ipeak = 4;
    const std::vector<std::string> lines = Export();
    EXPECT_EQ(lines[13], "TEXT 0 280 Left 2 !.model MySwitch SW(Ron= .25 Roff=10000 Vt=3.5 Vh=0)");
    design_.Saturation = 12.5f;
    design_.WebAddress = "https://example.net/classe";
    EXPECT_EQ(Export()[13], "TEXT 0 280 Left 2 !.model MySwitch SW(Ron= 3.125 Roff=10000 Vt=3.5 Vh=0)");
    EXPECT_EQ(Export()[15], "TEXT 0 376 Left 2 ;Voltra - https://example.net/classe");
}

// NaN marks a failed calculation step; a zero peak current makes the switch's
// on-resistance infinite. Neither may reach the simulator as text.
TEST_F(SpiceSchematicTest, InvalidResultsAreNeverExported)
{
    WriteBytes(Path("amp.asc"), "earlier\r\n");
    design_.C2 = NAN;
    WriteSpiceSchematic(Path("amp.asc"), design_, sink_);
    FindAll(design_);
    design_.Ipeak = 0;
    WriteSpiceSchematic(Path("amp.asc"), design_, sink_);
    EXPECT_EQ(sink_.messages, (std::vector<std::string>{kSpiceInvalidDesign, kSpiceInvalidDesign}));
    EXPECT_EQ(sink_.beeps, 2);
    EXPECT_EQ(ReadBytes(Path("amp.asc")), "earlier\r\n");
    WriteSpiceSchematic("a.as", design_, sink_);
    EXPECT_EQ(EntriesOf(dir_), std::vector<std::string>{"amp.asc"});
}

}  // namespace
