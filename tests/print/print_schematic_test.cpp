#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QApplication>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include "engine/equations.h"
#include "print/print_schematic.h"
#include "print/qt_print_dialog.h"
#include "print/sheet_page.h"
#include "print/sheet_texts.h"

namespace {

class RecordedMessages : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& title) override { shown.push_back({text, title}); }
    void Beep() override { ++beeps; }
    std::vector<std::pair<std::string, std::string>> shown;
    int beeps = 0;
};

// Chooses "print to file" with the given PDF name, as the user would in the dialog.
class ChoosePdfFile : public PrintDialogProvider {
public:
    explicit ChoosePdfFile(QString path) : path_(std::move(path)) {}
    bool Choose(QPrinter& printer) override
    {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path_);
        return true;
    }
    int asked = 0;

private:
    QString path_;
};

class CancelDialog : public PrintDialogProvider {
public:
    bool Choose(QPrinter&) override
    {
        ++asked;
        return false;
    }
    int asked = 0;
};

DesignRecord DesignWith(const char* rnetworkText, std::int16_t lnetState)
{
    DesignRecord design;
    StartupValues(design);
    FindAll(design);
    LnetworkWorking working;
    FindLnetwork(design, working, rnetworkText);
    design.LnetState = lnetState;
    return design;
}

// Runs a poppler tool; returns its standard output, failing the test on an error.
QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString()
                      << process.errorString().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString Simplified(const QString& text) { return text.simplified(); }

class PrintSchematicTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(directory_.isValid()); }

    QString Target() const { return directory_.filePath("sheet.pdf"); }
    QStringList Files() const { return QDir(directory_.path()).entryList(QDir::Files | QDir::Hidden); }

    void WriteOldSheet()
    {
        QFile old(Target());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older sheet");
    }

    QByteArray TargetContents() const
    {
        QFile file(Target());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void ExpectOnePrinterError(const std::string& text)
    {
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_EQ(messages_.shown[0].first, text);
        EXPECT_EQ(messages_.shown[0].second, "Printer Error");
    }

    QTemporaryDir directory_;
    RecordedMessages messages_;
};

TEST_F(PrintSchematicTest, CancelShowsOnePrinterErrorAndPrintsNothing)
{
    CancelDialog dialog;
    PrintSchematic(DesignWith("50", 0), dialog, messages_);
    EXPECT_EQ(dialog.asked, 1);
    ExpectOnePrinterError("Printing was cancelled.");
    EXPECT_EQ(messages_.beeps, 0);
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(PrintSchematicTest, InvalidDesignShowsItsReasonWithoutAskingForAPrinter)
{
    for (const auto& [name, change] : std::vector<std::pair<const char*, void (*)(DesignRecord&)>>{
             {"zero Idc", [](DesignRecord& d) { d.Idc = 0; }},
             {"zero Ipeak", [](DesignRecord& d) { d.Ipeak = 0; }},
             {"invalid Ltotal", [](DesignRecord& d) { d.Lnetwork = NAN; }}}) {
        SCOPED_TRACE(name);
        messages_.shown.clear();
        DesignRecord design = DesignWith("50", 1);
        change(design);
        ChoosePdfFile dialog(Target());
        PrintSchematic(design, dialog, messages_);
        EXPECT_EQ(dialog.asked, 0);
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_EQ(messages_.shown[0].second, "Printer Error");
        EXPECT_TRUE(Files().isEmpty());
    }
}

TEST_F(PrintSchematicTest, FileThatCannotBeCreatedIsReportedOnce)
{
    const QString target = directory_.filePath("no such folder/sheet.pdf");
    ChoosePdfFile dialog(target);
    PrintSchematic(DesignWith("50", 0), dialog, messages_);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].first.rfind("The file \"" + target.toStdString() + "\" could not be written: ", 0), 0u)
        << messages_.shown[0].first;
    EXPECT_EQ(messages_.shown[0].second, "Printer Error");
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(PrintSchematicTest, FailedPrintLeavesTheOlderFileAsItWas)
{
    WriteOldSheet();
    CancelDialog cancel;
    PrintSchematic(DesignWith("50", 0), cancel, messages_);
    DesignRecord invalid = DesignWith("50", 0);
    invalid.Idc = 0;
    ChoosePdfFile choose(Target());
    PrintSchematic(invalid, choose, messages_);
    EXPECT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(TargetContents(), "an older sheet");
    EXPECT_EQ(Files(), QStringList{"sheet.pdf"});
}

TEST_F(PrintSchematicTest, PrintToFileReplacesTheOlderFileAndLeavesNoTemporaryFile)
{
    WriteOldSheet();
    ChoosePdfFile dialog(Target());
    PrintSchematic(DesignWith("50", 0), dialog, messages_);
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_TRUE(TargetContents().startsWith("%PDF"));
    EXPECT_EQ(Files(), QStringList{"sheet.pdf"});
    EXPECT_TRUE(QFile::permissions(Target()) & QFileDevice::ReadOther);
}

// The sheet's texts in the order a reader meets them: by line, then from the left.
QStringList ReadingOrder(const DesignRecord& design)
{
    std::vector<SheetText> texts = SchematicLabels(design);
    const std::vector<SheetText> targets = DesignTargetLines(design);
    texts.insert(texts.end(), targets.begin(), targets.end());
    std::stable_sort(texts.begin(), texts.end(),
                     [](const SheetText& a, const SheetText& b) { return std::tie(a.y, a.x) < std::tie(b.y, b.x); });
    QStringList order;
    for (const SheetText& text : texts) order << Simplified(QString::fromStdString(text.text));
    order << "Voltra Version 2.08";
    return order;
}

class PrintedPdfTest : public PrintSchematicTest, public ::testing::WithParamInterface<std::int16_t> {};

TEST_P(PrintedPdfTest, PdfCarriesEveryTextInReadingOrderAndRenders)
{
    const DesignRecord design = DesignWith("50", GetParam());
    ChoosePdfFile dialog(Target());
    const QDate before = QDate::currentDate();
    PrintSchematic(design, dialog, messages_);
    ASSERT_TRUE(messages_.shown.empty()) << messages_.shown[0].first;

    const QString text = Simplified(RunTool("pdftotext", {"-layout", Target(), "-"}));
    qsizetype from = 0;
    for (const QString& expected : ReadingOrder(design)) {
        const qsizetype at = text.indexOf(expected, from);
        EXPECT_GE(at, 0) << "\"" << expected.toStdString() << "\" missing or out of order in:\n" << text.toStdString();
        if (at >= 0) from = at + expected.size();
    }
    const QLocale locale = QLocale::system();
    const QString dateToday = locale.toString(before, QLocale::ShortFormat);
    const QString dateAfter = locale.toString(QDate::currentDate(), QLocale::ShortFormat);
    EXPECT_TRUE(text.contains(dateToday + " ") || text.contains(dateAfter + " ")) << text.toStdString();
    EXPECT_EQ(RunTool("pdfinfo", {Target()}).count(QRegularExpression("Pages:\\s+1\\b")), 1);

    RunTool("pdftoppm", {"-r", "50", "-png", "-singlefile", Target(), directory_.filePath("page")});
    QImage page(directory_.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    EXPECT_LT(page.height() * 1.0 / page.width(), 1.6);  // upright
    EXPECT_GT(page.height() * 1.0 / page.width(), 1.2);
    int dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) dark += page.pixelColor(x, y).lightness() < 128;
    EXPECT_GT(dark, 100);
}

INSTANTIATE_TEST_SUITE_P(NetworkOption, PrintedPdfTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<std::int16_t>& info) {
                             return std::string(info.param ? "NetworkOn" : "NetworkOff");
                         });

// The standard dialog is driven through a timer that answers it the moment it opens.
class QtPrintDialogTest : public ::testing::TestWithParam<bool> {};

TEST_P(QtPrintDialogTest, ReportsTheUsersAnswer)
{
    const bool accept = GetParam();
    QTimer::singleShot(0, [accept] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_TRUE(dialog);
        QMetaObject::invokeMethod(dialog, accept ? "accept" : "reject");
    });
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    QTemporaryDir directory;
    printer.setOutputFileName(directory.filePath("chosen.pdf"));
    QtPrintDialog dialog;
    EXPECT_EQ(dialog.Choose(printer), accept);
}

INSTANTIATE_TEST_SUITE_P(Answers, QtPrintDialogTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Print" : "Cancel");
                         });

}  // namespace
