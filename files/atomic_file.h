// Replaces a file as a whole: the new text goes to a temporary file beside it and is
// renamed into place, so a failed or interrupted write never destroys the design
// the file held before.
#pragma once

#include <string>
#include <string_view>

namespace voltra {

enum class WriteOutcome {
    Written,      // the file holds the new text, and its folder has recorded the rename
    Unconfirmed,  // the file holds the new text, but the folder could not be synced, so a
                  // power cut may still bring the earlier file back
    Failed,       // nothing changed: the earlier file, if any, is as it was
};

struct FileWrite {
    WriteOutcome outcome = WriteOutcome::Written;
    int error = 0;     // the system's error number when not Written
    std::string path;  // the file (or link) the error concerns, absolute
};

// Makes the file `path` names hold exactly `content`. A symbolic link is followed, so
// the file it points to is replaced and the link stays. Anything about the earlier
// file that cannot be found out (whether it is a link, its permissions) fails the
// write rather than being guessed. A failure leaves no temporary file behind; one
// left by a writer that was killed is removed at a later write to the same folder.
FileWrite WriteFileAtomically(const std::string& path, std::string_view content);

// The system's reason and the file, as a second line under a writer's own message:
// "No space left on device: /home/ann/amp.VLT".
std::string ReasonText(const FileWrite& write);

}  // namespace voltra
