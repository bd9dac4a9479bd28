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

namespace voltra {

namespace {

using D = DesignRecord&;
using Texts = std::vector<SheetText>;

// Prints into a fresh directory; no file name cancels.
struct PrintToFile : MessageSink, PrintDialogProvider {
    void ShowMessage(const std::string& text, const std::string& title) override { log.push_back(title + ": " + text); }
    void Beep() override { log.push_back("beep"); }
    bool Choose(QPrinter& printer) override
    {
        printer.setOutputFileName(dir.filePath(file));
        return !file.isEmpty();
    }
    QStringList Print(const DesignRecord& design, const char* name)  // the files left
    {
        file = name;
        log.clear();
        PrintSchematic(design, BuildCircuit(design), {}, *this, *this);
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    }
    QTemporaryDir dir;
    QString file;
    std::vector<std::string> log;
};

TEST(PrintSchematic, CancelledDialogSaysNothingAndPrintsNothing)
{
    PrintToFile print;
    EXPECT_EQ(print.Print(DesignWith(false), ""), QStringList());
    EXPECT_TRUE(print.log.empty());
}

TEST(PrintSchematic, FailureGivesOnePrinterErrorAndNoFile)
{
    // Change, file chosen, message start (%1: directory). Faulty designs stop before the dialog.
    const std::tuple<void (*)(D), const char*, const char*> failures[] = {
        {[](D d) { d.Idc = 0; }, "", "Division by zero: Idc is 0"},
        {[](D d) { d.LnetState = true, d.Cnetwork = NAN; }, "", "Cnetwork is not"},
        {[](D d) { d.LnetState = true, d.Lseries = d.Lnetwork = 3e38f; }, "", "Ltotal is not"},
        // A fall time beyond the period: the switch cannot turn off before it closes again.
        {[](D d) { d.Falltime = 100e-6f, FindAll(d); }, "",
         "Idc is not valid: the fall time is longer than the switch's off-time"},
        {[](D) {}, "no/a.pdf", "The file \"%1/no/a.pdf\" could not be written: "},
    };
    PrintToFile print;
    for (const auto& [change, pdf, message] : failures) {
        DesignRecord design = DesignWith(false);
        change(design);
        EXPECT_EQ(print.Print(design, pdf), QStringList()) << message;
        ASSERT_EQ(print.log.size(), 1u) << message;
        const QString start = "Printer Error: " + QString(message).replace("%1", print.dir.path());
        EXPECT_TRUE(print.log[0].starts_with(start.toStdString())) << print.log[0];
    }
}

const Texts kClassEParts = {{6100, 4100, "1.52421nF"}, {6400, 3400, "1.95861nF"}, {7200, 2500, "1.08741uH"}};
const Texts kSupplyAndSwitch = {
    {5300, 800, "Vsupply: 24 V"}, {5300, 1100, "Idc: 2.17451 A"}, {3000, 1100, "Rdc: 11.037 ohms"},
    {5300, 1400, "Efficiency: 95.8 %"}, {3000, 1400, "Pdiss: 2.1882 W"}, {2800, 2700, "Vpeak: 82.926 V"}, {2800, 3100, "FET Ipeak: 6.19398 A"}, {5300, 1900, "RFC"}};
// The frequency leads with a space; a fall time just below 1 ns reads in picoseconds.
const Texts kTargets = {
    {3000, 5800, "Frequency:  4MHz"}, {3000, 6100, "Ron: 0.16145 "}, {3000, 6400, "Saturation voltage: 1 V"},
    {3000, 6700, "Power output: 50 W"}, {3000, 7000, "Network Q: 5 "}, {3000, 7300, "Falltime: 1000ps"}};

// Option, Rnetwork, texts after the Class E parts, Ltotal, X of the last series coil.
using Layout = std::tuple<bool, float, Texts, Texts, int>;
const Texts kPlainLoad = {{8500, 3500, "Rload:"}, {8500, 3800, "5.4659 ohms"}};
const Layout kLayouts[] = {
    {false, 50, kPlainLoad, {}, 7100},
    // Rload below Rnetwork: Lnetwork follows Lseries, and Ltotal is printed.
    {true, 50, {{8000, 3400, "620.78nH"}, {8100, 4100, "2.27146nF"}, {10200, 3500, "Rload:"}, {10200, 3800, "50 ohms"}},
     {{7000, 2100, "Ltotal: 1.70819uH"}}, 8000},
    {true, 2, {{8400, 4100, "9.58277nF"}, {8700, 2500, "104.757nH"}, {10200, 3500, "Rload:"}, {10200, 3800, "2 ohms"}},
     {}, 8800},
    // Equal resistances: the plain stage, no network part left from an earlier design.
    {true, 0, kPlainLoad, {}, 7100},
};
class SheetTest : public ::testing::TestWithParam<Layout> {};
INSTANTIATE_TEST_SUITE_P(Layouts, SheetTest, ::testing::ValuesIn(kLayouts));

// Baselines of 10 pt and 6 pt Liberation Sans: another face or size moves them.
TEST_P(SheetTest, EveryTextAtItsAnchorAndInReadingOrderInThePdf)
{
    const auto& [lnetState, rnetwork, network, ltotal, coilX] = GetParam();
    const DesignRecord design = DesignWith(lnetState, rnetwork);
    Recorder r;
    PaintDesignSheet(*std::make_unique<QPainter>(&r), design, BuildCircuit(design), {}, QDateTime::currentDateTime());
    Texts want = kClassEParts;
    for (const Texts& part : {network, kSupplyAndSwitch, ltotal, kTargets})
        want.insert(want.end(), part.begin(), part.end());
    if (network != kPlainLoad) want.push_back({3000, 7600, "Class E load: 5.4659 ohms"});
    const QFontMetricsF ten(QFont("Liberation Sans", 10), &r), six(QFont("Liberation Sans", 6), &r);
    decltype(r.texts) baselines;
    for (const SheetText& text : want) baselines.emplace_back(text.y + ten.ascent(), text.x, text.text);
    baselines.emplace_back(8300 + six.lineSpacing() + six.ascent(), 3000, "Voltra Version 2.08");
    ASSERT_EQ(r.texts.size(), baselines.size() + 1);
    r.texts.erase(r.texts.end() - 2);  // the date
    EXPECT_EQ(r.texts, baselines);
    EXPECT_NEAR(r.paths.back().boundingRect().right(), coilX + 680, 0.01);

    PrintToFile print;
    EXPECT_EQ(print.Print(design, "a.pdf"), QStringList{"a.pdf"});  // no temporary file left
    const QString pdf = print.dir.filePath("a.pdf");
    EXPECT_TRUE(QFile::permissions(pdf) & QFileDevice::ReadOther);
    QProcess tool;
    tool.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(tool.waitForFinished() && tool.exitCode() == 0);
    const QString page = QString(tool.readAllStandardOutput()).simplified();
    std::ranges::sort(baselines);
    qsizetype from = 0;
    for (const auto& [y, x, text] : baselines) {
        from = page.indexOf(QString::fromStdString(text).simplified(), from);
        ASSERT_GE(from, 0) << text << " not in order in: " << page.toStdString();
    }
    EXPECT_EQ(QProcess::execute("pdftoppm", {"-r", "30", "-png", pdf, print.dir.filePath("a")}), 0);
}

}  // namespace

}  // namespace voltra
