// Failed writes of all file kinds: beep, message, earlier file byte for byte, no temporary left.
#include <signal.h>
#include <sys/resource.h>

#include "engine/equations.h"
#include "file_test_support.h"

namespace voltra {

namespace {

const std::string kEarlier = "the design saved before\r\n";

class WriteFaultTest : public ScratchDirTest, public ::testing::WithParamInterface<Writer> {
protected:
    void SetUp() override
    {
        ScratchDirTest::SetUp();
        WriteBytes(GetParam().name, kEarlier);
    }
    void Write(const std::string& folder = "")
    {
        DesignRecord design;
        StartupValues(design);
        FindAll(design);
        GetParam().write(folder + GetParam().name, design, sink_);
    }
    // Each refusal names the system's reason and the file.
    void ExpectRefused(const std::vector<std::pair<int, std::string>>& reasons)
    {
        Texts expected;
        for (const auto& [error, file] : reasons) expected.push_back(Refusal(GetParam().message, error, file));
        EXPECT_EQ(sink_.beeps, static_cast<int>(reasons.size()));
        EXPECT_EQ(sink_.messages, expected);
        EXPECT_EQ(Entries(), Texts{GetParam().name});
    }
};

TEST_P(WriteFaultTest, PathIsAFolderOrInAMissingOne)
{
    fs::remove(GetParam().name);
    fs::create_directory(GetParam().name);
    Write();
    Write("gone/");
    // The last-session file goes to its folder whatever path it is given.
    const bool toFolder = GetParam().name != std::string(kLastSessionFileName);
    ExpectRefused({{EISDIR, GetParam().name},
                   toFolder ? std::pair(ENOENT, "gone/" + std::string(GetParam().name)) : std::pair(EISDIR, GetParam().name)});
}

TEST_P(WriteFaultTest, UnwritableFolder)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into any folder, so no write can be refused";
    fs::permissions(dir_, fs::perms(0500));
    Write();
    ExpectRefused({{EACCES, GetParam().name}});
    EXPECT_EQ(ReadBytes(GetParam().name), kEarlier);
}

// The disk fills half way: a file-size limit below the file length.
TEST_P(WriteFaultTest, WriteFailsHalfWay)
{
    rlimit previous;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto handler = ::signal(SIGXFSZ, SIG_IGN);
    const rlimit small = {48, previous.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    Write();
    ::setrlimit(RLIMIT_FSIZE, &previous);
    ::signal(SIGXFSZ, handler);
    ExpectRefused({{EFBIG, GetParam().name}});
    EXPECT_EQ(ReadBytes(GetParam().name), kEarlier);
}

INSTANTIATE_TEST_SUITE_P(AllFileKinds, WriteFaultTest, ::testing::ValuesIn(kWriters));

}  // namespace

}  // namespace voltra
