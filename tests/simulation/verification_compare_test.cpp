// Predicted beside simulated, without a simulator: each row compares the right pair,
// deviations have the sign and the unit the window shows, and what cannot be compared
// is flagged rather than passed.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "engine/design_options.h"
#include "engine/figure_table.h"
#include "simulation/verification.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

// Distinct values, so a row that reads another figure's shows it.
SimulationFigures DistinctFigures()
{
    SimulationFigures s;
    s.Pout = 51;
    s.Pin = 62;
    s.Efficiency = 0.83;
    s.Idc = 2.4;
    s.Vpeak = 85;
    s.Ipeak = 6.6;
    s.VturnOnPercent = 3.7;
    return s;
}

const FigureComparison& Row(const std::vector<FigureComparison>& rows, const std::string& key)
{
    for (const FigureComparison& row : rows)
        if (key == row.key) return row;
    ADD_FAILURE() << "no row " << key;
    return rows.front();
}

// The verification compares what the table of figures marks for it, no more and no
// less, under the table's names and units.
TEST(VerificationCompare, TheRowsAreTheTablesVerificationFigures)
{
    const DesignRecord d = CalculatedDesign();
    const Circuit c = BuildCircuit(d, DesignOptions{.exact = true});
    std::set<std::pair<std::string, std::string>> rows, table;
    for (const FigureComparison& row : Compare(d, c, DistinctFigures())) rows.insert({row.key, row.unit});
    for (const ShownFigure& figure : FiguresIn(c, kInVerification)) table.insert({figure.row->name, figure.row->unit});
    EXPECT_EQ(rows, table);
}

TEST(VerificationCompare, EachRowPairsTheCircuitsPredictionWithItsOwnSimulatedFigure)
{
    const DesignRecord d = CalculatedDesign();
    const Circuit c = BuildCircuit(d);
    const SimulationFigures s = DistinctFigures();
    const std::vector<FigureComparison> rows = Compare(d, c, s);
    const struct {
        const char* key;
        const char* unit;
        double predicted;
        double simulated;
    } expected[] = {
        {"Pout", "W", d.Power, s.Pout},
        {"Pin", "W", static_cast<double>(d.Supply) * c.idc.value, s.Pin},
        {"Efficiency", "", c.efficiency.value, s.Efficiency},
        {"Idc", "A", c.idc.value, s.Idc},
        {"Vpeak", "V", c.vpeak.value, s.Vpeak},
        {"Ipeak", "A", c.ipeak.value, s.Ipeak},
        {"VturnOnPercent", "%", 0, s.VturnOnPercent},
    };
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(expected[i].key);
        EXPECT_STREQ(rows[i].key, expected[i].key);
        EXPECT_STREQ(rows[i].unit, expected[i].unit);
        EXPECT_EQ(rows[i].predicted, expected[i].predicted);
        EXPECT_EQ(rows[i].simulated, expected[i].simulated);
    }
}

// Simulated above predicted is a positive deviation, in % of the prediction; the
// turn-on voltage deviates in % of the supply, the unit of the figure itself. Beyond
// 10 % either way the row is flagged.
TEST(VerificationCompare, DeviationsHaveTheirSignUnitAndWarningLimit)
{
    const DesignRecord d = CalculatedDesign();
    const Circuit c = BuildCircuit(d);
    SimulationFigures s = DistinctFigures();
    s.Pout = 1.05 * d.Power;
    s.Vpeak = 0.85 * c.vpeak.value;
    s.VturnOnPercent = -12;
    const std::vector<FigureComparison> rows = Compare(d, c, s);
    EXPECT_NEAR(Row(rows, "Pout").deviationPercent, 5, 1e-9);
    EXPECT_FALSE(Row(rows, "Pout").beyondWarning);
    EXPECT_NEAR(Row(rows, "Vpeak").deviationPercent, -15, 1e-9);
    EXPECT_TRUE(Row(rows, "Vpeak").beyondWarning);
    EXPECT_NEAR(Row(rows, "VturnOnPercent").deviationPercent, -12, 1e-12);
    EXPECT_TRUE(Row(rows, "VturnOnPercent").beyondWarning);
}

// A switch that never turns on leaves the turn-on figures NaN, and a failed measure
// can leave any figure NaN: such a row is flagged, never shown as agreeing.
TEST(VerificationCompare, AFigureThatIsNotANumberIsFlagged)
{
    const DesignRecord d = CalculatedDesign();
    const Circuit c = BuildCircuit(d);
    for (double SimulationFigures::*figure : {&SimulationFigures::Pout, &SimulationFigures::Pin,
                                              &SimulationFigures::Efficiency, &SimulationFigures::Idc,
                                              &SimulationFigures::Vpeak, &SimulationFigures::Ipeak,
                                              &SimulationFigures::VturnOnPercent}) {
        SimulationFigures s = DistinctFigures();
        s.*figure = NAN;
        int flagged = 0;
        for (const FigureComparison& row : Compare(d, c, s))
            if (std::isnan(row.simulated)) {
                EXPECT_TRUE(row.beyondWarning) << row.key;
                ++flagged;
            }
        EXPECT_EQ(flagged, 1);
    }
}

// Rounded to E24 the stage is detuned: it is compared with its own analysis, which
// delivers other than the target and switches on at a residual voltage, not with
// the targets it no longer meets.
TEST(VerificationCompare, AnAnalysedCircuitIsComparedWithItsOwnFigures)
{
    const DesignRecord d = CalculatedDesign();
    const Circuit c = BuildCircuit(d, DesignOptions{.series = ESeries::E24});
    ASSERT_TRUE(c.analysed && c.pout.Usable() && c.turnOnPercent.Usable());
    ASSERT_GT(std::fabs(c.pout.value - d.Power), 1e-3 * d.Power);
    ASSERT_GT(std::fabs(c.turnOnPercent.value), 0.1);

    SimulationFigures s = DistinctFigures();
    s.Pout = c.pout.value;
    s.VturnOnPercent = c.turnOnPercent.value + 1;
    const std::vector<FigureComparison> rows = Compare(d, c, s);
    EXPECT_EQ(Row(rows, "Pout").predicted, c.pout.value);
    EXPECT_EQ(Row(rows, "Pout").deviationPercent, 0);
    EXPECT_EQ(Row(rows, "VturnOnPercent").predicted, c.turnOnPercent.value);
    EXPECT_NEAR(Row(rows, "VturnOnPercent").deviationPercent, 1, 1e-5);
    EXPECT_EQ(Row(rows, "Efficiency").predicted, c.efficiency.value);
    EXPECT_EQ(Row(rows, "Idc").predicted, c.idc.value);
}

// The harmonics pair each n with its own bin of the simulated spectrum, in dB below
// the simulated fundamental; a miss is flagged above the floor only, and the closed-form
// circuit, which predicts no spectrum, compares none.
TEST(VerificationCompare, HarmonicsPairEachOrderAndFlagMissesAboveTheFloor)
{
    const DesignRecord d = CalculatedDesign();
    EXPECT_TRUE(CompareHarmonics(BuildCircuit(d), DistinctFigures()).empty());

    Circuit c = BuildCircuit(d, DesignOptions{.exact = true});
    ASSERT_EQ(c.harmonics.size(), kHarmonics - 1);
    c.harmonics[0].dBc = -30;  // n = 2: simulated 2 dB higher
    c.harmonics[1].dBc = -41;  // n = 3: within the warning
    c.harmonics[8].dBc = -85;  // n = 10: below the floor, 5 dB off
    SimulationFigures s = DistinctFigures();
    s.loadHarmonics = {10, 10 * std::pow(10, -28 / 20.0), 10 * std::pow(10, -40 / 20.0), 0, 0, 0, 0, 0, 0,
                       10 * std::pow(10, -80 / 20.0)};
    const std::vector<HarmonicComparison> rows = CompareHarmonics(c, s);
    ASSERT_EQ(rows.size(), kHarmonics - 1);
    EXPECT_EQ(rows[0].n, 2);
    EXPECT_NEAR(rows[0].simulated, -28, 1e-9);
    EXPECT_NEAR(rows[0].difference, 2, 1e-9);
    EXPECT_TRUE(rows[0].beyondWarning);
    EXPECT_NEAR(rows[1].simulated, -40, 1e-9);
    EXPECT_FALSE(rows[1].beyondWarning);
    EXPECT_EQ(rows[2].simulated, kDeepestHarmonicDbc);
    EXPECT_EQ(rows[8].n, 10);
    EXPECT_NEAR(rows[8].difference, 5, 1e-9);
    EXPECT_FALSE(rows[8].beyondWarning);
}

}  // namespace
}  // namespace voltra
