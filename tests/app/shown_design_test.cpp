// What leaves the program is what the screen shows: screen, sheet and file carry the circuit model.
#include <QLabel>
#include <QProcess>
#include <map>

#include "engine/circuit.h"
#include "files/spice_schematic.h"
#include "print/sheet_texts.h"
#include "program_fixture.h"
#include "screens/design/schematic.h"
#include "screens/design/schematic_labels.h"
#include "units/parse.h"

namespace voltra {
namespace {

class ShownDesignTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        Run();
        Start();
    }
    std::string PrintedText()
    {
        dialogs_.printer.pdfPath = (folder_ / "sheet.pdf").string();
        program_->Print();
        QProcess tool;
        tool.start("pdftotext", {"-layout", QString::fromStdString(dialogs_.printer.pdfPath), "-"});
        EXPECT_TRUE(tool.waitForFinished() && tool.exitCode() == 0);
        return QString(tool.readAllStandardOutput()).simplified().toStdString();
    }
};

TEST_F(ShownDesignTest, TextThatDoesNotRecalculateStaysOutOfExportAndSheet)
{
    for (const char* typed : {"abc", "500"}) {
        SCOPED_TRACE(typed);
        QLineEdit* frequency = Box("txtFrequency");
        frequency->setText(typed);
        EXPECT_EQ(design_.Frequency, std::string(typed) == "abc" ? 100.0f : 500.0f);  // stored, not in effect
        EXPECT_FALSE(frequency->styleSheet().isEmpty());
        EXPECT_TRUE(frequency->toolTip().contains("1000 to 1E+10")) << frequency->toolTip().toStdString();
        EXPECT_TRUE(frequency->toolTip().contains("last calculated design is still in use"));

        dialogs_.spicePath = (folder_ / "amp.asc").string();
        Click(program_->Design(), "cmdSpice");
        const std::string schematic = Contents(dialogs_.spicePath);
        EXPECT_NE(schematic.find("SYMATTR Value PULSE (0 12 0 1000p 1000p 124n 250n)\r\n"), std::string::npos);
        EXPECT_NE(schematic.find("!.TRAN 0 250u 50u 1.25n startup"), std::string::npos);
        const std::string sheet = PrintedText();
        EXPECT_NE(sheet.find("Frequency: 4MHz"), std::string::npos) << sheet;
        EXPECT_EQ(sheet.find("100 Hz"), std::string::npos);
        EXPECT_TRUE(messages_.said.empty());
    }
    Box("txtFrequency")->setText("4M");
    EXPECT_TRUE(Box("txtFrequency")->styleSheet().isEmpty());
    EXPECT_TRUE(Box("txtFrequency")->toolTip().isEmpty());
}

// Part name to value, read back from each medium's texts.
using PartValues = std::map<std::string, float>;

// The unit word's "m" would read as milli.
float Reading(std::string text)
{
    if (const auto unit = text.find("ohms"); unit != std::string::npos) text.erase(unit);
    return ParseValue(text);
}

PartValues ModelValues(const Circuit& circuit)
{
    PartValues values;
    for (const Part& part : circuit.parts) values[part.name] = part.value.value;
    return values;
}

PartValues ScreenValues(const Circuit& circuit, float pi)
{
    PartValues values;
    for (const SchematicLabel& label : SchematicLabels(circuit, SchematicOf(circuit, pi).SchematicX))
        if (label.part) values[label.part] = Reading(label.text.section(':', -1).toStdString());
    return values;
}

PartValues SheetValues(const DesignRecord& design, const Circuit& circuit)
{
    PartValues values;
    for (const auto& texts : {SchematicLabels(design, circuit), DesignTargetLines(design, circuit)})
        for (const SheetText& text : texts)
            if (text.part) values[text.part] = Reading(text.text.substr(text.text.find(':') + 1));
    return values;
}

PartValues ExportedValues(const std::string& file)
{
    PartValues values;
    std::istringstream lines(file);
    std::string line, name;
    const std::string instance = "SYMATTR InstName ", value = "SYMATTR Value ", ron = "SW(Ron=";
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with(instance)) name = line.substr(instance.size());
        if (line.starts_with(value) && name != "Vgen" && name != "RGen" && name != "S1")
            values[name] = ParseValue(line.substr(value.size()));
        if (const auto at = line.find(ron); at != std::string::npos) values["S1"] = ParseValue(line.substr(at + ron.size(), 12));
    }
    return values;
}

// Each medium writes at least five significant digits of a value.
void ExpectSameValues(const PartValues& medium, const PartValues& model, const char* what)
{
    for (const auto& [name, value] : medium) {
        ASSERT_TRUE(model.contains(name)) << what << " shows " << name << ", which the circuit does not have";
        EXPECT_NEAR(value, model.at(name), 1e-4 * std::fabs(model.at(name))) << what << ": " << name;
    }
}

std::string Names(const PartValues& values)
{
    std::string names;
    for (const auto& [name, value] : values) names += name + " ";
    return names;
}

TEST_F(ShownDesignTest, ScreenSheetAndFileCarryTheCircuitModelsParts)
{
    const struct {
        bool lnet;
        const char* rnetwork;
        NetworkLayout layout;
    } layouts[] = {{false, "50", NetworkLayout::None},
                   {true, "50", NetworkLayout::SeriesLFirst},
                   {true, "2", NetworkLayout::ShuntCFirst},
                   // Rload's own value: nothing to transform, and no network part anywhere.
                   {true, nullptr, NetworkLayout::None}};
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.rnetwork ? layout.rnetwork : "Rload");
        if (design_.LnetState != layout.lnet) Click(program_->Design(), "cmdLnetYes");
        Box("txtRnetwork")->setText(layout.rnetwork ? layout.rnetwork : QString::number(design_.Rload, 'g', 9));
        const DesignRecord& shown = program_->Design()->ShownDesign();
        const Circuit circuit = BuildCircuit(shown);
        ASSERT_EQ(circuit.network, layout.layout);

        dialogs_.spicePath = (folder_ / "amp.asc").string();
        program_->Spice();
        const PartValues model = ModelValues(circuit), screen = ScreenValues(circuit, shown.Pi),
                         sheet = SheetValues(shown, circuit), file = ExportedValues(Contents(dialogs_.spicePath));
        const bool network = layout.layout != NetworkLayout::None;
        EXPECT_EQ(Names(model), network ? "C1 C2 C3 L1 L2 L3 RLoad S1 Vbattery " : "C1 C2 L1 L2 RLoad S1 Vbattery ");
        EXPECT_EQ(Names(file), Names(model));
        EXPECT_EQ(Names(screen), network ? "C1 C2 C3 L2 L3 RLoad Vbattery " : "C1 C2 L2 RLoad Vbattery ");
        EXPECT_EQ(Names(sheet), network ? "C1 C2 C3 L2 L3 RLoad S1 Vbattery " : "C1 C2 L2 RLoad S1 Vbattery ");
        ExpectSameValues(screen, model, "the screen");
        ExpectSameValues(sheet, model, "the sheet");
        ExpectSameValues(file, model, "the file");
    }
}

// Typed key by key, each text is in effect at once: the schematic's load label, the
// echo and the exported load all say the clamped value of the text in the box.
TEST_F(ShownDesignTest, NetworkResistanceInEffectFollowsTheBoxOnEveryKeystroke)
{
    Click(program_->Design(), "cmdLnetYes");
    QLineEdit* rnetwork = Box("txtRnetwork");
    rnetwork->setFocus();
    rnetwork->selectAll();
    const struct { char key; float inEffect; const char* label; const char* echo; bool red; } keys[] = {
        {'2', 2, "2 ", "2 \u03A9", false},
        {'0', 20, "20 ", "20 \u03A9", false},
        {'k', kRnetworkMax, "10k", "10 k\u03A9", true},
    };
    for (const auto& key : keys) {
        SCOPED_TRACE(key.key);
        QTest::keyClick(rnetwork, key.key);
        EXPECT_EQ(design_.Rnetwork, key.inEffect);
        const Circuit& shown = program_->Design()->ShownCircuit();
        QString loadLabel;
        for (const SchematicLabel& label : SchematicLabels(shown, SchematicOf(shown, design_.Pi).SchematicX))
            if (label.part && std::string(label.part) == "RLoad") loadLabel = label.text;
        EXPECT_EQ(loadLabel, key.label);
        const auto* echo = program_->Design()->findChild<QLabel*>("lblRnetworkEcho");
        EXPECT_EQ(echo->text(), QString::fromUtf8(key.echo));
        EXPECT_EQ(rnetwork->styleSheet().isEmpty(), !key.red);
        dialogs_.spicePath = (folder_ / "amp.asc").string();
        program_->Spice();
        EXPECT_FLOAT_EQ(ExportedValues(Contents(dialogs_.spicePath))["RLoad"], key.inEffect);
    }
    EXPECT_EQ(rnetwork->text(), "20k") << "the typed text stays as typed";
    EXPECT_TRUE(rnetwork->toolTip().startsWith("In effect: 10000 ohms")) << rnetwork->toolTip().toStdString();
    EXPECT_FALSE(program_->Design()->IsModified()) << "no design file keeps the network";
    rnetwork->setText("75");
    EXPECT_TRUE(rnetwork->toolTip().isEmpty());
    EXPECT_TRUE(messages_.said.empty());
}

}  // namespace
}  // namespace voltra
