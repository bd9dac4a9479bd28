// Line ends and the path-length rule shared by the design, last-session and
// schematic files.
#include "files/file_text.h"

namespace voltra {

bool IsUsablePath(std::string_view path)
{
    // UTF-8: every byte except a continuation byte (10xxxxxx) starts a character.
    std::size_t characters = 0;
    for (unsigned char byte : path)
        if ((byte & 0xC0) != 0x80) ++characters;
    return characters >= kShortestPathCharacters;
}

void AppendLine(std::string& file, std::string_view text)
{
    file.append(text);
    file.append(kLineEnd);
}

}  // namespace voltra
