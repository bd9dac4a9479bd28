// Where the last-session file is kept: the user's data folder, or the current
// folder for a user who already keeps one there.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace voltra {

// A file named like kLastSessionFileName in `folder`, in any letter case (one
// copied from a system that does not keep case): the exact name first, otherwise
// the first match in name order.
std::optional<std::filesystem::path> FindLastSessionFile(const std::filesystem::path& folder);

// The program's folder among the user's data, as the XDG base-directory rules place
// it: $XDG_DATA_HOME/voltra, by default ~/.local/share/voltra; none when neither
// variable names an absolute folder. The last-session file and the user's device
// files live there.
std::optional<std::filesystem::path> UserDataFolder();

// Two file names alike but for ASCII letter case (never the locale's: in a Turkish
// one "I" would not lower to "i").
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

// The current folder when a last-session file lies there; otherwise
// $XDG_DATA_HOME/voltra, by default ~/.local/share/voltra; the current folder again
// when neither variable names an absolute folder. Chosen once at start-up, so the
// design read is written back where it came from.
std::filesystem::path LastSessionFolder();

// Creates `folder` and any missing folder above it, owner-only as befits a user's
// data; true when it exists as a folder afterwards.
bool MakeFolder(const std::filesystem::path& folder);

}  // namespace voltra
