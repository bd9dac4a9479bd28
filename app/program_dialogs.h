// Everything the design screen's commands ask the user in a window of its own:
// the three file dialogs, the print dialog, the about and the exit screens, the
// question about unsaved changes, and the desktop's viewer for the user guide. The
// program uses the Qt windows; tests answer without opening any.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "print/qt_print_dialog.h"

class QFileDialog;
class QWidget;

namespace voltra {

struct DesignRecord;

// What to do with changes not yet saved to the design file in use.
enum class UnsavedChanges { Save, Discard, Cancel };

class ProgramDialogs {
public:
    virtual ~ProgramDialogs() = default;
    // Each returns the chosen path, or an empty one when the user chose nothing.
    virtual std::string OpenDesignFile() = 0;
    virtual std::string SaveDesignFile(const std::string& proposed) = 0;
    virtual std::string SaveSpiceSchematic() = 0;
    virtual PrintDialogProvider& PrintDialog() = 0;
    virtual void ShowAbout() = 0;
    // Runs `quit` when the user confirms leaving; returns either way.
    virtual void ConfirmExit(std::function<void()> quit) = 0;
    // Asked before the design is replaced or left while it differs from `fileName`.
    virtual UnsavedChanges AskToSaveChanges(const std::string& fileName) = 0;
    // Shows a document in the desktop's own viewer; false when none would take it.
    virtual bool OpenDocument(const std::string& path) = 0;
};

class QtProgramDialogs : public ProgramDialogs {
public:
    std::string OpenDesignFile() override;
    std::string SaveDesignFile(const std::string& proposed) override;
    std::string SaveSpiceSchematic() override;
    PrintDialogProvider& PrintDialog() override;
    void ShowAbout() override;
    void ConfirmExit(std::function<void()> quit) override;
    UnsavedChanges AskToSaveChanges(const std::string& fileName) override;
    bool OpenDocument(const std::string& path) override;

private:
    QtPrintDialog printDialog_;
};

// The file dialogs as the commands open them, built apart so their titles, filters
// and suffixes can be checked without showing them.
std::unique_ptr<QFileDialog> MakeReadDesignDialog(QWidget* parent);
std::unique_ptr<QFileDialog> MakeWriteDesignDialog(QWidget* parent, const std::string& proposed);
std::unique_ptr<QFileDialog> MakeWriteSpiceDialog(QWidget* parent);

}  // namespace voltra
