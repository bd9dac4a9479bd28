// Writing and reading the value lines of design and last-session files.
#include "files/value_lines.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "files/file_text.h"
#include "files/leading_number.h"
#include "units/number_text.h"

namespace voltra {

namespace {

// The title or path line and the date line come before the values.
constexpr int kDroppedLines = 2;
constexpr char kCommentMark = '*';

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

class ValueLineSource {
public:
    explicit ValueLineSource(std::FILE* file) : file_(file) {}

    // The number of the next line that is neither empty nor a comment; nothing at
    // the end of the file or on a read error.
    std::optional<float> NextValue()
    {
        std::string line;
        while (NextLine(line))
            if (!line.empty() && line.front() != kCommentMark) return LeadingNumber(ValueText(line));
        return std::nullopt;
    }

    bool Failed() const { return std::ferror(file_) != 0; }

private:
    bool NextLine(std::string& line)
    {
        line.clear();
        int c;
        while ((c = std::getc(file_)) != EOF) {
            if (c == '\n') return true;
            if (c == '\r') {
                const int next = std::getc(file_);
                if (next != '\n' && next != EOF) std::ungetc(next, file_);
                return true;
            }
            line += static_cast<char>(c);
        }
        // A last line without a line end still counts.
        return !line.empty() && !Failed();
    }

    // Everything after the first colon, or the whole line when it has none.
    static std::string_view ValueText(std::string_view line)
    {
        const auto colon = line.find(':');
        return colon == std::string_view::npos ? line : line.substr(colon + 1);
    }

    std::FILE* file_;
};

}  // namespace

void AppendValueLines(std::string& file, const DesignRecord& design)
{
    for (const ValueLine& line : kValueLines)
        AppendLine(file, line.label + GeneralNumberText(TargetField(design, line.target)));
}

ReadOutcome ReadValueLines(const std::string& path, DesignRecord& design)
{
    const FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file) return ReadOutcome::Failed;
    ValueLineSource source(file.get());
    for (int dropped = 0; dropped < kDroppedLines; ++dropped)
        if (!source.NextValue()) return source.Failed() ? ReadOutcome::Failed : ReadOutcome::EndedEarly;
    for (const ValueLine& line : kValueLines) {
        const std::optional<float> value = source.NextValue();
        if (!value) return source.Failed() ? ReadOutcome::Failed : ReadOutcome::EndedEarly;
        TargetField(design, line.target) = *value;
    }
    return ReadOutcome::Complete;
}

}  // namespace voltra
