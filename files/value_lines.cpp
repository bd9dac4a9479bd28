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

constexpr char kCommentMark = '*';

}  // namespace

bool ContentLines::Next(std::string_view& line, int& number)
{
    while (!rest_.empty()) {
        const auto end = rest_.find_first_of("\r\n");
        line = rest_.substr(0, end);
        ++number_;
        if (end == std::string_view::npos) {
            // A last line without a line end still counts.
            rest_ = {};
        } else {
            const bool crlf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
            rest_.remove_prefix(end + (crlf ? 2 : 1));
        }
        if (line.empty() || line.front() == kCommentMark) continue;
        number = number_;
        return true;
    }
    return false;
}

std::string_view ValueText(std::string_view line)
{
    const auto colon = line.find(':');
    return colon == std::string_view::npos ? line : line.substr(colon + 1);
}

namespace {

// The number of each content line in turn; nothing at the end of the text.
class ValueLineSource {
public:
    explicit ValueLineSource(std::string_view text) : lines_(text) {}

    std::optional<float> NextValue()
    {
        std::string_view line;
        int number = 0;
        if (!lines_.Next(line, number)) return std::nullopt;
        return LeadingNumber(ValueText(line));
    }

private:
    ContentLines lines_;
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
    for (int dropped = 0; dropped < kHeaderLines; ++dropped)
        if (!source.NextValue()) return ReadOutcome::EndedEarly;
    for (const ValueLine& line : kValueLines) {
        const std::optional<float> value = source.NextValue();
        if (!value) return ReadOutcome::EndedEarly;
        TargetField(design, line.target) = *value;
    }
    return ReadOutcome::Complete;
}

}  // namespace voltra
