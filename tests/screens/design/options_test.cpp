// The options past the fits on the design screen: "Exact" on and off again gives the
// closed-form values back bit for bit, Coss comes off the C1 shown, a chosen series
// shows its standard values only, and the choices outlast the screen.
#include <QComboBox>
#include <QTableWidget>
#include <cmath>
#include <QSettings>

#include "engine/design_options.h"
#include "screen_fixture.h"
#include "screens/design/schematic.h"
#include "screens/design/schematic_labels.h"
#include "screens/object_names.h"
#include "units/format.h"

namespace voltra {
namespace {

class OptionsTest : public DesignScreenTest {
protected:
    void TearDown() override { QSettings(QStringLiteral("voltra"), QStringLiteral("voltra")).clear(); }
    QComboBox* Series() const { return screen->findChild<QComboBox*>(kSeriesBoxName); }
    const Circuit& Shown() const { return screen->ShownCircuit(); }
    float Value(PartRole role) const { return Shown().Get(role).value.value; }
    QString Label(const char* part) const
    {
        for (const SchematicLabel& label : SchematicLabels(Shown(), SchematicOf(Shown(), design.Pi).SchematicX))
            if (label.part && std::string(label.part) == part) return label.text;
        return {};
    }
};

TEST_F(OptionsTest, ExactOnAndOffGivesTheClosedFormValuesBack)
{
    Open();
    const std::vector<Part> closedForm = Shown().parts;
    const QString c1Text = Label("C1");
    QTest::mouseClick(Button(kExactButtonName), Qt::LeftButton);
    EXPECT_TRUE(Shown().exact);
    EXPECT_NE(Value(PartRole::C1), closedForm[3].value.value);
    EXPECT_NE(Label("C1"), c1Text);
    QTest::mouseClick(Button(kExactButtonName), Qt::LeftButton);
    ASSERT_EQ(Shown().parts.size(), closedForm.size());
    for (std::size_t i = 0; i < closedForm.size(); ++i)
        EXPECT_EQ(Shown().parts[i].value.value, closedForm[i].value.value) << closedForm[i].name;
    EXPECT_EQ(Label("C1"), c1Text);
    EXPECT_FALSE(Shown().exact || Shown().analysed);
}

TEST_F(OptionsTest, CossComesOffTheC1ShownAndTooMuchOfItIsRed)
{
    Open();
    const float needed = Value(PartRole::C1);
    Type(kCossBoxName, "500p");
    EXPECT_NEAR(Value(PartRole::C1), needed - 500e-12, 1e-16);
    EXPECT_EQ(Label("C1").toStdString(), FormatCapacitance(Value(PartRole::C1)));
    Type(kCossBoxName, "2n");
    EXPECT_EQ(Label("C1"), kInvalidMark);
    bool limitShown = false;
    for (const SchematicLabel& label : SchematicLabels(Shown(), SchematicOf(Shown(), design.Pi).SchematicX))
        limitShown = limitShown || (label.red && label.text.startsWith("Coss above C1: Class E only below"));
    EXPECT_TRUE(limitShown);
}

TEST_F(OptionsTest, SeriesShowsStandardValuesOnlyAndIsKept)
{
    Open();
    Series()->setCurrentText("E24");
    for (PartRole role : {PartRole::C1, PartRole::C2, PartRole::Lseries})
        EXPECT_EQ(Value(role), static_cast<float>(RoundToSeries(Value(role), ESeries::E24)));
    EXPECT_EQ(Label("C2"), "2nF");  // 1.95861nF closed form
    EXPECT_TRUE(Shown().analysed);

    // A new screen, as after Get or the next start, takes the choices up again.
    QTest::mouseClick(Button(kExactButtonName), Qt::LeftButton);
    Open();
    EXPECT_EQ(Series()->currentText(), "E24");
    EXPECT_TRUE(Button(kExactButtonName)->isChecked());
    EXPECT_TRUE(Shown().exact && Shown().series == ESeries::E24);
}

TEST_F(OptionsTest, DutyAndPartQsReachTheExactDesignAndWhatIsNotInEffectIsRed)
{
    Open();
    QTest::mouseClick(Button(kExactButtonName), Qt::LeftButton);
    EXPECT_EQ(Shown().duty, 0.5);
    Type(kDutyBoxName, "0.3");
    EXPECT_NEAR(Shown().duty, 0.3, 1e-7);  // typed values are read in single precision
    EXPECT_TRUE(Box(kDutyBoxName)->styleSheet().isEmpty());
    // Beyond the range the nearest end is in effect, and the box says so.
    Type(kDutyBoxName, "0.9");
    EXPECT_EQ(Shown().duty, 0.75);
    EXPECT_FALSE(Box(kDutyBoxName)->styleSheet().isEmpty());
    EXPECT_TRUE(Box(kDutyBoxName)->toolTip().startsWith("In effect: a duty of 0.75"));

    Box(kDutyBoxName)->clear();
    Type(kInductorQBoxName, "80");
    EXPECT_EQ(Shown().inductorQ, 80);
    EXPECT_FALSE(Shown().losses.empty());
    // A Q that is no number above zero leaves the parts lossless, in red.
    Type(kCapacitorQBoxName, "-3");
    EXPECT_TRUE(std::isinf(Shown().capacitorQ));
    EXPECT_FALSE(Box(kCapacitorQBoxName)->styleSheet().isEmpty());

    bool lossLine = false;
    for (const SchematicLabel& label : SchematicLabels(Shown(), SchematicOf(Shown(), design.Pi).SchematicX))
        lossLine = lossLine || label.text.startsWith("Losses ");
    EXPECT_TRUE(lossLine);
}

TEST_F(OptionsTest, ThePartsWindowFollowsEveryCalculation)
{
    Open();
    QTest::mouseClick(Button(kExactButtonName), Qt::LeftButton);
    screen->ShowPartsWindow();
    auto* stresses = screen->findChild<QTableWidget*>(kStressTableName);
    ASSERT_NE(stresses, nullptr);
    EXPECT_EQ(stresses->rowCount(), static_cast<int>(Shown().stresses.size()));
    const QString peakBefore = stresses->item(2, 1)->text();
    Type(kSupplyBoxName, "30");
    EXPECT_NE(stresses->item(2, 1)->text(), peakBefore);
    QTest::mouseClick(Button(kExactButtonName), Qt::LeftButton);
    EXPECT_EQ(stresses->rowCount(), 0);
}

}  // namespace
}  // namespace voltra
