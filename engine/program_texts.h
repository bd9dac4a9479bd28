// The program's own texts: its version and where it comes from, as the welcome and
// about screens, the window captions, the printed sheet and the schematic file show them.
#pragma once

namespace voltra {

inline constexpr const char* kVersionText = "2.08";
inline constexpr const char* kMakersNotice = "Made by the Voltra project";
inline constexpr const char* kWebAddress = "https://voltra.example.org";

}  // namespace voltra
