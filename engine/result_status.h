// A shown result with its standing: a number to trust, one to question (drawn in red),
// one that must not be shown, exported or printed as a number at all, or one the
// circuit has not computed (an analysis figure of a circuit nobody analysed).
#pragma once

#include <string>
#include <utility>

namespace voltra {

enum class Status { Valid, Warning, Invalid, NotComputed };

struct Result {
    float value = 0;
    Status status = Status::Valid;
    // Why an invalid result is invalid, in words the user can act on; empty otherwise.
    std::string reason;

    bool Usable() const { return status == Status::Valid || status == Status::Warning; }
    bool Computed() const { return status != Status::NotComputed; }
};

// Marks a result invalid for the reason given; one already invalid keeps its first
// reason, the one nearest the cause.
inline void Invalidate(Result& result, std::string reason)
{
    if (result.status != Status::Invalid) result = {result.value, Status::Invalid, std::move(reason)};
}

// What the circuit holds before an analysis gives it: no valid zero.
inline Result NotComputed() { return {0, Status::NotComputed, {}}; }

// A reason as a sentence: the ratings' and the temperature's reasons end in their own
// full stop, the others take one.
inline std::string AsSentence(const std::string& reason)
{
    return !reason.empty() && reason.back() == '.' ? reason : reason + ".";
}

}  // namespace voltra
