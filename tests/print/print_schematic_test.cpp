#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

#include "print/print_schematic.h"
#include "print/sheet_texts.h"
#include "print_test_support.h"

namespace {

struct Failure {
    std::int16_t lnetState;
    void (*change)(DesignRecord&);
    const char* pdf;      // chosen in the dialog; empty for a cancel
    const char* message;  // its start; %1 stands for the directory
};

// Prints into a fresh directory through a scripted dialog and keeps the messages.
class PrintTest : public ::testing::TestWithParam<Failure>, public MessageSink, public PrintDialogProvider {
protected:
    void ShowMessage(const std::string& text, const std::string& title) override { shown.push_back(title + ": " + text); }
    void Beep() override { shown.push_back("beep"); }
    bool Choose(QPrinter& printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf.isEmpty() ? pdf : dir.filePath(pdf));
        return !pdf.isEmpty();
    }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    QString pdf = "sheet.pdf";
    std::vector<std::string> shown;
};

TEST_P(PrintTest, FailureGivesOnePrinterErrorAndNoFile)
{
    DesignRecord design = DesignWith(GetParam().lnetState);
    GetParam().change(design);
    pdf = GetParam().pdf;
    PrintSchematic(design, *this, *this);
    const QString message = QString("Printer Error: ") + GetParam().message;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].starts_with(QString(message).replace("%1", dir.path()).toStdString())) << shown[0];
    EXPECT_EQ(Files(), QStringList());
}

using D = DesignRecord&;
constexpr const char* kCancelled = "Printing was cancelled.";

INSTANTIATE_TEST_SUITE_P(
    Failures, PrintTest,
    ::testing::Values(
        Failure{0, [](D) {}, "", kCancelled},
        Failure{1, [](D d) { d.Idc = 0; }, "a.pdf", "Division by zero: Idc is 0, so Rdc = Supply / Idc cannot be printed."},
        Failure{0, [](D d) { d.Ipeak = 0; }, "a.pdf",
                "Division by zero: Ipeak is 0, so Ron = Saturation / Ipeak cannot be printed."},
        Failure{0, [](D d) { d.Vpeak = d.C2 = NAN; }, "a.pdf", "C2 is not a valid number"},  // first on the page
        Failure{0, [](D d) { d.Ipeak = 1e-40f; }, "a.pdf", "Ron is not a valid number"},
        // Network values count only while they are printed.
        Failure{1, [](D d) { d.Cnetwork = NAN; }, "a.pdf", "Cnetwork is not a valid number"},
        Failure{0, [](D d) { d.Cnetwork = NAN; }, "", kCancelled},
        Failure{1, [](D d) { d.Lseries = d.Lnetwork = 3e38f; }, "a.pdf", "Ltotal is not a valid number"},
        Failure{0, [](D) {}, "no/a.pdf", "The file \"%1/no/a.pdf\" could not be written: "}));

QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    EXPECT_TRUE(tool.waitForFinished() && tool.exitCode() == 0) << program.toStdString();
    return tool.readAllStandardOutput();
}

// The second sheet replaces the first, leaving no temporary file.
TEST_F(PrintTest, PdfHasOnePageWithEveryTextInReadingOrder)
{
    for (std::int16_t lnetState : {0, 1}) {
        const DesignRecord design = DesignWith(lnetState);
        PrintSchematic(design, *this, *this);
        ASSERT_TRUE(shown.empty());
        EXPECT_EQ(Files(), QStringList{pdf});
        EXPECT_TRUE(QFile::permissions(dir.filePath(pdf)) & QFileDevice::ReadOther);

        std::vector<SheetText> texts = SchematicLabels(design);
        std::ranges::copy(DesignTargetLines(design), std::back_inserter(texts));
        std::ranges::stable_sort(texts, {}, [](const SheetText& t) { return std::pair(t.y, t.x); });
        texts.push_back({0, 0, "Voltra Version 2.08"});
        const QString page = RunTool("pdftotext", {"-layout", dir.filePath(pdf), "-"});
        EXPECT_EQ(page.count('\f'), 1);  // pages end in form feeds
        qsizetype from = 0;
        for (const SheetText& text : texts) {
            from = page.simplified().indexOf(QString::fromStdString(text.text).simplified(), from);
            ASSERT_GE(from, 0) << text.text << " missing or out of order in: " << page.toStdString();
        }
    }
    RunTool("pdftoppm", {"-r", "30", "-png", "-singlefile", dir.filePath(pdf), dir.filePath("page")});
    const QImage image(dir.filePath("page.png"));
    EXPECT_GT(image.height(), image.width());  // portrait, and not empty
}

}  // namespace
