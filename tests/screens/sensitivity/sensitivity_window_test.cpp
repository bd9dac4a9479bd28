// The sensitivities window against the engine on the same circuit: the numbers in
// the table, the guide's lines, and a circuit it cannot analyse.
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "engine/design_options.h"
#include "engine/sensitivity.h"
#include "screens/object_names.h"
#include "screens/sensitivity/sensitivity_window.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

struct Shown {
    QTableWidget* table;
    QListWidget* guide;
};

Shown Read(const SensitivityWindow& window)
{
    return {window.findChild<QTableWidget*>(QLatin1String(kSensitivityTableName)),
            window.findChild<QListWidget*>(QLatin1String(kBenchGuideListName))};
}

// Rounded circuits and one with the L-network: the table must follow the parts the
// circuit has, in its order, with their own numbers.
TEST(SensitivityWindowTest, TableAndGuideAreTheEnginesForTheCircuitShown)
{
    SensitivityWindow window(nullptr);
    for (const bool lnet : {false, true})
        for (const std::optional<ESeries> series : {std::optional<ESeries>{}, std::optional<ESeries>{ESeries::E12}}) {
            DesignOptions options;
            options.series = series;
            const Circuit circuit = BuildCircuit(CalculatedDesign(kDefaultNetworkQ, lnet, 50), options);
            window.Follow(circuit);
            const Sensitivities expected = AnalyseSensitivities(circuit);
            const Shown shown = Read(window);
            ASSERT_EQ(shown.table->rowCount(), static_cast<int>(expected.parts.size()));
            for (int r = 0; r < shown.table->rowCount(); ++r) {
                const PartSensitivity& s = expected.parts[static_cast<std::size_t>(r)];
                ASSERT_TRUE(s.valid);
                EXPECT_EQ(shown.table->item(r, 0)->text(), QLatin1String(s.part));
                const double figures[] = {s.pout, s.efficiency, s.turnOnVoltage, s.vpeak};
                for (int k = 0; k < 4; ++k) {
                    bool read = false;
                    const double cell = shown.table->item(r, k + 1)->text().toDouble(&read);
                    ASSERT_TRUE(read) << s.part << " " << k;
                    // Three significant digits, the sign kept.
                    EXPECT_NEAR(cell, figures[k], 5e-3 * std::abs(figures[k]) + 1e-12) << s.part << " " << k;
                }
            }
            const std::vector<BenchAdvice> guide = BenchGuide(expected);
            ASSERT_EQ(shown.guide->count(), static_cast<int>(guide.size()));
            ASSERT_FALSE(guide.empty());
            for (int i = 0; i < shown.guide->count(); ++i)
                EXPECT_EQ(shown.guide->item(i)->text().toStdString(), guide[static_cast<std::size_t>(i)].text);
        }
}

TEST(SensitivityWindowTest, ACircuitWithoutASteadyStateLeavesNoStaleRows)
{
    SensitivityWindow window(nullptr);
    const DesignRecord design = CalculatedDesign();
    window.Follow(BuildCircuit(design, DesignOptions{}));
    ASSERT_GT(Read(window).table->rowCount(), 0);

    // A fall longer than the switch's whole off-time: the stage never settles.
    DesignRecord slow = design;
    slow.Falltime = 0.9f / slow.Frequency;
    window.Follow(BuildCircuit(slow, DesignOptions{}));
    EXPECT_EQ(Read(window).table->rowCount(), 0);
    EXPECT_EQ(Read(window).guide->count(), 0);
}

}  // namespace
}  // namespace voltra
