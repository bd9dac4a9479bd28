// What the file tests share: a sink that records what the user would be told, a
// scratch directory per test, and byte-exact file access.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/message_sink.h"

struct RecordingSink : MessageSink {
    std::vector<std::string> messages;
    int beeps = 0;
    void ShowMessage(const std::string& text, const std::string& title) override
    {
        EXPECT_EQ(title, kProgramTitle);
        messages.push_back(text);
    }
    void Beep() override { ++beeps; }
};

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The lines of a file whose every line ends in CR LF.
inline std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    EXPECT_EQ(text.size(), text.empty() ? 0 : text.rfind("\r\n") + 2) << "every line ends in CR LF";
    return lines;
}

inline std::vector<std::string> EntriesOf(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// A fresh directory for each test, removed afterwards; also the current directory
// while the test runs, for the last-session file that lives there.
class ScratchDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("voltra_files_" + std::to_string(::getpid()) + "_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous_);
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
        std::filesystem::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
    std::filesystem::path previous_;
    RecordingSink sink_;
};
