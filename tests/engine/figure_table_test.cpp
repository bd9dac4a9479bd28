// The table of figures: what a circuit has not computed stands as such and reaches no
// medium, what it has reaches every medium the table names, and each figure's number
// is written the one way the table gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "engine/design_options.h"
#include "engine/figure_table.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

std::vector<std::string> NamesIn(const Circuit& c, unsigned medium)
{
    std::vector<std::string> names;
    for (const ShownFigure& f : FiguresIn(c, medium)) names.push_back(f.row->name);
    return names;
}

bool Lists(const std::vector<std::string>& names, const char* name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A closed-form circuit was never analysed: its output power is no valid zero but not
// computed, and no report lists it; the exact circuit's analysis gives it, near the
// target it was solved to (50 W at the start-up targets).
TEST(FigureTable, AnalysisFiguresStandNotComputedUntilAnAnalysisGivesThem)
{
    const DesignRecord d = CalculatedDesign();
    const Circuit closed = BuildCircuit(d);
    EXPECT_FALSE(closed.pout.Computed());
    EXPECT_FALSE(closed.pout.Usable());
    EXPECT_FALSE(closed.turnOnPercent.Computed());
    const std::vector<std::string> reported = NamesIn(closed, kInReports);
    EXPECT_FALSE(Lists(reported, "Pout"));
    EXPECT_FALSE(Lists(reported, "VturnOnPercent"));
    EXPECT_TRUE(Lists(reported, "Efficiency"));

    const Circuit exact = BuildCircuit(d, DesignOptions{.exact = true});
    const std::vector<std::string> analysed = NamesIn(exact, kInReports);
    ASSERT_TRUE(Lists(analysed, "Pout"));
    ASSERT_TRUE(Lists(analysed, "VturnOnPercent"));
    // After the design's own figures, in the order the reports have always listed them.
    EXPECT_EQ(analysed.end()[-2], "Pout");
    EXPECT_EQ(analysed.back(), "VturnOnPercent");
    EXPECT_NEAR(FigureOf(FigureKey::Pout).of(exact).value, d.Power, 0.005 * d.Power);
    // The analysis figures never stop the export: the design's own do.
    for (const auto& [name, result] : exact.NamedResults()) {
        EXPECT_STRNE(name, "Pout");
        EXPECT_STRNE(name, "VturnOnPercent");
    }
    EXPECT_EQ(exact.NamedResults().size(), analysed.size() - 2);
}

// A failed analysis must say so: invalidating a figure not yet computed leaves it
// invalid with the reason, not silently not computed.
TEST(FigureTable, AFigureNotComputedCanBeInvalidatedAndKeepsItsFirstReason)
{
    Result pout = NotComputed();
    Invalidate(pout, "the stage does not settle");
    EXPECT_EQ(pout.status, Status::Invalid);
    EXPECT_TRUE(pout.Computed());
    Invalidate(pout, "a later reason");
    EXPECT_EQ(pout.reason, "the stage does not settle");
}

// Lseries and the L-section's inductor add up to one Ltotal; a T's first inductor is
// no L-section's, so the T has none, where before the screen wrote "Ltotal: 0H".
TEST(FigureTable, LtotalOnlyWhereTheCircuitComputedIt)
{
    const DesignRecord d = CalculatedDesign(kDefaultNetworkQ, true, 50);
    const Circuit l = BuildCircuit(d);
    const Result ltotal = FigureOf(FigureKey::Ltotal).of(l);
    ASSERT_TRUE(ltotal.Computed());
    EXPECT_FLOAT_EQ(ltotal.value, l.ValueOf(PartRole::Lseries) + l.ValueOf(PartRole::NetworkL));
    DesignOptions t;
    t.network = NetworkKind::T;
    const Circuit tee = BuildCircuit(d, t);
    EXPECT_FALSE(FigureOf(FigureKey::Ltotal).of(tee).Computed());
    EXPECT_FALSE(Lists(NamesIn(tee, kOnScreen | kOnSheet | kInReports), "Ltotal"));
    EXPECT_TRUE(Lists(NamesIn(tee, kInReports), "Lnetwork2"));
    EXPECT_FALSE(Lists(NamesIn(BuildCircuit(CalculatedDesign()), kInReports), "Lnetwork"));
}

// One name a figure: a copied row would write one JSON key over another's.
TEST(FigureTable, EveryFigureHasItsOwnNameAndCaption)
{
    std::set<std::string> names, captions;
    for (const FigureRow& row : Figures()) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        EXPECT_TRUE(captions.insert(row.caption).second) << row.caption;
        EXPECT_EQ(&FigureOf(row.key), &row) << row.name;
    }
}

TEST(FigureTable, LabelsWriteTheNumberWithItsUnitOrTheInvalidMark)
{
    const Circuit c = BuildCircuit(CalculatedDesign());
    EXPECT_EQ(LabelText(c, FigureKey::Vsupply), "24 V");
    EXPECT_EQ(LabelText(FigureOf(FigureKey::Rdc), Result{12.5f}), "12.5 ohms");
    EXPECT_EQ(LabelText(FigureOf(FigureKey::Efficiency), Result{0.5f}), "50.0 %");
    EXPECT_EQ(LabelText(FigureOf(FigureKey::VturnOnPercent), Result{50.0f}), "50.0 %");
    EXPECT_EQ(LabelText(FigureOf(FigureKey::Tj), Result{124.6f}), "125 \xC2\xB0" "C");
    EXPECT_EQ(LabelText(FigureOf(FigureKey::Idc), Result{2, Status::Invalid, "no"}), kInvalidMark);
    // A warning is still a number, drawn red by the medium.
    EXPECT_EQ(LabelText(FigureOf(FigureKey::Idc), Result{2, Status::Warning, "far"}), "2 A");
    // Beside a symbol, by the part's kind.
    Part part = c.Get(PartRole::Lseries);
    part.value.value = 1.5e-6f;
    EXPECT_EQ(PartValueText(part), "1.5uH");
    part = c.Get(PartRole::C2);
    part.value.value = 2.2e-9f;
    EXPECT_EQ(PartValueText(part), "2.2nF");
    part = c.Get(PartRole::Load);
    part.value.value = 50;
    EXPECT_EQ(PartValueText(part), "50 ");
}

}  // namespace
}  // namespace voltra
