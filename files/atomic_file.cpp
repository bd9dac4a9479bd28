// Temporary file, full write, fsync, rename: the POSIX way to make a replacement
// complete or absent.
#include "files/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace voltra {

namespace {

// The suffix mkstemp fills with a unique name.
constexpr const char* kTemporarySuffix = ".XXXXXX";

bool WriteAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// mkstemp creates the file readable by its owner only; the replacement should carry
// the earlier file's permissions, or those a newly created file would get.
mode_t ModeForReplacement(const std::string& path)
{
    struct stat earlier {};
    if (::stat(path.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode)) return earlier.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view content)
{
    std::string temporary = path + kTemporarySuffix;
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;

    bool written = ::fchmod(fd, ModeForReplacement(path)) == 0 && WriteAll(fd, content) && ::fsync(fd) == 0;
    // close can report a delayed write error (NFS, quota), so its result counts too.
    written = ::close(fd) == 0 && written;
    if (written && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

}  // namespace voltra
