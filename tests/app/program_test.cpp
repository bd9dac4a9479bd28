// A run from start to exit: welcome screen, last session restored and written, every way of leaving.
#include "tests/app/program_fixture.h"

#include <QComboBox>

#include <xcb/xcb.h>

#include "app/lost_window_watch.h"
#include "files/design_file.h"
#include "files/device_folders.h"
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

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
    EXPECT_NE(Contents(DataSessionFile()).find("Power output: 120\r\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(kLastSessionFileName));

    Run();
    Start();
    EXPECT_EQ(Box("txtPower")->text(), "120");
    EXPECT_EQ(design_.Power, 120);
}

// A user who keeps the file in the folder the program starts from keeps it there.
TEST_F(ProgramTest, LastSessionInTheWorkingFolderIsWrittenBackThere)
{
    Write("lastsession.vlt", kOutOfRangeSession);
    Run();
    messages_.said.clear();
    Start();
    Box("txtPower")->setText("120");
    Click(program_->Design(), "cmdExit");
    EXPECT_NE(Contents(kLastSessionFileName).find("Power output: 120\r\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "data"));
    EXPECT_TRUE(messages_.said.empty());
}

// Under a decimal-comma locale (the comma_locale: pass) every decimal keeps its value from start to exit.
TEST_F(ProgramTest, DecimalsSurviveStartScreenAndExitUnderTheDesktopLocale)
{
    const std::string values = "Frequency: 1.356E+07\r\nSupply voltage: 13.8\r\nSaturation voltage: 0.5\r\n"
                               "Power output: 2.5\r\nNetwork Q: 3.3\r\nFalltime: 2.5E-09\r\n";
    std::filesystem::create_directories(DataSessionFile().parent_path());
    Write(DataSessionFile(), "Voltra last-session file\r\nsome date\r\n\r\n" + values);
    Run();
    Start();
    EXPECT_EQ((std::vector<float>{design_.Frequency, design_.Supply, design_.Saturation, design_.Power,
                                  design_.NetworkQ, design_.Falltime}),
              (std::vector<float>{13.56e6f, 13.8f, 0.5f, 2.5f, 3.3f, 2.5e-9f}));
    Box("txtPower")->setText("4.5");
    EXPECT_EQ(design_.Power, 4.5f);
    Box("txtPower")->setText("2,5");
    EXPECT_EQ(design_.Power, 2.5f);
    Click(program_->Design(), "cmdExit");
    const std::string written = Contents(DataSessionFile());
    EXPECT_EQ(written.substr(written.size() - values.size()), values);
    EXPECT_TRUE(messages_.said.empty());
}

// Opening a FIFO for reading would wait for a writer that never comes.
TEST_F(ProgramTest, FifoOrFolderAsLastSessionOpensOnTheStartupDesign)
{
    ASSERT_EQ(::mkfifo(kLastSessionFileName, 0600), 0);
    std::filesystem::create_directories(DataSessionFile());
    for (int run = 0; run < 2; ++run) {
        Run();
        Start();
        EXPECT_EQ(design_.Frequency, 4e6f);
        EXPECT_EQ(design_.Falltime, 1e-9f);
        std::filesystem::remove(kLastSessionFileName);
    }
    EXPECT_TRUE(messages_.said.empty());
}

// Declining the question, by Exit or by closing the window, changes nothing.
TEST_F(ProgramTest, CancelledExitOrCloseChangesNothingOnDisk)
{
    dialogs_.confirmExit = false;
    Run();
    Start();
    Click(program_->Design(), "cmdExit");
    program_->Design()->close();
    EXPECT_EQ(dialogs_.exitAsked, 2);
    EXPECT_EQ(ended_, 0);
    EXPECT_FALSE(std::filesystem::exists(DataSessionFile()));
    EXPECT_TRUE(program_->Design()->isVisible());
}

// The display server reports a window destroyed by another client; the widget goes at the next turn.
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
    EXPECT_NE(Contents(DataSessionFile()).find("Power output: 120\r\n"), std::string::npos);
}

// Exit, close or an outside destroy of the welcome window ends the run and writes nothing.
TEST_F(ProgramTest, LeavingFromTheWelcomeScreenKeepsTheLastSession)
{
    Write(kLastSessionFileName, kOutOfRangeSession);
    for (const auto leave : {+[](Program& p) { QTest::mouseClick(p.Welcome()->findChild<QPushButton*>("cmdExit"), Qt::LeftButton); },
                             +[](Program& p) { p.Welcome()->close(); },
                             +[](Program& p) { DestroyFromOutside(p.Welcome()); }}) {
        ended_ = 0;
        leave(Run());
        EXPECT_EQ(ended_, 1);
        EXPECT_EQ(Contents(kLastSessionFileName), kOutOfRangeSession);
        EXPECT_FALSE(std::filesystem::exists(DataSessionFile()));
    }
}

TEST_F(ProgramTest, EndingTwiceEndsOnceAndTheProgramsOwnTeardownWritesNothing)
{
    Run();
    Start();
    Click(program_->Design(), "cmdExit");
    std::filesystem::remove(DataSessionFile());
    program_.reset();
    EXPECT_EQ(ended_, 1);
    EXPECT_FALSE(std::filesystem::exists(DataSessionFile()));
}

TEST_F(ProgramTest, UnwritableFolderIsReportedAndTheProgramStillEnds)
{
    // A data folder below a plain file cannot be made, even by root.
    Write("plain", "");
    ::setenv("XDG_DATA_HOME", (folder_ / "plain/data").c_str(), 1);
    Run();
    Start();
    Click(program_->Design(), "cmdExit");
    ASSERT_EQ(messages_.said.size(), 1u);
    // The reason is the system's, in the user's language.
    EXPECT_EQ(messages_.said[0].text, "The last-session file was not written correctly.\n" +
                                          std::generic_category().message(ENOTDIR) + ": " +
                                          (folder_ / "plain/data/voltra/LastSession.VLT").string());
    EXPECT_EQ(messages_.beeps, 1);
    EXPECT_EQ(ended_, 1);
}

// A device file in the user's folder that is no device reaches the user as the
// program's other messages do, naming the file, when the design screen opens; the
// Switch choice is left with what could be read.
TEST_F(ProgramTest, ADeviceFileThatCannotBeReadIsToldAsTheDesignScreenOpens)
{
    std::filesystem::create_directories(folder_ / "data/voltra/devices");
    Write(folder_ / "data/voltra/devices/half.json", "{\"format\": \"voltra-device\", \"version\": 1,");
    Run();
    EXPECT_TRUE(messages_.said.empty());
    Start();
    ASSERT_EQ(messages_.said.size(), 1u);
    EXPECT_EQ(messages_.said[0].title, "Voltra");
    EXPECT_NE(messages_.said[0].text.find("half.json"), std::string::npos) << messages_.said[0].text;
    auto* choice = program_->Design()->findChild<QComboBox*>("cboSwitch");
    ASSERT_NE(choice, nullptr);
    // "none" and whatever a Voltra installed on this machine brings.
    EXPECT_EQ(choice->count(), 1 + static_cast<int>(ListDevices(DeviceFolders()).devices.size()));
    EXPECT_EQ(choice->itemText(0), "none");
}

}  // namespace

}  // namespace voltra
