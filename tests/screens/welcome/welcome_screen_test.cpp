// The welcome screen as a user meets it: its load, texts, fonts, pixels, keyboard
// and the three ways of leaving it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "screens/welcome/frm_opening.h"

namespace {

// A display of 800 x 600 pixels at 15 twips per pixel.
const QSizeF kDisplay600(12000, 9000);
const QSizeF kDisplay768(15360, 11520);

class WelcomeScreenTest : public ::testing::Test {
protected:
    std::unique_ptr<frmOpening> Make(QSizeF display = kDisplay600)
    {
        frmOpening::Actions actions;
        actions.startup = [this] {
            events.push_back("startup");
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window->isVisible()) events.push_back("a window was visible");
            StartupValues(design);
        };
        actions.start = [this] {
            events.push_back("start");
            startSawBlank = screen->grab().toImage().pixelColor(10, 10) == QColor(Qt::white)
                            && !Button("cmdStart")->isVisible() && !Button("cmdExit")->isVisible();
        };
        actions.exit = [this] { events.push_back("exit"); };
        auto made = std::make_unique<frmOpening>(design, actions, display);
        screen = made.get();
        return made;
    }

    // Shows the screen at a fixed client size instead of maximized.
    void ShowAt(frmOpening& welcome, QSize client)
    {
        welcome.setWindowState(Qt::WindowNoState);
        welcome.resize(client);
        welcome.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&welcome));
    }

    QLabel* Label(const char* name) const { return screen->findChild<QLabel*>(QString::fromLatin1(name)); }
    QPushButton* Button(const char* name) const { return screen->findChild<QPushButton*>(QString::fromLatin1(name)); }

    DesignRecord design;
    std::vector<std::string> events;
    frmOpening* screen = nullptr;
    bool startSawBlank = false;
};

TEST_F(WelcomeScreenTest, LoadRunsStartupOnceWhileNothingIsVisibleAndOpensMaximized)
{
    auto welcome = Make();
    EXPECT_EQ(events, std::vector<std::string>{"startup"});
    EXPECT_FALSE(welcome->isVisible());
    EXPECT_TRUE(welcome->windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(welcome->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(welcome->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(welcome->windowIcon().isNull());
}

TEST_F(WelcomeScreenTest, CaptionAndTextsComeFromTheRecordAsStartupLeftIt)
{
    auto welcome = Make();
    EXPECT_EQ(welcome->windowTitle(), QStringLiteral("Voltra Version 2.08 - Welcome !"));
    EXPECT_EQ(Label("lblTitle")->text(), QStringLiteral("Voltra"));
    EXPECT_EQ(Label("lblVersion")->text(), QStringLiteral("Version 2.08"));
    EXPECT_EQ(Label("lblCopyright")->text(), QString::fromLatin1(kMakersNotice));
    EXPECT_EQ(Label("lblWebsite")->text(), QString::fromLatin1(kWebAddress));
    EXPECT_EQ(Button("cmdStart")->text(), QStringLiteral("Start"));
    EXPECT_EQ(Button("cmdExit")->text(), QStringLiteral("Exit"));
}

TEST_F(WelcomeScreenTest, FontsFollowTheDisplayHeight)
{
    const struct {
        QSizeF display;
        double labelPoints;
        double buttonPoints;
    } cases[] = {{kDisplay600, 10.8, 9.0}, {kDisplay768, 13.824, 11.52}};
    for (const auto& c : cases) {
        auto welcome = Make(c.display);
        for (const char* name : {"lblVersion", "lblCopyright", "lblWebsite"}) {
            EXPECT_NEAR(Label(name)->font().pointSizeF(), c.labelPoints, 1e-6) << name;
            EXPECT_TRUE(Label(name)->font().bold()) << name;
        }
        EXPECT_NEAR(Button("cmdStart")->font().pointSizeF(), c.buttonPoints, 1e-6);
        EXPECT_NEAR(Button("cmdExit")->font().pointSizeF(), c.buttonPoints, 1e-6);
        EXPECT_NEAR(Label("lblTitle")->font().pointSizeF(), 90.0, 1e-6);
    }
}

TEST_F(WelcomeScreenTest, ControlsMoveWithTheWindowInDrawingUnits)
{
    auto welcome = Make();
    ShowAt(*welcome, QSize(1212, 954));  // ten units per pixel
    EXPECT_EQ(Button("cmdStart")->geometry(), QRect(850, 620, 120, 36));
    EXPECT_EQ(Label("lblWebsite")->geometry(), QRect(100, 720, 567, 39));
    welcome->resize(606, 477);
    EXPECT_EQ(Button("cmdExit")->geometry(), QRect(425, 345, 60, 18));
    EXPECT_EQ(Label("lblTitle")->pos(), QPoint(50, 45));
}

TEST_F(WelcomeScreenTest, GradientRunsFromBlue1AtTheTopTo191AtRow9000OverPureBlue)
{
    auto welcome = Make();
    ShowAt(*welcome, QSize(1200, 900));
    const QImage image = welcome->grab().toImage();
    // Row 9000 lands at 9000 x 900 / 9540.6 = 849 pixels; x = 12100 at 1197.9.
    EXPECT_EQ(image.pixelColor(50, 0), QColor(0, 0, 1));
    EXPECT_EQ(image.pixelColor(50, 847), QColor(0, 0, 191));
    EXPECT_EQ(image.pixelColor(50, 855), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(1199, 300), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(1199, 899), QColor(0, 0, 255));
    int previous = 0;
    for (int y = 0; y < 848; ++y) {
        const QColor colour = image.pixelColor(50, y);
        ASSERT_EQ(colour.red() + colour.green(), 0) << y;
        ASSERT_GE(colour.blue(), previous) << y;
        previous = colour.blue();
    }
}

TEST_F(WelcomeScreenTest, StartHasTheFocusAndEnterPressesIt)
{
    auto welcome = Make();
    ShowAt(*welcome, QSize(800, 600));
    QApplication::setActiveWindow(welcome.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(welcome.get()));
    EXPECT_TRUE(Button("cmdStart")->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(Button("cmdExit")->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(events, (std::vector<std::string>{"startup", "start"}));
}

TEST_F(WelcomeScreenTest, StartBlanksTheScreenOpensTheDesignAndClosesWithoutExiting)
{
    auto welcome = Make();
    ShowAt(*welcome, QSize(800, 600));
    QTest::mouseClick(Button("cmdStart"), Qt::LeftButton);
    EXPECT_EQ(events, (std::vector<std::string>{"startup", "start"}));
    EXPECT_TRUE(startSawBlank);
    EXPECT_FALSE(welcome->isVisible());
    welcome->close();
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(WelcomeScreenTest, ExitLeavesOnceWithoutStarting)
{
    auto welcome = Make();
    ShowAt(*welcome, QSize(800, 600));
    QTest::mouseClick(Button("cmdExit"), Qt::LeftButton);
    EXPECT_EQ(events, (std::vector<std::string>{"startup", "exit"}));
    EXPECT_FALSE(welcome->isVisible());
}

TEST_F(WelcomeScreenTest, ClosingTheWindowActsAsExitOnce)
{
    auto welcome = Make();
    ShowAt(*welcome, QSize(800, 600));
    EXPECT_TRUE(welcome->close());
    welcome->show();
    welcome->close();
    EXPECT_EQ(events, (std::vector<std::string>{"startup", "exit"}));
}

}  // namespace
