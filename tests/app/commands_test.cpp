// The design screen's commands with their dialogs answered by the test.
#include "tests/app/program_fixture.h"

#include <sys/stat.h>

#include <QComboBox>
#include <QFileDialog>

#include "files/design_file.h"
#include "print/print_schematic.h"

namespace voltra {

namespace {

constexpr const char* kDesignFile =
    "/designs/amp.VLT\r\n\r\ndate\r\n\r\nFrequency: 13560000\r\nSupply voltage: 12\r\n"
    "Saturation voltage: 0.5\r\nPower output: 5\r\nNetwork Q: 3\r\nFalltime: 2E-09\r\n";

class CommandsTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        Run();
        Start();
    }
};

TEST_F(CommandsTest, GetRebuildsTheScreenAndSaveProposesThePathJustRead)
{
    Write("amp.VLT", kDesignFile);
    dialogs_.openPath = (folder_ / "amp.VLT").string();
    const DesignScreen* before = program_->Design();
    Click(program_->Design(), "cmdGet");
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_NE(program_->Design(), before);
    // The old screen going is the rebuild, not the program's end.
    EXPECT_EQ(ended_, 0);
    EXPECT_FALSE(std::filesystem::exists(kLastSessionFileName));
    EXPECT_EQ(Box("txtFrequency")->text(), "1.356E+07");
    EXPECT_EQ(design_.Power, 5);
    EXPECT_TRUE(messages_.said.empty());

    dialogs_.savePath = (folder_ / "copy.VLT").string();
    program_->Save();
    ASSERT_EQ(dialogs_.proposed.size(), 1u);
    EXPECT_EQ(dialogs_.proposed[0], dialogs_.openPath);
    EXPECT_NE(Contents(folder_ / "copy.VLT").find("Frequency: 1.356E+07\r\n"), std::string::npos);
    EXPECT_EQ(program_->DesignFileName(), dialogs_.savePath);
}

// The keys go to the window as a user's would: its shortcuts need it active.
void Press(QWidget* window, QKeyCombination keys)
{
    window->activateWindow();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, keys.key(), keys.keyboardModifiers());
    QApplication::processEvents();
}

TEST_F(CommandsTest, SaveShortcutsWriteTheFileThatOpenReadsBackWithItsNameInTheTitle)
{
    const std::string path = (folder_ / "stage.VLT").string();
    Box("txtPower")->setText("75");
    EXPECT_TRUE(program_->Design()->windowTitle().endsWith(" *"));
    // Ctrl+S with no file in use asks for one, as Save As does.
    dialogs_.savePath = path;
    Press(program_->Design(), Qt::CTRL | Qt::Key_S);
    ASSERT_EQ(dialogs_.proposed.size(), 1u);
    EXPECT_NE(Contents(path).find("Power output: 75\r\n"), std::string::npos);
    EXPECT_EQ(program_->Design()->windowTitle(), "Voltra Version 2.08 - Design screen - stage.VLT");

    // Once there is a file, Ctrl+S writes to it without asking, Ctrl+Shift+S asks again.
    Box("txtPower")->setText("80");
    EXPECT_EQ(program_->Design()->windowTitle(), "Voltra Version 2.08 - Design screen - stage.VLT *");
    Press(program_->Design(), Qt::CTRL | Qt::Key_S);
    EXPECT_EQ(dialogs_.proposed.size(), 1u);
    EXPECT_NE(Contents(path).find("Power output: 80\r\n"), std::string::npos);
    EXPECT_FALSE(program_->Design()->IsModified());
    dialogs_.savePath.clear();
    Press(program_->Design(), Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    ASSERT_EQ(dialogs_.proposed.size(), 2u);
    EXPECT_EQ(dialogs_.proposed[1], path);

    // Ctrl+O reads it back into a rebuilt screen that names it.
    Box("txtPower")->setText("20");
    dialogs_.openPath = path;
    Press(program_->Design(), Qt::CTRL | Qt::Key_O);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(design_.Power, 80);
    EXPECT_EQ(Box("txtPower")->text(), "80");
    EXPECT_EQ(program_->Design()->windowTitle(), "Voltra Version 2.08 - Design screen - stage.VLT");
    EXPECT_TRUE(messages_.said.empty());
}

TEST_F(CommandsTest, AFailedSaveKeepsTheDesignMarkedChanged)
{
    Box("txtPower")->setText("75");
    dialogs_.savePath = (folder_ / "no" / "such" / "a.VLT").string();
    program_->SaveInPlace();
    EXPECT_EQ(messages_.beeps, 1);
    EXPECT_TRUE(program_->Design()->IsModified());
    EXPECT_EQ(program_->Design()->windowTitle(), "Voltra Version 2.08 - Design screen *");
}

// Anything that does not read as a design is refused with its reason: the design,
// the screen and the file in use stay, so a later Save writes where it did before.
// A FIFO would block the read until some writer opened it.
TEST_F(CommandsTest, OpeningWhatIsNoDesignKeepsTheDesignAndTheFileInUse)
{
    const std::string good = (folder_ / "good.VLT").string();
    Write(good, kDesignFile);
    dialogs_.openPath = good;
    program_->Get();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(design_.Power, 5);

    ASSERT_EQ(::mkfifo("fifo.VLT", 0600), 0);
    std::filesystem::create_directory("folder.VLT");
    const std::string design(kDesignFile);
    Write("garbage.VLT", "Lorem ipsum dolor sit amet\r\nconsectetur\r\nadipiscing elit\r\n");
    Write("large.VLT", design + std::string(1 << 20, '*'));
    // One header line too many: the date would be read as a 12 Hz design.
    Write("shifted.VLT", "Voltra design\r\n" + design.substr(0, design.find("\r\n\r\n")) + "\r\n12/4/2026 1:23:45 AM\r\n" +
                             design.substr(design.find("Frequency")));
    // No path line: the supply would be read as the frequency.
    Write("headless.VLT", design.substr(design.find("date")));
    Write("short.VLT", design.substr(0, design.find("Power output")));
    Write("nonumber.VLT", design.substr(0, design.find("Network Q")) + "Network Q: high\r\nFalltime: 2E-09\r\n");
    const struct { const char* name; const char* reason; } refused[] = {
        {"missing.VLT", "does not exist"},
        {"fifo.VLT", "not a regular file"},
        {"folder.VLT", "a folder"},
        {"garbage.VLT", "line 3, \"adipiscing elit\", holds no number for the frequency"},
        {"large.VLT", kDesignFileTooLarge},
        {"shifted.VLT", "line 3 reads \"12/4/2026 1:23:45 AM\" where the frequency belongs"},
        {"headless.VLT", "reads \"Supply voltage: 12\" where the frequency belongs"},
        {"short.VLT", "it ends after 3 of its six values, before the output power"},
        {"nonumber.VLT", "\"Network Q: high\", holds no number for the network Q"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        messages_.said.clear();
        const DesignScreen* before = program_->Design();
        dialogs_.openPath = (folder_ / c.name).string();
        program_->Get();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(messages_.said.size(), 1u);
        EXPECT_NE(messages_.said[0].text.find(c.reason), std::string::npos) << messages_.said[0].text;
        EXPECT_EQ(messages_.said[0].title, "Voltra");
        EXPECT_EQ(program_->Design(), before) << "the screen is not rebuilt";
        EXPECT_EQ(design_.Power, 5);
        EXPECT_EQ(Box("txtFrequency")->text(), "1.356E+07");
        EXPECT_EQ(program_->DesignFileName(), good);
        EXPECT_EQ(program_->Design()->windowTitle(), "Voltra Version 2.08 - Design screen - good.VLT");
    }
    const std::string shifted = Contents("shifted.VLT");
    Box("txtPower")->setText("6");
    program_->SaveInPlace();
    EXPECT_NE(Contents(good).find("Power output: 6\r\n"), std::string::npos);
    EXPECT_EQ(Contents("shifted.VLT"), shifted);

    // Values out of range in a file of the right layout are the reader's to reset,
    // with its messages, and the file is the one in use.
    messages_.said.clear();
    Write("low.VLT", "/low.VLT\r\n\r\ndate\r\n\r\nFrequency: 500\r\nSupply voltage: 12\r\n"
                     "Saturation voltage: 0.5\r\nPower output: 5\r\nNetwork Q: 3\r\nFalltime: 2E-09\r\n");
    dialogs_.unsavedAnswer = UnsavedChanges::Discard;
    dialogs_.openPath = (folder_ / "low.VLT").string();
    program_->Get();
    ASSERT_EQ(messages_.said.size(), 1u);
    EXPECT_EQ(messages_.said[0].text, "Frequency has been reset to 1000 Hz");
    EXPECT_EQ(program_->Design()->windowTitle(), "Voltra Version 2.08 - Design screen - low.VLT");
}

TEST_F(CommandsTest, LeavingTheOpenDialogWithoutAChoiceChangesNothing)
{
    const DesignScreen* before = program_->Design();
    Box("txtFalltime")->setText("0.5n");  // a load would lift it to 1 ns
    dialogs_.openPath.clear();
    program_->Get();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(program_->Design(), before);
    EXPECT_EQ(design_.Falltime, 0.5e-9f);
    EXPECT_TRUE(messages_.said.empty());
}

// Open and Exit ask first while the design differs from the file it names.
TEST_F(CommandsTest, UnsavedChangesOfANamedDesignAreSavedDiscardedOrKeptOnScreen)
{
    const std::string named = (folder_ / "named.VLT").string();
    const std::string other = (folder_ / "other.VLT").string();
    Write(named, kDesignFile);
    Write(other, kDesignFile);
    dialogs_.openPath = named;
    program_->Get();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialogs_.askedToSave.empty()) << "nothing to save yet";

    Box("txtPower")->setText("7");
    dialogs_.unsavedAnswer = UnsavedChanges::Cancel;
    dialogs_.openAsked = 0;
    dialogs_.openPath = other;
    program_->Get();
    EXPECT_EQ(dialogs_.openAsked, 0) << "cancelled before the dialog";
    EXPECT_EQ(design_.Power, 7);
    program_->Exit();
    EXPECT_EQ(ended_, 0);
    EXPECT_EQ(dialogs_.exitAsked, 0);
    ASSERT_EQ(dialogs_.askedToSave.size(), 2u);
    EXPECT_EQ(dialogs_.askedToSave[0], named);

    dialogs_.unsavedAnswer = UnsavedChanges::Save;
    program_->Get();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_NE(Contents(named).find("Power output: 7\r\n"), std::string::npos);
    EXPECT_EQ(program_->DesignFileName(), other);
    EXPECT_EQ(design_.Power, 5);

    Box("txtPower")->setText("8");
    dialogs_.unsavedAnswer = UnsavedChanges::Discard;
    const std::string before = Contents(other);
    program_->Exit();
    EXPECT_EQ(ended_, 1);
    EXPECT_EQ(dialogs_.exitAsked, 0) << "the question was the confirmation";
    EXPECT_EQ(Contents(other), before);
    const std::string session = Contents(std::filesystem::exists(kLastSessionFileName) ? folder_ / kLastSessionFileName
                                                                                          : DataSessionFile());
    EXPECT_NE(session.find("Power output: 8\r\n"), std::string::npos) << "the last session keeps what was on screen";
}

TEST_F(CommandsTest, ExitWithAnUnnamedOrSavedDesignAsksAsBefore)
{
    Box("txtPower")->setText("7");
    dialogs_.confirmExit = false;
    program_->Exit();
    EXPECT_EQ(dialogs_.exitAsked, 1);
    EXPECT_TRUE(dialogs_.askedToSave.empty());
    EXPECT_EQ(ended_, 0);
}

// No design file keeps the options or the network: changing them changes nothing
// a Save would write.
TEST_F(CommandsTest, OptionsTheDesignFileDoesNotKeepLeaveItUnchanged)
{
    const std::string path = (folder_ / "kept.VLT").string();
    dialogs_.savePath = path;
    program_->Save();
    ASSERT_FALSE(program_->Design()->IsModified());
    Click(program_->Design(), "cmdLnetYes");
    Box("txtRnetwork")->setText("75");
    Click(program_->Design(), "cmdExact");
    Click(program_->Design(), "cmdExact");
    Box("txtCoss")->setText("100p");
    Box("txtCoss")->clear();
    program_->Design()->findChild<QComboBox*>("cboSeries")->setCurrentIndex(2);
    program_->Design()->findChild<QComboBox*>("cboSeries")->setCurrentIndex(0);
    EXPECT_FALSE(program_->Design()->IsModified());
    EXPECT_EQ(program_->Design()->windowTitle(), "Voltra Version 2.08 - Design screen - kept.VLT");
    Box("txtNetworkQ")->setText("4");
    EXPECT_TRUE(program_->Design()->IsModified());
}

TEST_F(CommandsTest, CancelledDialogsWriteAndSayNothing)
{
    dialogs_.proposed.clear();
    program_->Save();
    program_->Spice();
    Click(program_->Design(), "cmdPrint");
    // Only the private home the fixture gives the program, with its settings.
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
        if (entry.path().filename() != "home") ADD_FAILURE() << entry.path();
    EXPECT_TRUE(messages_.said.empty());
    EXPECT_EQ(program_->SpiceFileName(), "");
    program_->About();
    EXPECT_EQ(dialogs_.aboutShown, 1);
}

TEST_F(CommandsTest, InvalidDesignIsRefusedBeforeAnyFileIsChosen)
{
    Box("txtSaturation")->setText("24");  // equal to the supply: C1 and C2 divide by zero
    dialogs_.spicePath = (folder_ / "amp.asc").string();
    program_->Spice();
    ASSERT_EQ(messages_.said.size(), 1u);
    EXPECT_EQ(messages_.beeps, 1);
    EXPECT_EQ(program_->SpiceFileName(), "");  // the dialog was never asked
    EXPECT_FALSE(std::filesystem::exists(dialogs_.spicePath));
}

TEST(FileDialogs, TitlesFiltersAndSuffixes)
{
    const auto read = MakeReadDesignDialog(nullptr);
    EXPECT_EQ(read->windowTitle(), "Read Voltra file");
    EXPECT_EQ(read->nameFilters(), QStringList{"Voltra designs (*.VLT *.vlt)"});
    EXPECT_EQ(read->acceptMode(), QFileDialog::AcceptOpen);

    const auto write = MakeWriteDesignDialog(nullptr, "/designs/amp.VLT");
    EXPECT_EQ(write->windowTitle(), "Write circuit file");
    EXPECT_EQ(write->nameFilters(), QStringList{"Class E circuit files (*.VLT *.vlt)"});
    EXPECT_EQ(write->defaultSuffix(), "VLT");
    EXPECT_EQ(write->acceptMode(), QFileDialog::AcceptSave);

    const auto spice = MakeWriteSpiceDialog(nullptr);
    EXPECT_EQ(spice->windowTitle(), "Write Spice schematic");
    EXPECT_EQ(spice->nameFilters(), QStringList{"Spice schematic files (*.ASC *.asc)"});
    EXPECT_EQ(spice->defaultSuffix(), "asc");
}

}  // namespace

}  // namespace voltra
