// The spectrum window and the network's choices on the design screen: the bars are the
// shown circuit's own harmonics and follow each keystroke, the limit colours them, and
// "Meet limit" sets the choices to the engine's search.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include "engine/harmonic_limit.h"
#include "screen_fixture.h"
#include "screens/object_names.h"
#include "screens/harmonics/harmonics_window.h"

namespace voltra {

namespace {

class HarmonicsWindowTest : public DesignScreenTest {
protected:
    void SetUp() override
    {
        DesignScreenTest::SetUp();
        QSettings settings(QStringLiteral("voltra"), QStringLiteral("voltra"));
        for (const char* key : {"design/network", "design/matchingQ", "design/trap", "design/limitDbc", "design/exact"})
            settings.remove(QLatin1String(key));
    }
    HarmonicsWindow* Window() const { return screen->findChild<HarmonicsWindow*>(QLatin1String(kHarmonicsWindowName)); }
};

TEST_F(HarmonicsWindowTest, TheBarsAreTheShownCircuitsHarmonicsAndFollowTheTargets)
{
    Open();
    screen->findChild<QAction*>(QLatin1String(kHarmonicsWindowActionName))->trigger();
    ASSERT_NE(Window(), nullptr);
    ASSERT_EQ(Window()->Shown().size(), 9u);
    EXPECT_EQ(Window()->Shown().front().n, 2);
    EXPECT_EQ(Window()->Shown(), LoadHarmonicsOf(screen->ShownCircuit()));
    const double before = Window()->Shown().front().dBc;
    // A higher loaded Q of the series resonator filters the 2nd harmonic more.
    Type("txtNetworkQ", "20");
    EXPECT_EQ(Window()->Shown(), LoadHarmonicsOf(screen->ShownCircuit()));
    EXPECT_LT(Window()->Shown().front().dBc, before - 6);
    EXPECT_TRUE(Window()->OverLimit().empty()) << "no limit without the L-network";
}

TEST_F(HarmonicsWindowTest, TheLimitMarksTheHarmonicsAboveItAndMeetLimitChoosesTheSearchsNetwork)
{
    Open();
    Button(kLnetButtonName)->click();
    Type("txtRnetwork", "50");
    screen->findChild<QAction*>(QLatin1String(kHarmonicsWindowActionName))->trigger();
    Type(kLimitBoxName, "60");
    std::vector<int> over;
    for (const Harmonic& h : Window()->Shown())
        if (h.dBc > -60) over.push_back(h.n);
    ASSERT_FALSE(over.empty()) << "the L-network alone leaves the 2nd harmonic above -60 dBc";
    EXPECT_EQ(Window()->OverLimit(), over);
    const QString count = over.size() == 1 ? QStringLiteral("; 1 harmonic above") : QStringLiteral("; %1 harmonics above").arg(over.size());
    EXPECT_TRUE(Window()->findChild<QLabel*>(QLatin1String(kHarmonicsWindowSummaryName))->text().endsWith(count + " the limit of -60 dBc."))
        << Window()->findChild<QLabel*>(QLatin1String(kHarmonicsWindowSummaryName))->text().toStdString();

    const LimitDesign found = DesignToLimit(screen->ShownDesign(), DesignOptions{}, 60);
    ASSERT_TRUE(found.met);
    Button(kMeetLimitButtonName)->click();
    auto* kind = screen->findChild<QComboBox*>(QLatin1String(kNetworkKindBoxName));
    EXPECT_EQ(kind->currentIndex(), static_cast<int>(found.options.network));
    EXPECT_EQ(Button(kTrapButtonName)->isChecked(), found.options.trap);
    EXPECT_TRUE(Window()->OverLimit().empty());
    // The box holds the Q as text, to the digits a person reads.
    EXPECT_NEAR(WorstHarmonic(Window()->Shown())->dBc, found.worstDbc, 0.05);
}

// A trap remembered from an earlier session is hidden with the network's other choices
// while the L-network is off, and so is out of the circuit until it is on again.
TEST_F(HarmonicsWindowTest, ARememberedTrapStandsOnlyWithTheLNetworkOn)
{
    QSettings(QStringLiteral("voltra"), QStringLiteral("voltra")).setValue(QStringLiteral("design/trap"), true);
    Open();
    EXPECT_FALSE(Button(kTrapButtonName)->isVisible());
    EXPECT_FALSE(screen->ShownCircuit().Has(PartRole::TrapL));
    Button(kLnetButtonName)->click();
    Type("txtRnetwork", "50");
    EXPECT_TRUE(Button(kTrapButtonName)->isChecked());
    EXPECT_TRUE(screen->ShownCircuit().Has(PartRole::TrapL));
    Button(kLnetButtonName)->click();
    EXPECT_FALSE(screen->ShownCircuit().Has(PartRole::TrapL));
}

}  // namespace

}  // namespace voltra
