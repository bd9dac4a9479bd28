// The number a value line of a design or last-session file starts with, read the
// way a hand-edited file is forgiven: anything after the number is ignored.
#pragma once

#include <string_view>

namespace voltra {

// Blanks, an optional sign, digits with an optional ".", an optional exponent ("E"
// or "e", optional sign, digits); text without such a number gives 0. A magnitude
// beyond the single-precision range gives the largest single of its sign, so the
// readers' limits reset it like any other value that is too large.
float LeadingNumber(std::string_view text);

}  // namespace voltra
