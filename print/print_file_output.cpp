// Temporary-file-and-rename for PDF output. The rename is atomic within one
// directory, which is why the temporary file is created beside the target.
#include "print/print_file_output.h"

#include <QFileInfo>
#include <QPrinter>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace voltra {

namespace {

QString CannotWrite(const QString& target, const QString& reason)
{
    return QStringLiteral("The file \"%1\" could not be written: %2").arg(target, reason);
}

}  // namespace

PrintFileOutput::PrintFileOutput(QPrinter& printer) : target_(printer.outputFileName())
{
    if (target_.isEmpty()) return;
    const QFileInfo target(target_);
    temporary_ = std::make_unique<QTemporaryFile>(target.absolutePath() + QStringLiteral("/.") +
                                                  target.fileName() + QStringLiteral(".XXXXXX"));
    if (!temporary_->open()) {
        error_ = CannotWrite(target_, temporary_->errorString());
        return;
    }
    temporary_->close();
    printer.setOutputFileName(temporary_->fileName());
}

bool PrintFileOutput::Commit()
{
    if (!temporary_) return true;
    const QString written = temporary_->fileName();
    // The printer closed the file; make it durable before it takes the chosen name.
    QFile finished(written);
    if (!finished.open(QIODevice::ReadWrite) || ::fsync(finished.handle()) != 0) {
        error_ = CannotWrite(target_, finished.errorString());
        return false;
    }
    finished.close();
    // Readable by others like any document the user saves, not private like a temporary file.
    finished.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                            QFileDevice::ReadOther);
    std::error_code failure;
    std::filesystem::rename(QFile::encodeName(written).constData(), QFile::encodeName(target_).constData(), failure);
    if (failure) {
        error_ = CannotWrite(target_, QString::fromStdString(failure.message()));
        return false;
    }
    temporary_->setAutoRemove(false);
    return true;
}

}  // namespace voltra
