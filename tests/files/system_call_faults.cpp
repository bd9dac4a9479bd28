// The definitions here take the place of the C library's for the whole test program:
// the writers in voltra_core bind to them when it is linked, and libstdc++ at load
// time, because the program exports them. Each forwards to the next definition in
// load order (the C library's, or under AddressSanitizer its interceptor), found
// with dlsym(RTLD_NEXT). Nothing here allocates or calls another of these
// definitions, so none can recurse through the other.
#include "tests/files/system_call_faults.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace voltra::faults {

namespace {

// The next definition of a call, resolved at its first use.
#define VOLTRA_NEXT(call)                                                                                  \
    ([] {                                                                                                  \
        static auto* const next = reinterpret_cast<decltype(&::call)>(::dlsym(RTLD_NEXT, #call));         \
        if (!next) std::abort();                                                                           \
        return next;                                                                                       \
    }())

// More than any one write makes; beyond it calls are still counted but not named.
constexpr int kMostCallsNamed = 512;
// A writer that retries a write of nothing for ever is stopped after this many, with
// EIO, so that its test fails instead of hanging.
constexpr int kMostWritesOfNothing = 1000;

// Plain data, constant-initialised: ready before any static constructor can call in.
struct State {
    bool armed = false;
    Plan plan;
    int counted = 0;
    const char* names[kMostCallsNamed] = {};
    const char* struck = nullptr;
    bool renamed = false;
    bool afterRename = false;
    int writes = 0;
    bool writingNothing = false;
    int writesOfNothing = 0;
    bool otherFileSystem = false;
    dev_t otherDevice = 0;
    ino_t otherInode = 0;
    std::time_t frozenClock = 0;
};
State state;

// The fault for this call when it is the one the plan fails, otherwise nothing.
// A call that names no path (a descriptor's) never matches a plan's path.
const Fault* Strike(const char* call, const char* path = nullptr)
{
    if (!state.armed) return nullptr;
    if (state.plan.onlyCall && std::strcmp(call, state.plan.onlyCall) != 0) return nullptr;
    if (state.plan.onlyPath) {
        const std::size_t length = path ? std::strlen(path) : 0, end = std::strlen(state.plan.onlyPath);
        if (length < end || std::strcmp(path + length - end, state.plan.onlyPath) != 0) return nullptr;
    }
    if (state.counted < kMostCallsNamed) state.names[state.counted] = call;
    if (++state.counted != state.plan.failAt) return nullptr;
    state.struck = call;
    state.afterRename = state.renamed;
    return &state.plan.fault;
}

// Sets errno for a fault that fails a call; the write-only faults fail no other call.
void Fail(Fault fault)
{
    const int error = ErrorOf(fault);
    if (error == 0) std::abort();
    errno = error;
}

// Whether `path`'s folder is the one renames may not cross.
bool InOtherFileSystem(const char* path)
{
    char folder[PATH_MAX];
    const char* slash = std::strrchr(path, '/');
    const std::size_t length = !slash ? 0 : slash == path ? 1 : static_cast<std::size_t>(slash - path);
    if (length >= sizeof folder) return false;
    if (length == 0) {
        std::strcpy(folder, ".");
    } else {
        std::memcpy(folder, path, length);
        folder[length] = '\0';
    }
    struct stat status {};
    return VOLTRA_NEXT(stat)(folder, &status) == 0 && status.st_dev == state.otherDevice &&
           status.st_ino == state.otherInode;
}

}  // namespace

std::vector<Fault> FaultsFor(const std::string& call)
{
    std::vector<Fault> faults = {Fault::Io, Fault::NoSpace, Fault::Denied, Fault::ReadOnly};
    if (call == "write") faults.insert(faults.end(), {Fault::ShortWrite, Fault::Interrupted, Fault::NothingWritten});
    return faults;
}

std::string FaultName(Fault fault)
{
    switch (fault) {
    case Fault::Io: return "EIO";
    case Fault::NoSpace: return "ENOSPC";
    case Fault::Denied: return "EACCES";
    case Fault::ReadOnly: return "EROFS";
    case Fault::Unsupported: return "EINVAL";
    case Fault::ShortWrite: return "short";
    case Fault::Interrupted: return "EINTR";
    case Fault::NothingWritten: return "zero";
    }
    return "?";
}

int ErrorOf(Fault fault)
{
    switch (fault) {
    case Fault::Io: return EIO;
    case Fault::NoSpace: return ENOSPC;
    case Fault::Denied: return EACCES;
    case Fault::ReadOnly: return EROFS;
    case Fault::Unsupported: return EINVAL;
    case Fault::Interrupted: return EINTR;
    case Fault::ShortWrite:
    case Fault::NothingWritten: return 0;
    }
    return 0;
}

void Arm(const Plan& plan)
{
    const bool otherFileSystem = state.otherFileSystem;
    const dev_t device = state.otherDevice;
    const ino_t inode = state.otherInode;
    const std::time_t clock = state.frozenClock;
    state = State{};
    state.otherFileSystem = otherFileSystem;
    state.otherDevice = device;
    state.otherInode = inode;
    state.frozenClock = clock;
    state.plan = plan;
    state.armed = true;
}

Record Disarm()
{
    state.armed = false;
    Record record;
    for (int i = 0; i < state.counted && i < kMostCallsNamed; ++i) record.calls.emplace_back(state.names[i]);
    if (state.struck) record.struck = state.struck;
    record.afterRename = state.afterRename;
    record.writes = state.writes;
    return record;
}

void TreatAsOtherFileSystem(const std::string& folder)
{
    struct stat status {};
    state.otherFileSystem = !folder.empty() && VOLTRA_NEXT(stat)(folder.c_str(), &status) == 0;
    state.otherDevice = status.st_dev;
    state.otherInode = status.st_ino;
}

void FreezeClock(std::time_t now) { state.frozenClock = now; }

}  // namespace voltra::faults

using voltra::faults::Fault;
using voltra::faults::Fail;
using voltra::faults::Strike;
using voltra::faults::state;

extern "C" {

int open(const char* path, int flags, ...)
{
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    if (const Fault* fault = Strike("open", path)) return Fail(*fault), -1;
    return VOLTRA_NEXT(open)(path, flags, mode);
}

int openat(int folder, const char* path, int flags, ...)
{
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    if (const Fault* fault = Strike("openat", path)) return Fail(*fault), -1;
    return VOLTRA_NEXT(openat)(folder, path, flags, mode);
}

int mkostemp(char* pattern, int flags)
{
    if (const Fault* fault = Strike("mkostemp", pattern)) return Fail(*fault), -1;
    return VOLTRA_NEXT(mkostemp)(pattern, flags);
}

int flock(int fd, int operation) noexcept
{
    if (const Fault* fault = Strike("flock")) return Fail(*fault), -1;
    return VOLTRA_NEXT(flock)(fd, operation);
}

int fchmod(int fd, mode_t mode) noexcept
{
    if (const Fault* fault = Strike("fchmod")) return Fail(*fault), -1;
    return VOLTRA_NEXT(fchmod)(fd, mode);
}

ssize_t write(int fd, const void* bytes, size_t count)
{
    if (state.armed) ++state.writes;
    if (state.armed && state.writingNothing) {
        if (++state.writesOfNothing < voltra::faults::kMostWritesOfNothing) return 0;
        errno = EIO;
        return -1;
    }
    if (const Fault* fault = Strike("write")) {
        switch (*fault) {
        case Fault::ShortWrite: return VOLTRA_NEXT(write)(fd, bytes, count > 1 ? count / 2 : count);
        case Fault::NothingWritten: state.writingNothing = true; return 0;
        default: return Fail(*fault), -1;
        }
    }
    return VOLTRA_NEXT(write)(fd, bytes, count);
}

// A failed sync means what was written may never reach the disk: the file is emptied,
// as a power cut would leave it, so a writer that goes on regardless is found out.
// While armed, a sync that does not fail only checks its descriptor: the disk's own
// speed is not under test, and a walk of a thousand real syncs would take minutes.
int fsync(int fd)
{
    if (const Fault* fault = Strike("fsync")) {
        struct stat status {};
        if (VOLTRA_NEXT(fstat)(fd, &status) == 0 && S_ISREG(status.st_mode)) ::ftruncate(fd, 0);
        return Fail(*fault), -1;
    }
    if (!state.armed) return VOLTRA_NEXT(fsync)(fd);
    return ::fcntl(fd, F_GETFD) == -1 ? -1 : 0;
}

// Linux closes the descriptor even when close reports an error.
int close(int fd)
{
    if (const Fault* fault = Strike("close")) {
        VOLTRA_NEXT(close)(fd);
        return Fail(*fault), -1;
    }
    return VOLTRA_NEXT(close)(fd);
}

int rename(const char* from, const char* to) noexcept
{
    if (const Fault* fault = Strike("rename", to)) return Fail(*fault), -1;
    if (state.otherFileSystem && voltra::faults::InOtherFileSystem(from) != voltra::faults::InOtherFileSystem(to)) {
        errno = EXDEV;
        return -1;
    }
    const int renamed = VOLTRA_NEXT(rename)(from, to);
    if (renamed == 0 && state.armed) state.renamed = true;
    return renamed;
}

int unlink(const char* path) noexcept
{
    if (const Fault* fault = Strike("unlink", path)) return Fail(*fault), -1;
    return VOLTRA_NEXT(unlink)(path);
}

int unlinkat(int folder, const char* path, int flags) noexcept
{
    if (const Fault* fault = Strike("unlinkat", path)) return Fail(*fault), -1;
    return VOLTRA_NEXT(unlinkat)(folder, path, flags);
}

int stat(const char* path, struct stat* status) noexcept
{
    if (const Fault* fault = Strike("stat", path)) return Fail(*fault), -1;
    return VOLTRA_NEXT(stat)(path, status);
}

int lstat(const char* path, struct stat* status) noexcept
{
    if (const Fault* fault = Strike("lstat", path)) return Fail(*fault), -1;
    return VOLTRA_NEXT(lstat)(path, status);
}

int fstat(int fd, struct stat* status) noexcept
{
    if (const Fault* fault = Strike("fstat")) return Fail(*fault), -1;
    return VOLTRA_NEXT(fstat)(fd, status);
}

int fstatat(int folder, const char* path, struct stat* status, int flags) noexcept
{
    if (const Fault* fault = Strike("fstatat", path)) return Fail(*fault), -1;
    return VOLTRA_NEXT(fstatat)(folder, path, status, flags);
}

ssize_t readlink(const char* path, char* target, size_t size) noexcept
{
    if (const Fault* fault = Strike("readlink", path)) return Fail(*fault), -1;
    return VOLTRA_NEXT(readlink)(path, target, size);
}

DIR* fdopendir(int fd)
{
    if (const Fault* fault = Strike("fdopendir")) return Fail(*fault), nullptr;
    return VOLTRA_NEXT(fdopendir)(fd);
}

dirent* readdir(DIR* entries)
{
    if (const Fault* fault = Strike("readdir")) return Fail(*fault), nullptr;
    return VOLTRA_NEXT(readdir)(entries);
}

time_t time(time_t* now) noexcept
{
    const time_t answer = state.frozenClock != 0 ? state.frozenClock : VOLTRA_NEXT(time)(nullptr);
    if (now) *now = answer;
    return answer;
}

}  // extern "C"
