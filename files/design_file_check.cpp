// The design file's layout checked line by line, as the reader will take it.
#include "files/design_file_check.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "files/design_file.h"
#include "files/regular_file.h"
#include "files/value_lines.h"

namespace voltra {

namespace {

constexpr const char* kNotADesign = "The file does not read as a Voltra design: ";
constexpr const char* kNotOpened = " It was not opened.";
constexpr std::size_t kQuotedCharacters = 40;

// What each target is called in a message, in the order of kTargets.
constexpr const char* kTargetWords[] = {"frequency",          "output power", "supply voltage",
                                        "saturation voltage", "network Q",    "fall time"};

std::string_view Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool SameLabel(std::string_view written, std::string_view expected)
{
    if (written.size() != expected.size()) return false;
    for (std::size_t i = 0; i < written.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(written[i])) != std::tolower(static_cast<unsigned char>(expected[i])))
            return false;
    return true;
}

// A sign, then a digit or a point and a digit, after any blanks: the start of a
// number as the reader reads one.
bool StartsWithNumber(std::string_view text)
{
    text = Trimmed(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    if (!text.empty() && text.front() == '.') text.remove_prefix(1);
    return !text.empty() && std::isdigit(static_cast<unsigned char>(text.front()));
}

std::string Quoted(std::string_view line)
{
    std::string text(line.substr(0, kQuotedCharacters));
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    if (line.size() > kQuotedCharacters) text += "...";
    return "\"" + text + "\"";
}

std::string NotADesign(const std::string& why) { return kNotADesign + why + "." + kNotOpened; }

std::string WhyUnreadable(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return "The file does not exist." + std::string(kNotOpened);
    if (status.type() == std::filesystem::file_type::directory) return "That is a folder, not a design file." + std::string(kNotOpened);
    if (!error && status.type() != std::filesystem::file_type::regular)
        return "That is not a regular file (a pipe or a device, perhaps)." + std::string(kNotOpened);
    const int file = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    const std::string reason = file < 0 ? std::strerror(errno) : "a read error";
    if (file >= 0) ::close(file);
    return "The file could not be read (" + reason + ")." + kNotOpened;
}

}  // namespace

std::optional<std::string> DesignFileProblem(const std::string& path)
{
    const FileContents file = ReadRegularFile(path, kLargestDesignFile);
    switch (file.outcome) {
    case FileRead::Read: break;
    case FileRead::Unreadable: return WhyUnreadable(path);
    case FileRead::TooLarge: return std::string(kDesignFileTooLarge);
    }
    ContentLines lines(file.bytes);
    std::string_view line;
    int number = 0;
    for (int header = 0; header < kHeaderLines; ++header)
        if (!lines.Next(line, number)) return NotADesign("it holds none of the six values");
    int found = 0;
    for (const ValueLine& value : kValueLines) {
        const char* what = kTargetWords[static_cast<std::size_t>(value.target)];
        if (!lines.Next(line, number))
            return NotADesign("it ends after " + std::to_string(found) + " of its six values, before the " + what);
        const std::string_view label(value.label, std::strlen(value.label) - 2);  // without ": "
        const auto colon = line.find(':');
        if (colon != std::string_view::npos && !SameLabel(Trimmed(line.substr(0, colon)), label))
            return NotADesign("line " + std::to_string(number) + " reads " + Quoted(line) + " where the " + what +
                              " belongs");
        if (!StartsWithNumber(ValueText(line)))
            return NotADesign("line " + std::to_string(number) + ", " + Quoted(line) + ", holds no number for the " +
                              what);
        ++found;
    }
    return std::nullopt;
}

}  // namespace voltra
