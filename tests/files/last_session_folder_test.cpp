// The last session lives in the data folder, or in the current folder if one is already there.
#include "files/last_session_folder.h"

#include <sys/stat.h>

#include <cstdlib>

#include "file_test_support.h"

namespace voltra {

namespace {

using voltra::LastSessionFolder;

struct FolderCase {
    const char* xdgDataHome;  // nullptr: unset; "<dir>" stands for the scratch folder
    const char* home;
    const char* inCurrentFolder;  // a last-session file already there, or nullptr
    const char* expected;
};

const FolderCase kFolderCases[] = {
    {"<dir>/data", "<dir>/home", nullptr, "<dir>/data/voltra"},
    {nullptr, "<dir>/home", nullptr, "<dir>/home/.local/share/voltra"},
    // A relative data folder is ignored, as the base-directory rules ask.
    {"data", "<dir>/home", nullptr, "<dir>/home/.local/share/voltra"},
    {"", "", nullptr, "."},
    {nullptr, nullptr, nullptr, "."},
    {"<dir>/data", "<dir>/home", "LastSession.VLT", "."},
    {"<dir>/data", "<dir>/home", "lastsession.vlt", "."},
};

class LastSessionFolderTest : public ScratchDirTest {
protected:
    std::string Expand(std::string text) const
    {
        if (text.starts_with("<dir>")) text.replace(0, 5, dir_.string());
        return text;
    }
    void SetVariable(const char* name, const char* value) const
    {
        value ? ::setenv(name, Expand(value).c_str(), 1) : ::unsetenv(name);
    }
};

TEST_F(LastSessionFolderTest, DataFolderUnlessTheCurrentFolderHoldsOne)
{
    for (const FolderCase& c : kFolderCases) {
        SetVariable("XDG_DATA_HOME", c.xdgDataHome);
        SetVariable("HOME", c.home);
        if (c.inCurrentFolder) WriteBytes(c.inCurrentFolder, "");
        EXPECT_EQ(LastSessionFolder(), Expand(c.expected))
            << (c.xdgDataHome ? c.xdgDataHome : "unset") << ", " << (c.home ? c.home : "unset");
        if (c.inCurrentFolder) fs::remove(c.inCurrentFolder);
    }
}

// The first write makes the data folder, private to the user, and reads back from there.
TEST_F(LastSessionFolderTest, FirstExitCreatesTheDataFolder)
{
    ::setenv("XDG_DATA_HOME", (dir_ / "deep/data").c_str(), 1);
    DesignRecord design, back;
    StartupValues(design);
    design.Power = 120;
    WriteLastSession(LastSessionFolder(), design, sink_);
    const fs::path folder = dir_ / "deep/data/voltra";
    EXPECT_TRUE(fs::is_regular_file(folder / kLastSessionFileName));
    struct stat status {};
    ASSERT_EQ(::stat(folder.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    ReadLastSession(LastSessionFolder(), back, sink_);
    EXPECT_EQ(back.Power, 120);
    EXPECT_EQ(Entries(), Texts{"deep"});
    EXPECT_EQ(sink_.messages, Texts{});
}

}  // namespace

}  // namespace voltra
