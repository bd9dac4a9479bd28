#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include "print/print_schematic.h"
#include "print/qt_print_dialog.h"
#include "print/sheet_texts.h"
#include "test_design.h"

namespace {

class RecordedMessages : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& title) override { shown.push_back({text, title}); }
    void Beep() override { shown.push_back({"beep", ""}); }
    std::vector<std::pair<std::string, std::string>> shown;
};

// Chooses "print to file" under the given name, or cancels when the name is empty.
class ScriptedDialog : public PrintDialogProvider {
public:
    explicit ScriptedDialog(QString pdf = {}) : pdf_(std::move(pdf)) {}
    bool Choose(QPrinter& printer) override
    {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf_);
        return !pdf_.isEmpty();
    }
    int asked = 0;

private:
    QString pdf_;
};

// Runs a poppler tool and returns what it wrote, failing the test when it fails.
QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    const bool ran = tool.waitForFinished(30000) && tool.exitStatus() == QProcess::NormalExit;
    EXPECT_TRUE(ran && tool.exitCode() == 0) << program.toStdString() << ": " << tool.readAllStandardError().toStdString();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

class PrintSchematicTest : public ::testing::Test {
protected:
    QString Target() const { return directory_.filePath("sheet.pdf"); }
    QStringList Files() const { return QDir(directory_.path()).entryList(QDir::Files | QDir::Hidden); }
    QByteArray Contents() const
    {
        QFile file(Target());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Print(const DesignRecord& design, ScriptedDialog& dialog) { PrintSchematic(design, dialog, messages_); }
    void WriteOlderSheet()
    {
        QFile older(Target());
        ASSERT_TRUE(older.open(QIODevice::WriteOnly) && older.write("older sheet") > 0);
    }

    QTemporaryDir directory_;
    RecordedMessages messages_;
};

TEST_F(PrintSchematicTest, CancelGivesOnePrinterErrorAndLeavesTheOlderFile)
{
    WriteOlderSheet();
    ScriptedDialog cancel;
    Print(DesignWith("50", 0), cancel);
    EXPECT_EQ(messages_.shown, (decltype(messages_.shown){{"Printing was cancelled.", "Printer Error"}}));
    EXPECT_EQ(Contents(), "older sheet");
    EXPECT_EQ(Files(), QStringList{"sheet.pdf"});
}

TEST_F(PrintSchematicTest, InvalidDesignGivesItsReasonBeforeAnyPrinterIsChosen)
{
    DesignRecord design = DesignWith("50", 1);
    design.Idc = 0;
    ScriptedDialog dialog(Target());
    Print(design, dialog);
    EXPECT_EQ(dialog.asked, 0);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].first.rfind("Division by zero: Idc is 0", 0), 0u);
    EXPECT_EQ(messages_.shown[0].second, "Printer Error");
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(PrintSchematicTest, FileThatCannotBeWrittenIsReportedOnce)
{
    const QString target = directory_.filePath("no such folder/sheet.pdf");
    ScriptedDialog dialog(target);
    Print(DesignWith("50", 0), dialog);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].first.rfind("The file \"" + target.toStdString() + "\" could not be written: ", 0), 0u);
    EXPECT_EQ(messages_.shown[0].second, "Printer Error");
}

TEST_F(PrintSchematicTest, PrintToFileReplacesTheOlderFileWithoutLeftovers)
{
    WriteOlderSheet();
    ScriptedDialog dialog(Target());
    Print(DesignWith("50", 0), dialog);
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_TRUE(Contents().startsWith("%PDF"));
    EXPECT_EQ(Files(), QStringList{"sheet.pdf"});
    EXPECT_TRUE(QFile::permissions(Target()) & QFileDevice::ReadOther);
}

class PrintedPdfTest : public PrintSchematicTest, public ::testing::WithParamInterface<std::int16_t> {};

TEST_P(PrintedPdfTest, OnePageWithEveryTextInReadingOrderThatRenders)
{
    const DesignRecord design = DesignWith("50", GetParam());
    ScriptedDialog dialog(Target());
    Print(design, dialog);
    ASSERT_TRUE(messages_.shown.empty());

    // Reading order: by line, then from the left; the footer comes last.
    std::vector<SheetText> texts = SchematicLabels(design);
    std::ranges::copy(DesignTargetLines(design), std::back_inserter(texts));
    std::ranges::stable_sort(texts, {}, [](const SheetText& t) { return std::pair(t.y, t.x); });
    texts.push_back({0, 0, "Voltra Version 2.08"});
    const QString page = RunTool("pdftotext", {"-layout", Target(), "-"}).simplified();
    qsizetype from = 0;
    for (const SheetText& text : texts) {
        const QString expected = QString::fromStdString(text.text).simplified();
        from = page.indexOf(expected, from);
        ASSERT_GE(from, 0) << '"' << text.text << "\" missing or out of order in: " << page.toStdString();
    }
    EXPECT_TRUE(RunTool("pdfinfo", {Target()}).contains(QRegularExpression("Pages: +1\n")));

    RunTool("pdftoppm", {"-r", "30", "-png", "-singlefile", Target(), directory_.filePath("page")});
    const QImage image(directory_.filePath("page.png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.height(), image.width());
}

INSTANTIATE_TEST_SUITE_P(NetworkOption, PrintedPdfTest, ::testing::Values(0, 1));

// The standard dialog, answered by a timer the moment it opens.
class QtPrintDialogTest : public ::testing::TestWithParam<bool> {};

TEST_P(QtPrintDialogTest, ReportsPrintAsChosenAndCancelAsNot)
{
    const bool print = GetParam();
    QTimer::singleShot(0, [print] {
        QMetaObject::invokeMethod(QApplication::activeModalWidget(), print ? "accept" : "reject");
    });
    QTemporaryDir directory;
    QPrinter printer;
    printer.setOutputFileName(directory.filePath("chosen.pdf"));
    QtPrintDialog dialog;
    EXPECT_EQ(dialog.Choose(printer), print);
}

INSTANTIATE_TEST_SUITE_P(Answers, QtPrintDialogTest, ::testing::Bool());

}  // namespace
