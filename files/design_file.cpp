// The design file and the last-session file: a short header, then the value lines.
#include "files/design_file.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "files/atomic_file.h"
#include "files/file_limits.h"
#include "files/file_text.h"
#include "files/value_lines.h"

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

void WriteOrComplain(const std::string& path, const std::string& content, const char* complaint,
                     MessageSink& sink)
{
    if (WriteFileAtomically(path, content)) return;
    sink.Beep();
    sink.ShowMessage(complaint, kProgramTitle);
}

// ASCII case only: std::tolower follows the locale, and in a Turkish one "I" would
// not lower to "i".
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// The exact name first; otherwise the first entry of the current directory, in name
// order, that differs from it only in case (a file copied from a system that does
// not keep case).
std::string LastSessionPath()
{
    std::error_code error;
    if (std::filesystem::exists(kLastSessionFileName, error) || error) return kLastSessionFileName;
    std::string found;
    for (std::filesystem::directory_iterator entry(".", error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (SameNameIgnoringCase(name, kLastSessionFileName) && (found.empty() || name < found)) found = name;
    }
    return found.empty() ? kLastSessionFileName : found;
}

void ReadAndValidate(const std::string& path, DesignRecord& design, const FileLimits& limits, MessageSink& sink)
{
    switch (ReadValueLines(path, design)) {
    case ReadOutcome::Complete: ValidateTargets(design, limits, sink); break;
    case ReadOutcome::EndedEarly: break;
    case ReadOutcome::Failed: SetStartupTargets(design); break;
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
    WriteOrComplain(path, content, kDesignFileNotWritten, sink);
}

void WriteLastSession(const DesignRecord& design, MessageSink& sink)
{
    std::string content;
    AppendLine(content, kLastSessionTitle);
    AppendLine(content, DateTimeText());
    AppendLine(content, "");
    AppendValueLines(content, design);
    WriteOrComplain(kLastSessionFileName, content, kLastSessionNotWritten, sink);
}

void ReadDesignFile(const std::string& path, DesignRecord& design, MessageSink& sink)
{
    if (!IsUsablePath(path)) return;
    ReadAndValidate(path, design, kDesignFileLimits, sink);
}

void ReadLastSession(DesignRecord& design, MessageSink& sink)
{
    SetStartupTargets(design, kLastSessionFalltime);
    ReadAndValidate(LastSessionPath(), design, kLastSessionLimits, sink);
}
