// Where the printed schematic's output chain stands on the page: each link's symbol
// start, and the places of its values, from one table of symbols.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/circuit_chain.h"

namespace voltra {

// Page units: the gate drive and the switch start here; the chain, C1 first, starts
// one drain-node length to the right.
inline constexpr std::int16_t kSchematicStartX = 5000;
inline constexpr std::int16_t kSchematicStartY = 3000;
inline constexpr std::int16_t kAfterDrainNode = 700;

struct SheetLink {
    ChainLink link;
    std::int16_t x;    // page units, where the symbol starts on the signal line
    std::int16_t end;  // and where it ends there
};

std::vector<SheetLink> SheetChain(const Circuit& circuit);
// The top-left corner of a network part's value: the link's part, or with `beside`
// its parallel pair's capacitor.
struct PagePoint {
    int x;
    int y;
};
PagePoint SheetValueAnchor(const SheetLink& placed, bool beside = false);

// A chain longer than the L-network's (a Pi or a T with the trap) would run the load's
// caption off the page. The schematic and its values are then drawn smaller, about
// the schematic's top-left corner (the left column of the drain's figures), by this
// factor; 1 for every chain that fits.
inline constexpr int kSchematicLeft = 2800;
inline constexpr int kSchematicTop = 0;
// The page's right edge less a margin, and the room right of the load's symbol its
// caption and value take ("Rload:", "50 ohms" at 10 pt, 500 units on).
inline constexpr int kSheetRight = 11800;
inline constexpr int kLoadValueRoom = 1400;
double SheetSchematicScale(const std::vector<SheetLink>& chain);

}  // namespace voltra
