// Temporary file, full write, fsync, rename, fsync of the folder: the POSIX way to
// make a replacement complete or absent, and still there after a power cut.
#include "files/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <optional>
#include <system_error>

#include "files/descriptor.h"

namespace voltra {

namespace {

namespace fs = std::filesystem;
using voltra::Descriptor;

// Short and in the target's folder, so a target whose own name uses all 255 bytes a
// file system allows still gets a temporary name; mkstemp fills in the X's.
constexpr std::string_view kTemporaryPrefix = ".vlt-";
constexpr std::string_view kTemporaryPattern = ".vlt-XXXXXX";

// As many links as the kernel follows in one path before it reports a loop.
constexpr int kMaxLinkHops = 40;

// A writer holds an exclusive flock on its temporary file from just after creating it
// until it has written and closed it; a file no one holds was left by a writer that
// died. The age bound covers the instants in which a live writer has created its file
// but not yet locked it, or has closed it but not yet renamed it.
constexpr std::time_t kLeftoverAgeSeconds = 30;

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
mode_t ModeForReplacement(const fs::path& path)
{
    struct stat earlier {};
    if (::stat(path.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode)) return earlier.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file a chain of symbolic links ends at, which need not exist yet; nothing for a
// loop or a link that cannot be read.
std::optional<fs::path> LinkTarget(fs::path path)
{
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
        const fs::path target = fs::read_symlink(path, error);
        if (error) return std::nullopt;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return std::nullopt;
}

bool IsTemporaryName(std::string_view name)
{
    return name.size() == kTemporaryPattern.size() && name.starts_with(kTemporaryPrefix);
}

// Removes one temporary file if it is ours, old, and no writer holds it.
void RemoveIfLeftover(int folder, const char* name)
{
    const Descriptor file(::openat(folder, name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened {}, named {};
    if (!file.IsOpen() || ::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        opened.st_uid != ::geteuid() || std::time(nullptr) - opened.st_mtime < kLeftoverAgeSeconds ||
        ::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
        return;
    // The name may have been renamed away and taken by a new writer since it was opened.
    if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || named.st_ino != opened.st_ino ||
        named.st_dev != opened.st_dev)
        return;
    ::unlinkat(folder, name, 0);
}

void RemoveLeftovers(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    DIR* entries = ::fdopendir(fd);
    if (!entries) {
        ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(entries))
        if (IsTemporaryName(entry->d_name)) RemoveIfLeftover(fd, entry->d_name);
    ::closedir(entries);
}

// Makes the rename itself durable. Some file systems refuse fsync on a folder; the
// new file is in place by then, so that refusal does not fail the write.
void SyncFolder(const fs::path& folder)
{
    const Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.IsOpen()) ::fsync(fd.get());
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view content)
{
    const std::optional<fs::path> target = LinkTarget(path);
    if (!target) return false;
    const fs::path folder = target->has_parent_path() ? target->parent_path() : fs::path(".");
    RemoveLeftovers(folder);

    std::string temporary = (folder / kTemporaryPattern).string();
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.IsOpen()) return false;
    // Where the file system keeps no locks this fails, and the age bound alone keeps
    // other writers' cleaning away from the file.
    ::flock(file.get(), LOCK_EX | LOCK_NB);

    bool written = ::fchmod(file.get(), ModeForReplacement(*target)) == 0 && WriteAll(file.get(), content) &&
                   ::fsync(file.get()) == 0;
    written = file.Close() && written;
    if (written && ::rename(temporary.c_str(), target->c_str()) == 0) {
        SyncFolder(folder);
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

}  // namespace voltra
