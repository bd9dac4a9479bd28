// The exported schematic as the simulator reads it: the start-up design's full text,
// the load-side layouts, part values at the formatters' edges, invalid designs.
#include "files/spice_schematic.h"

#include <cmath>

#include "engine/design_options.h"
#include "engine/equations.h"
#include "file_test_support.h"

namespace voltra {

namespace {

class SpiceSchematicTest : public ScratchDirTest {
protected:
    void SetUp() override
    {
        ScratchDirTest::SetUp();
        StartupValues(design_);
        FindAll(design_);
    }
    Texts Export()
    {
        WriteSpiceSchematic("amp.asc", BuildCircuit(design_), sink_);
        return LinesOf(ReadBytes("amp.asc"));
    }
    DesignRecord design_;
};

TEST_F(SpiceSchematicTest, StartupDesignMatchesTheCheckedFile)
{
    WriteSpiceSchematic("amp.asc", BuildCircuit(design_), sink_);
    EXPECT_EQ(ReadBytes("amp.asc"), ReadBytes(VOLTRA_FILES_GOLDEN_DIR "/default_design.asc"));
    EXPECT_TRUE(sink_.messages.empty());
}

// Rnetwork "=" equals Rload: nothing to transform, so the plain stage goes out with no
// network part at all. Where C3 comes first its wire is split at x = 784, so that the
// capacitor's lead meets wire ends.
struct Layout {
    const char* rnetwork;
    std::size_t lines;
    std::string names;
    Texts inOrder;
};
const Layout kLayouts[] = {
    {nullptr, 69, "RLoad", {}},
    {"10", 84, "L3 C3 RLoad", {"SYMBOL res  992 -80 R0"}},
    {"1", 86, "C3 L3 RLoad",
     {"WINDOW 0 4 6 Right 2", "SYMBOL res  944 -80 R0", "WIRE 736 -112 784 -112", "WIRE 784 -112 832 -112"}},
    {"=", 69, "RLoad", {"SYMBOL res  784 -80 R0", "SYMATTR Value 5.465919", "WIRE 736 -112 800 -112"}}};

TEST_F(SpiceSchematicTest, LoadSideLayouts)
{
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(layout.names);
        design_.LnetState = layout.rnetwork != nullptr;
        LnetworkWorking working;
        if (layout.rnetwork)
            FindLnetwork(design_, working, *layout.rnetwork == '=' ? design_.Rload : std::stof(layout.rnetwork));
        const Texts lines = Export();
        EXPECT_EQ(lines.size(), layout.lines);
        std::string names;
        for (const std::string& line : lines)
            if (line.rfind("SYMATTR InstName ", 0) == 0) names += line.substr(17) + " ";
        EXPECT_EQ(names, "Vbattery Vgen RGen L1 S1 C1 C2 L2 " + layout.names + " ");
        auto at = lines.begin();
        for (const std::string& line : layout.inOrder)
            ASSERT_NE(at = std::find(at, lines.end(), line), lines.end()) << line;
    }
}

// SPICE reads a trailing "F" as femto, so farads from 1 to 10 go without it; below
// the formatter's picofarad row a capacitor is written in femtofarads, never empty.
TEST_F(SpiceSchematicTest, PartValuesAtTheFormatterEdges)
{
    design_.Lseries = 1e-6f;
    design_.Saturation = 1;
    design_.Ipeak = 4;
    const std::pair<float, std::string> capacitors[] = {
        {9.5e-15f, "9.5f"}, {9e-15f, "9f"}, {1e-14f, "10f"}, {1.1e-14f, "0.011pF"}, {1, "1"},
        {std::nextafter(10.0f, 0.0f), "10"}};
    for (const auto& [farads, text] : capacitors) {
        design_.C2 = farads;
        const Texts lines = Export();
        EXPECT_EQ(lines.at(36), "SYMATTR Value " + text) << farads;
        EXPECT_EQ(lines[13], "TEXT 0 280 Left 2 !.model MySwitch SW(Ron= .25 Roff=10000 Vt=3.5 Vh=0)");
        EXPECT_EQ(lines[18], "SYMATTR Value 10uH");
    }
}

// The open switch stays a thousand times the Class E load, so a high-impedance stage
// keeps its power in the simulator; 10 kilohm stands wherever that already holds.
TEST_F(SpiceSchematicTest, OpenSwitchNeverLoadsTheDrain)
{
    const std::pair<float, std::string> loads[] = {{5.4659f, "10000"}, {10, "10000"}, {26700, "26700000"}};
    for (const auto& [rload, roff] : loads) {
        design_.Rload = rload;
        EXPECT_EQ(Export().at(13), "TEXT 0 280 Left 2 !.model MySwitch SW(Ron= .161447 Roff=" + roff + " Vt=3.5 Vh=0)")
            << rload;
    }
}

// A failed step leaves NaN; a zero peak current makes the on-resistance infinite.
TEST_F(SpiceSchematicTest, InvalidResultsAreNeverExported)
{
    design_.C2 = NAN;
    EXPECT_TRUE(Export().empty());
    FindAll(design_);
    design_.Ipeak = 0;
    EXPECT_TRUE(Export().empty());
    EXPECT_EQ(sink_.messages, Texts(2, kSpiceInvalidDesign));
    EXPECT_EQ(sink_.beeps, 2);
}

// At 600 MHz a 1 ns fall is longer than the half period the switch is open: the
// generator's pulse width would be negative (-666p), so no file is written, with or
// without the switch model.
TEST_F(SpiceSchematicTest, AFallLongerThanTheOffTimeIsNeverExported)
{
    design_.Frequency = 600e6f;
    FindAll(design_);
    for (const bool exact : {false, true}) {
        SCOPED_TRACE(exact);
        Circuit circuit = BuildCircuit(design_);
        circuit.switchModel = exact;
        WriteSpiceSchematic("amp.asc", circuit, sink_);
        EXPECT_FALSE(fs::exists("amp.asc"));
    }
    // Nor a fall exactly as long as the off-time: a pulse of zero width. At 2^28 Hz
    // the half period, 2^-29 s, is exact in single precision.
    design_.Frequency = 268435456.0f;
    FindAll(design_);
    Circuit edge = BuildCircuit(design_);
    edge.falltime = std::ldexp(1.0f, -29);
    ASSERT_EQ(static_cast<double>(edge.falltime), 0.5 / static_cast<double>(edge.frequency));
    WriteSpiceSchematic("amp.asc", edge, sink_);
    EXPECT_FALSE(fs::exists("amp.asc"));
    EXPECT_EQ(sink_.messages, Texts(3, kSpiceFallTooLong));
    EXPECT_EQ(sink_.beeps, 3);
}

// A rounded circuit that misses the targets is still exported, the file saying why its
// figures are questioned; the plain design's file (checked whole above) says nothing.
TEST_F(SpiceSchematicTest, QuestionedFiguresAreNotedInTheFile)
{
    const Circuit miss = BuildCircuit(design_, DesignOptions{.series = ESeries::E12});
    ASSERT_FALSE(QuestionedReasons(miss).empty());
    WriteSpiceSchematic("amp.asc", miss, sink_);
    Texts notes;
    for (const std::string& line : LinesOf(ReadBytes("amp.asc")))
        if (line.find(";Questioned: ") != std::string::npos) notes.push_back(line);
    ASSERT_EQ(notes.size(), QuestionedReasons(miss).size());
    EXPECT_EQ(notes[0], "TEXT 0 -336 Left 2 ;Questioned: " + QuestionedReasons(miss)[0]);
    EXPECT_TRUE(sink_.messages.empty());
}

}  // namespace

}  // namespace voltra
