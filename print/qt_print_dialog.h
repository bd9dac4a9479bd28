// The standard print dialog behind PrintDialogProvider, for one single-page sheet.
#pragma once

#include "print/print_dialog_provider.h"

class QWidget;

namespace voltra {

class QtPrintDialog : public PrintDialogProvider {
public:
    explicit QtPrintDialog(QWidget* parent = nullptr) : parent_(parent) {}
    bool Choose(QPrinter& printer) override;

private:
    QWidget* parent_;
};

}  // namespace voltra
