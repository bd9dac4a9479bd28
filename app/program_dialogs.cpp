#include "app/program_dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>
#include <QFileDialog>

#include "engine/message_sink.h"
#include "screens/about/about_screen.h"
#include "screens/exit/exit_screen.h"

namespace voltra {

namespace {

// Design files are offered as *.VLT and schematics as *.ASC; on a case-sensitive
// file system the lower-case spellings are offered too.
constexpr const char* kReadDesignTitle = "Read Voltra file";
constexpr const char* kReadDesignFilter = "Voltra designs (*.VLT *.vlt)";
constexpr const char* kWriteDesignTitle = "Write circuit file";
constexpr const char* kWriteDesignFilter = "Class E circuit files (*.VLT *.vlt)";
constexpr const char* kWriteSpiceTitle = "Write Spice schematic";
constexpr const char* kWriteSpiceFilter = "Spice schematic files (*.ASC *.asc)";

constexpr const char* kUnsavedQuestion = "The design has changed since it was saved in \"%1\".";
constexpr const char* kUnsavedDetail = "Save the changes to it first?";

std::unique_ptr<QFileDialog> MakeDialog(QWidget* parent, const char* title, const char* filter,
                                        QFileDialog::AcceptMode mode)
{
    auto dialog = std::make_unique<QFileDialog>(parent, QString::fromUtf8(title));
    dialog->setAcceptMode(mode);
    dialog->setNameFilter(QString::fromUtf8(filter));
    dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    return dialog;
}

std::string ChosenPath(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace

std::unique_ptr<QFileDialog> MakeReadDesignDialog(QWidget* parent)
{
    return MakeDialog(parent, kReadDesignTitle, kReadDesignFilter, QFileDialog::AcceptOpen);
}

std::unique_ptr<QFileDialog> MakeWriteDesignDialog(QWidget* parent, const std::string& proposed)
{
    auto dialog = MakeDialog(parent, kWriteDesignTitle, kWriteDesignFilter, QFileDialog::AcceptSave);
    // A name typed without extension gets the one the filter promises.
    dialog->setDefaultSuffix("VLT");
    if (!proposed.empty()) dialog->selectFile(QString::fromStdString(proposed));
    return dialog;
}

std::unique_ptr<QFileDialog> MakeWriteSpiceDialog(QWidget* parent)
{
    auto dialog = MakeDialog(parent, kWriteSpiceTitle, kWriteSpiceFilter, QFileDialog::AcceptSave);
    dialog->setDefaultSuffix("asc");
    return dialog;
}

std::string QtProgramDialogs::OpenDesignFile() { return ChosenPath(*MakeReadDesignDialog(QApplication::activeWindow())); }

std::string QtProgramDialogs::SaveDesignFile(const std::string& proposed)
{
    return ChosenPath(*MakeWriteDesignDialog(QApplication::activeWindow(), proposed));
}

std::string QtProgramDialogs::SaveSpiceSchematic()
{
    return ChosenPath(*MakeWriteSpiceDialog(QApplication::activeWindow()));
}

PrintDialogProvider& QtProgramDialogs::PrintDialog() { return printDialog_; }

void QtProgramDialogs::ShowAbout()
{
    AboutScreen about(QApplication::activeWindow());
    about.exec();
}

void QtProgramDialogs::ConfirmExit(std::function<void()> quit)
{
    ExitScreen exit(std::move(quit), DisplayTwips(), QApplication::activeWindow());
    exit.exec();
}

UnsavedChanges QtProgramDialogs::AskToSaveChanges(const std::string& fileName)
{
    QMessageBox question(QMessageBox::Warning, QString::fromLatin1(kProgramTitle),
                         QString::fromLatin1(kUnsavedQuestion).arg(QFileInfo(QString::fromStdString(fileName)).fileName()),
                         QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QApplication::activeWindow());
    question.setInformativeText(QString::fromLatin1(kUnsavedDetail));
    question.setDefaultButton(QMessageBox::Save);
    switch (question.exec()) {
    case QMessageBox::Save: return UnsavedChanges::Save;
    case QMessageBox::Discard: return UnsavedChanges::Discard;
    default: return UnsavedChanges::Cancel;
    }
}

bool QtProgramDialogs::OpenDocument(const std::string& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace voltra
