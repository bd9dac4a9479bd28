// How the fate of a written file reaches the user: nothing when it is safely in
// place, otherwise a beep and a message whose second line gives the system's reason.
#pragma once

#include <string>
#include <string_view>

#include "engine/message_sink.h"

namespace voltra {

// The new file is in place but the system did not confirm that the rename is on the
// disk: the user may want to save again, or check the disk, before relying on it.
inline constexpr const char* kFileWriteUnconfirmed =
    "The file was written, but the system could not confirm that it is safely on the disk; "
    "it may be lost if the power fails.";

// Writes `content` atomically to `path`. A failure shows `complaint` (the writer's own
// message) above the reason; a write left unconfirmed shows kFileWriteUnconfirmed.
void WriteAndReport(const std::string& path, std::string_view content, const char* complaint, MessageSink& sink);

}  // namespace voltra
