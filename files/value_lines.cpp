// Writing and reading the value lines of design and last-session files.
#include "files/value_lines.h"

#include <optional>
#include <string_view>

#include "files/file_text.h"
#include "files/leading_number.h"
#include "files/regular_file.h"
#include "units/number_text.h"

namespace voltra {

namespace {

// The title or path line and the date line come before the values.
constexpr int kDroppedLines = 2;
constexpr char kCommentMark = '*';

class ValueLineSource {
public:
    explicit ValueLineSource(std::string_view text) : rest_(text) {}

    // The number of the next line that is neither empty nor a comment; nothing at
    // the end of the text.
    std::optional<float> NextValue()
    {
        std::string_view line;
        while (NextLine(line))
            if (!line.empty() && line.front() != kCommentMark) return LeadingNumber(ValueText(line));
        return std::nullopt;
    }

private:
    bool NextLine(std::string_view& line)
    {
        if (rest_.empty()) return false;
        const auto end = rest_.find_first_of("\r\n");
        line = rest_.substr(0, end);
        if (end == std::string_view::npos) {
            // A last line without a line end still counts.
            rest_ = {};
            return true;
        }
        const bool crlf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
        rest_.remove_prefix(end + (crlf ? 2 : 1));
        return true;
    }

    // Everything after the first colon, or the whole line when it has none.
    static std::string_view ValueText(std::string_view line)
    {
        const auto colon = line.find(':');
        return colon == std::string_view::npos ? line : line.substr(colon + 1);
    }

    std::string_view rest_;
};

}  // namespace

void AppendValueLines(std::string& file, const DesignRecord& design)
{
    for (const ValueLine& line : kValueLines)
        AppendLine(file, line.label + GeneralNumberText(TargetField(design, line.target)));
}

ReadOutcome ReadValueLines(const std::string& path, DesignRecord& design)
{
    const voltra::FileContents file = voltra::ReadRegularFile(path, kLargestDesignFile);
    switch (file.outcome) {
    case voltra::FileRead::Read: break;
    case voltra::FileRead::Unreadable: return ReadOutcome::Failed;
    case voltra::FileRead::TooLarge: return ReadOutcome::TooLarge;
    }
    ValueLineSource source(file.bytes);
    for (int dropped = 0; dropped < kDroppedLines; ++dropped)
        if (!source.NextValue()) return ReadOutcome::EndedEarly;
    for (const ValueLine& line : kValueLines) {
        const std::optional<float> value = source.NextValue();
        if (!value) return ReadOutcome::EndedEarly;
        TargetField(design, line.target) = *value;
    }
    return ReadOutcome::Complete;
}

}  // namespace voltra
