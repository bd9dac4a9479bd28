// The six value lines that design files and last-session files share: their
// order and labels when written, and how a reader finds them again.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/design_record.h"

namespace voltra {

struct ValueLine {
    Target target;
    const char* label;  // ends in a colon and a space; the number follows at once
};

inline constexpr std::array<ValueLine, 6> kValueLines = {{
    {Target::Frequency, "Frequency: "},
    {Target::Supply, "Supply voltage: "},
    {Target::Saturation, "Saturation voltage: "},
    {Target::Power, "Power output: "},
    {Target::NetworkQ, "Network Q: "},
    {Target::Falltime, "Falltime: "},
}};

// Appends the six lines, each number in the general form of GeneralNumberText: seven
// significant digits at most, exponent form from 1e7 up and below 1e-4, the exponent
// decided after rounding to seven digits (9999999.6 is written 1E+07). A value typed
// with seven digits or fewer therefore reads back bit for bit.
void AppendValueLines(std::string& file, const DesignRecord& design);

// A design file holds under 300 bytes; a file of more than a megabyte is not one,
// and reading it would only hold the program up.
inline constexpr std::size_t kLargestDesignFile = 1 << 20;

enum class ReadOutcome {
    Complete,    // all six targets read
    EndedEarly,  // the file ended first; the targets reached were stored, the rest kept
    Failed,      // missing, not a regular file, or unreadable; no target stored
    TooLarge,    // larger than kLargestDesignFile; no target stored
};

// The title or path line and the date line come before the values.
inline constexpr int kHeaderLines = 2;

// The lines of a design or last-session file that carry content: neither empty nor
// a comment ("*" first). A line ends at CR, CR LF or a lone LF.
class ContentLines {
public:
    explicit ContentLines(std::string_view text) : rest_(text) {}
    // The next content line and its number in the file, counted from 1; false at the end.
    bool Next(std::string_view& line, int& number);

private:
    std::string_view rest_;
    int number_ = 0;
};

// Everything after the first colon of a value line, or the whole line when it has none.
std::string_view ValueText(std::string_view line);

// Skips empty lines and lines starting with "*", drops the first two remaining lines
// (title or path, and date) and stores the next six numbers into the targets in the
// order of kValueLines, taken by position, whatever their labels say. A line ends
// at CR, CR LF or a lone LF.
ReadOutcome ReadValueLines(const std::string& path, DesignRecord& design);

}  // namespace voltra
