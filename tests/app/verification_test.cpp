// The verification window follows the screen; the headless commands verify and export without one.
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/command_line.h"
#include "engine/design_options.h"
#include "files/design_file.h"
#include "program_fixture.h"
#include "screens/object_names.h"
#include "simulation/ngspice_simulator.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

class VerificationTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        Run();
        Start();
    }
    QTableWidget* Table() const { return program_->Verification()->findChild<QTableWidget*>(kFiguresTableName); }
    bool Settled() const { return !program_->Verification()->Busy(); }
};

TEST_F(VerificationTest, VerifyOpensTheWindowAndFollowsEveryNewCalculationOnce)
{
    program_->Design()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(program_->Design()));
    QTest::keyClick(program_->Design()->focusWidget(), Qt::Key_F5);
    // A button's shortcut clicks it the way the mouse would, after a short press.
    ASSERT_TRUE(QTest::qWaitFor([this] { return program_->Verification() != nullptr; }, 2000));
    EXPECT_TRUE(program_->Verification()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    EXPECT_EQ(simulator_.runs, 1);
    ASSERT_NE(Table()->item(0, 0), nullptr);
    EXPECT_EQ(Table()->item(0, 0)->text(), "Output power");
    EXPECT_EQ(Table()->item(0, 1)->text(), "50 W");

    // Keystrokes in quick succession: one run once typing pauses, for the last value.
    for (const char* typed : {"4", "40", "45"}) Box("txtPower")->setText(typed);
    EXPECT_FALSE(Settled());
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    EXPECT_EQ(simulator_.runs, 2);
    EXPECT_EQ(Table()->item(0, 1)->text(), "45 W");
    EXPECT_EQ(Table()->item(0, 3)->text(), "+11.1 %");
    EXPECT_EQ(Table()->item(0, 3)->foreground().color(), QColor(255, 0, 0));  // beyond 10 %
}

// Get rebuilds the design screen: the open window follows the design read, not the
// one the old screen drew.
TEST_F(VerificationTest, FollowsTheDesignAGetBringsIn)
{
    Click(program_->Design(), "cmdVerify");
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    DesignRecord saved;
    StartupValues(saved);
    saved.Power = 75;
    Recorder quiet;
    dialogs_.openPath = (folder_ / "strong.VLT").string();
    WriteDesignFile(dialogs_.openPath, saved, quiet);
    program_->Get();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    EXPECT_EQ(Table()->item(0, 1)->text(), "75 W");
}

TEST_F(VerificationTest, PrintAddsThePlotAndTableOnASecondPage)
{
    const auto pages = [this] {
        dialogs_.printer.pdfPath = (folder_ / "sheet.pdf").string();
        program_->Print();
        QProcess tool;
        tool.start("pdftotext", {"-layout", QString::fromStdString(dialogs_.printer.pdfPath), "-"});
        EXPECT_TRUE(tool.waitForFinished() && tool.exitCode() == 0);
        return QString(tool.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
    };
    EXPECT_EQ(pages().size(), 1);
    Click(program_->Design(), "cmdVerify");
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    const QStringList printed = pages();
    ASSERT_EQ(printed.size(), 2);
    EXPECT_TRUE(printed[1].contains("Output power")) << printed[1].toStdString();
    EXPECT_TRUE(printed[1].contains("Drain voltage at turn-on (% of supply)")) << printed[1].toStdString();
    EXPECT_TRUE(messages_.said.empty());
}

TEST_F(VerificationTest, InvalidDesignIsRefusedWithoutSimulating)
{
    Box("txtSaturation")->setText("24");  // equal to the supply: no swing, no load
    Click(program_->Design(), "cmdVerify");
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    EXPECT_EQ(simulator_.runs, 0);
    bool told = false;
    for (const QLabel* label : program_->Verification()->findChildren<QLabel*>())
        told = told || label->text().contains("cannot be simulated");
    EXPECT_TRUE(told);
}

// A tool window of the design screen, so it stays in front of it, also after Get
// has rebuilt the screen; Esc closes it.
TEST_F(VerificationTest, StaysInFrontOfItsDesignScreenAndEscClosesIt)
{
    program_->Verify();
    VerificationWindow* window = program_->Verification();
    EXPECT_EQ(window->windowType(), Qt::Tool);
    EXPECT_EQ(window->parentWidget(), program_->Design());

    DesignRecord saved;
    StartupValues(saved);
    Recorder quiet;
    dialogs_.openPath = (folder_ / "again.VLT").string();
    WriteDesignFile(dialogs_.openPath, saved, quiet);
    program_->Get();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(program_->Verification(), window) << "the window outlives the screen it was opened from";
    EXPECT_EQ(window->parentWidget(), program_->Design());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowType(), Qt::Tool);

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(VerificationTest, AnInvalidDesignClearsThePlotAsWellAsTheTable)
{
    program_->Verify();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    const auto* view = program_->Verification()->findChild<QChartView*>();
    ASSERT_FALSE(view->chart()->series().isEmpty());
    Box("txtSaturation")->setText("24");
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    EXPECT_TRUE(view->chart()->series().isEmpty());
    EXPECT_EQ(Table()->item(0, 0), nullptr);
    EXPECT_FALSE(program_->Verification()->ShowsResult());
}

TEST_F(VerificationTest, FiguresReadInWordsWithEfficiencyInPercent)
{
    program_->Verify();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    QStringList captions;
    for (int row = 0; row < Table()->rowCount(); ++row) captions << Table()->item(row, 0)->text();
    EXPECT_EQ(captions, QStringList({"Output power", "Input power from the supply", "Efficiency", "Supply current",
                                     "Peak drain voltage", "Peak switch current",
                                     "Drain voltage at turn-on (% of supply)"}));
    // The simulator here reports an efficiency of 1; the start-up design predicts 95.8 %.
    EXPECT_EQ(Table()->item(2, 2)->text(), "100 %");
    EXPECT_TRUE(Table()->item(2, 1)->text().startsWith("95.8")) << Table()->item(2, 1)->text().toStdString();
    EXPECT_TRUE(Table()->item(2, 1)->text().endsWith(" %"));
}

// The simulated supply power less output power stands beside the predicted budget of
// an analysed circuit, and alone beside the closed-form design, which has none.
TEST_F(VerificationTest, TheSimulatedLossStandsBesideThePredictedBudget)
{
    program_->Verify();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    const auto* losses = program_->Verification()->findChild<QLabel*>(kVerifiedLossesName);
    ASSERT_NE(losses, nullptr);
    EXPECT_TRUE(losses->text().startsWith("Simulated supply power less output power: ")) << losses->text().toStdString();
    QTest::mouseClick(program_->Design()->findChild<QPushButton*>(kExactButtonName), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    EXPECT_TRUE(losses->text().startsWith("Predicted losses ")) << losses->text().toStdString();
    EXPECT_TRUE(losses->text().contains(". Simulated supply power less output power: "));
    Box("txtSaturation")->setText("24");
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    EXPECT_TRUE(losses->text().isEmpty());
}

// An analysed circuit's harmonics follow the figures, analysis beside simulation; the
// closed-form design predicts none and shows the figures alone.
TEST_F(VerificationTest, AnAnalysedCircuitsHarmonicsFollowTheFigures)
{
    auto* exactButton = program_->Design()->findChild<QPushButton*>(kExactButtonName);
    // The option outlives the program: start from the closed form.
    if (exactButton->isChecked()) exactButton->click();
    program_->Verify();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    EXPECT_EQ(Table()->rowCount(), 7);
    QTest::mouseClick(exactButton, Qt::LeftButton);
    ASSERT_TRUE(exactButton->isChecked());
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    DesignOptions exact;
    exact.exact = true;
    const Circuit circuit = BuildCircuit(CalculatedDesign(), exact);
    ASSERT_EQ(Table()->rowCount(), 7 + static_cast<int>(circuit.harmonics.size()));
    EXPECT_EQ(Table()->item(7, 0)->text(), "2nd harmonic at the load");
    EXPECT_EQ(Table()->item(8, 0)->text(), "3rd harmonic at the load");
    EXPECT_EQ(Table()->item(15, 0)->text(), "10th harmonic at the load");
    EXPECT_EQ(Table()->item(7, 1)->text(), QString::asprintf("%.1f dBc", circuit.harmonics[0].dBc));
    // The counting simulator's load voltage has no spectrum: the deepest level, a miss.
    EXPECT_EQ(Table()->item(7, 2)->text(), "-200.0 dBc");
    EXPECT_EQ(Table()->item(7, 2)->foreground().color(), QColor(255, 0, 0));
    Box("txtPower")->setText("45");
    QTest::mouseClick(exactButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    EXPECT_EQ(Table()->rowCount(), 7);
}

// The printed page's heading runs over as many lines as it needs: no ink past the
// right margin, where a cut line would run on.
TEST_F(VerificationTest, PrintedPageKeepsItsHeadingWithinTheMargins)
{
    program_->Verify();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Settled(); }, 5000));
    QImage page(850, 1100, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        program_->Verification()->PaintReport(painter);
    }
    const int margin = qRound(page.width() * 0.08);
    int inkInMargin = 0, inkInHeading = 0;
    for (int y = 0; y < page.height() / 4; ++y)
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) > 128) continue;
            if (x >= page.width() - margin + 2) ++inkInMargin;
            else ++inkInHeading;
        }
    EXPECT_GT(inkInHeading, 0);
    EXPECT_EQ(inkInMargin, 0);
}

class CommandLineTest : public ProgramTest {
protected:
    std::string SavedDesign()
    {
        DesignRecord design;
        StartupValues(design);
        Recorder quiet;
        WriteDesignFile((folder_ / "amp.VLT").string(), design, quiet);
        return (folder_ / "amp.VLT").string();
    }
    int Command(const std::vector<std::string>& arguments, Simulator& simulator)
    {
        out_.str("");
        err_.str("");
        return RunCommandLine(arguments, out_, err_, simulator).value_or(-1);
    }
    std::ostringstream out_, err_;
};

TEST_F(CommandLineTest, SimulateReportsEveryFigureAsJson)
{
    NgspiceSimulator ngspice;
    ASSERT_EQ(Command({"--simulate", SavedDesign(), "--json"}, ngspice), 0) << err_.str();
    const nlohmann::json simulated = nlohmann::json::parse(out_.str())["simulation"];
    for (const char* key : {"Pout", "Pin", "Efficiency", "Idc", "Vpeak", "Ipeak", "VturnOnPercent"}) {
        EXPECT_TRUE(simulated["figures"][key]["predicted"].is_number()) << key;
        EXPECT_TRUE(simulated["figures"][key]["simulated"].is_number()) << key;
    }
    // The fits assume an infinite choke: the start-up design delivers some 5 % more.
    EXPECT_EQ(simulated["figures"]["Pout"]["predicted"], 50.0);
    EXPECT_GT(simulated["figures"]["Pout"]["simulated"].get<double>(), 50.0);
    EXPECT_LT(simulated["figures"]["Pout"]["simulated"].get<double>(), 60.0);
    EXPECT_TRUE(simulated["steady"].is_boolean());
    EXPECT_TRUE(simulated["turnOnSlope"].is_number());
    EXPECT_GT(simulated["periods"].get<int>(), 0);
    ASSERT_EQ(Command({"--simulate", SavedDesign(), "--lnet", "50"}, ngspice), 0) << err_.str();
    EXPECT_NE(out_.str().find("Steady state after"), std::string::npos) << out_.str();
}

// Exact, E24 and a 20x choke reach the simulated parts, reported with the figures.
TEST_F(CommandLineTest, OptionsReachTheSimulatedCircuit)
{
    NgspiceSimulator ngspice;
    ASSERT_EQ(Command({"--simulate", SavedDesign(), "--json", "--exact", "--series", "E24", "--choke", "20"}, ngspice),
              0)
        << err_.str();
    const nlohmann::json parts = nlohmann::json::parse(out_.str())["parts"];
    EXPECT_TRUE(parts["RLoad"]["value"].is_number());
    EXPECT_EQ(parts["L2"]["value"], 1.1e-06);
    DesignOptions options;
    options.exact = true;
    options.series = ESeries::E24;
    options.chokeFactor = 20;
    EXPECT_EQ(parts["L1"]["value"].get<float>(), BuildCircuit(CalculatedDesign(), options).ValueOf(PartRole::Choke));
    EXPECT_EQ(Command({"--simulate", SavedDesign(), "--series", "E7"}, ngspice), 2);
    EXPECT_EQ(Command({"--simulate", SavedDesign(), "--exact", "--coss", "1u"}, ngspice), 1);
    EXPECT_NE(err_.str().find("C1 is not valid: the switch's own output capacitance"), std::string::npos) << err_.str();
}

TEST_F(CommandLineTest, ExportWritesTheSchematicTheScreenWould)
{
    CountingSimulator none;
    const std::string asc = (folder_ / "out.asc").string();
    ASSERT_EQ(Command({"--export-asc", asc, SavedDesign()}, none), 0) << err_.str();
    EXPECT_EQ(Contents(asc), Contents(VOLTRA_GOLDEN_SCHEMATIC));
    EXPECT_EQ(none.runs, 0);
}

TEST_F(CommandLineTest, FailuresExitNonZeroWithAMessage)
{
    CountingSimulator counting;
    EXPECT_EQ(Command({}, counting), -1);  // no command: the windows open
    EXPECT_EQ(Command({"--simulate"}, counting), 2);
    EXPECT_EQ(Command({"--bogus"}, counting), 2);
    EXPECT_EQ(Command({"--simulate", (folder_ / "missing.VLT").string()}, counting), 1);
    EXPECT_NE(err_.str().find("cannot read the design file"), std::string::npos);
    EXPECT_EQ(Command({"--export-asc", "a.x", SavedDesign()}, counting), 2);  // too short a name
    EXPECT_EQ(counting.runs, 0);
}

}  // namespace
}  // namespace voltra
