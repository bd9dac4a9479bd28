// The printed chain's table of symbols: widths along the signal line and value places.
#include "print/sheet_chain.h"

#include <array>

namespace voltra {
namespace {

// In the order of ChainSymbol. A value just before the load moves clear of the load's
// caption: under the series part before a shunt one, above the coil of a series L.
constexpr std::array<SymbolPlace, kChainSymbols> kSheetSymbols = {{
    {800, 400, 4100, -800, 4100},            // ShuntC
    // Only a network's own series C (the tapped-C's) is placed from here: its value
    // keeps clear of the shunt coil that follows it.
    {600, -300, 3400, -300, 3400},           // SeriesC
    {900, 0, 3400, -100, 2500},              // SeriesL
    {800, 400, 4100, -800, 4100},            // ShuntL
    // The trap's coil is labelled a line above the series coils' labels: side by side
    // on the page, a 10 pt value is wider than the symbol it names.
    {900, 100, 2150, 100, 2150, 100, 3800},  // ParallelLC
    {0, 0, 0, 0, 0},                         // Load
}};

// A shunt part whose value stands right of it (a Pi's load-side C, a tapped-C's shunt
// L) would have its value under the load's resistor: the load stands this much
// further on.
constexpr int kClearOfShuntValue = 700;

bool ValueRightOfShunt(const ChainLink& link)
{
    return (link.symbol == ChainSymbol::ShuntC || link.symbol == ChainSymbol::ShuntL) && !link.lastBeforeLoad;
}

}  // namespace

std::vector<SheetLink> SheetChain(const Circuit& circuit)
{
    std::vector<SheetLink> placed;
    int x = kSchematicStartX + kAfterDrainNode;
    for (const ChainLink& link : OutputChain(circuit)) {
        if (link.symbol == ChainSymbol::Load && !placed.empty() && ValueRightOfShunt(placed.back().link))
            x += kClearOfShuntValue;
        const int end = x + kSheetSymbols[static_cast<int>(link.symbol)].advance;
        placed.push_back({link, static_cast<std::int16_t>(x), static_cast<std::int16_t>(end)});
        x = end;
    }
    return placed;
}

double SheetSchematicScale(const std::vector<SheetLink>& chain)
{
    if (chain.empty()) return 1;
    const double right = chain.back().x + kLoadValueRoom;
    const double room = kSheetRight - kSchematicLeft;
    return right <= kSheetRight ? 1.0 : room / (right - kSchematicLeft);
}

PagePoint SheetValueAnchor(const SheetLink& placed, bool beside)
{
    const SymbolPlace& place = kSheetSymbols[static_cast<int>(placed.link.symbol)];
    if (beside) return {placed.x + place.besideLabelDx, place.besideLabelY};
    if (placed.link.lastBeforeLoad) return {placed.x + place.lastLabelDx, place.lastLabelY};
    return {placed.x + place.labelDx, place.labelY};
}

}  // namespace voltra
