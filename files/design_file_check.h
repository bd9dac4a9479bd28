// Whether a file the user chose to open holds a design at all: a design read from
// anything else would become the file in use, and the next Save would overwrite it.
#pragma once

#include <optional>
#include <string>

namespace voltra {

// Nothing when the file reads as a design: a regular file of at most a megabyte
// whose six value lines are all there, each under its own label (or none) and each
// starting with a number. Otherwise the message that says what was wrong. Values out
// of range are no fault here: the reader resets them and says so, one by one.
std::optional<std::string> DesignFileProblem(const std::string& path);

}  // namespace voltra
