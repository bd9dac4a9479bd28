// The printed chain's table of symbols: widths along the signal line and value places.
#include "print/sheet_chain.h"

#include <array>

namespace voltra {
namespace {

// In the order of ChainSymbol. A value just before the load moves clear of the load's
// caption: under the series part before a shunt one, above the coil of a series L.
constexpr std::array<SymbolPlace, kChainSymbols> kSheetSymbols = {{
    {800, 400, 4100, -800, 4100},            // ShuntC
    {600, -100, 3400, -100, 3400},           // SeriesC
    {900, 0, 3400, -100, 2500},              // SeriesL
    {800, 400, 4100, -800, 4100},            // ShuntL
    {900, 100, 2500, 100, 2500, 100, 3800},  // ParallelLC
    {0, 0, 0, 0, 0},                         // Load
}};

}  // namespace

std::vector<SheetLink> SheetChain(const Circuit& circuit)
{
    std::vector<SheetLink> placed;
    int x = kSchematicStartX + kAfterDrainNode;
    for (const ChainLink& link : OutputChain(circuit)) {
        placed.push_back({link, static_cast<std::int16_t>(x)});
        x += kSheetSymbols[static_cast<int>(link.symbol)].advance;
    }
    return placed;
}

PagePoint SheetValueAnchor(const SheetLink& placed, bool beside)
{
    const SymbolPlace& place = kSheetSymbols[static_cast<int>(placed.link.symbol)];
    if (beside) return {placed.x + place.besideLabelDx, place.besideLabelY};
    if (placed.link.lastBeforeLoad) return {placed.x + place.lastLabelDx, place.lastLabelY};
    return {placed.x + place.labelDx, place.labelY};
}

}  // namespace voltra
