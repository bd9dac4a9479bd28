// How the plain-C++ core speaks to the user: the screens show a message box and
// sound the beep, tests record what was said.
#pragma once

#include <string>

namespace voltra {

inline constexpr const char* kProgramTitle = "Voltra";

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
    virtual void Beep() = 0;
};

}  // namespace voltra
