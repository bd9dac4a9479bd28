// A shown result with its standing: a number to trust, one to question (drawn in red),
// or one that must not be shown, exported or printed as a number at all.
#pragma once

#include <string>

namespace voltra {

enum class Status { Valid, Warning, Invalid };

struct Result {
    float value = 0;
    Status status = Status::Valid;
    // Why an invalid result is invalid, in words the user can act on; empty otherwise.
    std::string reason;

    bool Usable() const { return status != Status::Invalid; }
};

}  // namespace voltra
