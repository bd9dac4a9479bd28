// Where writers put a file and what readers open: links, long names, leftovers, FIFOs, devices, oversized files.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <functional>
#include <future>
#include <vector>

#include "engine/equations.h"
#include "file_test_support.h"
#include "files/value_lines.h"
#include "tests/calculated_design.h"

namespace voltra {

namespace {

const std::string kEarlier = "the design saved before\r\n";

Texts Sorted(Texts names)
{
    std::sort(names.begin(), names.end());
    return names;
}

void MakeOld(const fs::path& path) { fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(1)); }

class WritePlacesTest : public ScratchDirTest, public ::testing::WithParamInterface<Writer> {
protected:
    void Write(const std::string& path) { GetParam().write(path, CalculatedDesign(), sink_); }

    // A child writer killed half way through its temporary file, as a crash leaves it.
    void KilledWriter()
    {
        const pid_t child = ::fork();
        if (child == 0) {
            const rlimit small = {48, 48}, noCore = {0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            ::setrlimit(RLIMIT_FSIZE, &small);
            ::signal(SIGXFSZ, SIG_DFL);
            Write(GetParam().name);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
    }
};

// A chain of relative links; a link to a file not yet there; a loop, refused.
TEST_P(WritePlacesTest, LinksAreFollowedToTheFileTheyName)
{
    fs::create_directory("real");
    WriteBytes("real/target", kEarlier);
    fs::create_symlink("target", "real/hop");
    fs::create_symlink("real/hop", GetParam().name);
    Write(GetParam().name);
    EXPECT_TRUE(fs::is_symlink(GetParam().name) && fs::is_symlink("real/hop"));
    const Texts written = LinesOf(ReadBytes("real/target"));
    EXPECT_GE(written.size(), 9u);

    fs::remove("real/target");
    Write(GetParam().name);
    EXPECT_EQ(LinesOf(ReadBytes("real/target")).back(), written.back());
    EXPECT_EQ(Entries(), Sorted({GetParam().name, "real"}));
    EXPECT_EQ(sink_.messages, Texts{});

    fs::remove(GetParam().name);
    fs::create_symlink(GetParam().name, "loop");
    fs::create_symlink("loop", GetParam().name);
    Write(GetParam().name);
    EXPECT_EQ(sink_.messages, Texts{Refusal(GetParam().message, ELOOP, GetParam().name)});
    EXPECT_EQ(sink_.beeps, 1);
    EXPECT_TRUE(fs::is_symlink(GetParam().name) && fs::is_symlink("loop"));
}

// Only an old, unlocked temporary file of the writers' own pattern goes; a young or held one may be in use.
TEST_P(WritePlacesTest, KilledWritersLeftoverGoesAtALaterWriteOnceOld)
{
    KilledWriter();
    Texts entries = Entries();
    ASSERT_EQ(entries.size(), 1u);
    const std::string leftover = entries[0];
    EXPECT_EQ(leftover.size(), 11u);
    EXPECT_EQ(leftover.rfind(".vlt-", 0), 0u);

    Write(GetParam().name);
    EXPECT_EQ(Entries(), Sorted({leftover, GetParam().name}));

    for (const char* other : {".vlt-held01", ".vlt-longer1", "x.vlt-abcde"}) WriteBytes(other, "part");
    const int held = ::open(".vlt-held01", O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    for (const std::string& name : Entries()) MakeOld(name);
    Write(GetParam().name);
    ::close(held);
    EXPECT_EQ(Entries(), Sorted({".vlt-held01", ".vlt-longer1", GetParam().name, "x.vlt-abcde"}));
    EXPECT_EQ(sink_.messages, Texts{});
}

INSTANTIATE_TEST_SUITE_P(AllFileKinds, WritePlacesTest, ::testing::ValuesIn(kWriters));

// 255 bytes, the longest name file systems take: the temporary name must not make it too long.
TEST_F(ScratchDirTest, NamesOfTheLongestLengthSave)
{
    for (const Writer& writer : {kWriters[0], kWriters[2]}) {
        const std::string extension = fs::path(writer.name).extension();
        const std::string longest = std::string(255 - extension.size(), 'n') + extension;
        writer.write(longest, CalculatedDesign(), sink_);
        EXPECT_EQ(sink_.messages, Texts{}) << writer.name;
        EXPECT_FALSE(ReadBytes(longest).empty());
        fs::remove(longest);
        writer.write("n" + longest, CalculatedDesign(), sink_);
        EXPECT_EQ(sink_.messages, Texts{Refusal(writer.message, ENAMETOOLONG, "n" + longest)}) << "256 bytes";
        sink_.messages.clear();
    }
    EXPECT_EQ(Entries(), Texts{});
}

struct Reader {
    const char* name;
    void (*read)(const fs::path& file, DesignRecord&, MessageSink&);
    const char* tooLarge;
};

const Reader kReaders[] = {
    {"design file", [](const fs::path& file, DesignRecord& d, MessageSink& sink) { ReadDesignFile(file, d, sink); },
     kDesignFileTooLarge},
    {"last session",
     [](const fs::path& file, DesignRecord& d, MessageSink& sink) { ReadLastSession(file.parent_path(), d, sink); },
     kLastSessionTooLarge},
};

class ReadPlacesTest : public ScratchDirTest {
protected:
    // A reader blocked on a FIFO is released by opening its other end: a failure, not a hang.
    std::vector<float> Read(const Reader& reader)
    {
        DesignRecord d;
        d.Power = 7;
        auto reading = std::async(std::launch::async, [&] { reader.read(kFile, d, sink_); });
        if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << reader.name << " blocked on " << kFile;
            ::close(::open(kFile.c_str(), O_WRONLY | O_NONBLOCK));
        }
        reading.get();
        return {d.Frequency, d.Supply, d.Saturation, d.Power, d.NetworkQ, d.Falltime};
    }
    const fs::path kFile = "in/" + std::string(kLastSessionFileName);
};

const std::vector<float> kStartupTargets = {4e6f, 24, 1, 50, 5, 1e-9f};

TEST_F(ReadPlacesTest, FifoDeviceAndFolderGiveTheStartupDesignAtOnce)
{
    const std::function<void()> makers[] = {
        [&] { ASSERT_EQ(::mkfifo(kFile.c_str(), 0600), 0); },
        [&] { fs::create_symlink("/dev/zero", kFile); },
        [&] { fs::create_directory(kFile); },
    };
    for (const auto& make : makers) {
        fs::remove_all("in");
        fs::create_directory("in");
        make();
        for (const Reader& reader : kReaders) EXPECT_EQ(Read(reader), kStartupTargets) << reader.name;
    }
    EXPECT_EQ(sink_.messages, Texts{});
}

// The file is padded with comment lines to the limit and one byte beyond it.
TEST_F(ReadPlacesTest, FilesUpToTheSizeLimitAreReadLargerOnesRefused)
{
    fs::create_directory("in");
    std::string file = "title\r\ndate\r\n4E6\r\n12\r\n0.5\r\n3\r\n2\r\n2E-09\r\n*";
    file.resize(kLargestDesignFile, '*');
    for (const Reader& reader : kReaders) {
        WriteBytes(kFile, file);
        EXPECT_EQ(Read(reader), (std::vector<float>{4e6f, 12, 0.5f, 3, 2, 2e-9f})) << reader.name;
        EXPECT_EQ(sink_.messages, Texts{});
        WriteBytes(kFile, file + "*");
        EXPECT_EQ(Read(reader), kStartupTargets) << reader.name;
        EXPECT_EQ(sink_.messages, Texts{reader.tooLarge});
        sink_.messages.clear();
    }
}

}  // namespace

}  // namespace voltra
