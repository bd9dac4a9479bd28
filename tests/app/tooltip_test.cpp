// Tool tips stay up while the pointer rests, with the program's lost-window watch
// installed as the program installs it.
#include <QHelpEvent>
#include <QToolTip>
#include <xcb/xcb.h>

#include "app/lost_window_watch.h"
#include "program_fixture.h"

namespace voltra {
namespace {

class ToolTipTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        QCoreApplication::instance()->installNativeEventFilter(&watch_);
        Run();
        Start();
    }
    void TearDown() override
    {
        QToolTip::hideText();
        QCoreApplication::instance()->removeNativeEventFilter(&watch_);
        ProgramTest::TearDown();
    }
    // The tip on screen, if any.
    static QWidget* ShownTip()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->windowType() == Qt::ToolTip && window->isVisible()) return window;
        return nullptr;
    }
    // Asks the widget for its tip as a resting pointer does.
    static void Rest(QWidget* widget)
    {
        const QPoint at = widget->rect().center();
        QHelpEvent event(QEvent::ToolTip, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &event);
    }
    // What the display server sends when a window is destroyed.
    bool Destroyed(WId window)
    {
        xcb_destroy_notify_event_t event{};
        event.response_type = XCB_DESTROY_NOTIFY;
        event.event = event.window = static_cast<xcb_window_t>(window);
        return watch_.nativeEventFilter("xcb_generic_event_t", &event, nullptr);
    }
    LostWindowWatch watch_;
};

TEST_F(ToolTipTest, TheExplanationOfARedBoxIsStillShownTwoSecondsLater)
{
    // The screen keeps working meanwhile: a verification follows the design.
    program_->Verify();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(program_->Verification()));
    QTest::qWait(50);
    program_->Design()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(program_->Design()));
    QTest::qWait(50);
    Box("txtFrequency")->setText("500");
    ASSERT_FALSE(Box("txtFrequency")->toolTip().isEmpty());
    Rest(Box("txtFrequency"));
    QWidget* tip = ShownTip();
    ASSERT_NE(tip, nullptr);
    const QPointer<QWidget> watched(tip);
    QTest::qWait(2000);
    ASSERT_FALSE(watched.isNull()) << "the tip was taken away";
    EXPECT_TRUE(watched->isVisible());
    EXPECT_EQ(QToolTip::text(), Box("txtFrequency")->toolTip());
}

// Qt makes and drops a tip's native window as it places it: such a window going is
// no lost window. The design screen's own window going is.
TEST_F(ToolTipTest, OnlyTheProgramsOwnWindowsLostFromOutsideAreLetGo)
{
    Rest(program_->Design()->findChild<QPushButton*>("cmdExact"));
    const QPointer<QWidget> tip(ShownTip());
    ASSERT_FALSE(tip.isNull());
    ASSERT_NE(tip->windowHandle(), nullptr);
    EXPECT_FALSE(Destroyed(tip->windowHandle()->winId()));
    EXPECT_FALSE(Destroyed(0x7ffffff));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(tip.isNull());
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(ended_, 0);

    Destroyed(program_->Design()->windowHandle()->winId());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(program_->Design(), nullptr);
    EXPECT_EQ(ended_, 1) << "a lost design screen ends the run as a confirmed Exit does";
}

}  // namespace
}  // namespace voltra
