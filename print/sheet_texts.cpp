// Tables of the sheet's texts: where each stands, when it is printed and how its
// value is written. Anchors are page units (12000 across, y downwards).
#include "print/sheet_texts.h"

#include <array>

#include "engine/equations.h"
#include "units/format.h"

namespace voltra {

namespace {

enum class Shown { Always, NetworkOff, NetworkOn, SeriesLFirst, ShuntCFirst };

struct TextRow {
    Shown when;
    int x;
    int y;
    std::string (*text)(const DesignRecord&);
};

bool IsShown(Shown when, const DesignRecord& d)
{
    switch (when) {
    case Shown::Always: return true;
    case Shown::NetworkOff: return !NetworkShown(d);
    case Shown::NetworkOn: return NetworkShown(d);
    // Rload below Rnetwork puts the network's inductor next to Lseries; otherwise
    // (equal included) the shunt capacitor faces the Class E stage.
    case Shown::SeriesLFirst: return NetworkShown(d) && LayoutOf(d) == LnetworkLayout::SeriesLFirst;
    case Shown::ShuntCFirst: return NetworkShown(d) && LayoutOf(d) != LnetworkLayout::SeriesLFirst;
    }
    return false;
}

using D = const DesignRecord&;

constexpr std::array<TextRow, 18> kSchematicLabels = {{
    {Shown::Always, 6100, 4100, [](D d) { return FormatCapacitance(d.C1); }},
    {Shown::Always, 6400, 3400, [](D d) { return FormatCapacitance(d.C2); }},
    {Shown::Always, 7200, 2500, [](D d) { return FormatInductance(d.Lseries); }},
    {Shown::SeriesLFirst, 8000, 3400, [](D d) { return FormatInductance(d.Lnetwork); }},
    {Shown::SeriesLFirst, 8100, 4100, [](D d) { return FormatCapacitance(d.Cnetwork); }},
    {Shown::ShuntCFirst, 8400, 4100, [](D d) { return FormatCapacitance(d.Cnetwork); }},
    {Shown::ShuntCFirst, 8700, 2500, [](D d) { return FormatInductance(d.Lnetwork); }},
    {Shown::NetworkOff, 8500, 3500, [](D) { return std::string("Rload:"); }},
    {Shown::NetworkOff, 8500, 3800, [](D d) { return FormatResistance(d.Rload) + "ohms"; }},
    // With the network in, the resistor at the end is the network resistance.
    {Shown::NetworkOn, 10200, 3500, [](D) { return std::string("Rload:"); }},
    {Shown::NetworkOn, 10200, 3800, [](D d) { return FormatResistance(d.Rnetwork) + "ohms"; }},
    {Shown::Always, 5300, 800, [](D d) { return "Vsupply: " + FormatPrefixed(d.Supply) + "V"; }},
    {Shown::Always, 5300, 1100, [](D d) { return "Idc: " + FormatPrefixed(d.Idc) + "A"; }},
    {Shown::Always, 3000, 1100, [](D d) { return "Rdc: " + FormatPrefixed(Rdc(d)) + "ohms"; }},
    {Shown::Always, 2800, 2700, [](D d) { return "Vpeak: " + FormatPrefixed(d.Vpeak) + "V"; }},
    {Shown::Always, 2800, 3100, [](D d) { return "FET Ipeak: " + FormatPrefixed(d.Ipeak) + "A"; }},
    {Shown::Always, 5300, 1900, [](D) { return std::string("RFC"); }},
    {Shown::SeriesLFirst, 7000, 2100, [](D d) { return "Ltotal: " + FormatInductance(Ltotal(d)); }},
}};

constexpr int kTargetsX = 3000;

// Saturation voltage, output power and Q are written with the resistance formatter:
// plain numbers with "k"/"MEG" and a fixed count of decimals per decade.
constexpr std::array<TextRow, 7> kDesignTargets = {{
    {Shown::Always, kTargetsX, 5800, [](D d) { return "Frequency: " + FormatLarge(d.Frequency) + "Hz"; }},
    {Shown::Always, kTargetsX, 6100, [](D d) { return "Ron: " + FormatResistance(Ron(d)); }},
    {Shown::Always, kTargetsX, 6400,
     [](D d) { return "Saturation voltage: " + FormatResistance(d.Saturation) + "V"; }},
    {Shown::Always, kTargetsX, 6700, [](D d) { return "Power output: " + FormatResistance(d.Power) + "W"; }},
    {Shown::Always, kTargetsX, 7000, [](D d) { return "Network Q: " + FormatResistance(d.NetworkQ); }},
    {Shown::Always, kTargetsX, 7300, [](D d) { return "Falltime: " + FormatSmall(d.Falltime) + "s"; }},
    {Shown::NetworkOn, kTargetsX, 7600, [](D d) { return "Class E load: " + FormatResistance(d.Rload) + "ohms"; }},
}};

template <std::size_t N>
std::vector<SheetText> TextsOf(const std::array<TextRow, N>& rows, const DesignRecord& design)
{
    std::vector<SheetText> texts;
    for (const TextRow& row : rows)
        if (IsShown(row.when, design)) texts.push_back({row.x, row.y, row.text(design)});
    return texts;
}

}  // namespace

bool NetworkShown(const DesignRecord& design) { return design.LnetState != 0; }

float Ron(const DesignRecord& design)
{
    return static_cast<float>(static_cast<double>(design.Saturation) / design.Ipeak);
}

std::vector<SheetText> SchematicLabels(const DesignRecord& design) { return TextsOf(kSchematicLabels, design); }

std::vector<SheetText> DesignTargetLines(const DesignRecord& design) { return TextsOf(kDesignTargets, design); }

}  // namespace voltra
