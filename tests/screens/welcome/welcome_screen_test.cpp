// The welcome screen as a user meets it: load, texts, fonts, layout, pixels, keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "engine/program_texts.h"
#include "screens/welcome/welcome_screen.h"
#include "tests/screens/text_boxes.h"

namespace voltra {

namespace {

class WelcomeScreenTest : public ::testing::Test {
protected:
    // On a display of the given pixels at 15 twips a pixel.
    void Make(QSizeF display = {800, 600})
    {
        WelcomeScreen::Actions actions;
        actions.startup = [this] {
            events += "startup ";
            for (QWidget* window : QApplication::topLevelWidgets()) events += window->isVisible() ? "visible " : "";
            StartupValues(design);
        };
        actions.start = [this] {
            events += "start ";
            EXPECT_EQ(screen->grab().toImage().pixel(10, 10), qRgb(255, 255, 255));
            EXPECT_FALSE(Button("cmdStart")->isVisible());
        };
        actions.exit = [this] { events += "exit "; };
        screen = std::make_unique<WelcomeScreen>(design, actions, display * 15);
    }
    QLabel* Label(const char* name) const { return screen->findChild<QLabel*>(name); }
    QPushButton* Button(const char* name) const { return screen->findChild<QPushButton*>(name); }

    DesignRecord design;
    std::string events;
    std::unique_ptr<WelcomeScreen> screen;
};

TEST_F(WelcomeScreenTest, LoadRunsStartupFirstThenShowsTheRecordsTextsMaximized)
{
    Make();
    EXPECT_EQ(events, "startup ");
    EXPECT_TRUE(screen->windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(screen->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(screen->windowTitle(), "Voltra Version 2.08 - Welcome !");
    QStringList texts;
    for (const char* name : {"lblTitle", "lblVersion", "lblCopyright", "lblWebsite"}) texts << Label(name)->text();
    EXPECT_EQ(texts, QStringList({"Voltra", "Version 2.08", kMakersNotice, kWebAddress}));
    EXPECT_EQ(Button("cmdStart")->text() + Button("cmdExit")->text(), "StartExit");
}

TEST_F(WelcomeScreenTest, FontsFollowTheDisplayHeightAndControlsTheWindow)
{
    Make(QSizeF(1024, 768));
    screen->showNormal();
    screen->resize(1024, 768);  // as large as the display: its own fonts
    for (const auto& [name, points] : {std::pair("lblVersion", 13.824), {"lblCopyright", 13.824}, {"lblWebsite", 13.824},
                                       {"cmdStart", 11.52}, {"cmdExit", 11.52}, {"lblTitle", 90.0}}) {
        const QFont font = screen->findChild<QWidget*>(name)->font();
        EXPECT_NEAR(font.pointSizeF(), points, 1e-6) << name;
        EXPECT_TRUE(font.bold()) << name;
    }
    screen->resize(1212, 954);  // ten units a pixel
    EXPECT_EQ(Button("cmdStart")->geometry(), QRect(850, 620, 120, 36));
    EXPECT_EQ(Label("lblWebsite")->geometry(), QRect(100, 720, 567, 39));
    screen->resize(606, 477);
    EXPECT_EQ(Label("lblTitle")->pos(), QPoint(50, 58));
}

TEST_F(WelcomeScreenTest, OpenedMaximizedThenResizedEveryTextStaysWholeAndApart)
{
    Make(QSizeF(1920, 1080));
    screen->showNormal();
    std::map<int, double> titlePoints;
    for (QSize size : {QSize(1920, 1080), QSize(800, 600), QSize(1366, 768), QSize(3840, 2160), QSize(1000, 900)}) {
        SCOPED_TRACE(size.height());
        screen->resize(size);
        ExpectWholeTextsApart(*screen);
        titlePoints[size.height()] = Label("lblTitle")->font().pointSizeF();
    }
    EXPECT_NEAR(titlePoints[1080], 90, 1e-6);
    EXPECT_NEAR(titlePoints[2160], 180, 1e-6);
    EXPECT_LT(titlePoints[600], 45);
}

TEST_F(WelcomeScreenTest, GradientRisesFromBlue1To191AtRow9000OverPureBlue)
{
    Make();
    screen->showNormal();
    screen->resize(1200, 900);
    const QImage image = screen->grab().toImage();
    // Row 9000 lands on pixel row 9000 x 900 / 9540.6 = 849, x = 12100 on column 1197.9.
    EXPECT_EQ(image.pixel(50, 0), qRgb(0, 0, 1));
    EXPECT_EQ(image.pixel(50, 847), qRgb(0, 0, 191));
    for (QPoint blue : {QPoint(50, 855), QPoint(1199, 300), QPoint(1199, 899)}) EXPECT_EQ(image.pixel(blue), qRgb(0, 0, 255));
    for (int y = 1; y < 848; ++y) {
        ASSERT_EQ(image.pixel(50, y) & 0xffff00, 0u) << y;
        ASSERT_GE(qBlue(image.pixel(50, y)), qBlue(image.pixel(50, y - 1))) << y;
    }
}

TEST_F(WelcomeScreenTest, StartHasTheFocusAndEnterStartsOnABlankScreenThatClosesQuietly)
{
    Make();
    screen->showNormal();
    QApplication::setActiveWindow(screen.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    EXPECT_TRUE(Button("cmdStart")->hasFocus());
    QTest::keyClick(Button("cmdStart"), Qt::Key_Return);
    EXPECT_FALSE(screen->isVisible());
    screen->close();
    EXPECT_EQ(events, "startup start ");
}

}  // namespace

}  // namespace voltra
