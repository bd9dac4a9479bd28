// open(2) with O_NONBLOCK and fstat before any read: a FIFO opened for reading
// waits for a writer, and /dev/zero fills any buffer it is given.
#include "files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <utility>

#include "files/descriptor.h"

namespace voltra {

namespace {

constexpr std::size_t kChunk = 4096;

}  // namespace

FileContents ReadRegularFile(const std::string& path, std::size_t maxBytes)
{
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat status {};
    if (!file.IsOpen() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return {FileRead::Unreadable, {}};
    if (static_cast<unsigned long long>(status.st_size) > maxBytes) return {FileRead::TooLarge, {}};

    std::string bytes;
    while (bytes.size() <= maxBytes) {
        const std::size_t at = bytes.size();
        bytes.resize(at + kChunk);
        const ssize_t got = ::read(file.get(), bytes.data() + at, kChunk);
        if (got < 0 && errno == EINTR) {
            bytes.resize(at);
            continue;
        }
        if (got < 0) return {FileRead::Unreadable, {}};
        bytes.resize(at + static_cast<std::size_t>(got));
        if (got == 0) return {FileRead::Read, std::move(bytes)};
    }
    return {FileRead::TooLarge, {}};
}

}  // namespace voltra
