// The design screen's commands with their dialogs answered by the test.
#include "tests/app/program_fixture.h"

#include <sys/stat.h>

#include <QFileDialog>

#include "print/print_schematic.h"

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
    const frmDesign* before = program_->DesignScreen();
    Click(program_->DesignScreen(), "cmdGet");
    QApplication::processEvents();
    EXPECT_NE(program_->DesignScreen(), before);
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

TEST_F(CommandsTest, CancelledDialogsWriteNothing)
{
    dialogs_.proposed.clear();
    program_->Save();
    program_->Spice();
    EXPECT_TRUE(std::filesystem::is_empty(folder_));
    EXPECT_TRUE(messages_.said.empty());
    EXPECT_EQ(program_->SpiceFileName(), "");
}

TEST_F(CommandsTest, SpiceWritesTheSchematicChosen)
{
    dialogs_.spicePath = (folder_ / "amp.asc").string();
    Click(program_->DesignScreen(), "cmdSpice");
    EXPECT_NE(Contents(dialogs_.spicePath).find("SYMATTR Value PULSE (0 12 0 1000p 1000p 124n 250n)\r\n"),
              std::string::npos);
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

TEST_F(CommandsTest, CancelledPrintGivesOnePrinterError)
{
    Click(program_->DesignScreen(), "cmdPrint");
    ASSERT_EQ(messages_.said.size(), 1u);
    EXPECT_EQ(messages_.said[0].title, kPrinterErrorTitle);
}

TEST_F(CommandsTest, AboutShowsTheAboutScreen)
{
    program_->About();
    EXPECT_EQ(dialogs_.aboutShown, 1);
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
