// `voltra DESIGN.VLT`: the program starts as usual, with that design in place of the
// last session's, or says why it could not read it.
#include "files/design_file_check.h"
#include "tests/app/program_fixture.h"


namespace voltra {
namespace {

constexpr const char* kSession =
    "Voltra last-session file\r\nsome date\r\n\r\n"
    "Frequency: 4000000\r\nSupply voltage: 24\r\nSaturation voltage: 1\r\n"
    "Power output: 75\r\nNetwork Q: 5\r\nFalltime: 1E-09\r\n";

constexpr const char* kDesign =
    "/designs/amp.VLT\r\n\r\ndate\r\n\r\nFrequency: 13560000\r\nSupply voltage: 12\r\n"
    "Saturation voltage: 0.5\r\nPower output: 5\r\nNetwork Q: 3\r\nFalltime: 2E-09\r\n";

TEST_F(ProgramTest, ADesignFileNamedAtStartOpensAsGetReadsItAndSaveWritesItBack)
{
    Write(kLastSessionFileName, kSession);
    const std::string path = (folder_ / "amp.VLT").string();
    Write(path, kDesign);
    Run(path);
    EXPECT_TRUE(program_->Welcome()->isVisible());
    Start();
    EXPECT_TRUE(messages_.said.empty());
    EXPECT_EQ(design_.Power, 5);
    EXPECT_EQ(design_.NetworkQ, 3);
    EXPECT_EQ(Box("txtFrequency")->text(), "1.356E+07");
    EXPECT_EQ(program_->Design()->windowTitle(), "Voltra Version 2.08 - Design screen - amp.VLT");

    // It is the file in use: Save writes to it without asking.
    Box("txtPower")->setText("6");
    program_->SaveInPlace();
    EXPECT_TRUE(dialogs_.proposed.empty());
    EXPECT_NE(Contents(path).find("Power output: 6\r\n"), std::string::npos);
}

TEST_F(ProgramTest, ADesignFileThatCannotBeReadAtStartIsReportedAndTheLastSessionShows)
{
    std::filesystem::create_directory(folder_ / "folder.VLT");
    for (const char* name : {"missing.VLT", "folder.VLT"}) {
        Write(kLastSessionFileName, kSession);
        messages_.said.clear();
        const std::string path = (folder_ / name).string();
        Run(path);
        ASSERT_EQ(messages_.said.size(), 1u) << name;
        EXPECT_EQ(messages_.said[0].title, "Voltra");
        // The same reason Open gives, with the file named, since no dialog named it.
        EXPECT_EQ(messages_.said[0].text, "\"" + path + "\": " + DesignFileProblem(path).value() +
                                              "\nThe design of the last session is shown instead.");
        Start();
        EXPECT_EQ(design_.Power, 75) << name;
        EXPECT_EQ(program_->Design()->windowTitle(), "Voltra Version 2.08 - Design screen") << name;
        EXPECT_EQ(program_->DesignFileName(), "") << name;
        // A later Save asks for a name instead of writing over what was named.
        dialogs_.proposed.clear();
        program_->SaveInPlace();
        ASSERT_EQ(dialogs_.proposed.size(), 1u);
        EXPECT_EQ(dialogs_.proposed[0], "");
    }
}

}  // namespace
}  // namespace voltra
