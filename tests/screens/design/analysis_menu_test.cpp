// The Tools menu's analyses of the circuit as built: where they stand in the menu,
// and that each window works on the circuit the screen shows, rounding included,
// and follows the next calculation.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QChart>
#include <QChartView>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

#include "engine/circuit_sweep.h"
#include "engine/sensitivity.h"
#include "screens/object_names.h"
#include "screens/sensitivity/sensitivity_window.h"
#include "screens/sweep/sweep_window.h"
#include "screens/tolerance/tolerance_window.h"
#include "tests/screens/design/screen_fixture.h"

namespace voltra {
namespace {

class AnalysisMenuTest : public DesignScreenTest {
protected:
    void Trigger(const char* action) const { screen->findChild<QAction*>(QLatin1String(action))->trigger(); }
    void ChooseSeries(const char* series) const
    {
        screen->findChild<QComboBox*>(QLatin1String(kSeriesBoxName))->setCurrentText(QLatin1String(series));
    }
    // The table's Pout column as numbers.
    std::vector<double> PoutColumn() const
    {
        auto* table = screen->findChild<QTableWidget*>(QLatin1String(kSensitivityTableName));
        std::vector<double> column;
        for (int r = 0; r < table->rowCount(); ++r) column.push_back(table->item(r, 1)->text().toDouble());
        return column;
    }
    static std::vector<double> PoutOf(const Circuit& circuit)
    {
        std::vector<double> column;
        for (const PartSensitivity& s : AnalyseSensitivities(circuit).parts)
            column.push_back(QString::number(s.pout, 'g', 3).toDouble());
        return column;
    }
};

TEST_F(AnalysisMenuTest, TheThreeStandAfterTheBestPartsInTheToolsMenu)
{
    Open();
    auto* tools = screen->findChild<QMenu*>(QLatin1String(kToolsMenuName));
    ASSERT_NE(tools, nullptr);
    QStringList names;
    for (const QAction* action : tools->actions()) names << action->objectName();
    const qsizetype parts = names.indexOf(QLatin1String(kPartsWindowActionName));
    ASSERT_GE(parts, 0);
    EXPECT_EQ(names.mid(parts + 1, 4), (QStringList{kBestPartsActionName, kToleranceWindowActionName,
                                                    kSensitivityWindowActionName, kSweepWindowActionName}));
}

TEST_F(AnalysisMenuTest, SensitivitiesAreOfTheRoundedCircuitShownAndFollowIt)
{
    Open();
    ChooseSeries("E24");
    Trigger(kSensitivityWindowActionName);
    ASSERT_NE(screen->findChild<SensitivityWindow*>(), nullptr);
    EXPECT_TRUE(screen->findChild<SensitivityWindow*>()->isVisible());
    const std::vector<double> e24 = PoutColumn();
    EXPECT_EQ(e24, PoutOf(screen->ShownCircuit()));
    ChooseSeries("E12");
    EXPECT_EQ(PoutColumn(), PoutOf(screen->ShownCircuit()));
    EXPECT_NE(PoutColumn(), e24);
}

TEST_F(AnalysisMenuTest, TheSweepOffersTheShownCircuitsPartsAroundTheirValues)
{
    design.LnetState = true;
    Open();
    Trigger(kSweepWindowActionName);
    auto* quantity = screen->findChild<QComboBox*>(QLatin1String(kSweepQuantityBoxName));
    ASSERT_NE(quantity, nullptr);
    QStringList offered;
    for (int i = 0; i < quantity->count(); ++i) offered << quantity->itemText(i);
    QStringList expected;
    for (const std::string& name : SweepableNames(screen->ShownCircuit())) expected << QString::fromStdString(name);
    EXPECT_EQ(offered, expected);
    // The range first offered lies about the design's own frequency.
    EXPECT_EQ(screen->findChild<QLineEdit*>(QLatin1String(kSweepFromBoxName))->text(),
              PrefixedText(0.9 * screen->ShownCircuit().frequency, QStringLiteral("Hz")));
}

TEST_F(AnalysisMenuTest, ANewTargetClearsTheTolerancesOfTheOldCircuit)
{
    Open();
    Trigger(kToleranceWindowActionName);
    auto* window = screen->findChild<ToleranceWindow*>();
    ASSERT_NE(window, nullptr);
    window->findChild<QSpinBox*>(QLatin1String(kSamplesBoxName))->setValue(100);
    QTest::mouseClick(window->findChild<QPushButton*>(QLatin1String(kRunToleranceButtonName)), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([window] { return !window->Running(); }, 60'000));
    auto* yield = window->findChild<QLabel*>(QLatin1String(kYieldLabelName));
    EXPECT_FALSE(yield->text().isEmpty());
    Type(kSupplyBoxName, "30");
    EXPECT_TRUE(yield->text().isEmpty());
}

}  // namespace
}  // namespace voltra
