// Print-to-file output goes to a temporary file beside the chosen one and is renamed
// into place only once the page is complete, so a failed print never leaves a
// half-written PDF and never spoils an older file of the same name.
#pragma once

#include <QString>
#include <QTemporaryFile>
#include <memory>

class QPrinter;

namespace voltra {

class PrintFileOutput {
public:
    // Points a printer that writes a file at a fresh temporary file in the same
    // directory; a printer that prints on paper is left as it is.
    explicit PrintFileOutput(QPrinter& printer);
    // Empty when the printer can start; otherwise why the file cannot be written.
    const QString& Error() const { return error_; }
    // Makes the finished file the chosen one; false, with Error() set, when it cannot.
    bool Commit();

private:
    QString target_;
    std::unique_ptr<QTemporaryFile> temporary_;  // removed unless committed
    QString error_;
};

}  // namespace voltra
