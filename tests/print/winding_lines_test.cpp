// The windings on the sheet: a header and one line per inductor under the loss and
// stress tables (in their place when there are none), the core each is wound on as
// chosen, every warning under the table with its part's name, and the page holding it
// all for the largest circuit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/wound_circuit.h"
#include "print/sheet_page.h"
#include "print/sheet_texts.h"
#include "print_test_support.h"

namespace voltra {
namespace {

ToroidCore Core(const char* name, double alNanohenry, double innerMm)
{
    ToroidCore core;
    core.name = name;
    core.inductanceFactor = alNanohenry * 1e-9;
    core.outerDiameter = 33e-3;
    core.innerDiameter = innerMm * 1e-3;
    core.height = 11e-3;
    core.area = 70e-6;
    core.pathLength = 80e-3;
    return core;
}

const std::vector<ToroidCore> kCores = {Core("TEST-10", 10, 20), Core("TEST-TINY", 0.5, 1.5)};

std::vector<const SheetText*> Row(const std::vector<SheetText>& texts, int y)
{
    std::vector<const SheetText*> row;
    for (const SheetText& t : texts)
        if (t.y == y) row.push_back(&t);
    return row;
}

TEST(SheetWindings, OneLinePerInductorUnderTheTablesWithTheChosenCore)
{
    const DesignRecord design = DesignWith(true);
    const WoundCircuit closed = BuildWoundCircuit(design, DesignOptions{}, {{{PartRole::Choke, "TEST-10"}}, kCores});
    EXPECT_TRUE(WindingLines(closed.circuit, {}).empty());
    const std::vector<SheetText> lines = WindingLines(closed.circuit, closed.windings);
    ASSERT_FALSE(lines.empty());
    // No loss tables on a closed-form sheet: the windings stand where they would.
    const int top = lines.front().y;
    EXPECT_EQ(top, 9000);
    const auto header = Row(lines, top);
    ASSERT_EQ(header.size(), 8u);
    EXPECT_EQ(header[0]->text, "Part");
    EXPECT_EQ(header[1]->text, "Core");
    ASSERT_EQ(closed.windings.size(), 3u);
    int y = top;
    for (const InductorWinding& w : closed.windings) {
        y += 260;
        const auto row = Row(lines, y);
        ASSERT_EQ(row.size(), 8u) << w.part;
        EXPECT_EQ(row[0]->text, w.part);
        EXPECT_EQ(row[1]->text, w.core.empty() ? "air" : w.core);
        char turns[16];
        std::snprintf(turns, sizeof turns, "%.1f", w.turns);
        EXPECT_EQ(row[2]->text, turns);
        // Columns in order across the page and inside it.
        for (std::size_t k = 1; k < row.size(); ++k) EXPECT_GT(row[k]->x, row[k - 1]->x);
    }
    EXPECT_EQ(Row(lines, top + 260)[1]->text, "TEST-10");

    // An analysed circuit's windings follow its tables.
    DesignOptions exact{.exact = true, .inductorQ = 100};
    const WoundCircuit analysed = BuildWoundCircuit(design, exact, {{}, kCores});
    const std::vector<SheetText> tables = LossAndStressLines(analysed.circuit);
    ASSERT_FALSE(tables.empty());
    EXPECT_GT(WindingLines(analysed.circuit, analysed.windings).front().y, tables.back().y);
}

TEST(SheetWindings, WarningsStandUnderTheTableWrappedAndWhole)
{
    const DesignRecord design = DesignWith(false);
    const WoundCircuit wound = BuildWoundCircuit(design, DesignOptions{}, {{{PartRole::Lseries, "TEST-TINY"}}, kCores});
    ASSERT_EQ(wound.windings.size(), 2u);
    const InductorWinding& l2 = wound.windings[1];
    ASSERT_FALSE(l2.warnings.empty());
    const std::vector<SheetText> lines = WindingLines(wound.circuit, wound.windings);
    const int lastRow = lines.front().y + 2 * 260;
    std::string said;
    for (const SheetText& t : lines) {
        if (t.y <= lastRow) continue;
        EXPECT_EQ(t.x, 3000);
        EXPECT_LE(t.text.size(), 84u) << t.text;
        said += (said.empty() ? "" : " ") + t.text.substr(t.text.find_first_not_of(' '));
    }
    std::string expected = "L2:";
    for (const std::string& w : l2.warnings) expected += " " + w;
    EXPECT_EQ(said, expected);
}

// The fullest sheet: exact, the L-network, every part lossy with the windings' Qs in
// the budget, a device-free switch: every text still starts inside the page.
TEST(SheetWindings, TheFullestSheetStaysOnThePage)
{
    const DesignRecord design = DesignWith(true);
    const WoundCircuit wound =
        BuildWoundCircuit(design, DesignOptions{.exact = true, .capacitorQ = 300}, {{}, kCores, true});
    ASSERT_TRUE(wound.circuit.windingQ.Any());
    const std::vector<SheetText> lines = WindingLines(wound.circuit, wound.windings);
    ASSERT_FALSE(lines.empty());
    EXPECT_LT(lines.back().y + 260, kSheetHeight);
}

}  // namespace
}  // namespace voltra
