// Single precision is part of every result: values are computed in double and stored
// as single, and whatever a single cannot hold is stored as NaN, never as infinity.
#pragma once

#include <cfloat>
#include <cmath>

namespace voltra {

inline float StoreSingle(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) return NAN;
    return static_cast<float>(value);
}

}  // namespace voltra
