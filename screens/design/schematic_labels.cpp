// Result texts of the design screen, in the order they are written.
#include "screens/design/schematic_labels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "engine/circuit_chain.h"
#include "engine/figure_table.h"
#include "engine/harmonic_limit.h"
#include "print/loss_texts.h"
#include "screens/design/schematic.h"
#include "print/switch_texts.h"
#include "units/format.h"

namespace voltra {

namespace {

struct Anchor {
    double x;
    double y;
};

// Fixed anchors, in drawing units.
constexpr Anchor kLseries = {6400, 2500};
constexpr Anchor kC1 = {5500, 4000};
constexpr Anchor kC2 = {5800, 3300};
constexpr Anchor kSupply = {4100, 800};
constexpr Anchor kIdc = {4100, 1100};
constexpr Anchor kRdc = {2300, 1100};
// Under the supply figures they come from: the efficiency beside Idc's column, the
// switch's heat under Rdc's.
constexpr Anchor kEfficiency = {4100, 1400};
constexpr Anchor kDissipation = {2300, 1400};
// A chosen device's junction temperature, under the heat that raises it.
constexpr Anchor kJunction = {2300, 1700};
constexpr Anchor kVpeak = {4100, 2700};
constexpr Anchor kIpeak = {2300, 3200};
constexpr Anchor kRfc = {3500, 1800};
constexpr Anchor kDrain = {4050, 3350};
constexpr Anchor kSource = {4050, 4500};
constexpr Anchor kGate = {3150, 4100};
// Above the supply: how the values were found, what the circuit itself then gives,
// and the frequency limit a switch's own capacitance sets.
constexpr Anchor kMethod = {2300, 150};
constexpr Anchor kCossLimit = {2300, 400};
// Under the ground line, across the screen's width: where the power goes.
constexpr Anchor kLosses = {2300, 5300};
// Under the network's choices in the left column, clear of the ground line's start.
constexpr Anchor kWorstHarmonic = {15, 5000};
// Under them, why a chosen device's figures are refused or questioned: one reason a
// line, the rest after the last line's, above the entry captions.
constexpr Anchor kSwitchStanding = {2300, 5550};
constexpr double kSwitchStandingStep = 250;
constexpr std::size_t kSwitchStandingLines = 2;

// Anchors that follow the end of the chain.
constexpr double kLoadLabelRight = 500;
constexpr double kLoadCaptionY = 3600;
constexpr double kLoadValueY = 3900;
constexpr double kLtotalLeft = -2600;
constexpr double kLtotalY = 2100;

class Writer {
public:
    explicit Writer(std::vector<SchematicLabel>& labels) : labels_(labels) {}

    void Text(Anchor at, AnchorColour colour, const char* text)
    {
        labels_.push_back({QPointF(at.x, at.y), colour, QString::fromLatin1(text), false});
    }

    // prefix, the figure's text and unit and closing; an invalid value shows the
    // invalid mark instead of its text and unit, and anything short of valid is red. A
    // figure the table keeps off the screen, or the circuit has not computed, is not
    // written at all.
    void Figure(Anchor at, AnchorColour colour, const Circuit& c, FigureKey key, const char* prefix,
                const char* closing = "", const char* part = nullptr)
    {
        const FigureRow& row = FigureOf(key);
        if (!(row.shown & kOnScreen)) return;
        const Result value = row.of(c);
        if (!value.Computed()) return;
        labels_.push_back({QPointF(at.x, at.y), colour,
                           QString::fromStdString(prefix + LabelText(row, value) + closing),
                           value.status != Status::Valid, part});
    }

    void Note(Anchor at, const std::string& text, bool red)
    {
        labels_.push_back({QPointF(at.x, at.y), AnchorColour::White, QString::fromStdString(text), red});
    }

    void PartValue(Anchor at, AnchorColour colour, const Part& part, const char* unit = "")
    {
        const std::string text = part.value.Usable() ? PartValueText(part) + unit : std::string(kInvalidMark);
        labels_.push_back({QPointF(at.x, at.y), colour, QString::fromStdString(text),
                           part.value.status != Status::Valid, part.name});
    }

private:
    std::vector<SchematicLabel>& labels_;
};

// Only where the values are not the closed-form fits: the screen of the plain design
// stays as it always was.
void WriteMethod(Writer& write, const Circuit& c)
{
    if (c.exact || c.series) {
        std::string method = c.exact ? "exact" : "closed form";
        if (c.series) method += std::string(", ") + SeriesName(*c.series) + (c.accepted.empty() ? " values" : " best parts");
        bool red = false;
        if (c.analysed) {
            const bool usable = c.pout.Usable() && c.turnOnPercent.Usable();
            method += usable ? ": Pout " + LabelText(c, FigureKey::Pout) + ", drain at turn-on " +
                                   LabelText(c, FigureKey::VturnOnPercent)
                             : std::string(": ") + kInvalidMark;
            red = !usable;
        }
        write.Note(kMethod, method, red);
    }
    if (const std::string losses = LossSummaryLine(c); !losses.empty())
        write.Note(kLosses, losses, !TotalLosses(c).usable);
    if (std::isfinite(c.cossLimitFrequency))
        write.Note(kCossLimit, "Coss above C1: Class E only below " + FormatLarge(c.cossLimitFrequency) + "Hz", true);
}

// Only with a chosen device, whose law the circuit then carries: the plain design's
// screen writes none of it.
void WriteSwitchStanding(Writer& write, const Circuit& c)
{
    if (!c.cossLaw) return;
    if (c.tj) {
        const std::string text = JunctionTemperatureText(*c.tj);
        write.Note(kJunction, text, c.tj->status != Status::Valid);
    }
    const std::vector<std::string> reasons = SwitchStandingReasons(c);
    std::vector<std::string> lines;
    for (const std::string& reason : reasons) {
        if (lines.size() < kSwitchStandingLines)
            lines.push_back(reason);
        else
            lines.back() += " " + reason;
    }
    for (std::size_t i = 0; i < lines.size(); ++i)
        write.Note({kSwitchStanding.x, kSwitchStanding.y + kSwitchStandingStep * static_cast<double>(i)}, lines[i],
                   true);
}

Anchor AnchorOf(QPointF point) { return {point.x(), point.y()}; }

// The supply's figures and the drain's peaks, with the screen's own captions.
struct FigureLabel {
    FigureKey key;
    Anchor at;
    AnchorColour colour;
    const char* prefix;
    const char* closing;
    const char* part;
};

constexpr std::array<FigureLabel, 7> kFigureLabels = {{
    {FigureKey::Vsupply, kSupply, AnchorColour::White, "Vsupply: ", "", "Vbattery"},
    {FigureKey::Idc, kIdc, AnchorColour::White, "Idc: ", "", nullptr},
    {FigureKey::Rdc, kRdc, AnchorColour::White, "( Rdc: ", " )", nullptr},
    {FigureKey::Efficiency, kEfficiency, AnchorColour::White, "Efficiency: ", "", nullptr},
    {FigureKey::Dissipation, kDissipation, AnchorColour::White, "Pdiss: ", "", nullptr},
    {FigureKey::Vpeak, kVpeak, AnchorColour::ButtonFace, "Vpeak: ", "", nullptr},
    {FigureKey::Ipeak, kIpeak, AnchorColour::ButtonFace, "Drain Ipeak: ", "", nullptr},
}};

}  // namespace

std::vector<SchematicLabel> SchematicLabels(const Circuit& c, int schematicX)
{
    std::vector<SchematicLabel> labels;
    Writer write(labels);
    const Anchor loadCaption = {schematicX + kLoadLabelRight, kLoadCaptionY};
    const Anchor loadValue = {schematicX + kLoadLabelRight, kLoadValueY};

    write.PartValue(kLseries, AnchorColour::ButtonFace, c.Get(PartRole::Lseries));
    write.PartValue(kC1, AnchorColour::ButtonFace, c.Get(PartRole::C1));
    write.PartValue(kC2, AnchorColour::ButtonFace, c.Get(PartRole::C2));
    // The output network, after the stage's series branch, where the chain places it.
    const std::vector<PlacedLink> chain = PlacedChain(c);
    const auto lseries = std::find_if(chain.begin(), chain.end(),
                                      [](const PlacedLink& p) { return p.link.part->role == PartRole::Lseries; });
    for (auto it = lseries + 1; it != chain.end() && it->link.symbol != ChainSymbol::Load; ++it) {
        const Part& part = *it->link.part;
        write.PartValue(AnchorOf(ValueAnchor(*it)), AnchorColour::White, part);
        if (const Part* beside = it->link.beside)
            write.PartValue(AnchorOf(ValueAnchor(*it, true)), AnchorColour::White, *beside);
    }
    write.Text(loadCaption, AnchorColour::White, "Rload:");
    // Behind the network the resistor is the network resistance, written bare.
    if (c.network != NetworkLayout::None)
        write.PartValue(loadValue, AnchorColour::White, c.Get(PartRole::Load));
    else
        write.PartValue(loadValue, AnchorColour::ButtonFace, c.Get(PartRole::Load), "ohms");
    for (const FigureLabel& label : kFigureLabels)
        write.Figure(label.at, label.colour, c, label.key, label.prefix, label.closing, label.part);
    write.Text(kRfc, AnchorColour::White, "RFC");
    write.Text(kDrain, AnchorColour::ButtonFace, "DRAIN");
    write.Text(kSource, AnchorColour::ButtonFace, "SOURCE");
    write.Text(kGate, AnchorColour::ButtonFace, "GATE");
    // Where the network's inductor follows Lseries, the two are one inductance in series.
    if (lseries + 1 != chain.end() && (lseries + 1)->link.symbol == ChainSymbol::SeriesL &&
        (lseries + 1)->link.part->role != PartRole::Load)
        write.Figure({schematicX + kLtotalLeft, kLtotalY}, AnchorColour::White, c, FigureKey::Ltotal, "Ltotal: ");
    WriteMethod(write, c);
    WriteSwitchStanding(write, c);
    // The networks chosen for their filtering say how far down the harmonics are.
    if (FiltersHarmonics(c))
        if (const std::string worst = WorstHarmonicText(LoadHarmonicsOf(c)); !worst.empty())
            write.Note(kWorstHarmonic, worst, false);
    return labels;
}

}  // namespace voltra
