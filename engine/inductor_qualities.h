// The quality factors of inductors that have one of their own, a wound coil's
// estimate, each in place of the one quality factor every other inductor takes.
#pragma once

#include <cmath>
#include <optional>

namespace voltra {

struct InductorQualities {
    std::optional<double> choke;
    std::optional<double> lseries;
    std::optional<double> lnetwork;  // the L-network's inductor
    bool Any() const { return choke || lseries || lnetwork; }
    // Every one given is a quality factor above zero (infinite: lossless).
    bool Positive() const
    {
        for (const std::optional<double>& q : {choke, lseries, lnetwork})
            if (q && !(*q > 0)) return false;
        return true;
    }
    bool operator==(const InductorQualities&) const = default;
};

// 1/Q as the normalised stage takes it: zero for a lossless part; none where the
// inductor has no Q of its own.
inline std::optional<double> LossFactorOf(const std::optional<double>& q)
{
    if (!q) return std::nullopt;
    return std::isinf(*q) ? 0.0 : 1 / *q;
}

}  // namespace voltra
