// The design screen driven as a user drives it, read back from the record, the
// boxes and the cycle counter.
#include "screen_fixture.h"

namespace {

TEST_F(DesignScreenTest, LoadClampsEachTargetWritesItsFirstTextAndDrawsOnce)
{
    Open();
    EXPECT_EQ(QStringList({Box("txtFrequency")->text(), Box("txtPower")->text(), Box("txtSupply")->text(),
                           Box("txtSaturation")->text(), Box("txtNetworkQ")->text(), Box("txtFalltime")->text(),
                           Box("txtRnetwork")->text()}),
              QStringList({"4000000", "50", "24", "1", "5 ", "1000ps", "50"}));
    EXPECT_FLOAT_EQ(design.Rnetwork, 50);
    EXPECT_EQ(screen->windowTitle(), "Voltra Version 2.08 - Design screen");
    EXPECT_EQ(screen->CycleCount(), 8) << "one per box written and one closing the load";
    EXPECT_EQ(screen->focusWidget(), Button("cmdLnetYes"));
    QStringList inView;
    for (QPushButton* button : screen->findChildren<QPushButton*>())
        if (button->isVisibleTo(screen.get())) inView << button->text();
    EXPECT_EQ(inView, QStringList({"L-net", "Print", "LTspice", "Exit"}));

    const struct { const char* box; float stored; const char* text; float loaded; } clamps[] = {
        {"txtFrequency", 5000, "10000", 10000},  {"txtFrequency", 13.56e6f, "1.356E+07", 13.56e6f},
        {"txtSaturation", 6000, "5000", 5000},   {"txtFalltime", 1e-10f, "1000ps", 1e-9f},
        {"txtFalltime", 1e-3f, "10us", 1e-5f}};
    for (const auto& c : clamps) {
        Fresh();
        Stored(c.box) = c.stored;
        Open();
        EXPECT_EQ(Box(c.box)->text(), c.text);
        EXPECT_FLOAT_EQ(Stored(c.box), c.loaded) << c.text;
    }
}

// How a row's last keystroke or step is made.
enum Press { LastKey, ArrowUp, ArrowDown, KeyUp, KeyDown };

TEST_F(DesignScreenTest, EachKeystrokeOrStepStoresTheClampedValueAndRunsAtMostOneCycle)
{
    const struct { const char* box; QString typed; Press press; float stored; QString text; int cycles; } cases[] = {
        {"txtFrequency", "4.5", LastKey, 100, "4.5", 0},
        {"txtFrequency", "4.5M", LastKey, 4.5e6f, "4.5M", 1},
        {"txtFrequency", "2e10", LastKey, 1e10f, "2e10", 1},
        {"txtNetworkQ", "0.5", LastKey, 1.8f, "0.5", 1},
        {"txtNetworkQ", "x", LastKey, 1.8f, "x", 1},
        {"txtSaturation", "60000", LastKey, 5000, "60000", 1},
        {"txtSaturation", "6000", LastKey, 6000, "6000", 0},
        {"txtSupply", "0.5", LastKey, static_cast<float>(1.0f + 0.001), "0.5", 1},
        {"txtFalltime", "0.01p", LastKey, 1e-10f, "0.01p", 1},
        {"txtPower", "", ArrowUp, 50.5f, "50.5 ", 1},
        {"txtPower", "", KeyUp, 50.5f, "50.5 ", 1},
        {"txtPower", "", KeyDown, 49.505f, "49.505 ", 1},
        {"txtFrequency", "1000", ArrowDown, 990.1f, " 990.1 ", 0},
        {"txtNetworkQ", "1", ArrowUp, 1.818f, "1.818 ", 1},
        {"txtNetworkQ", "10000", ArrowUp, 10000, "10 k", 1},
        {"txtFalltime", "100u", ArrowUp, 1e-4f, "100u", 1},
        {"txtFrequency", "10G", ArrowUp, 1e10f, " 10G", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " '" + c.typed.toStdString() + "' press " + std::to_string(c.press));
        Fresh();
        Open();
        Type(c.box, c.press == LastKey ? c.typed.chopped(1) : c.typed);
        const int before = screen->CycleCount();
        if (c.press == LastKey) QTest::keyClicks(Box(c.box), c.typed.right(1));
        if (c.press == ArrowUp || c.press == ArrowDown) Arrow(c.box, c.press == ArrowUp ? 1 : -1);
        if (c.press >= KeyUp) QTest::keyClick(Box(c.box), c.press == KeyUp ? Qt::Key_Up : Qt::Key_Down);
        EXPECT_FLOAT_EQ(Stored(c.box), c.stored);
        EXPECT_EQ(Box(c.box)->text(), c.text);
        EXPECT_EQ(screen->CycleCount() - before, c.cycles);
    }
}

TEST_F(DesignScreenTest, SupplyIsLiftedAboveTheSaturationButNotTheReverse)
{
    Open();
    Type("txtSaturation", "30");
    Type("txtSupply", "20");
    EXPECT_FLOAT_EQ(design.Supply, static_cast<float>(30.0f + 0.001));
    Type("txtSaturation", "40");
    EXPECT_FLOAT_EQ(design.Saturation, 40);
}

TEST_F(DesignScreenTest, NetworkResistanceAndTheLnetOption)
{
    Open();
    Button("cmdLnetYes")->click();
    int before = screen->CycleCount();
    Type("txtRnetwork", "0");
    EXPECT_EQ(screen->CycleCount(), before) << "0 ohms is ignored";
    EXPECT_FLOAT_EQ(design.Rnetwork, 50);
    Type("txtPower", "40");
    EXPECT_FLOAT_EQ(design.Rnetwork, kRnetworkMin) << "until the next cycle clamps it";

    Type("txtRnetwork", "75");
    before = screen->CycleCount();
    for (std::int16_t state : {0, 1}) {
        Button("cmdLnetYes")->click();
        EXPECT_EQ(design.LnetState, state);
        EXPECT_EQ(Box("txtRnetwork")->isVisibleTo(screen.get()), state == 1);
    }
    EXPECT_EQ(Box("txtRnetwork")->text(), "75");
    EXPECT_FLOAT_EQ(design.Rnetwork, 75);
    EXPECT_EQ(screen->CycleCount() - before, 2);
    Open();
    EXPECT_EQ(design.LnetState, 1);
    EXPECT_FALSE(Box("txtRnetwork")->isVisibleTo(screen.get())) << "a rebuilt screen hides the box";
}

TEST_F(DesignScreenTest, EachButtonAsksItsCommandAndClosingTheFrameAsksExit)
{
    Open();
    for (const char* name : {"cmdGet", "cmdSave", "cmdSpice", "cmdPrint", "cmdAbout", "cmdExit"}) Button(name)->click();
    screen->show();
    EXPECT_FALSE(screen->close());
    EXPECT_EQ(commands.asked, "Get Save Spice Print About Exit Exit ");
    EXPECT_TRUE(screen->isVisible());
}

}  // namespace
