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

// 0 when all of `content` is written, otherwise the error. A write that writes nothing
// makes no progress, and some FUSE file systems answer a full disk so: it counts as
// ENOSPC rather than being retried for ever.
int WriteAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        if (written == 0) return ENOSPC;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// mkstemp creates the file readable by its owner only; the replacement should carry
// the earlier file's permissions, or those a newly created file would get. Nothing
// (with errno set) for an earlier file that cannot be examined: guessing "no file"
// would make a private 0600 design readable by everyone.
std::optional<mode_t> ModeForReplacement(const fs::path& path)
{
    struct stat earlier {};
    if (::stat(path.c_str(), &earlier) == 0) {
        if (S_ISREG(earlier.st_mode)) return earlier.st_mode & 07777;
    } else if (errno != ENOENT) {
        return std::nullopt;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

struct Resolution {
    fs::path path;  // the file at the end of the chain, or the link the error concerns
    int error = 0;
};

// The file a chain of symbolic links ends at, which need not exist yet. Only a missing
// file counts as "no link": any other error leaves unknown whether a link would be
// replaced by a plain file, so it fails, as do a link that cannot be read and a loop.
Resolution LinkTarget(const fs::path& named)
{
    fs::path path = named;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(path, error);
        if (error && error != std::errc::no_such_file_or_directory) return {path, error.value()};
        if (!fs::is_symlink(status)) return {path};
        const fs::path target = fs::read_symlink(path, error);
        if (error) return {path, error.value()};
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return {named, ELOOP};
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

// File systems that keep no folder state to sync (some FUSE ones, some network ones)
// refuse fsync on a folder with these; for them the rename is as durable as it gets.
bool FolderSyncUnsupported(int error) { return error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP; }

// Spelled from the current folder when relative, for a message the user can act on
// wherever the program was started; "." steps are dropped, ".." ones kept (behind a
// link they need not lead where they seem to).
std::string AbsoluteText(const fs::path& path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) return path.string();
    fs::path shown;
    for (const fs::path& part : absolute)
        if (part != ".") shown /= part;
    return shown.string();
}

FileWrite Outcome(WriteOutcome outcome, int error, const fs::path& path)
{
    return {outcome, error, AbsoluteText(path)};
}

// Makes the rename itself durable. The new file is in place by now whatever happens,
// so an error here does not undo the write; it says the rename is not yet safe.
FileWrite SyncFolder(const fs::path& folder, const fs::path& file)
{
    const Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.IsOpen()) return Outcome(WriteOutcome::Unconfirmed, errno, file);
    if (::fsync(fd.get()) != 0 && !FolderSyncUnsupported(errno)) return Outcome(WriteOutcome::Unconfirmed, errno, file);
    return {};
}

}  // namespace

FileWrite WriteFileAtomically(const std::string& path, std::string_view content)
{
    const Resolution target = LinkTarget(path);
    if (target.error) return Outcome(WriteOutcome::Failed, target.error, target.path);
    const fs::path& file = target.path;
    const std::optional<mode_t> mode = ModeForReplacement(file);
    if (!mode) return Outcome(WriteOutcome::Failed, errno, file);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    RemoveLeftovers(folder);

    std::string temporary = (folder / kTemporaryPattern).string();
    Descriptor replacement(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!replacement.IsOpen()) return Outcome(WriteOutcome::Failed, errno, file);
    // Where the file system keeps no locks this fails, and the age bound alone keeps
    // other writers' cleaning away from the file.
    ::flock(replacement.get(), LOCK_EX | LOCK_NB);

    int error = ::fchmod(replacement.get(), *mode) == 0 ? WriteAll(replacement.get(), content) : errno;
    if (!error && ::fsync(replacement.get()) != 0) error = errno;
    if (!replacement.Close() && !error) error = errno;
    if (!error && ::rename(temporary.c_str(), file.c_str()) != 0) error = errno;
    if (!error) return SyncFolder(folder, file);
    ::unlink(temporary.c_str());
    return Outcome(WriteOutcome::Failed, error, file);
}

std::string ReasonText(const FileWrite& write)
{
    return std::generic_category().message(write.error) + ": " + write.path;
}

}  // namespace voltra
