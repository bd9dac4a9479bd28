// One chosen system call fails: what the writers do when the earlier file cannot be
// examined, when a write writes nothing, and when the folder cannot be synced.
#include <sys/stat.h>

#include "file_test_support.h"
#include "files/reported_write.h"
#include "system_call_faults.h"
#include "tests/calculated_design.h"

namespace voltra {

namespace {

using faults::Fault;

const std::string kEarlier = "the design saved before\r\n";

class SingleFaultTest : public ScratchDirTest, public ::testing::WithParamInterface<Writer> {
protected:
    void SetUp() override
    {
        ScratchDirTest::SetUp();
        previousMask_ = ::umask(022);
    }
    void TearDown() override
    {
        ::umask(previousMask_);
        ScratchDirTest::TearDown();
    }
    faults::Record Write(const faults::Plan& plan)
    {
        faults::Arm(plan);
        GetParam().write(GetParam().name, CalculatedDesign(), sink_);
        return faults::Disarm();
    }
    static mode_t ModeOf(const fs::path& path)
    {
        struct stat status {};
        return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
    }
    mode_t previousMask_ = 0;
};

// Taking an unreadable link for "no link" would put a plain file in its place and
// leave the file it names with the old design, while reporting success.
TEST_P(SingleFaultTest, LinkThatCannotBeExaminedIsKept)
{
    fs::create_directory("elsewhere");
    WriteBytes("elsewhere/real", kEarlier);
    fs::create_symlink(dir_ / "elsewhere/real", GetParam().name);
    const faults::Record record = Write({1, Fault::Io, "lstat"});
    ASSERT_EQ(record.struck, "lstat");
    EXPECT_TRUE(fs::is_symlink(GetParam().name));
    EXPECT_EQ(ReadBytes("elsewhere/real"), kEarlier);
    EXPECT_EQ(sink_.messages, Texts{Refusal(GetParam().message, EIO, GetParam().name)});
    EXPECT_EQ(sink_.beeps, 1);

    sink_.messages.clear();
    Write({});
    EXPECT_TRUE(fs::is_symlink(GetParam().name));
    EXPECT_NE(ReadBytes("elsewhere/real"), kEarlier);
    EXPECT_EQ(sink_.messages, Texts{});
}

// Taking an earlier file that cannot be examined for "no file" would give the
// replacement a new file's permissions: a private design readable by everyone.
TEST_P(SingleFaultTest, PermissionsThatCannotBeReadAreNotGuessed)
{
    WriteBytes(GetParam().name, kEarlier);
    fs::permissions(GetParam().name, fs::perms(0600));
    const faults::Record record = Write({1, Fault::Denied, "stat", GetParam().name});
    ASSERT_EQ(record.struck, "stat");
    EXPECT_EQ(ReadBytes(GetParam().name), kEarlier);
    EXPECT_EQ(ModeOf(GetParam().name), 0600u);
    EXPECT_EQ(sink_.messages, Texts{Refusal(GetParam().message, EACCES, GetParam().name)});
    EXPECT_EQ(Entries(), Texts{GetParam().name});

    sink_.messages.clear();
    Write({});
    EXPECT_NE(ReadBytes(GetParam().name), kEarlier);
    EXPECT_EQ(ModeOf(GetParam().name), 0600u);
}

// A file system that answers a full disk with a write of nothing would keep a writer
// that retries looping for ever; the interposer gives up after a thousand.
TEST_P(SingleFaultTest, WriteOfNothingIsAFullDisk)
{
    WriteBytes(GetParam().name, kEarlier);
    const faults::Record record = Write({1, Fault::NothingWritten, "write"});
    EXPECT_EQ(record.writes, 1);
    EXPECT_EQ(ReadBytes(GetParam().name), kEarlier);
    EXPECT_EQ(sink_.messages, Texts{Refusal(GetParam().message, ENOSPC, GetParam().name)});
    EXPECT_EQ(Entries(), Texts{GetParam().name});
}

// The second sync is the folder's, after the rename: the new file is in place and
// stays, but the user hears that it may not survive a power cut. A file system that
// cannot sync folders at all says EINVAL, and there is nothing to warn of.
TEST_P(SingleFaultTest, FolderThatCannotBeSyncedIsAWarningNotAFailure)
{
    WriteBytes(GetParam().name, kEarlier);
    faults::Record record = Write({2, Fault::Io, "fsync"});
    ASSERT_TRUE(record.afterRename);
    const std::string written = ReadBytes(GetParam().name);
    EXPECT_GE(LinesOf(written).size(), 9u);
    EXPECT_EQ(sink_.messages, Texts{Refusal(kFileWriteUnconfirmed, EIO, GetParam().name)});
    EXPECT_EQ(sink_.beeps, 1);
    EXPECT_EQ(Entries(), Texts{GetParam().name});

    sink_.messages.clear();
    // The folder is opened twice: first to clean it of leftovers, then to sync it.
    record = Write({2, Fault::Denied, "open", "."});
    ASSERT_TRUE(record.afterRename);
    EXPECT_EQ(sink_.messages, Texts{Refusal(kFileWriteUnconfirmed, EACCES, GetParam().name)});

    sink_.messages.clear();
    record = Write({2, Fault::Unsupported, "fsync"});
    ASSERT_EQ(record.struck, "fsync");
    EXPECT_EQ(sink_.messages, Texts{});
}

INSTANTIATE_TEST_SUITE_P(AllFileKinds, SingleFaultTest, ::testing::ValuesIn(kWriters));

}  // namespace

}  // namespace voltra
