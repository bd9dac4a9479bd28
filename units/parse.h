// Reads what the engineer types: a number with an optional exponent and one
// SPICE-style scale letter; every other character is ignored.
#pragma once

#include <string_view>

namespace voltra {

// Never fails: text without digits gives 0, and the result is limited to +-1e10.
// Also reads the micro sign as "u" and, in a text without a point, a decimal comma;
// the process locale plays no part.
float ParseValue(std::string_view text);

inline constexpr float kParseLimit = 1e10f;

}  // namespace voltra
