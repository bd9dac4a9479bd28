// Keeping a design between sessions: the six targets in a design file the user
// names, and in the last-session file that brings the design of the last exit back.
#pragma once

#include <filesystem>
#include <string>

#include "engine/design_record.h"
#include "engine/message_sink.h"

namespace voltra {

// Written under this name in the last-session folder (files/last_session_folder.h);
// read under any name that matches it without regard to case.
inline constexpr const char* kLastSessionFileName = "LastSession.VLT";

inline constexpr const char* kDesignFileNotWritten = "The file was not written correctly.";
inline constexpr const char* kLastSessionNotWritten = "The last-session file was not written correctly.";
// The size is kLargestDesignFile of files/value_lines.h.
inline constexpr const char* kDesignFileTooLarge =
    "The file is larger than 1 MB and cannot be a design file; it was not read.";
inline constexpr const char* kLastSessionTooLarge =
    "The last-session file is larger than 1 MB and cannot hold a design; it was not read.";

// A path shorter than five characters writes or reads nothing and says nothing. A
// failed write beeps and says so, with the system's reason on a second line; the
// earlier file stays as it was. A path naming a
// symbolic link replaces the file the link points to and keeps the link.
void WriteDesignFile(const std::string& path, const DesignRecord& design, MessageSink& sink);
// Creates `folder` first when it is missing.
void WriteLastSession(const std::filesystem::path& folder, const DesignRecord& design, MessageSink& sink);

// A file that cannot be opened or read, or is no regular file (a FIFO, a device, a
// folder), gives the start-up design silently; one larger than a megabyte gives it
// with a message. A file that ends early leaves the targets it did not reach as they
// were, unchecked. A complete read is checked against the reader's limits, one
// message per reset value.
void ReadDesignFile(const std::string& path, DesignRecord& design, MessageSink& sink);
void ReadLastSession(const std::filesystem::path& folder, DesignRecord& design, MessageSink& sink);

}  // namespace voltra
