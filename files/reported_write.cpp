// The one place where the three writers' results become messages.
#include "files/reported_write.h"

#include "files/atomic_file.h"

namespace voltra {

void WriteAndReport(const std::string& path, std::string_view content, const char* complaint, MessageSink& sink)
{
    const FileWrite write = WriteFileAtomically(path, content);
    if (write.outcome == WriteOutcome::Written) return;
    const char* text = write.outcome == WriteOutcome::Failed ? complaint : kFileWriteUnconfirmed;
    sink.Beep();
    sink.ShowMessage(std::string(text) + "\n" + ReasonText(write), kProgramTitle);
}

}  // namespace voltra
