// Reads a value that must stand as written, for the command line: the engineering
// notation of the entry boxes, but a text with anything the boxes would skip over
// is refused with the reason, since no box turns red there.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace voltra {

struct WholeValue {
    std::optional<float> value;  // as ParseValue reads the text
    std::string problem;         // why there is no value, in words that end a sentence
};

// A number with an optional point (or decimal comma) and exponent, then at most one
// scale letter (p n u m k M G, or MEG for mega), then optionally `unit` in any case:
// "13.56M", "2n", "100pF", "4.7e-6", "13.56 MHz". Refused: anything else, an
// exponent with a scale letter ("1E3k" would read as 1000), more than the twelve
// characters the parser reads, and a magnitude beyond the parser's 1e10.
WholeValue ReadWholeValue(std::string_view text, std::string_view unit);

}  // namespace voltra
