// The loss budget and stress tables in words: sums by cause, nothing for a circuit the
// program did not analyse, lossless parts left out, and the sheet's tables kept on
// the page with the largest circuit.
#include <gtest/gtest.h>

#include "engine/design_options.h"
#include "print/loss_texts.h"
#include "print/sheet_page.h"
#include "print/sheet_texts.h"
#include "print_test_support.h"

namespace voltra {
namespace {

Circuit Lossy(bool lnetwork)
{
    return BuildCircuit(DesignWith(lnetwork), DesignOptions{.exact = true, .inductorQ = 100, .capacitorQ = 500});
}

TEST(LossTexts, TotalsSortEveryEntryByItsCause)
{
    Circuit c = Lossy(false);
    c.losses = {{"S1", kConductionLoss, {2.0f}}, {"S1", kFallLoss, {0.5f}}, {"S1", kDischargeLoss, {0.25f}},
                {"L1", kSeriesResistanceLoss, {1.0f}}, {"C2", kSeriesResistanceLoss, {0.125f}}};
    const LossTotals t = TotalLosses(c);
    EXPECT_EQ(t.conduction, 2.0);
    EXPECT_EQ(t.fall, 0.5);
    EXPECT_EQ(t.discharge, 0.25);
    EXPECT_EQ(t.parts, 1.125);
    EXPECT_EQ(t.total, 3.875);
    EXPECT_TRUE(t.usable);
    Invalidate(c.losses[1].watts, "no waveform");
    EXPECT_FALSE(TotalLosses(c).usable);
    EXPECT_EQ(LossSummaryLine(c), "Losses: invalid");
}

TEST(LossTexts, TheClosedFormDesignCarriesNoBudgetAndItsSheetNoTables)
{
    const DesignRecord design = DesignWith(false);
    const Circuit plain = BuildCircuit(design, DesignOptions{});
    EXPECT_EQ(LossSummaryLine(plain), "");
    EXPECT_TRUE(StressRows(plain).empty());
    EXPECT_EQ(ImpulseLine(plain), "");
    EXPECT_TRUE(LossAndStressLines(plain).empty());
}

TEST(LossTexts, LosslessPartsAreLeftOutAndTheSwitchCausesStay)
{
    const Circuit exact = BuildCircuit(DesignWith(false), DesignOptions{.exact = true});
    const std::vector<TableRow> rows = LossRows(exact);
    // Conduction, fall and discharge, then the total and the supply's Pin - Pout.
    ASSERT_EQ(rows.size(), 5u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(rows[i].cells[0], "S1");
    EXPECT_EQ(rows[3].cells[1], "total");
    EXPECT_EQ(rows[4].cells[1], "Pin - Pout");
    // Parts are named in the summary only when some part has a finite Q.
    EXPECT_EQ(LossSummaryLine(exact).find("parts"), std::string::npos);
    EXPECT_NE(LossSummaryLine(Lossy(false)).find("parts"), std::string::npos);
    // A switch closing at zero volts discharges nothing: its residue reads as none.
    EXPECT_EQ(rows[2].cells[2], "0 W");
}

TEST(LossTexts, EveryPartHasAStressRowAndOnlyTheSwitchAPeakCurrent)
{
    const Circuit c = Lossy(true);
    const std::vector<TableRow> rows = StressRows(c);
    ASSERT_EQ(rows.size(), c.stresses.size());
    for (const TableRow& row : rows) {
        ASSERT_EQ(row.cells.size(), kStressColumns.size());
        EXPECT_EQ(row.cells[2] != "-", row.cells[0] == "S1") << row.cells[0];
    }
}

TEST(LossTexts, TheSheetTablesStayOnThePageWithTheLNetworkAndLossyParts)
{
    const std::vector<SheetText> lines = LossAndStressLines(Lossy(true));
    ASSERT_FALSE(lines.empty());
    int lowest = 0;
    for (const SheetText& line : lines) lowest = std::max(lowest, line.y);
    // The last line's text must end above the bottom of the page, a line's height to spare.
    EXPECT_LT(lowest, kSheetHeight - 400);
    EXPECT_GT(lines.front().y, 8300);  // under the footer
}

}  // namespace
}  // namespace voltra
