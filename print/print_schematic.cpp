// Runs the print command: check the design, ask for a printer, paint the page, and
// hand the page over only when it is complete.
#include "print/print_schematic.h"

#include <QDateTime>
#include <QPainter>
#include <QPrinter>

#include "print/print_file_output.h"
#include "print/sheet_check.h"
#include "print/sheet_page.h"

namespace voltra {

namespace {

// Names the printer when there is one; a PDF file is named by its own messages.
QString PrinterNamed(const QPrinter& printer)
{
    const QString name = printer.printerName();
    return name.isEmpty() ? QStringLiteral("The printer") : QStringLiteral("The printer \"%1\"").arg(name);
}

std::string CannotStart(const QPrinter& printer)
{
    return (PrinterNamed(printer) + QStringLiteral(" could not start the document.")).toStdString();
}

std::string PageFailed(const QPrinter& printer)
{
    return (PrinterNamed(printer) + QStringLiteral(" failed while printing the page; the page was discarded."))
        .toStdString();
}

}  // namespace

void PrintSchematic(const DesignRecord& design, const Circuit& circuit, const std::vector<InductorWinding>& windings,
                    PrintDialogProvider& dialog,
                    MessageSink& messages, const ExtraPage& extraPage)
{
    const auto fail = [&messages](const std::string& description) {
        messages.ShowMessage(description, kPrinterErrorTitle);
    };
    // Checked before the dialog: a sheet that cannot be printed is not worth choosing
    // a printer for, and no page is ever started for it.
    if (const auto fault = SheetFault(design, circuit)) return fail(*fault);

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(QStringLiteral("Voltra design sheet"));
    // Cancelling the dialog is the user changing their mind, not a printer fault.
    if (!dialog.Choose(printer)) return;

    PrintFileOutput output(printer);
    if (!output.Error().isEmpty()) return fail(output.Error().toStdString());
    QPainter page;
    if (!page.begin(&printer)) return fail(CannotStart(printer));
    PaintDesignSheet(page, design, circuit, windings, QDateTime::currentDateTime());
    if (extraPage && printer.newPage()) {
        page.save();
        extraPage(page);
        page.restore();
    }
    if (printer.printerState() == QPrinter::Error) {
        // Discard the page rather than send it half drawn.
        printer.abort();
        page.end();
        return fail(PageFailed(printer));
    }
    if (!page.end()) return fail(PageFailed(printer));
    if (!output.Commit()) fail(output.Error().toStdString());
}

}  // namespace voltra
