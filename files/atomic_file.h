// Replaces a file as a whole: the new text goes to a temporary file beside it and is
// renamed into place, so a failed or interrupted write never destroys the design
// the file held before.
#pragma once

#include <string>
#include <string_view>

namespace voltra {

// True when `path` now holds exactly `content`. On false the earlier file at `path`
// (if any) is untouched and no temporary file is left behind.
bool WriteFileAtomically(const std::string& path, std::string_view content);

}  // namespace voltra
