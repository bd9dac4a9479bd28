// The design screen's commands with their dialogs answered by the test.
#include "tests/app/program_fixture.h"

#include <sys/stat.h>

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

// A FIFO would block the read until some writer opened it.
TEST_F(CommandsTest, GetOfAnUnreadableFileGivesTheStartupDesign)
{
    ASSERT_EQ(::mkfifo("fifo.VLT", 0600), 0);
    std::filesystem::create_directory("folder.VLT");
    for (const char* name : {"missing.VLT", "fifo.VLT", "folder.VLT"}) {
        Box("txtPower")->setText("7");
        dialogs_.openPath = (folder_ / name).string();
        program_->Get();
        EXPECT_EQ(design_.Power, 50) << name;
        EXPECT_EQ(design_.Falltime, 1e-9f);
        EXPECT_EQ(Box("txtPower")->text(), "50");
    }
    EXPECT_TRUE(messages_.said.empty());
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
    EXPECT_EQ(read->nameFilters(), QStringList{"Meter files (*.VLT *.vlt)"});
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
