// The design screen driven as a user would, read back from record, boxes and cycle counter.
#include "screen_fixture.h"

#include <QLabel>

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
        {"txtSaturation", 6000, "5000", 5000},  {"txtFalltime", 1e-3f, "10us", 1e-5f},
        {"txtFalltime", 1e-10f, "1000ps", 1e-9f}, {"txtPower", 0.5f, "1", 1}};
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
        {"txtFrequency", "1000", LastKey, 1000, {}, 1},
        {"txtPower", "0", LastKey, 0.01f, {}, 1},
        {"txtPower", "2e6", LastKey, 1e6f, {}, 1},
        {"txtSupply", "60000", LastKey, 50000, {}, 1},
        {"txtFalltime", "0.001", LastKey, 1e-4f, {}, 1},
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
    // Every keystroke puts the box's text as it now stands in effect, clamped, and
    // recalculates once: no value typed on the way is left behind.
    const struct { const char* typed; float inEffect; } keys[] = {
        {"2", 2}, {"20", 20}, {"20k", kRnetworkMax}, {"20", 20}, {"", kRnetworkMin}, {"0", kRnetworkMin},
        {"0.", kRnetworkMin}, {"0.5", 0.5f}};
    for (const auto& key : keys) {
        SCOPED_TRACE(key.typed);
        const int before = screen->CycleCount();
        Box("txtRnetwork")->setText(key.typed);
        EXPECT_FLOAT_EQ(design.Rnetwork, key.inEffect);
        EXPECT_FLOAT_EQ(screen->ShownDesign().Rnetwork, key.inEffect);
        EXPECT_EQ(screen->CycleCount() - before, 1);
    }

    Type("txtRnetwork", "75");
    int before = screen->CycleCount();
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

TEST_F(DesignScreenTest, EachBoxEchoesTheValueInEffectWithItsUnit)
{
    Open();
    const auto echo = [this](const char* box) {
        return screen->findChild<QLabel*>(QString(box).replace("txt", "lbl") + "Echo");
    };
    // The start-up design, read back as an engineer writes it.
    QStringList shown;
    for (const char* box : {"txtFrequency", "txtPower", "txtSupply", "txtSaturation", "txtNetworkQ", "txtFalltime"})
        shown << echo(box)->text();
    EXPECT_EQ(shown, QStringList({"4 MHz", "50 W", "24 V", "1 V", "5", "1000 ps"}));

    Button("cmdLnetYes")->click();
    EXPECT_TRUE(echo("txtRnetwork")->isVisibleTo(screen.get()));
    const QColor grey = echo("txtPower")->palette().color(QPalette::WindowText);
    // Text, what it was read as, red, and a piece of the tip.
    const struct { const char* box; const char* typed; const char* echo; bool red; const char* tip; } cases[] = {
        // The "m" of "ohm" is a scale letter: the echo makes the milliohms visible.
        {"txtRnetwork", "50 ohm", "50 m\u03A9", false, "Recalculates from 10 m\u03A9 to 10 k\u03A9"},
        // Nothing below 10 milliohms is taken: the lowest network resistance stands in.
        {"txtRnetwork", "0", "10 m\u03A9", true, "0 \u03A9 typed, 10 m\u03A9 in effect"},
        {"txtRnetwork", "20k", "10 k\u03A9", true, "20 k\u03A9 typed, 10 k\u03A9 in effect"},
        {"txtPower", "4k7", "4 kW", false, "Recalculates from 10 mW to 1 MW"},
        {"txtFrequency", "500", "500 Hz", true, "Recalculates from 1 kHz to 10 GHz"},
        {"txtSaturation", "60000", "5 kV", true, "60 kV typed, 5 kV in effect"},
        {"txtFalltime", "4.7u", "4.7 \u00B5s", false, "to 100 \u00B5s"},
        // The micro sign, in either of its two forms, and a decimal comma.
        {"txtFalltime", "2\u00B5s", "2 \u00B5s", false, "to 100 \u00B5s"},
        {"txtFalltime", "3\u03BCs", "3 \u00B5s", false, "to 100 \u00B5s"},
        {"txtFrequency", "13,56M", "13.56 MHz", false, "Recalculates from 1 kHz to 10 GHz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        // The test keyboard has ASCII keys only: a micro sign arrives as input-method text.
        const QString typed = QString::fromUtf8(c.typed);
        if (typed.toLatin1() == c.typed) {
            Type(c.box, typed);
        } else {
            Box(c.box)->selectAll();
            Box(c.box)->insert(typed);
        }
        EXPECT_EQ(echo(c.box)->text(), QString::fromUtf8(c.echo));
        EXPECT_EQ(echo(c.box)->palette().color(QPalette::WindowText) == QColor(Qt::red), c.red);
        if (!c.red) {
            EXPECT_EQ(echo(c.box)->palette().color(QPalette::WindowText), grey);
        }
        EXPECT_TRUE(echo(c.box)->toolTip().contains(QString::fromUtf8(c.tip))) << echo(c.box)->toolTip().toStdString();
    }
}

}  // namespace

}  // namespace voltra
