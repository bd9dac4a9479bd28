// The last-session folder from the environment, as the XDG base-directory rules
// place an application's data.
#include "files/last_session_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include "files/design_file.h"

namespace voltra {

namespace {

constexpr const char* kProgramFolder = "voltra";
constexpr const char* kDefaultDataFolder = ".local/share";
// Data folders are private to their user.
constexpr mode_t kFolderMode = 0700;

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A variable that is unset, empty or relative names no folder: the rules say to
// ignore a relative one rather than resolve it against wherever the program started.
std::optional<std::filesystem::path> AbsoluteFolderIn(const char* variable)
{
    const char* value = std::getenv(variable);
    if (!value || !std::filesystem::path(value).is_absolute()) return std::nullopt;
    return std::filesystem::path(value);
}

}  // namespace

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::optional<std::filesystem::path> UserDataFolder()
{
    if (const auto data = AbsoluteFolderIn("XDG_DATA_HOME")) return *data / kProgramFolder;
    if (const auto home = AbsoluteFolderIn("HOME")) return *home / kDefaultDataFolder / kProgramFolder;
    return std::nullopt;
}

std::optional<std::filesystem::path> FindLastSessionFile(const std::filesystem::path& folder)
{
    const std::filesystem::path exact = folder / kLastSessionFileName;
    std::error_code error;
    if (std::filesystem::symlink_status(exact, error).type() != std::filesystem::file_type::not_found) return exact;
    std::string found;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (SameNameIgnoringCase(name, kLastSessionFileName) && (found.empty() || name < found)) found = name;
    }
    if (found.empty()) return std::nullopt;
    return folder / found;
}

std::filesystem::path LastSessionFolder()
{
    const std::filesystem::path current = ".";
    if (FindLastSessionFile(current)) return current;
    return UserDataFolder().value_or(current);
}

bool MakeFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) return true;
    const std::filesystem::path above = folder.parent_path();
    if (!above.empty() && above != folder && !MakeFolder(above)) return false;
    return ::mkdir(folder.c_str(), kFolderMode) == 0 || (errno == EEXIST && std::filesystem::is_directory(folder, error));
}

}  // namespace voltra
