// The sheet's page set-up, its schematic built from the symbol routines, its texts
// and its footer.
#include "print/sheet_page.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/circuit.h"
#include "engine/program_texts.h"
#include "print/print_symbols.h"
#include "print/sheet_chain.h"
#include "print/sheet_texts.h"

namespace voltra {

namespace {

constexpr const char* kPrinterFace = "Liberation Sans";
constexpr double kTextPoints = 10;
constexpr double kFooterPoints = 6;
constexpr double kLineWidthMillimetres = 0.3;
constexpr double kMillimetresPerInch = 25.4;

constexpr int kFooterX = 3000;
constexpr int kFooterY = 8300;


// Maps the page units onto the device with one scale, centred across; returns device
// pixels per page unit.
double SetUpPage(QPainter& page)
{
    const QPaintDevice& device = *page.device();
    const double scale = std::min(static_cast<double>(device.width()) / kSheetWidth,
                                  static_cast<double>(device.height()) / kSheetHeight);
    const double left = (device.width() - scale * kSheetWidth) / 2;
    page.setTransform(QTransform(scale, 0, 0, scale, left, 0));
    return scale;
}

// Fonts and pens are sized by the device in its own pixels and then scaled with the
// page, so their sizes are divided by the scale to come out true on paper.
QFont PrinterFont(double points, double scale)
{
    QFont font(QString::fromLatin1(kPrinterFace));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points / scale);
    return font;
}

QPen LinePen(const QPaintDevice& device, double scale)
{
    const double devicePixels = kLineWidthMillimetres / kMillimetresPerInch * device.logicalDpiX();
    QPen pen(Qt::black, devicePixels / scale);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void DrawAmplifier(QPainter& page, const DesignRecord& design, const Circuit& circuit)
{
    std::int16_t PrintX = kSchematicStartX;
    std::int16_t PrintY = kSchematicStartY;
    PrintGenerator(page, PrintX, PrintY);
    PrintFET(page, PrintX, PrintY);
    PrintVerticalL(page, design, PrintX, PrintY);
    int lineEnd = kSchematicStartX + kAfterDrainNode;
    for (const SheetLink& placed : SheetChain(circuit)) {
        // Where the chain leaves room before the load, the signal line runs on to it.
        if (placed.x > lineEnd) page.drawLine(lineEnd, PrintY, placed.x, PrintY);
        lineEnd = placed.end;
        PrintX = placed.x;
        switch (placed.link.symbol) {
        case ChainSymbol::ShuntC: PrintShuntC(page, PrintX, PrintY); break;
        case ChainSymbol::SeriesC: PrintSeriesC(page, PrintX, PrintY); break;
        case ChainSymbol::SeriesL: PrintSeriesL(page, PrintX, PrintY); break;
        case ChainSymbol::ShuntL: PrintShuntL(page, PrintX, PrintY); break;
        case ChainSymbol::ParallelLC: PrintParallelLC(page, PrintX, PrintY); break;
        case ChainSymbol::Load:
            PrintLoad(page, PrintX, PrintY);
            PrintGround(page, PrintX, PrintY);
            break;
        }
    }
}

// Places a text by its top-left corner.
void DrawText(QPainter& page, double x, double y, const QString& text)
{
    const QFontMetricsF metrics(page.font(), page.device());
    page.drawText(QPointF(x, y + metrics.ascent()), text);
}

void DrawTexts(QPainter& page, const std::vector<SheetText>& texts)
{
    for (const SheetText& text : texts) DrawText(page, text.x, text.y, QString::fromStdString(text.text));
}

// The date as the system writes a date and time: short date, a space, long time.
QString FooterDateText(const QDateTime& printedAt)
{
    const QLocale locale = QLocale::system();
    return locale.toString(printedAt.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(printedAt.time(), QLocale::LongFormat);
}

QString FooterVersionText() { return QStringLiteral("Voltra Version ") + QString::fromLatin1(kVersionText); }

}  // namespace

void PaintDesignSheet(QPainter& page, const DesignRecord& design, const Circuit& circuit,
                      const std::vector<InductorWinding>& windings, const QDateTime& printedAt)
{
    page.save();
    const double scale = SetUpPage(page);
    page.setPen(LinePen(*page.device(), scale));
    page.setBrush(Qt::NoBrush);
    page.setFont(PrinterFont(kTextPoints, scale));
    page.save();
    if (const double fit = SheetSchematicScale(SheetChain(circuit)); fit < 1) {
        page.translate(kSchematicLeft, kSchematicTop);
        page.scale(fit, fit);
        page.translate(-kSchematicLeft, -kSchematicTop);
    }
    DrawAmplifier(page, design, circuit);
    DrawTexts(page, SchematicLabels(design, circuit));
    page.restore();
    DrawTexts(page, DesignTargetLines(design, circuit));
    DrawTexts(page, LossAndStressLines(circuit));
    DrawTexts(page, WindingLines(circuit, windings));

    // The version goes on the line below the date, as a text cursor would advance.
    page.setFont(PrinterFont(kFooterPoints, scale));
    DrawText(page, kFooterX, kFooterY, FooterDateText(printedAt));
    const double versionY = kFooterY + QFontMetricsF(page.font(), page.device()).lineSpacing();
    DrawText(page, kFooterX, versionY, FooterVersionText());
    page.restore();
}

}  // namespace voltra
