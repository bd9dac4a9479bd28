#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

#include "print/print_schematic.h"
#include "print/sheet_page.h"
#include "print/sheet_texts.h"
#include "print_test_support.h"

namespace {

using D = DesignRecord&;
using Texts = std::vector<SheetText>;

// Prints into a fresh directory through a scripted dialog; an empty file name cancels.
struct PrintToFile : MessageSink, PrintDialogProvider {
    void ShowMessage(const std::string& text, const std::string& title) override { shown.push_back(title + ": " + text); }
    void Beep() override { shown.push_back("beep"); }
    bool Choose(QPrinter& printer) override
    {
        printer.setOutputFileName(file.isEmpty() ? file : dir.filePath(file));
        return !file.isEmpty();
    }
    QStringList Print(const DesignRecord& design, const char* name)  // the files then in the directory
    {
        file = name;
        shown.clear();
        PrintSchematic(design, *this, *this);
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    }
    QTemporaryDir dir;
    QString file;
    std::vector<std::string> shown;
};

TEST(PrintSchematic, FailureGivesOnePrinterErrorAndNoFile)
{
    const struct {
        void (*change)(DesignRecord&);
        const char* pdf;      // chosen in the dialog
        const char* message;  // its start; %1 stands for the directory
    } failures[] = {
        {[](D) {}, "", "Printing was cancelled."},
        {[](D d) { d.Idc = 0; }, "a.pdf", "Division by zero: Idc is 0, so Rdc = Supply / Idc cannot be printed."},
        {[](D d) { d.Ipeak = 0; }, "a.pdf", "Division by zero: Ipeak is 0, so Ron = Saturation / Ipeak cannot be printed."},
        {[](D d) { d.LnetState = 1, d.Cnetwork = NAN; }, "a.pdf", "Cnetwork is not a valid number"},
        {[](D d) { d.LnetState = 1, d.Lseries = d.Lnetwork = 3e38f; }, "a.pdf", "Ltotal is not a valid number"},
        {[](D) {}, "no/a.pdf", "The file \"%1/no/a.pdf\" could not be written: "},
    };
    PrintToFile print;
    for (const auto& [change, pdf, message] : failures) {
        DesignRecord design = DesignWith(0);
        change(design);
        EXPECT_EQ(print.Print(design, pdf), QStringList()) << message;
        ASSERT_EQ(print.shown.size(), 1u) << message;
        const QString expected = "Printer Error: " + QString(message).replace("%1", print.dir.path());
        EXPECT_TRUE(print.shown[0].starts_with(expected.toStdString())) << print.shown[0];
    }
}

const Texts kClassEParts = {{6100, 4100, "1.52421nF"}, {6400, 3400, "1.95861nF"}, {7200, 2500, "1.08741uH"}};
const Texts kSupplyAndSwitch = {{5300, 800, "Vsupply: 24 V"}, {5300, 1100, "Idc: 2.17451 A"},
                                {3000, 1100, "Rdc: 11.037 ohms"}, {2800, 2700, "Vpeak: 82.926 V"},
                                {2800, 3100, "FET Ipeak: 6.19398 A"}, {5300, 1900, "RFC"}};
// The frequency leads with a space; a fall time just below 1 ns reads in picoseconds.
const Texts kTargets = {{3000, 5800, "Frequency:  4MHz"}, {3000, 6100, "Ron: 0.16145 "},
                        {3000, 6400, "Saturation voltage: 1 V"}, {3000, 6700, "Power output: 50 W"},
                        {3000, 7000, "Network Q: 5 "}, {3000, 7300, "Falltime: 1000ps"}};

struct Layout {
    std::int16_t lnetState;
    const char* rnetwork;
    Texts network;  // and the load, between the Class E parts and the supply
    Texts ltotal;
};

class SheetTest : public ::testing::TestWithParam<Layout> {};

// Baselines of 10 pt and 6 pt Liberation Sans: another face or size moves them. The printed
// PDF reads in the same order, top to bottom and left to right.
TEST_P(SheetTest, EveryTextAtItsAnchorThenTheFooterAndInThePdf)
{
    const auto& [lnetState, rnetwork, network, ltotal] = GetParam();
    const DesignRecord design = DesignWith(lnetState, rnetwork);
    const QDateTime printedAt(QDate(2024, 3, 9), QTime(14, 5, 7));
    Recorder r;
    PaintDesignSheet(*std::make_unique<QPainter>(&r), design, printedAt);
    Texts want = kClassEParts;
    for (const Texts& part : {network, kSupplyAndSwitch, ltotal, kTargets}) want.insert(want.end(), part.begin(), part.end());
    if (lnetState) want.push_back({3000, 7600, "Class E load: 5.4659 ohms"});
    const QFontMetricsF ten(QFont("Liberation Sans", 10), &r);
    const QFontMetricsF six(QFont("Liberation Sans", 6), &r);
    const QLocale locale = QLocale::system();
    std::vector<std::tuple<double, double, std::string>> baselines;
    for (const SheetText& text : want) baselines.emplace_back(text.x, text.y + ten.ascent(), text.text);
    baselines.emplace_back(3000, 8300 + six.ascent(),
                           (locale.toString(printedAt.date(), QLocale::ShortFormat) + " " +
                            locale.toString(printedAt.time(), QLocale::LongFormat)).toStdString());
    baselines.emplace_back(3000, 8300 + six.lineSpacing() + six.ascent(), "Voltra Version 2.08");
    EXPECT_EQ(r.texts, baselines);

    PrintToFile print;
    EXPECT_EQ(print.Print(design, "a.pdf"), QStringList{"a.pdf"});  // no temporary file left
    EXPECT_EQ(print.shown, std::vector<std::string>());
    const QString pdf = print.dir.filePath("a.pdf");
    EXPECT_TRUE(QFile::permissions(pdf) & QFileDevice::ReadOther);
    QProcess tool;
    tool.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(tool.waitForFinished() && tool.exitCode() == 0);
    const QString page = tool.readAllStandardOutput();
    EXPECT_EQ(page.count('\f'), 1);  // one page
    baselines.erase(baselines.end() - 2);  // the date printed is today's
    std::ranges::sort(baselines, {}, [](const auto& text) { return std::pair(std::get<1>(text), std::get<0>(text)); });
    qsizetype from = 0;
    for (const auto& [x, y, text] : baselines) {
        from = page.simplified().indexOf(QString::fromStdString(text).simplified(), from);
        ASSERT_GE(from, 0) << text << " missing or out of order in: " << page.toStdString();
    }
    EXPECT_EQ(QProcess::execute("pdftoppm", {"-r", "30", "-png", pdf, print.dir.filePath("a")}), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SheetTest,
    ::testing::Values(Layout{0, "50", {{8500, 3500, "Rload:"}, {8500, 3800, "5.4659 ohms"}}, {}},
                      // Rload below Rnetwork: the network's inductor follows Lseries and they add up.
                      Layout{1, "50",
                             {{8000, 3400, "620.78nH"}, {8100, 4100, "2.27146nF"}, {10200, 3500, "Rload:"},
                              {10200, 3800, "50 ohms"}},
                             {{7000, 2100, "Ltotal: 1.70819uH"}}},
                      Layout{1, "2",
                             {{8400, 4100, "9.58277nF"}, {8700, 2500, "104.757nH"}, {10200, 3500, "Rload:"},
                              {10200, 3800, "2 ohms"}},
                             {}},
                      // Equal resistances keep the last network, shunt capacitor first.
                      Layout{1, "5.46591949",
                             {{8400, 4100, "2.27146nF"}, {8700, 2500, "620.78nH"}, {10200, 3500, "Rload:"},
                              {10200, 3800, "5.4659 ohms"}},
                             {}}));

}  // namespace
