// The exit screen: its size and buttons from the display, the focus on going on,
// and its two outcomes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "screens/exit/frm_exit.h"

namespace {

// A display of 1024 x 768 pixels at 15 twips per pixel.
const QSizeF kDisplay768(15360, 11520);

class ExitScreenTest : public ::testing::Test {
protected:
    ExitScreenTest()
        : exit([this] {
              ++quits;
              stillOpenWhenQuitting = exit.isVisible();
          },
               kDisplay768)
    {
    }

    void Open()
    {
        exit.open();
        QApplication::setActiveWindow(&exit);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&exit));
    }

    QPushButton* Button(const char* name) const { return exit.findChild<QPushButton*>(QString::fromLatin1(name)); }

    int quits = 0;
    bool stillOpenWhenQuitting = false;
    frmExit exit;
};

TEST_F(ExitScreenTest, OpensModalUntitledWithContinueFocused)
{
    Open();
    EXPECT_TRUE(exit.isModal());
    EXPECT_TRUE(exit.windowTitle().isEmpty());
    EXPECT_EQ(Button("cmdCancel")->text(), QStringLiteral("Cancel / Continue"));
    EXPECT_EQ(Button("cmdExit")->text(), QStringLiteral("Exit / Quit"));
    EXPECT_TRUE(Button("cmdCancel")->hasFocus());
    EXPECT_EQ(exit.grab().toImage().pixelColor(2, 2), QColor(Qt::white));
}

TEST_F(ExitScreenTest, TakesHalfTheDisplaysWidthAndTwoFifthsOfItsHeight)
{
    EXPECT_EQ(exit.size(), QSize(512, 307));
    const QRect cancel = Button("cmdCancel")->geometry();
    const QRect quit = Button("cmdExit")->geometry();
    EXPECT_EQ(cancel, QRect(154, 123, 205, 28));
    EXPECT_EQ(quit.size(), cancel.size());
    EXPECT_EQ(quit.left(), cancel.left());
    EXPECT_GT(quit.top(), cancel.bottom());
    EXPECT_NEAR(Button("cmdCancel")->font().pointSizeF(), 9.216, 1e-6);
    EXPECT_TRUE(Button("cmdExit")->font().bold());
}

TEST_F(ExitScreenTest, ContinueReturnsWithoutQuitting)
{
    Open();
    QTest::mouseClick(Button("cmdCancel"), Qt::LeftButton);
    EXPECT_EQ(quits, 0);
    EXPECT_EQ(exit.result(), QDialog::Rejected);
    EXPECT_FALSE(exit.isVisible());
}

TEST_F(ExitScreenTest, EnterEscapeAndClosingTheWindowAllContinue)
{
    Open();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(exit.isVisible());
    Open();
    QTest::keyClick(&exit, Qt::Key_Escape);
    EXPECT_FALSE(exit.isVisible());
    Open();
    exit.close();
    EXPECT_EQ(quits, 0);
    EXPECT_EQ(exit.result(), QDialog::Rejected);
}

TEST_F(ExitScreenTest, QuitRunsOnceBeforeTheScreenCloses)
{
    Open();
    QTest::mouseClick(Button("cmdExit"), Qt::LeftButton);
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(stillOpenWhenQuitting);
    EXPECT_EQ(exit.result(), QDialog::Accepted);
    EXPECT_FALSE(exit.isVisible());
}

}  // namespace
