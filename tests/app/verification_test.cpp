// The verification window follows the screen; the headless commands verify and export without one.
#include <QLabel>
#include <QProcess>
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
    EXPECT_EQ(Table()->item(0, 0)->text(), "Pout");
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
    EXPECT_TRUE(printed[1].contains("Pout")) << printed[1].toStdString();
    EXPECT_TRUE(printed[1].contains("VturnOnPercent"));
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
