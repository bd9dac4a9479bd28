// The installed guide first: a build folder inside an installed tree still shows the
// guide that came with the program.
#include "app/user_guide.h"

namespace voltra {

std::optional<std::filesystem::path> FindUserGuide(const std::filesystem::path& programFolder,
                                                   const std::filesystem::path& sourceDocs)
{
    for (const std::filesystem::path& guide :
         {programFolder.parent_path() / kInstalledDocs / kUserGuideFile, sourceDocs / kUserGuideFile}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(guide, error)) return guide.lexically_normal();
    }
    return std::nullopt;
}

}  // namespace voltra
