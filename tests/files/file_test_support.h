// File test helpers: a recording sink, byte-exact file access, the three writers, a scratch directory.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "engine/circuit.h"
#include "engine/message_sink.h"
#include "files/design_file.h"
#include "files/spice_schematic.h"

namespace voltra {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

struct RecordingSink : MessageSink {
    Texts messages;
    int beeps = 0;
    void ShowMessage(const std::string& text, const std::string& title) override
    {
        EXPECT_EQ(title, kProgramTitle);
        messages.push_back(text);
    }
    void Beep() override { ++beeps; }
};

inline std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Fails unless every line ends in CR LF.
inline Texts LinesOf(const std::string& text)
{
    Texts lines;
    std::size_t at = 0;
    for (std::size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    EXPECT_EQ(at, text.size()) << "text after the last CR LF";
    return lines;
}

struct Writer {
    const char* name;
    const char* message;
    void (*write)(const std::string& path, const DesignRecord&, MessageSink&);
};

// The last-session file goes to the current directory whatever the folder asked for.
inline const Writer kWriters[] = {
    {"saved.VLT", kDesignFileNotWritten, WriteDesignFile},
    {kLastSessionFileName, kLastSessionNotWritten,
     [](const std::string&, const DesignRecord& d, MessageSink& sink) { WriteLastSession(".", d, sink); }},
    {"amp.asc", kSpiceNotWritten,
     [](const std::string& path, const DesignRecord& d, MessageSink& sink) {
         WriteSpiceSchematic(path, BuildCircuit(d), sink);
     }}};

inline void PrintTo(const Writer& writer, std::ostream* out) { *out << writer.name; }

// A writer's refusal as the user reads it: its own text, then the system's reason for
// the file it concerns, which is always named in full.
inline std::string Refusal(const char* message, int error, const fs::path& file)
{
    return std::string(message) + "\n" + std::generic_category().message(error) + ": " +
           fs::absolute(file).lexically_normal().string();
}

class ScratchDirTest : public ::testing::Test {
protected:
    // The user's own home and data folder stay out of reach of every test.
    void SetUp() override
    {
        fs::create_directories(dir_);
        fs::current_path(dir_);
        ::setenv("HOME", (dir_ / "home").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    Texts Entries() const
    {
        Texts names;
        for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    const fs::path previous_ = fs::current_path();
    const fs::path dir_ = fs::temp_directory_path() / ("voltra_files_" + std::to_string(::getpid()));
    RecordingSink sink_;
};

}  // namespace voltra
