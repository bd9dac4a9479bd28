// An open file descriptor that closes itself, for the readers and writers that work
// below the C library's FILE to control how files are opened.
#pragma once

#include <unistd.h>

namespace voltra {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }

    int get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }

    // True when closed without error: close can report a delayed write error (NFS,
    // quota), so a writer counts its result.
    bool Close()
    {
        const bool closed = fd_ < 0 || ::close(fd_) == 0;
        fd_ = -1;
        return closed;
    }

private:
    int fd_;
};

}  // namespace voltra
