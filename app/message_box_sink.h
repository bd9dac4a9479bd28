// The program's voice: each message the core raises becomes a modal message box
// with an OK button, and a failed write's beep is the system beep.
#pragma once

#include "engine/message_sink.h"

namespace voltra {

class MessageBoxSink : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& title) override;
    void Beep() override;
};

}  // namespace voltra
