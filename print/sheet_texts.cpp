// Tables of the sheet's texts: where each stands, when it is printed and how its
// value is written. Anchors are page units (12000 across, y downwards).
#include "print/sheet_texts.h"

#include <algorithm>
#include <array>

#include "engine/circuit_chain.h"
#include "engine/figure_table.h"
#include "engine/harmonic_limit.h"
#include "print/loss_texts.h"
#include "print/sheet_chain.h"
#include "print/switch_texts.h"
#include "print/winding_texts.h"
#include "units/format.h"

namespace voltra {
namespace {

enum class Shown { Always, NetworkOn, BeyondFits, Questioned, WithTj, Filtering };

using D = const DesignRecord&;
using C = const Circuit&;

// A text of its own, or a figure of engine/figure_table.h after the sheet's caption
// for it.
struct TextRow {
    Shown when;
    int x;
    int y;
    std::string (*text)(D, C);  // null for a figure
    const char* part;
    FigureKey figure = FigureKey::Vsupply;
    const char* caption = "";
};

constexpr TextRow FigureText(Shown when, int x, int y, FigureKey figure, const char* caption,
                             const char* part = nullptr)
{
    return {when, x, y, nullptr, part, figure, caption};
}

bool IsShown(Shown when, const Circuit& c)
{
    switch (when) {
    case Shown::Always: return true;
    case Shown::NetworkOn: return c.network != NetworkLayout::None;
    case Shown::BeyondFits: return c.exact || c.series.has_value();
    case Shown::Questioned: return !QuestionedReasons(c).empty();
    case Shown::WithTj: return c.tj.has_value();
    case Shown::Filtering: return FiltersHarmonics(c);
    }
    return false;
}


std::string MethodText(C c)
{
    std::string text = c.exact ? "Values: exact Class E solution" : "Values: closed-form design";
    if (c.series) text += c.series == ESeries::E12 ? ", E12 parts" : c.series == ESeries::E24 ? ", E24 parts" : ", E96 parts";
    if (c.series && !c.accepted.empty()) text += ", the best combination";
    if (c.analysed && c.pout.Usable() && c.turnOnPercent.Usable())
        text += "; Pout " + LabelText(c, FigureKey::Pout) + ", drain at turn-on " + LabelText(c, FigureKey::VturnOnPercent);
    return text;
}

// The stage's own parts, always in the circuit.
constexpr std::array<TextRow, 3> kStageLabels = {{
    FigureText(Shown::Always, 6100, 4100, FigureKey::C1, "", "C1"),
    FigureText(Shown::Always, 6400, 3400, FigureKey::C2, "", "C2"),
    FigureText(Shown::Always, 7200, 2500, FigureKey::Lseries, "", "L2"),
}};

// The load's caption and value stand right of the load resistor, wherever the chain
// put it; behind a network the resistor is the network resistance.
constexpr int kLoadLabelRight = 500;
constexpr int kLoadCaptionY = 3500;
constexpr int kLoadValueY = 3800;

constexpr std::array<TextRow, 9> kSupplyLabels = {{
    FigureText(Shown::Always, 5300, 800, FigureKey::Vsupply, "Vsupply: ", "Vbattery"),
    FigureText(Shown::Always, 5300, 1100, FigureKey::Idc, "Idc: "),
    FigureText(Shown::Always, 3000, 1100, FigureKey::Rdc, "Rdc: "),
    FigureText(Shown::Always, 5300, 1400, FigureKey::Efficiency, "Efficiency: "),
    FigureText(Shown::Always, 3000, 1400, FigureKey::Dissipation, "Pdiss: "),
    // A chosen device's junction on its heat sink, under the heat that raises it.
    {Shown::WithTj, 3000, 1700, [](D, C c) { return JunctionTemperatureText(*c.tj); }, nullptr},
    FigureText(Shown::Always, 2800, 2700, FigureKey::Vpeak, "Vpeak: "),
    FigureText(Shown::Always, 2800, 3100, FigureKey::Ipeak, "FET Ipeak: "),
    {Shown::Always, 5300, 1900, [](D, C) { return std::string("RFC"); }, nullptr},
}};

// Where the network's inductor follows Lseries, the two are one inductance in series.
constexpr int kLtotalX = 7000;
constexpr int kLtotalY = 2100;

constexpr int kTargetsX = 3000;

// Saturation voltage, output power and Q are written with the resistance formatter:
// plain numbers with "k"/"MEG" and a fixed count of decimals per decade.
std::string QuestionedText(C c)
{
    std::string text = "Questioned:";
    for (const std::string& reason : QuestionedReasons(c)) text += (text.back() == ':' ? " " : "; ") + reason;
    return text;
}

constexpr std::array<TextRow, 10> kDesignTargets = {{
    {Shown::Always, kTargetsX, 5800, [](D d, C) { return "Frequency: " + FormatLarge(d.Frequency) + "Hz"; }, nullptr},
    FigureText(Shown::Always, kTargetsX, 6100, FigureKey::Ron, "Ron: ", "S1"),
    {Shown::Always, kTargetsX, 6400,
     [](D d, C) { return "Saturation voltage: " + FormatResistance(d.Saturation) + "V"; }, nullptr},
    {Shown::Always, kTargetsX, 6700, [](D d, C) { return "Power output: " + FormatResistance(d.Power) + "W"; },
     nullptr},
    {Shown::Always, kTargetsX, 7000, [](D d, C) { return "Network Q: " + FormatResistance(d.NetworkQ); }, nullptr},
    {Shown::Always, kTargetsX, 7300, [](D d, C) { return "Falltime: " + FormatSmall(d.Falltime) + "s"; }, nullptr},
    FigureText(Shown::NetworkOn, kTargetsX, 7600, FigureKey::Rload, "Class E load: "),
    // Values past the closed-form fits say how they were found and what they give.
    {Shown::BeyondFits, kTargetsX, 7900, [](D, C c) { return MethodText(c); }, nullptr},
    // A network chosen to filter: the harmonics it leaves, beside the Class E load.
    {Shown::Filtering, 7000, 7600, [](D, C c) { return WorstHarmonicText(LoadHarmonicsOf(c)); }, nullptr},
    // Why the figures above are questioned, under the footer and above the loss tables.
    {Shown::Questioned, kTargetsX, 8700, [](D, C c) { return QuestionedText(c); }, nullptr},
}};

template <std::size_t N>
std::vector<SheetText> TextsOf(const std::array<TextRow, N>& rows, const DesignRecord& design, const Circuit& circuit)
{
    std::vector<SheetText> texts;
    for (const TextRow& row : rows)
        if (IsShown(row.when, circuit) && (row.text || (FigureOf(row.figure).shown & kOnSheet)))
            texts.push_back({row.x, row.y,
                             row.text ? row.text(design, circuit) : row.caption + LabelText(circuit, row.figure),
                             row.part});
    return texts;
}

// The tables start under the footer, at the page's lower half, one line a row.
constexpr int kTablesY = 9000;
constexpr int kRowHeight = 260;
constexpr int kTableGap = 300;
constexpr std::array<int, 5> kColumnX = {kTargetsX, 4300, 6700, 8300, 9900};

template <std::size_t N>
void AppendTable(std::vector<SheetText>& texts, int& y, const std::array<const char*, N>& columns,
                 const std::vector<TableRow>& rows)
{
    for (std::size_t k = 0; k < N; ++k) texts.push_back({kColumnX[k], y, columns[k]});
    y += kRowHeight;
    for (const TableRow& row : rows) {
        for (std::size_t k = 0; k < row.cells.size() && k < N; ++k) texts.push_back({kColumnX[k], y, row.cells[k]});
        y += kRowHeight;
    }
    y += kTableGap;
}

}  // namespace

std::vector<SheetText> LossAndStressLines(const Circuit& circuit)
{
    std::vector<SheetText> texts;
    if (circuit.losses.empty()) return texts;
    int y = kTablesY;
    texts.push_back({kTargetsX, y, DrainLossLine(circuit)});
    if (const std::string gate = GateDriveLine(circuit); !gate.empty()) {
        y += kRowHeight;
        texts.push_back({kTargetsX, y, gate});
    }
    y += kRowHeight + kTableGap;
    AppendTable(texts, y, kLossColumns, LossRows(circuit));
    AppendTable(texts, y, kStressColumns, StressRows(circuit));
    texts.push_back({kTargetsX, y, ImpulseLine(circuit)});
    return texts;
}

namespace {

// The windings' columns the sheet prints, by their index in kWindingColumns (the value
// stands on the schematic and the RMS current in the stress table; the warnings go
// under the table), and where each stands: each holds its longest 10 pt text
// ("16.9657 mm", "226.86 MHz", a nine-letter core name, a four-digit Q) with room to spare.
constexpr std::array<std::size_t, 8> kSheetWindingCells = {0, 3, 4, 5, 6, 7, 8, 9};
constexpr std::array<int, 8> kWindingColumnX = {kTargetsX, 3550, 4750, 5400, 6300, 7600, 8900, 9500};
// A warning's words run on to the next line past this many characters, which a 10 pt
// line holds across the page.
constexpr std::size_t kWarningLineCharacters = 84;

std::vector<std::string> Wrapped(const std::string& text)
{
    std::vector<std::string> lines{""};
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, end - at);
        if (!lines.back().empty() && lines.back().size() + 1 + word.size() > kWarningLineCharacters)
            lines.push_back("  ");
        lines.back() += (lines.back().empty() || lines.back() == "  " ? "" : " ") + word;
        at = end + 1;
    }
    return lines;
}

}  // namespace

std::vector<SheetText> WindingLines(const Circuit& circuit, const std::vector<InductorWinding>& windings)
{
    std::vector<SheetText> texts;
    if (windings.empty()) return texts;
    const std::vector<SheetText> above = LossAndStressLines(circuit);
    int y = above.empty() ? kTablesY : above.back().y + kRowHeight + kTableGap;
    for (std::size_t k = 0; k < kSheetWindingCells.size(); ++k)
        texts.push_back({kWindingColumnX[k], y, kWindingColumns[kSheetWindingCells[k]]});
    const std::vector<TableRow> rows = WindingRows(windings);
    for (const TableRow& row : rows) {
        y += kRowHeight;
        for (std::size_t k = 0; k < kSheetWindingCells.size(); ++k)
            texts.push_back({kWindingColumnX[k], y, row.cells[kSheetWindingCells[k]]});
    }
    for (const InductorWinding& w : windings)
        for (const std::string& warning : w.warnings)
            for (const std::string& line : Wrapped(std::string(w.part) + ": " + warning)) {
                y += kRowHeight;
                texts.push_back({kTargetsX, y, line});
            }
    return texts;
}

std::vector<SheetText> SchematicLabels(const DesignRecord& design, const Circuit& circuit)
{
    std::vector<SheetText> texts = TextsOf(kStageLabels, design, circuit);
    const std::vector<SheetLink> chain = SheetChain(circuit);
    const auto lseries = std::find_if(chain.begin(), chain.end(),
                                      [](const SheetLink& l) { return l.link.part->role == PartRole::Lseries; });
    for (auto it = lseries + 1; it < chain.end(); ++it) {
        const Part& part = *it->link.part;
        if (it->link.symbol == ChainSymbol::Load) {
            texts.push_back({it->x + kLoadLabelRight, kLoadCaptionY, "Rload:"});
            texts.push_back({it->x + kLoadLabelRight, kLoadValueY, PartValueText(part) + "ohms", part.name});
            break;
        }
        const PagePoint at = SheetValueAnchor(*it);
        texts.push_back({at.x, at.y, PartValueText(part), part.name});
        if (const Part* beside = it->link.beside) {
            const PagePoint under = SheetValueAnchor(*it, true);
            texts.push_back({under.x, under.y, PartValueText(*beside), beside->name});
        }
    }
    const std::vector<SheetText> supply = TextsOf(kSupplyLabels, design, circuit);
    texts.insert(texts.end(), supply.begin(), supply.end());
    if (lseries + 1 < chain.end() && (lseries + 1)->link.symbol == ChainSymbol::SeriesL &&
        FigureOf(FigureKey::Ltotal).of(circuit).Computed())
        texts.push_back({kLtotalX, kLtotalY, "Ltotal: " + LabelText(circuit, FigureKey::Ltotal)});
    return texts;
}

std::vector<SheetText> DesignTargetLines(const DesignRecord& design, const Circuit& circuit)
{
    return TextsOf(kDesignTargets, design, circuit);
}

}  // namespace voltra
