// Replaces a file as a whole: the new text goes to a temporary file beside it and is
// renamed into place, so a failed or interrupted write never destroys the design
// the file held before.
#pragma once

#include <string>
#include <string_view>

namespace voltra {

// True when the file `path` names now holds exactly `content`. A symbolic link is
// followed, so the file it points to is replaced and the link stays. On false the
// earlier file (if any) is untouched and no temporary file is left behind; one left
// by a writer that was killed is removed at a later write to the same folder.
bool WriteFileAtomically(const std::string& path, std::string_view content);

}  // namespace voltra
