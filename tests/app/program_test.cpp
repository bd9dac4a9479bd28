// A run from start to exit: the welcome screen, the last session restored and
// written again, and every way of leaving.
#include "tests/app/program_fixture.h"

#include <xcb/xcb.h>

#include "app/lost_window_watch.h"
#include "files/design_file.h"

namespace voltra {

namespace {

constexpr const char* kOutOfRangeSession =
    "Voltra last-session file\r\nsome date\r\n\r\n"
    "Frequency: 500\r\nSupply voltage: 0.5\r\nSaturation voltage: 1\r\n"
    "Power output: 50\r\nNetwork Q: 1.5\r\nFalltime: 1E-09\r\n";

TEST_F(ProgramTest, FirstRunOpensOnTheStartupDesign)
{
    Program& program = Run();
    EXPECT_TRUE(program.Welcome()->isVisible());
    EXPECT_EQ(program.Welcome()->windowTitle(), "Voltra Version 2.08 - Welcome !");
    EXPECT_TRUE(messages_.said.empty());
    Start();
    EXPECT_EQ(program.Welcome(), nullptr);
    EXPECT_EQ(Box("txtFrequency")->text(), "4000000");
    EXPECT_EQ(Box("txtFalltime")->text(), "1000ps");
    EXPECT_EQ(design_.Rnetwork, 50);
}

TEST_F(ProgramTest, ResetMessagesComeInOrderBeforeAnyWindowShows)
{
    Write(kLastSessionFileName, kOutOfRangeSession);
    Run();
    ASSERT_EQ(messages_.said.size(), 4u);
    EXPECT_EQ(messages_.said[0].text, "Frequency has been reset to 1000 Hz");
    EXPECT_EQ(messages_.said[1].text, "Supply voltage has been reset to 1 volt");
    EXPECT_EQ(messages_.said[2].text, "Saturation voltage has been reset to 0.5");
    EXPECT_EQ(messages_.said[3].text, "Network Q has been reset to 1.8");
    for (const Said& said : messages_.said) {
        EXPECT_EQ(said.title, "Voltra");
        EXPECT_FALSE(said.windowVisible);
    }
    Start();
    // The design screen's own load limits follow: 1000 Hz opens as 10 kHz.
    EXPECT_EQ(design_.Frequency, 10000);
    EXPECT_EQ(design_.Supply, 1);
    EXPECT_EQ(design_.Saturation, 0.5f);
    EXPECT_EQ(design_.NetworkQ, 1.8f);
}

TEST_F(ProgramTest, ConfirmedExitStoresTheDesignAndTheNextRunRestoresIt)
{
    Run();
    Start();
    Box("txtPower")->setText("120");
    Click(program_->Design(), "cmdExit");
    EXPECT_EQ(ended_, 1);
    EXPECT_NE(Contents(kLastSessionFileName).find("Power output: 120\r\n"), std::string::npos);

    Run();
    Start();
    EXPECT_EQ(Box("txtPower")->text(), "120");
    EXPECT_EQ(design_.Power, 120);
}

TEST_F(ProgramTest, CancelledExitChangesNothingOnDisk)
{
    dialogs_.confirmExit = false;
    Run();
    Start();
    Click(program_->Design(), "cmdExit");
    EXPECT_EQ(dialogs_.exitAsked, 1);
    EXPECT_EQ(ended_, 0);
    EXPECT_FALSE(std::filesystem::exists(kLastSessionFileName));
    EXPECT_TRUE(program_->Design()->isVisible());
}

TEST_F(ProgramTest, ClosingTheDesignWindowAsksFirst)
{
    dialogs_.confirmExit = false;
    Run();
    Start();
    program_->Design()->close();
    EXPECT_EQ(dialogs_.exitAsked, 1);
    EXPECT_TRUE(program_->Design()->isVisible());
    EXPECT_EQ(ended_, 0);
}

TEST_F(ProgramTest, LeavingFromTheWelcomeScreenKeepsTheLastSession)
{
    Write(kLastSessionFileName, kOutOfRangeSession);
    Run();
    Click(program_->Welcome(), "cmdExit");
    EXPECT_EQ(ended_, 1);
    EXPECT_EQ(Contents(kLastSessionFileName), kOutOfRangeSession);
}

TEST_F(ProgramTest, ClosingTheWelcomeWindowLeavesToo)
{
    Run();
    program_->Welcome()->close();
    EXPECT_EQ(ended_, 1);
    EXPECT_FALSE(std::filesystem::exists(kLastSessionFileName));
}

// The display server tells of a window destroyed by another client; the widget goes
// with it at the next turn of the event loop.
void DestroyFromOutside(QWidget* window)
{
    xcb_destroy_notify_event_t event{};
    event.response_type = XCB_DESTROY_NOTIFY;
    event.window = static_cast<xcb_window_t>(window->internalWinId());
    LostWindowWatch watch;
    EXPECT_FALSE(watch.nativeEventFilter("xcb_generic_event_t", &event, nullptr));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(ProgramTest, DesignWindowDestroyedFromOutsideStoresTheDesignAndEnds)
{
    Run();
    Start();
    Box("txtPower")->setText("120");
    DestroyFromOutside(program_->Design());
    EXPECT_EQ(program_->Design(), nullptr);
    EXPECT_EQ(dialogs_.exitAsked, 0);
    EXPECT_EQ(ended_, 1);
    EXPECT_NE(Contents(kLastSessionFileName).find("Power output: 120\r\n"), std::string::npos);
}

TEST_F(ProgramTest, WelcomeWindowDestroyedFromOutsideEndsWithoutWriting)
{
    Run();
    DestroyFromOutside(program_->Welcome());
    EXPECT_EQ(ended_, 1);
    EXPECT_FALSE(std::filesystem::exists(kLastSessionFileName));
}

TEST_F(ProgramTest, EndingTwiceEndsOnceAndTheProgramsOwnTeardownWritesNothing)
{
    Run();
    Start();
    Click(program_->Design(), "cmdExit");
    std::filesystem::remove(kLastSessionFileName);
    program_.reset();
    EXPECT_EQ(ended_, 1);
    EXPECT_FALSE(std::filesystem::exists(kLastSessionFileName));
}

TEST_F(ProgramTest, UnwritableFolderIsReportedAndTheProgramStillEnds)
{
    Run();
    Start();
    // A removed working folder refuses the file even to root.
    std::filesystem::remove_all(folder_);
    Click(program_->Design(), "cmdExit");
    ASSERT_EQ(messages_.said.size(), 1u);
    EXPECT_EQ(messages_.said[0].text, "The last-session file was not written correctly.");
    EXPECT_EQ(messages_.beeps, 1);
    EXPECT_EQ(ended_, 1);
}

}  // namespace

}  // namespace voltra
