// The design file and the last-session file: a short header, then the value lines.
#include "files/design_file.h"

#include <algorithm>
#include <ctime>

#include "files/file_limits.h"
#include "files/file_text.h"
#include "files/last_session_folder.h"
#include "files/reported_write.h"
#include "files/value_lines.h"

namespace voltra {

namespace {

constexpr const char* kLastSessionTitle = "Voltra last-session file";

// A last session that ends early keeps the start-up targets but this fall time, so
// a file cut short after the Q line still gives a sensible 100 ns.
constexpr float kLastSessionFalltime = 1e-7f;

// The start-up design; the last-session reader starts from it with its own fall time.
void SetStartupTargets(DesignRecord& design, float falltime = kDefaultFalltime)
{
    design.Frequency = kDefaultFrequency;
    design.Supply = kDefaultSupply;
    design.Saturation = kDefaultSaturation;
    design.Power = kDefaultPower;
    design.NetworkQ = kDefaultNetworkQ;
    design.Falltime = falltime;
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// Local date and time on one line, e.g. "12/4/2026 1:23:45 AM". Built by hand rather
// than with strftime, whose %p is empty in many locales and would leave the hour
// ambiguous.
std::string DateTimeText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int hour12 = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    return std::to_string(local.tm_mon + 1) + "/" + std::to_string(local.tm_mday) + "/" +
           std::to_string(local.tm_year + 1900) + " " + std::to_string(hour12) + ":" + TwoDigits(local.tm_min) + ":" +
           TwoDigits(local.tm_sec) + (local.tm_hour < 12 ? " AM" : " PM");
}

// The path heads the design file as its first line. A line break inside it would
// make two lines, and a leading "*" would make the reader skip it as a comment;
// either would shift every value by one line, so such characters are replaced.
std::string PathLine(std::string path)
{
    std::replace(path.begin(), path.end(), '\r', ' ');
    std::replace(path.begin(), path.end(), '\n', ' ');
    if (path.front() == '*') path.front() = ' ';
    return path;
}

void ReadAndValidate(const std::string& path, DesignRecord& design, const FileLimits& limits,
                     const char* tooLarge, MessageSink& sink)
{
    switch (ReadValueLines(path, design)) {
    case ReadOutcome::Complete: ValidateTargets(design, limits, sink); break;
    case ReadOutcome::EndedEarly: break;
    case ReadOutcome::Failed: SetStartupTargets(design); break;
    case ReadOutcome::TooLarge:
        SetStartupTargets(design);
        sink.ShowMessage(tooLarge, kProgramTitle);
        break;
    }
}

}  // namespace

void WriteDesignFile(const std::string& path, const DesignRecord& design, MessageSink& sink)
{
    if (!IsUsablePath(path)) return;
    std::string content;
    AppendLine(content, PathLine(path));
    AppendLine(content, "");
    AppendLine(content, DateTimeText());
    AppendLine(content, "");
    AppendValueLines(content, design);
    WriteAndReport(path, content, kDesignFileNotWritten, sink);
}

void WriteLastSession(const std::filesystem::path& folder, const DesignRecord& design, MessageSink& sink)
{
    std::string content;
    AppendLine(content, kLastSessionTitle);
    AppendLine(content, DateTimeText());
    AppendLine(content, "");
    AppendValueLines(content, design);
    // A folder that cannot be made fails the write below like any unwritable place.
    voltra::MakeFolder(folder);
    WriteAndReport(folder / kLastSessionFileName, content, kLastSessionNotWritten, sink);
}

void ReadDesignFile(const std::string& path, DesignRecord& design, MessageSink& sink)
{
    if (!IsUsablePath(path)) return;
    ReadAndValidate(path, design, kDesignFileLimits, kDesignFileTooLarge, sink);
}

void ReadLastSession(const std::filesystem::path& folder, DesignRecord& design, MessageSink& sink)
{
    SetStartupTargets(design, kLastSessionFalltime);
    const std::filesystem::path file = voltra::FindLastSessionFile(folder).value_or(folder / kLastSessionFileName);
    ReadAndValidate(file, design, kLastSessionLimits, kLastSessionTooLarge, sink);
}

}  // namespace voltra
