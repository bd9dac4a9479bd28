// How long the sheet takes to become a PDF: the page painting alone into memory,
// and the whole print command through a PDF printer into a file.
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "engine/equations.h"
#include "print/print_schematic.h"
#include "print/sheet_page.h"
#include "tests/calculated_design.h"

namespace voltra {

namespace {

void BM_PaintSheetIntoPdf(benchmark::State& state)
{
    const DesignRecord design = CalculatedDesign(kDefaultNetworkQ, state.range(0) != 0);
    const QDateTime printedAt = QDateTime::currentDateTime();
    for (auto _ : state) {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        QPdfWriter writer(&pdf);
        writer.setResolution(1200);
        QPainter page(&writer);
        PaintDesignSheet(page, design, BuildCircuit(design), {}, printedAt);
        page.end();
        benchmark::DoNotOptimize(pdf.size());
    }
}
BENCHMARK(BM_PaintSheetIntoPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

class PrintToFile : public PrintDialogProvider {
public:
    explicit PrintToFile(QString path) : path_(std::move(path)) {}
    bool Choose(QPrinter& printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path_);
        return true;
    }

private:
    QString path_;
};

class Silent : public MessageSink {
public:
    void ShowMessage(const std::string&, const std::string&) override { ++failures; }
    void Beep() override {}
    int failures = 0;
};

void BM_PrintSchematicToPdfFile(benchmark::State& state)
{
    const DesignRecord design = CalculatedDesign(kDefaultNetworkQ, true);
    QTemporaryDir directory;
    PrintToFile dialog(directory.filePath("sheet.pdf"));
    Silent messages;
    for (auto _ : state) PrintSchematic(design, BuildCircuit(design), {}, dialog, messages);
    if (messages.failures) state.SkipWithError("printing failed");
}
BENCHMARK(BM_PrintSchematicToPdfFile)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace voltra
