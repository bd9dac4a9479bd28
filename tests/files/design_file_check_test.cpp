// What reads as a design before Open makes it the file in use: every file the
// program writes, and hand-edited ones the reader forgives, but nothing shifted.
#include "files/design_file_check.h"
#include "file_test_support.h"

namespace voltra {
namespace {

using DesignFileCheckTest = ScratchDirTest;

TEST_F(DesignFileCheckTest, EveryFileTheProgramWritesReadsAsADesign)
{
    DesignRecord design;
    StartupValues(design);
    design.Frequency = 13.56e6f;
    WriteDesignFile((dir_ / "saved.VLT").string(), design, sink_);
    EXPECT_EQ(DesignFileProblem((dir_ / "saved.VLT").string()), std::nullopt);
    // A last-session file holds the same value lines under its own title.
    WriteLastSession(dir_, design, sink_);
    EXPECT_EQ(DesignFileProblem((dir_ / kLastSessionFileName).string()), std::nullopt);
    EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(DesignFileCheckTest, HandEditedFilesTheReaderForgivesReadAsDesigns)
{
    const char* forgiven[] = {
        // Labels in any letter case and with blanks around them, comments and empty
        // lines anywhere, LF line ends, a missing last line end.
        "path\ndate\n* tuned\nfrequency : 4E6\nSUPPLY VOLTAGE:24\n\nSaturation voltage: 1\n"
        "Power output: 50\nNetwork Q: 5\nFalltime: 1E-09",
        // Bare numbers, a sign, a point first, values out of range (the reader resets them).
        "path\r\ndate\r\n500\r\n-24\r\n.5\r\nPower output: 0\r\nNetwork Q: 0.5\r\nFalltime: +1e-9 s\r\n",
    };
    for (const char* text : forgiven) {
        WriteBytes(dir_ / "edited.VLT", text);
        EXPECT_EQ(DesignFileProblem((dir_ / "edited.VLT").string()), std::nullopt) << text;
    }
}

TEST_F(DesignFileCheckTest, AShiftedOrIncompleteLayoutIsRefusedWithTheLineAtFault)
{
    const struct { const char* text; const char* problem; } refused[] = {
        {"", "it holds none of the six values"},
        {"path\r\ndate\r\nFrequency: 4E6\r\n", "it ends after 1 of its six values, before the supply voltage"},
        // The values one line late: the fall time's place holds the Q.
        {"path\r\ndate\r\nFrequency: 4E6\r\nFrequency: 4E6\r\nSupply voltage: 24\r\n", "line 4 reads"},
        {"path\r\ndate\r\nFrequency: 4E6\r\nSupply voltage: 24\r\nSaturation voltage: 1\r\nPower output: 50\r\n"
         "Falltime: 1E-09\r\nNetwork Q: 5\r\n",
         "line 7 reads \"Falltime: 1E-09\" where the network Q belongs"},
        {"path\r\ndate\r\nFrequency: 4E6\r\nSupply voltage: e\r\n", "holds no number for the supply voltage"},
        {"path\r\ndate\r\nFrequency: .\r\n", "holds no number for the frequency"},
    };
    for (const auto& c : refused) {
        WriteBytes(dir_ / "bad.VLT", c.text);
        const std::optional<std::string> problem = DesignFileProblem((dir_ / "bad.VLT").string());
        ASSERT_TRUE(problem.has_value()) << c.text;
        EXPECT_NE(problem->find(c.problem), std::string::npos) << *problem;
        EXPECT_TRUE(problem->ends_with("It was not opened.")) << *problem;
    }
}

TEST_F(DesignFileCheckTest, AFileThatCannotBeReadSaysWhy)
{
    WriteBytes(dir_ / "locked.VLT", "path\r\ndate\r\n");
    fs::permissions(dir_ / "locked.VLT", fs::perms::none);
    const std::optional<std::string> locked = DesignFileProblem((dir_ / "locked.VLT").string());
    ASSERT_TRUE(locked.has_value());
    // Root reads a file whatever its permissions: then the file is merely too short.
    if (::geteuid() != 0) EXPECT_NE(locked->find("Permission denied"), std::string::npos) << *locked;
    fs::permissions(dir_ / "locked.VLT", fs::perms::owner_all);
}

}  // namespace
}  // namespace voltra
