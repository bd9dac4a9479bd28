// The exit screen: its size from the display, its focus and its two outcomes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "screens/exit/exit_screen.h"
#include "tests/screens/text_boxes.h"

namespace voltra {

TEST(ExitScreen, EveryWayOutButQuitContinuesAndQuitRunsOnceBeforeClosing)
{
    int quits = 0;
    bool openWhenQuitting = false;
    ExitScreen exit([&] { ++quits, openWhenQuitting = exit.isVisible(); }, QSizeF(1024, 768) * 15);
    auto* cancel = exit.findChild<QPushButton*>("cmdCancel");
    auto* quit = exit.findChild<QPushButton*>("cmdExit");
    EXPECT_TRUE(exit.isModal() && exit.windowTitle().isEmpty());
    EXPECT_EQ(cancel->text() + "|" + quit->text(), "Cancel / Continue|Exit / Quit");
    // Half the display's width, two fifths of its height, a column of buttons.
    EXPECT_EQ(exit.size(), QSize(512, 307));
    EXPECT_EQ(cancel->geometry(), QRect(154, 123, 205, 28));
    EXPECT_EQ(quit->geometry(), QRect(154, 169, 205, 28));
    EXPECT_NEAR(quit->font().pointSizeF(), 9.216, 1e-6);
    EXPECT_TRUE(quit->font().bold());
    // The question stands above the buttons and fits the window in full.
    auto* question = exit.findChild<QLabel*>("lblQuestion");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->text(), "Quit Voltra? The design is kept for the next start.");
    EXPECT_TRUE(exit.rect().contains(question->geometry()));
    EXPECT_LT(question->geometry().bottom(), cancel->geometry().top());
    const QRect needed = question->fontMetrics().boundingRect(question->contentsRect(),
                                                              Qt::AlignCenter | Qt::TextWordWrap, question->text());
    EXPECT_TRUE(question->contentsRect().contains(needed));

    for (int way = 0; way < 5; ++way) {
        exit.open();
        QApplication::setActiveWindow(&exit);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&exit));
        EXPECT_TRUE(cancel->hasFocus());
        EXPECT_EQ(exit.grab().toImage().pixel(2, 2), qRgb(255, 255, 255));
        if (way == 0) QTest::mouseClick(cancel, Qt::LeftButton);
        if (way == 1) QTest::keyClick(cancel, Qt::Key_Return);
        if (way == 2) QTest::keyClick(&exit, Qt::Key_Escape);
        if (way == 3) exit.close();
        if (way == 4) QTest::mouseClick(quit, Qt::LeftButton);
        EXPECT_FALSE(exit.isVisible()) << way;
        EXPECT_EQ(quits, way / 4) << way;
        EXPECT_EQ(exit.result(), way < 4 ? QDialog::Rejected : QDialog::Accepted) << way;
    }
    EXPECT_TRUE(openWhenQuitting);
}

TEST(ExitScreen, TheQuestionAndButtonsStayWholeOnAnyDisplayAndAtAnySize)
{
    for (QSizeF display : {QSizeF(800, 600), QSizeF(1366, 768), QSizeF(3840, 2160)}) {
        ExitScreen exit({}, display * 15);
        exit.show();
        SCOPED_TRACE(display.height());
        EXPECT_EQ(exit.size(), (display / 2 - QSizeF(0, display.height() * 0.1)).toSize());
        ExpectWholeTextsApart(exit);
        for (QSize size : {QSize(800, 600), QSize(3000, 1600)}) {
            exit.resize(size);
            ExpectWholeTextsApart(exit);
        }
    }
}

}  // namespace voltra
