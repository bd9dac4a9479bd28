// Text conventions every file Voltra writes shares: lines ended by CR LF, and the
// shortest path a design or schematic file is written under or read from.
#pragma once

#include <string>
#include <string_view>

namespace voltra {

inline constexpr std::string_view kLineEnd = "\r\n";

// One character and ".VLT" or ".ASC": anything shorter cannot name a useful file.
inline constexpr std::size_t kShortestPathCharacters = 5;

// Counts characters, not bytes, so a short name in a non-Latin script is judged
// by what the user sees.
bool IsUsablePath(std::string_view path);

// Appends text and the line end.
void AppendLine(std::string& file, std::string_view text);

}  // namespace voltra
