// Where the user guide is: installed with the program, or in the source tree's docs
// when the program runs from its build folder.
#pragma once

#include <filesystem>
#include <optional>

namespace voltra {

inline constexpr const char* kUserGuideFile = "user-guide.md";
// Below the installation prefix, beside the licence.
inline constexpr const char* kInstalledDocs = "share/doc/voltra";

// The installed guide, under the prefix one folder up from `programFolder`, else the
// one in `sourceDocs`; nothing when neither exists.
std::optional<std::filesystem::path> FindUserGuide(const std::filesystem::path& programFolder,
                                                   const std::filesystem::path& sourceDocs);

}  // namespace voltra
