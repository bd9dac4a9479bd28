// The parts window's windings: one row per inductor of the shown circuit, following
// each calculation; a core chosen in a row re-winds that inductor, its turns from the
// core's inductance factor, and the choice is kept; a questioned winding is red; and
// "Winding Q" puts each winding's loss into the budget.
#include <QComboBox>
#include <QLabel>
#include <QSettings>
#include <QTableWidget>
#include <cmath>
#include <cstdio>

#include "files/core_table.h"
#include "print/winding_texts.h"
#include "screen_fixture.h"
#include "screens/object_names.h"

namespace voltra {
namespace {

class WindingsWindowTest : public DesignScreenTest {
protected:
    void TearDown() override { QSettings(QStringLiteral("voltra"), QStringLiteral("voltra")).clear(); }
    void OpenWithTestCores()
    {
        Open();
        const CoreTable table = ReadCoreTable(VOLTRA_TEST_DATA_DIR "/cores/test-cores.json");
        ASSERT_TRUE(table.error.empty()) << table.error;
        screen->UseCores(table);
        screen->ShowPartsWindow();
        windings = screen->findChild<QTableWidget*>(kWindingTableName);
        ASSERT_NE(windings, nullptr);
    }
    QComboBox* CoreBox(int row) const
    {
        return qobject_cast<QComboBox*>(windings->cellWidget(row, static_cast<int>(kWindingCoreColumn)));
    }
    QString Cell(int row, const char* column) const
    {
        const int k = static_cast<int>(std::find_if(kWindingColumns.begin(), kWindingColumns.end(),
                                                    [&](const char* c) { return std::string(c) == column; }) -
                                       kWindingColumns.begin());
        return windings->item(row, k)->text();
    }
    // As the user picks an entry: the box has the focus and the arrow keys step it.
    void Pick(int row, int steps, Qt::Key key)
    {
        CoreBox(row)->setFocus();
        for (int i = 0; i < steps; ++i) QTest::keyClick(CoreBox(row), key);
    }

    QTableWidget* windings = nullptr;
};

TEST_F(WindingsWindowTest, OneRowPerInductorFollowingEachCalculation)
{
    OpenWithTestCores();
    ASSERT_EQ(windings->rowCount(), 2);
    EXPECT_EQ(Cell(0, "Part"), "L1");
    EXPECT_EQ(Cell(1, "Part"), "L2");
    for (int row : {0, 1}) {
        ASSERT_NE(CoreBox(row), nullptr);
        EXPECT_EQ(CoreBox(row)->count(), 4);  // air and the table's three cores
        EXPECT_EQ(CoreBox(row)->currentText(), kAirCore);
        EXPECT_TRUE(Cell(row, "SRF / B").endsWith("Hz"));
    }
    const QString turns = Cell(1, "Turns");
    Type(kSupplyBoxName, "48");
    EXPECT_NE(Cell(1, "Turns"), turns);
    // The L-network's inductor is wound too.
    QTest::mouseClick(Button(kLnetButtonName), Qt::LeftButton);
    ASSERT_EQ(screen->ShownCircuit().network != NetworkLayout::None, true);
    ASSERT_EQ(windings->rowCount(), 3);
    EXPECT_EQ(Cell(2, "Part"), "L3");
    EXPECT_NE(CoreBox(2), nullptr);
}

TEST_F(WindingsWindowTest, ACoreChosenRewindsThatInductorWithTurnsFromItsInductanceFactor)
{
    OpenWithTestCores();
    const QString l2Before = Cell(1, "Turns");
    Pick(0, 1, Qt::Key_Down);  // TEST-10, 10 nH per turn²
    EXPECT_EQ(CoreBox(0)->currentText(), "TEST-10");
    ASSERT_EQ(screen->ShownWindings().size(), 2u);
    const InductorWinding& l1 = screen->ShownWindings()[0];
    EXPECT_EQ(l1.core, "TEST-10");
    // N = sqrt(L/AL), the toroid's whole law.
    const double expected = std::sqrt(static_cast<double>(screen->ShownCircuit().ValueOf(PartRole::Choke)) / 10e-9);
    EXPECT_DOUBLE_EQ(l1.turns, expected);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", expected);
    EXPECT_EQ(Cell(0, "Turns"), text);
    EXPECT_EQ(Cell(0, "Core"), "TEST-10");
    EXPECT_TRUE(Cell(0, "SRF / B").endsWith("T"));
    EXPECT_EQ(Cell(1, "Turns"), l2Before);  // the other inductor stays on air

    // Four times the inductance factor, half the turns.
    Pick(0, 1, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(screen->ShownWindings()[0].turns, expected / 2);
    // The choice outlasts a new calculation and a new screen (as after reading a
    // design file), and air takes it back.
    Type(kPowerBoxName, "60");
    EXPECT_EQ(CoreBox(0)->currentText(), "TEST-40");
    EXPECT_EQ(screen->ShownWindings()[0].core, "TEST-40");
    OpenWithTestCores();
    EXPECT_EQ(screen->ShownWindings()[0].core, "TEST-40");
    EXPECT_EQ(CoreBox(0)->currentText(), "TEST-40");
    Pick(0, 2, Qt::Key_Up);
    EXPECT_TRUE(screen->ShownWindings()[0].core.empty());
    EXPECT_TRUE(Cell(0, "SRF / B").endsWith("Hz"));
}

// No core to offer: every row's choice stands disabled on air, and a note says why;
// a table that does not read is named there too.
TEST_F(WindingsWindowTest, WithoutCoresTheChoiceIsDisabledAndTheNoteSaysWhy)
{
    Open();
    screen->UseCores(CoreTable{{}, "cores.json: not a core table of this program's version."});
    screen->ShowPartsWindow();
    windings = screen->findChild<QTableWidget*>(kWindingTableName);
    ASSERT_NE(windings, nullptr);
    for (int row : {0, 1}) {
        ASSERT_NE(CoreBox(row), nullptr);
        EXPECT_FALSE(CoreBox(row)->isEnabled());
        EXPECT_EQ(CoreBox(row)->count(), 1);
    }
    const auto* note = screen->findChild<QLabel*>(kCoreTableNoteName);
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->text().contains("not a core table"));
    EXPECT_TRUE(note->text().contains("wound on air"));
    EXPECT_FALSE(note->isHidden());
    // Cores offered again: the choices open up and the note goes.
    screen->UseCores(ReadCoreTable(VOLTRA_TEST_DATA_DIR "/cores/test-cores.json"));
    EXPECT_TRUE(CoreBox(0)->isEnabled());
    EXPECT_TRUE(note->isHidden());
}

TEST_F(WindingsWindowTest, AQuestionedWindingIsRedWithItsReason)
{
    OpenWithTestCores();
    EXPECT_NE(windings->item(1, 0)->foreground().color(), QColor(Qt::red));
    Pick(1, 3, Qt::Key_Down);  // TEST-TINY: the turns cannot fit its hole
    EXPECT_EQ(CoreBox(1)->currentText(), "TEST-TINY");
    EXPECT_EQ(windings->item(1, 0)->foreground().color(), QColor(Qt::red));
    EXPECT_TRUE(Cell(1, "Warnings").contains("do not fit"));
    EXPECT_NE(windings->item(0, 0)->foreground().color(), QColor(Qt::red));
}

TEST_F(WindingsWindowTest, WindingQPutsEachWindingsLossIntoTheBudgetAndOffTakesItOut)
{
    OpenWithTestCores();
    auto* losses = screen->findChild<QTableWidget*>(kLossTableName);
    ASSERT_NE(losses, nullptr);
    EXPECT_TRUE(screen->ShownCircuit().losses.empty());  // the closed form, not analysed
    QTest::mouseClick(Button(kWindingQButtonName), Qt::LeftButton);
    const Circuit& c = screen->ShownCircuit();
    ASSERT_TRUE(c.analysed);
    int windingRows = 0;
    for (int r = 0; r < losses->rowCount(); ++r) windingRows += losses->item(r, 1)->text() == kWindingLoss;
    EXPECT_EQ(windingRows, 2);
    ASSERT_TRUE(c.windingQ.choke && c.windingQ.lseries);
    EXPECT_NEAR(*c.windingQ.lseries / screen->ShownWindings()[1].q, 1, 1e-4);
    // The windings are of the inductors shown.
    EXPECT_EQ(screen->ShownWindings()[1].inductance, c.ValueOf(PartRole::Lseries));
    QTest::mouseClick(Button(kWindingQButtonName), Qt::LeftButton);
    EXPECT_FALSE(screen->ShownCircuit().windingQ.Any());
    EXPECT_TRUE(screen->ShownCircuit().losses.empty());
}

}  // namespace
}  // namespace voltra
