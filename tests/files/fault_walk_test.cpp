// Every system call of every writer fails in turn, with each error, from each starting
// state. After each failure the file is the earlier one or the complete new one and
// nothing in between, a refusal is said with its reason, no temporary file is left,
// and the next write succeeds.
#include <sys/stat.h>

#include <chrono>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>

#include "file_test_support.h"
#include "files/reported_write.h"
#include "system_call_faults.h"
#include "tests/calculated_design.h"

namespace voltra {

namespace {

using faults::Fault;

const std::string kEarlier = "the design saved before\r\n";
// Neither what a new file gets nor what mkstemp gives, so a replacement that does not
// carry the earlier file's permissions shows.
constexpr mode_t kEarlierMode = 0640;
constexpr mode_t kUmask = 022;
constexpr mode_t kNewFileMode = 0666 & ~kUmask;
// Named as the writers name their temporaries, and old: a crashed writer's.
constexpr const char* kStaleTemporary = ".vlt-Stale1";
constexpr const char* kElsewhere = "elsewhere";
constexpr std::string_view kTemporaryPrefix = ".vlt-";
// A broken writer fails at nearly every point; the first few failures tell enough.
constexpr int kFailuresShown = 12;

enum class Start { EarlierFile, NoFile, LinkElsewhere, StaleTemporary };
constexpr Start kStarts[] = {Start::EarlierFile, Start::NoFile, Start::LinkElsewhere, Start::StaleTemporary};

const char* StartName(Start start)
{
    switch (start) {
    case Start::EarlierFile: return "earlier file";
    case Start::NoFile: return "no file";
    case Start::LinkElsewhere: return "link to another folder";
    case Start::StaleTemporary: return "earlier file and stale temporary";
    }
    return "?";
}

mode_t ModeOf(const fs::path& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

std::string Shown(const fs::path& path) { return fs::absolute(path).lexically_normal().string(); }

struct WriteRun {
    RecordingSink sink;
    faults::Record record;
};

// How many fault points a writer's call has, and at how many all held.
struct Tally {
    int points = 0;
    int held = 0;
};

class FaultWalkTest : public ScratchDirTest, public ::testing::WithParamInterface<Writer> {
protected:
    void SetUp() override
    {
        ScratchDirTest::SetUp();
        previousMask_ = ::umask(kUmask);
        // The design file carries the time of writing; frozen, every write of one
        // design is the same bytes.
        faults::FreezeClock(::time(nullptr));
    }
    void TearDown() override
    {
        faults::FreezeClock(0);
        faults::TreatAsOtherFileSystem("");
        ::umask(previousMask_);
        ScratchDirTest::TearDown();
    }

    // The link's file lies in a folder the rename treats as another file system: a
    // temporary made beside the link could not be renamed onto it.
    void LayOut(Start start)
    {
        for (const auto& entry : fs::directory_iterator(dir_)) fs::remove_all(entry.path());
        const std::string name = GetParam().name;
        if (start == Start::LinkElsewhere) {
            fs::create_directory(kElsewhere);
            fs::create_symlink(dir_ / Target(start), name);
        }
        if (start == Start::StaleTemporary) {
            WriteBytes(kStaleTemporary, "half a des");
            fs::last_write_time(kStaleTemporary, fs::file_time_type::clock::now() - std::chrono::hours(1));
        }
        if (start != Start::NoFile) {
            WriteBytes(Target(start), kEarlier);
            fs::permissions(Target(start), fs::perms(kEarlierMode));
        }
        faults::TreatAsOtherFileSystem(start == Start::LinkElsewhere ? (dir_ / kElsewhere).string() : "");
    }

    fs::path Target(Start start) const
    {
        return start == Start::LinkElsewhere ? fs::path(kElsewhere) / "real" : fs::path(GetParam().name);
    }

    WriteRun Write(const faults::Plan& plan)
    {
        WriteRun run;
        faults::Arm(plan);
        GetParam().write(GetParam().name, design_, run.sink);
        run.record = faults::Disarm();
        return run;
    }

    // The temporaries in both folders, but a stale one where the write may not have
    // got as far as cleaning.
    Texts Temporaries(bool staleAllowed) const
    {
        Texts found;
        for (const fs::path& folder : {dir_, dir_ / kElsewhere}) {
            std::error_code error;
            for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
                const std::string name = entry->path().filename();
                if (name.starts_with(kTemporaryPrefix) && !(staleAllowed && name == kStaleTemporary))
                    found.push_back(name);
            }
        }
        return found;
    }

    // What of the earlier file, the link and the new text is wrong; empty when all is well.
    std::string FileState(Start start, bool& written) const
    {
        std::ostringstream wrong;
        const fs::path target = Target(start);
        std::error_code error;
        const bool exists = fs::exists(target, error);
        const std::string bytes = exists ? ReadBytes(target) : "";
        const mode_t mode = ModeOf(target);
        const bool hadEarlier = start != Start::NoFile;
        const bool earlier = hadEarlier ? exists && bytes == kEarlier && mode == kEarlierMode : !exists;
        written = exists && bytes == fresh_ && mode == (hadEarlier ? kEarlierMode : kNewFileMode);
        if (!earlier && !written)
            wrong << "the file is neither the earlier one nor the new one (" << bytes.size() << " bytes, mode "
                  << std::oct << mode << std::dec << "); ";
        if (start == Start::LinkElsewhere &&
            !(fs::is_symlink(GetParam().name, error) && fs::read_symlink(GetParam().name, error) == dir_ / target))
            wrong << "the link is gone; ";
        return wrong.str();
    }

    std::string Said(const WriteRun& run) const
    {
        std::ostringstream said;
        said << run.sink.beeps << " beeps";
        for (const std::string& text : run.sink.messages) said << ", \"" << text << "\"";
        return said.str();
    }

    // A write with no fault: the new file, silently, the link kept, no temporary at all.
    std::string Succeeded(Start start, const WriteRun& run) const
    {
        bool written = false;
        std::string wrong = FileState(start, written);
        if (!written) wrong += "the new text is not in place; ";
        if (!run.sink.messages.empty() || run.sink.beeps != 0) wrong += "it said " + Said(run) + "; ";
        if (!Temporaries(false).empty()) wrong += "a temporary is left; ";
        return wrong;
    }

    // A write that met a fault: either it refused, saying why, and changed nothing, or
    // the fault did not matter and the new file is in place. A fault after the rename
    // cannot undo it; a failed open or sync of the folder is then said, as a warning.
    std::string MetFault(Start start, const WriteRun& run, Fault fault) const
    {
        bool written = false;
        std::string wrong = FileState(start, written);
        const int error = fault == Fault::NothingWritten ? ENOSPC : faults::ErrorOf(fault);
        const std::string reason = std::generic_category().message(error) + ": ";
        const auto says = [&](const std::string& text) {
            return run.sink.beeps == 1 && run.sink.messages.size() == 1 &&
                   (run.sink.messages[0] == text + "\n" + reason + Shown(Target(start)) ||
                    run.sink.messages[0] == text + "\n" + reason + Shown(GetParam().name));
        };
        const std::string& struck = run.record.struck;
        if (!written) {
            if (!says(GetParam().message)) wrong += "the refusal is not said as it should be: " + Said(run) + "; ";
        } else if (run.record.afterRename && (struck == "open" || struck == "fsync")) {
            if (!says(kFileWriteUnconfirmed)) wrong += "the unconfirmed rename is not said: " + Said(run) + "; ";
        } else if (!run.sink.messages.empty() || run.sink.beeps != 0) {
            wrong += "a write that succeeded said " + Said(run) + "; ";
        }
        if (struck == "fsync" && run.sink.messages.empty()) wrong += "a failed fsync went unsaid; ";
        if (!Temporaries(start == Start::StaleTemporary).empty()) wrong += "a temporary is left; ";
        return wrong;
    }

    const DesignRecord design_ = CalculatedDesign();
    std::string fresh_;
    mode_t previousMask_ = 0;
};

TEST_P(FaultWalkTest, EveryCallFailsInTurnFromEveryStart)
{
    std::map<std::string, Tally> tally;
    int failures = 0;
    // The new text, as written where nothing is in the way.
    LayOut(Start::NoFile);
    Write({});
    fresh_ = ReadBytes(GetParam().name);
    ASSERT_GE(LinesOf(fresh_).size(), 9u);
    for (Start start : kStarts) {
        LayOut(start);
        const WriteRun clean = Write({});
        const std::string cleanWrong = Succeeded(start, clean);
        EXPECT_EQ(cleanWrong, "") << StartName(start) << ", no fault";
        failures += !cleanWrong.empty();
        ASSERT_GT(clean.record.calls.size(), 8u) << "the interposer sees too few calls";

        for (std::size_t n = 1; n <= clean.record.calls.size(); ++n) {
            const std::string& call = clean.record.calls[n - 1];
            for (Fault fault : faults::FaultsFor(call)) {
                LayOut(start);
                const WriteRun run = Write({static_cast<int>(n), fault});
                std::string wrong = run.record.struck == call ? "" : "the fault met \"" + run.record.struck + "\"; ";
                wrong += MetFault(start, run, fault);
                const std::string after = Succeeded(start, Write({}));
                if (!after.empty()) wrong += "the next write: " + after;
                Tally& counted = tally[call];
                ++counted.points;
                if (wrong.empty()) {
                    ++counted.held;
                } else if (++failures <= kFailuresShown) {
                    ADD_FAILURE() << StartName(start) << ", call " << n << " (" << call << ") with "
                                  << faults::FaultName(fault) << ": " << wrong;
                }
            }
        }
    }
    int points = 0, held = 0;
    std::cout << "Fault points of the " << GetParam().name << " writer, by system call:\n";
    for (const auto& [call, counted] : tally) {
        std::cout << "  " << std::left << std::setw(10) << call << std::right << std::setw(5) << counted.points
                  << " points, " << std::setw(5) << counted.held << " held\n";
        points += counted.points;
        held += counted.held;
    }
    std::cout << "  " << std::left << std::setw(10) << "all" << std::right << std::setw(5) << points << " points, "
              << std::setw(5) << held << " held\n";
    EXPECT_EQ(failures, 0);
}

INSTANTIATE_TEST_SUITE_P(AllFileKinds, FaultWalkTest, ::testing::ValuesIn(kWriters));

}  // namespace

}  // namespace voltra
