// The amplifier's two-terminal parts from the drain to the load as a chain of symbols
// along one rail: what every drawing of the circuit (screen, sheet, schematic file)
// walks, each with its own table of symbol sizes and label places.
#pragma once

#include <vector>

#include "engine/circuit.h"

namespace voltra {

// A part across the rail to ground, a part in the rail, or two parts side by side in
// the rail (the 2nd-harmonic trap's L and C); the load ends the chain.
enum class ChainSymbol { ShuntC, SeriesC, SeriesL, ShuntL, ParallelLC, Load };
inline constexpr int kChainSymbols = 6;

struct ChainLink {
    ChainSymbol symbol;
    const Part* part;             // the part; the inductor of a parallel pair
    const Part* beside = nullptr;  // the capacitor of a parallel pair
    // The link just before the load, whose label the load's caption pushes aside, where
    // no shunt two links back labels the place it moves to.
    bool lastBeforeLoad = false;
};

// True for the choke, Lseries and every other inductor of the circuit.
bool IsInductor(const Part& part);

// C1, C2, Lseries, the output network in signal order and the load. The circuit must
// hold its parts in signal order with the load last of the output chain, as
// BuildCircuit makes it.
std::vector<ChainLink> OutputChain(const Circuit& circuit);

// Where a medium puts each symbol: its width along the rail and where its value's
// label stands from the symbol's left end (in that medium's units), in the middle of
// the chain and just before the load.
struct SymbolPlace {
    int advance;
    int labelDx, labelY;
    int lastLabelDx, lastLabelY;
    // The label of the parallel pair's capacitor.
    int besideLabelDx = 0, besideLabelY = 0;
};

}  // namespace voltra
