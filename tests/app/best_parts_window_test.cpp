// The best standard parts window on the design screen: Accept puts the chosen values
// into the circuit the schematic shows, and a change of target takes them away again.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "engine/best_parts.h"
#include "program_fixture.h"
#include "units/format.h"
#include "screens/design/schematic_labels.h"
#include "screens/object_names.h"

namespace voltra {
namespace {

class BestPartsWindowTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        Run();
        Start();
    }
    void ChooseSeries(int index) { program_->Design()->findChild<QComboBox*>(kSeriesBoxName)->setCurrentIndex(index); }
    QWidget* Open()
    {
        program_->Design()->findChild<QAction*>(kBestPartsActionName)->trigger();
        return program_->Design()->findChild<QWidget*>(kBestPartsWindowName);
    }
    QString Status(QWidget* window) const { return window->findChild<QLabel*>(kBestPartsStatusName)->text(); }
    QPushButton* Accept(QWidget* window) const { return window->findChild<QPushButton*>(kBestPartsAcceptName); }
    const Circuit& Shown() const { return program_->Design()->ShownCircuit(); }
    // The schematic's note on where the values come from.
    QString Method() const
    {
        for (const SchematicLabel& label : SchematicLabels(Shown(), 0))
            if (label.text.startsWith("closed form")) return label.text;
        return {};
    }
};

constexpr int kE24 = 2;

TEST_F(BestPartsWindowTest, AcceptMakesTheShownCircuitUseTheChosenValuesUntilATargetChanges)
{
    ChooseSeries(kE24);
    const Circuit rounded = Shown();
    QWidget* window = Open();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());
    ASSERT_TRUE(Accept(window)->isEnabled());
    auto* table = window->findChild<QTableWidget*>(kBestPartsTableName);
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(0, 0)->text(), "C1");

    // What the window shows is the search of the design on screen.
    DesignOptions options{.series = ESeries::E24};
    const BestParts found = FindBestParts(program_->Design()->ShownDesign(), options);
    ASSERT_TRUE(found.improved);
    for (int r = 0; r < table->rowCount(); ++r)
        EXPECT_EQ(table->item(r, 3)->text().toStdString(),
                  ChoiceText(found.parts[static_cast<std::size_t>(r)].chosen, found.parts[static_cast<std::size_t>(r)].kind));

    QTest::mouseClick(Accept(window), Qt::LeftButton);
    EXPECT_FALSE(Accept(window)->isEnabled());
    EXPECT_TRUE(Status(window).contains("Accepted"));
    EXPECT_TRUE(Method().startsWith("closed form, E24 best parts:")) << Method().toStdString();
    ASSERT_FALSE(Shown().accepted.empty());
    for (const PartSearch& p : found.parts) EXPECT_EQ(Shown().ValueOf(p.role), static_cast<float>(p.chosen.total)) << p.name;
    EXPECT_FLOAT_EQ(Shown().turnOnPercent.value, static_cast<float>(found.best.turnOnPercent));
    EXPECT_NE(Shown().turnOnPercent.value, rounded.turnOnPercent.value);
    // The exported schematic is that circuit: C2 as the chosen pair's sum.
    dialogs_.spicePath = (folder_ / "best.asc").string();
    program_->Spice();
    EXPECT_NE(Contents(dialogs_.spicePath).find("SYMATTR Value " + FormatCapacitance(Shown().ValueOf(PartRole::C2))),
              std::string::npos);
    EXPECT_NE(FormatCapacitance(Shown().ValueOf(PartRole::C2)), FormatCapacitance(rounded.ValueOf(PartRole::C2)));

    // A new target is a new design: the values found for the old one go, the circuit is
    // each part rounded alone, and the window says which values stand.
    Box(kPowerBoxName)->setText("40");
    EXPECT_TRUE(Shown().accepted.empty());
    EXPECT_TRUE(Method().startsWith("closed form, E24 values:")) << Method().toStdString();
    EXPECT_EQ(Shown().ValueOf(PartRole::C2), BuildCircuit(program_->Design()->ShownDesign(), options).ValueOf(PartRole::C2));
    EXPECT_TRUE(Status(window).contains("back to each part rounded alone")) << Status(window).toStdString();
    EXPECT_EQ(Accept(window)->isEnabled(), FindBestParts(program_->Design()->ShownDesign(), options).improved);
    // Typing the old target back does not bring the old acceptance back unasked.
    Box(kPowerBoxName)->setText("50");
    EXPECT_TRUE(Shown().accepted.empty());
}

TEST_F(BestPartsWindowTest, ChangingTheSeriesDropsTheAcceptanceAndWithoutASeriesThereIsNothingToAccept)
{
    ChooseSeries(kE24);
    QWidget* window = Open();
    QTest::mouseClick(Accept(window), Qt::LeftButton);
    ASSERT_FALSE(Shown().accepted.empty());
    ChooseSeries(kE24 + 1);
    EXPECT_TRUE(Shown().accepted.empty());
    EXPECT_EQ(Shown().series, ESeries::E96);
    ChooseSeries(0);
    EXPECT_TRUE(Status(window).startsWith("No search: no series")) << Status(window).toStdString();
    EXPECT_FALSE(Accept(window)->isEnabled());
    EXPECT_EQ(window->findChild<QTableWidget*>(kBestPartsTableName)->rowCount(), 0);
}

}  // namespace
}  // namespace voltra
