// Failed writes of all three file kinds, injected from outside: the user hears the
// beep and reads the message, the earlier file keeps every byte, no temporary file
// is left behind.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include "engine/equations.h"
#include "file_test_support.h"
#include "files/design_file.h"
#include "files/spice_schematic.h"

namespace {

struct Writer {
    const char* name;
    const char* fileName;
    const char* message;
    bool choosesPath;  // the last-session file always goes to the current directory
    void (*write)(const std::string& path, const DesignRecord&, MessageSink&);
};

void PrintTo(const Writer& writer, std::ostream* out) { *out << writer.name; }

const Writer kWriters[] = {
    {"DesignFile", "saved.VLT", kDesignFileNotWritten, true, WriteDesignFile},
    {"LastSession", kLastSessionFileName, kLastSessionNotWritten, false,
     [](const std::string&, const DesignRecord& d, MessageSink& sink) { WriteLastSession(d, sink); }},
    {"Schematic", "amp.asc", kSpiceNotWritten, true, WriteSpiceSchematic},
};

const std::string kEarlier = "the design saved before\r\n";

class WriteFaultTest : public ScratchDirTest, public ::testing::WithParamInterface<Writer> {
protected:
    void SetUp() override
    {
        ScratchDirTest::SetUp();
        StartupValues(design_);
        FindAll(design_);
    }
    // Writes into `folder` (made the current directory for the last-session file).
    void WriteInto(const std::filesystem::path& folder)
    {
        std::filesystem::current_path(folder);
        GetParam().write((folder / GetParam().fileName).string(), design_, sink_);
        std::filesystem::current_path(dir_);
    }
    void ExpectRefused()
    {
        EXPECT_EQ(sink_.beeps, 1);
        EXPECT_EQ(sink_.messages, std::vector<std::string>{GetParam().message});
    }
    DesignRecord design_;
};

// A new file gets the permissions the umask gives; a replaced one keeps its own.
TEST_P(WriteFaultTest, WritesWithTheExpectedPermissions)
{
    const mode_t previous = ::umask(027);
    WriteInto(dir_);
    ::umask(previous);
    const auto file = dir_ / GetParam().fileName;
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
    WriteBytes(file, kEarlier);
    std::filesystem::permissions(file, std::filesystem::perms(0604));
    WriteInto(dir_);
    EXPECT_NE(ReadBytes(file), kEarlier);
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0604));
    EXPECT_EQ(EntriesOf(dir_), std::vector<std::string>{GetParam().fileName});
    EXPECT_TRUE(sink_.messages.empty());
}

TEST_P(WriteFaultTest, MissingFolder)
{
    if (!GetParam().choosesPath) GTEST_SKIP() << "the last-session file goes to the current directory, which exists";
    GetParam().write(Path("gone/") + GetParam().fileName, design_, sink_);
    ExpectRefused();
    EXPECT_TRUE(EntriesOf(dir_).empty());
}

TEST_P(WriteFaultTest, PathIsAFolder)
{
    std::filesystem::create_directories(dir_ / GetParam().fileName / "inside");
    WriteInto(dir_);
    ExpectRefused();
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / GetParam().fileName / "inside"));
    EXPECT_EQ(EntriesOf(dir_), std::vector<std::string>{GetParam().fileName});
}

TEST_P(WriteFaultTest, UnwritableFolder)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into any folder, so no write can be refused";
    WriteBytes(Path(GetParam().fileName), kEarlier);
    std::filesystem::permissions(dir_, std::filesystem::perms(0500));
    WriteInto(dir_);
    ExpectRefused();
    EXPECT_EQ(ReadBytes(Path(GetParam().fileName)), kEarlier);
    EXPECT_EQ(EntriesOf(dir_), std::vector<std::string>{GetParam().fileName});
}

// The disk fills half way through the file: a file-size limit far below the file's
// length, in a child process so the limit never reaches the test runner.
TEST_P(WriteFaultTest, WriteFailsHalfWay)
{
    WriteBytes(Path(GetParam().fileName), kEarlier);
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {48, 48};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        RecordingSink childSink;
        GetParam().write(Path(GetParam().fileName), design_, childSink);
        std::string said = std::to_string(childSink.beeps);
        for (const std::string& message : childSink.messages) said += "|" + message;
        (void)!::write(report[1], said.data(), said.size());
        ::_exit(0);
    }
    ::close(report[1]);
    std::string said;
    char buffer[256];
    for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;) said.append(buffer, static_cast<size_t>(n));
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(said, std::string("1|") + GetParam().message);
    EXPECT_EQ(ReadBytes(Path(GetParam().fileName)), kEarlier);
    EXPECT_EQ(EntriesOf(dir_), std::vector<std::string>{GetParam().fileName});
}

INSTANTIATE_TEST_SUITE_P(AllFileKinds, WriteFaultTest, ::testing::ValuesIn(kWriters),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
