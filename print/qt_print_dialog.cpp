// The sheet is one page, so the dialog offers no page ranges; printing to a PDF file
// stays available because most sheets end up as PDFs.
#include "print/qt_print_dialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace voltra {

bool QtPrintDialog::Choose(QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent_);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace voltra
