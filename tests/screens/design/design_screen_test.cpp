// The design screen driven as a user drives it, read back from the record, the
// boxes and the cycle counter.
#include "screen_fixture.h"

namespace voltra {

namespace {

TEST_F(DesignScreenTest, LoadClampsWritesTheFirstTextsAndDrawsOnce)
{
    Open();
    QStringList texts;
    for (const char* box : {"txtFrequency", "txtPower", "txtSupply", "txtSaturation", "txtNetworkQ", "txtFalltime",
                            "txtRnetwork"})
        texts << Box(box)->text();
    EXPECT_EQ(texts, QStringList({"4000000", "50", "24", "1", "5 ", "1000ps", "50"}));
    EXPECT_EQ(screen->windowTitle(), "Voltra Version 2.08 - Design screen");
    EXPECT_EQ(screen->CycleCount(), 8) << "one per box written and one closing the load";
    EXPECT_EQ(screen->focusWidget(), Button("cmdLnetYes"));
    EXPECT_FALSE(Button("cmdSave")->isVisibleTo(screen.get()));

    const struct { const char* box; float stored; const char* text; float loaded; } clamps[] = {
        {"txtFrequency", 5000, "10000", 10000}, {"txtFrequency", 13.56e6f, "1.356E+07", 13.56e6f},
        {"txtSaturation", 6000, "5000", 5000},  {"txtFalltime", 1e-3f, "10us", 1e-5f}};
    for (const auto& c : clamps) {
        Fresh();
        Stored(c.box) = c.stored;
        Open();
        EXPECT_EQ(Box(c.box)->text(), c.text);
        EXPECT_FLOAT_EQ(Stored(c.box), c.loaded) << c.text;
    }
}

enum Press { LastKey, ArrowUp, ArrowDown, KeyUp, KeyDown };

TEST_F(DesignScreenTest, EachKeystrokeOrStepStoresAClampedValueAndRunsAtMostOneCycle)
{
    // An empty text: the typed text stays in the box.
    const struct { const char* box; QString typed; Press press; float stored; QString text; int cycles; } cases[] = {
        {"txtFrequency", "4.5", LastKey, 100, {}, 0},
        {"txtFrequency", "4.5M", LastKey, 4.5e6f, {}, 1},
        {"txtFrequency", "2e10", LastKey, 1e10f, {}, 1},
        {"txtNetworkQ", "0.5", LastKey, 1.8f, {}, 1},
        {"txtSaturation", "60000", LastKey, 5000, {}, 1},
        {"txtSaturation", "6000", LastKey, 6000, {}, 0},
        {"txtSupply", "0.5", LastKey, static_cast<float>(1.0f + 0.001), {}, 1},
        {"txtFalltime", "0.01p", LastKey, 1e-10f, {}, 1},
        {"txtPower", "", ArrowUp, 50.5f, "50.5 ", 1},
        {"txtPower", "", KeyDown, 49.505f, "49.505 ", 1},
        {"txtFrequency", "1000", ArrowDown, 990.1f, " 990.1 ", 0},
        {"txtNetworkQ", "1", KeyUp, 1.818f, "1.818 ", 1},
        {"txtNetworkQ", "10000", ArrowUp, 10000, "10 k", 1},
        {"txtFalltime", "100u", ArrowUp, 1e-4f, "100u", 1},
        {"txtFrequency", "10G", ArrowUp, 1e10f, " 10G", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box + (" " + c.typed).toStdString());
        Fresh();
        Open();
        Type(c.box, c.press == LastKey ? c.typed.chopped(1) : c.typed);
        const int before = screen->CycleCount();
        if (c.press == LastKey)
            QTest::keyClicks(Box(c.box), c.typed.right(1));
        else if (c.press <= ArrowDown)
            Arrow(c.box, c.press == ArrowUp ? Qt::UpArrow : Qt::DownArrow);
        else
            QTest::keyClick(Box(c.box), c.press == KeyUp ? Qt::Key_Up : Qt::Key_Down);
        EXPECT_FLOAT_EQ(Stored(c.box), c.stored);
        EXPECT_EQ(Box(c.box)->text(), c.text.isEmpty() ? c.typed : c.text);
        EXPECT_EQ(screen->CycleCount() - before, c.cycles);
    }
}

TEST_F(DesignScreenTest, CoupledEntries)
{
    Open();
    Type("txtSaturation", "30");
    Type("txtSupply", "20");
    EXPECT_FLOAT_EQ(design.Supply, static_cast<float>(30.0f + 0.001)) << "supply lifted above the saturation";
    Type("txtSaturation", "40");
    EXPECT_FLOAT_EQ(design.Saturation, 40) << "but never the reverse";

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

}  // namespace

}  // namespace voltra
