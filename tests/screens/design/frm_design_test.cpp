// The design screen driven as a user drives it: its load, typing, the arrows, the
// L-net option and the commands, read back from the design record, the boxes and
// the cycle counter.
#include <QPushButton>

#include "engine/equations.h"
#include "screen_fixture.h"

namespace {

// --- Load -----------------------------------------------------------------------

TEST_F(DesignScreenTest, LoadWritesTheStartupTextsAndDrawsOnce)
{
    Open();
    EXPECT_EQ(Box("txtFrequency")->text(), "4000000");
    EXPECT_EQ(Box("txtPower")->text(), "50");
    EXPECT_EQ(Box("txtSupply")->text(), "24");
    EXPECT_EQ(Box("txtSaturation")->text(), "1");
    EXPECT_EQ(Box("txtNetworkQ")->text(), "5 ");
    EXPECT_EQ(Box("txtFalltime")->text(), "1000ps");
    EXPECT_EQ(Box("txtRnetwork")->text(), "50");
    EXPECT_FALSE(Box("txtRnetwork")->isVisibleTo(screen.get()));
    EXPECT_FLOAT_EQ(design.Rnetwork, 50);
    EXPECT_NEAR(design.Rload, 5.4659, 1e-4);
    EXPECT_EQ(screen->windowTitle(), "Voltra Version 2.08 - Design screen");
    // Seven box writes each run a cycle, and the load ends with one more.
    EXPECT_EQ(screen->CycleCount(), 8);
}

struct LoadCase {
    Target target;
    float stored;
    const char* box;
    const char* text;
    float loaded;
};

void PrintTo(const LoadCase& c, std::ostream* out) { *out << c.box << " holding " << c.stored; }

class LoadClamps : public DesignScreenTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadClamps, TargetIsClampedToTheLoadLimitsBeforeItsTextIsWritten)
{
    const LoadCase& c = GetParam();
    TargetField(design, c.target) = c.stored;
    Open();
    EXPECT_EQ(Box(c.box)->text(), c.text);
    EXPECT_FLOAT_EQ(TargetField(design, c.target), c.loaded);
}

INSTANTIATE_TEST_SUITE_P(DesignScreen, LoadClamps,
                         ::testing::Values(LoadCase{Target::Frequency, 5000, "txtFrequency", "10000", 10000},
                                           LoadCase{Target::Frequency, 13.56e6f, "txtFrequency", "1.356E+07", 13.56e6f},
                                           LoadCase{Target::Saturation, 6000, "txtSaturation", "5000", 5000},
                                           LoadCase{Target::Falltime, 1e-10f, "txtFalltime", "1000ps", 1e-9f},
                                           LoadCase{Target::Falltime, 1e-3f, "txtFalltime", "10us", 1e-5f}));

TEST_F(DesignScreenTest, RebuiltScreenHidesTheNetworkBoxButKeepsTheOption)
{
    Open();
    QTest::mouseClick(screen->findChild<QPushButton*>("cmdLnetYes"), Qt::LeftButton);
    Open();
    EXPECT_EQ(design.LnetState, 1);
    EXPECT_FALSE(Box("txtRnetwork")->isVisibleTo(screen.get()));
}

TEST_F(DesignScreenTest, FocusOpensOnLnetAndOnlyFourButtonsAreInView)
{
    Open();
    EXPECT_EQ(screen->focusWidget(), screen->findChild<QWidget*>("cmdLnetYes"));
    QStringList inView;
    for (QPushButton* button : screen->findChildren<QPushButton*>())
        if (button->isVisibleTo(screen.get())) inView << button->text();
    inView.sort();
    EXPECT_EQ(inView, QStringList({"Exit", "L-net", "LTspice", "Print"}));
}

// --- Typing ---------------------------------------------------------------------

TEST_F(DesignScreenTest, TypingAFrequencyRecalculatesOnlyOnceItIsInRange)
{
    Open();
    const float oldRload = design.Rload;
    const float oldLseries = design.Lseries;
    std::vector<float> stored;
    std::vector<int> cycles;
    QLineEdit* box = Box("txtFrequency");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    for (QChar key : QStringLiteral("4.5M")) {
        const int before = screen->CycleCount();
        QTest::keyClicks(box, QString(key));
        stored.push_back(design.Frequency);
        cycles.push_back(screen->CycleCount() - before);
        if (key != 'M') {
            EXPECT_FLOAT_EQ(design.Lseries, oldLseries);
        }
    }
    EXPECT_EQ(stored, (std::vector<float>{100, 100, 100, 4.5e6f}));
    EXPECT_EQ(cycles, (std::vector<int>{0, 0, 0, 1}));
    EXPECT_FLOAT_EQ(design.Rload, oldRload);
    EXPECT_NEAR(design.Lseries, 1.0874e-6 * 4 / 4.5, 1e-9);
    EXPECT_EQ(box->text(), "4.5M");
}

struct TypedCase {
    const char* box;
    const char* typed;
    Target target;
    float stored;
    bool lastKeyRecalculates;
};

void PrintTo(const TypedCase& c, std::ostream* out) { *out << c.box << " <- '" << c.typed << "'"; }

class Typing : public DesignScreenTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(Typing, StoresTheClampedValueAndKeepsTheTypedText)
{
    const TypedCase& c = GetParam();
    Open();
    const QString typed = QString::fromLatin1(c.typed);
    Type(c.box, typed.chopped(1));
    const int before = screen->CycleCount();
    QTest::keyClicks(Box(c.box), typed.right(1));
    EXPECT_FLOAT_EQ(TargetField(design, c.target), c.stored);
    EXPECT_EQ(screen->CycleCount() - before, c.lastKeyRecalculates ? 1 : 0);
    EXPECT_EQ(Box(c.box)->text(), typed);
}

INSTANTIATE_TEST_SUITE_P(
    DesignScreen, Typing,
    ::testing::Values(TypedCase{"txtNetworkQ", "0.5", Target::NetworkQ, 1.8f, true},
                      TypedCase{"txtFrequency", "2e10", Target::Frequency, 1e10f, true},
                      TypedCase{"txtFrequency", "2", Target::Frequency, 100, false},
                      TypedCase{"txtSaturation", "60000", Target::Saturation, 5000, true},
                      TypedCase{"txtSaturation", "6000", Target::Saturation, 6000, false},
                      TypedCase{"txtSupply", "0.5", Target::Supply, static_cast<float>(1.0f + 0.001), true},
                      TypedCase{"txtFalltime", "0.01p", Target::Falltime, 1e-10f, true},
                      TypedCase{"txtNetworkQ", "x", Target::NetworkQ, 1.8f, true}));

TEST_F(DesignScreenTest, SupplyIsLiftedAboveTheSaturationJustTyped)
{
    Open();
    Type("txtSaturation", "30");
    Type("txtSupply", "20");
    EXPECT_FLOAT_EQ(design.Supply, static_cast<float>(30.0f + 0.001));
    // The saturation box is never compared with the supply.
    Type("txtSaturation", "40");
    EXPECT_FLOAT_EQ(design.Saturation, 40);
}

// --- Arrows and keys ------------------------------------------------------------

TEST_F(DesignScreenTest, PowerArrowStepsOnceAndRecalculatesOnce)
{
    Open();
    const int before = screen->CycleCount();
    Arrow("UpDown2", +1);
    EXPECT_FLOAT_EQ(design.Power, 50.5f);
    EXPECT_EQ(Box("txtPower")->text(), "50.5 ");
    EXPECT_EQ(screen->CycleCount() - before, 1);
}

TEST_F(DesignScreenTest, FrequencyArrowBelowTheRangeStoresWithoutACycle)
{
    Open();
    Type("txtFrequency", "1000");
    const int before = screen->CycleCount();
    Arrow("UpDown1", -1);
    EXPECT_NEAR(design.Frequency, 990.099, 1e-3);
    EXPECT_EQ(screen->CycleCount(), before);
}

TEST_F(DesignScreenTest, UpAndDownKeysInABoxStepItLikeTheArrows)
{
    Open();
    QTest::keyClick(Box("txtPower"), Qt::Key_Up);
    EXPECT_EQ(Box("txtPower")->text(), "50.5 ");
    const int before = screen->CycleCount();
    QTest::keyClick(Box("txtPower"), Qt::Key_Down);
    EXPECT_FLOAT_EQ(design.Power, 50);
    EXPECT_EQ(Box("txtPower")->text(), "50 ");
    EXPECT_EQ(screen->CycleCount() - before, 1);
}

TEST_F(DesignScreenTest, StepStartsFromTheStoredValueNotTheTypedText)
{
    Open();
    Type("txtNetworkQ", "1");
    Arrow("UpDown5", +1);
    EXPECT_FLOAT_EQ(design.NetworkQ, 1.818f);
}

struct ClampedStep {
    const char* box;
    const char* typed;
    const char* upDown;
    int direction;
    Target target;
    float stands;
    const char* text;
};

void PrintTo(const ClampedStep& c, std::ostream* out) { *out << c.upDown << " " << c.direction << " from '" << c.typed << "'"; }

class StepAtALimit : public DesignScreenTest, public ::testing::WithParamInterface<ClampedStep> {};

TEST_P(StepAtALimit, BoxShowsTheClampedValueAfterOneCycle)
{
    const ClampedStep& c = GetParam();
    Open();
    Type(c.box, c.typed);
    const int before = screen->CycleCount();
    Arrow(c.upDown, c.direction);
    EXPECT_FLOAT_EQ(TargetField(design, c.target), c.stands);
    EXPECT_EQ(Box(c.box)->text(), c.text);
    EXPECT_EQ(screen->CycleCount() - before, 1);
}

INSTANTIATE_TEST_SUITE_P(DesignScreen, StepAtALimit,
                         ::testing::Values(ClampedStep{"txtNetworkQ", "10000", "UpDown5", +1, Target::NetworkQ, 10000, "10 k"},
                                           ClampedStep{"txtFalltime", "100u", "UpDown6", +1, Target::Falltime, 1e-4f, "100u"},
                                           ClampedStep{"txtFrequency", "10G", "UpDown1", +1, Target::Frequency, 1e10f, " 10G"}));

// --- Network resistance and the L-net option ------------------------------------

TEST_F(DesignScreenTest, ZeroNetworkResistanceIsIgnoredUntilTheNextRedisplayClampsIt)
{
    Open();
    QTest::mouseClick(screen->findChild<QPushButton*>("cmdLnetYes"), Qt::LeftButton);
    const int before = screen->CycleCount();
    Type("txtRnetwork", "0");
    EXPECT_EQ(screen->CycleCount(), before);
    EXPECT_FLOAT_EQ(design.Rnetwork, 50);
    Type("txtPower", "40");
    EXPECT_FLOAT_EQ(design.Rnetwork, kRnetworkMin);
}

TEST_F(DesignScreenTest, LnetOnOffOnKeepsTheBoxTextAndUsesIt)
{
    Open();
    auto* lnet = screen->findChild<QPushButton*>("cmdLnetYes");
    QLineEdit* rnetwork = Box("txtRnetwork");
    QTest::mouseClick(lnet, Qt::LeftButton);
    EXPECT_EQ(design.LnetState, 1);
    EXPECT_TRUE(rnetwork->isVisibleTo(screen.get()));
    Type("txtRnetwork", "75");
    EXPECT_FLOAT_EQ(design.Rnetwork, 75);

    const int before = screen->CycleCount();
    QTest::mouseClick(lnet, Qt::LeftButton);
    EXPECT_EQ(design.LnetState, 0);
    EXPECT_FALSE(rnetwork->isVisibleTo(screen.get()));
    QTest::mouseClick(lnet, Qt::LeftButton);
    EXPECT_EQ(design.LnetState, 1);
    EXPECT_TRUE(rnetwork->isVisibleTo(screen.get()));
    EXPECT_EQ(rnetwork->text(), "75");
    EXPECT_FLOAT_EQ(design.Rnetwork, 75);
    EXPECT_EQ(lnet->text(), "L-net");
    EXPECT_EQ(screen->CycleCount() - before, 2);
}

// --- Commands -------------------------------------------------------------------

TEST_F(DesignScreenTest, EachButtonAsksItsCommandAndTheFrameAsksExit)
{
    Open();
    for (const char* name : {"cmdGet", "cmdSave", "cmdSpice", "cmdPrint", "cmdAbout", "cmdExit"})
        screen->findChild<QPushButton*>(name)->click();
    screen->show();
    EXPECT_FALSE(screen->close());
    EXPECT_EQ(commands.asked, (std::vector<std::string>{"Get", "Save", "Spice", "Print", "About", "Exit", "Exit"}));
    EXPECT_TRUE(screen->isVisible());
}

}  // namespace
