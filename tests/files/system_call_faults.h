// Fault injection below the file writers: the fault-walk test program itself defines
// the system calls the writers make, and those std::filesystem makes for them, so
// each call passes through here on its way to the C library, and the one a test
// names fails instead.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace voltra::faults {

enum class Fault {
    Io,           // EIO: the disk failed
    NoSpace,      // ENOSPC
    Denied,       // EACCES
    ReadOnly,     // EROFS
    Unsupported,  // EINVAL: what a file system says of a sync it cannot do
    ShortWrite,   // write: half of what was asked is written, and that is returned
    Interrupted,  // write: EINTR before anything is written
    NothingWritten,  // write: returns 0, and every later write does too
};

// The faults every call meets in a walk, and for write also the write-only ones.
std::vector<Fault> FaultsFor(const std::string& call);
std::string FaultName(Fault fault);
// The errno a fault sets; 0 for those that fail nothing.
int ErrorOf(Fault fault);

struct Plan {
    int failAt = 0;                // the 1-based number of the call to fail; 0 fails none
    Fault fault = Fault::Io;
    const char* onlyCall = nullptr;  // when set, only calls of this name are counted
    const char* onlyPath = nullptr;  // when set, only calls naming a path that ends so
};

struct Record {
    std::vector<std::string> calls;  // every counted call, in order
    std::string struck;              // the call that was failed, empty when none was
    bool afterRename = false;        // a rename had succeeded before the failed call
    int writes = 0;                  // write calls, counted whatever the plan
};

// Counts calls from now on and fails the one the plan names.
void Arm(const Plan& plan);
// Stops counting, and tells what happened since Arm.
Record Disarm();

// Renames between this folder and any other fail with EXDEV, as across two mounted
// file systems. An empty path ends it.
void TreatAsOtherFileSystem(const std::string& folder);

// time() answers this while it is set, so files that carry the time of writing come
// out the same at every write; 0 lets the clock run.
void FreezeClock(std::time_t now);

}  // namespace voltra::faults
