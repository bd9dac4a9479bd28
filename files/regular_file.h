// Reading a whole file the user named, refusing what only looks like one: a FIFO,
// a device, a folder, or more bytes than the reader is prepared to hold.
#pragma once

#include <cstddef>
#include <string>

namespace voltra {

enum class FileRead {
    Read,        // `bytes` holds the whole file
    Unreadable,  // missing, not a regular file, or an open or read error
    TooLarge,    // more than the bytes asked for; nothing is kept
};

struct FileContents {
    FileRead outcome;
    std::string bytes;
};

// Opens without blocking and reads only a regular file, and of it no more than
// `maxBytes` plus one, so a file that grows while it is read is stopped too.
FileContents ReadRegularFile(const std::string& path, std::size_t maxBytes);

}  // namespace voltra
