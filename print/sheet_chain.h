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
    std::int16_t x;  // page units, where the symbol starts on the signal line
};

std::vector<SheetLink> SheetChain(const Circuit& circuit);
// The top-left corner of a network part's value: the link's part, or with `beside`
// its parallel pair's capacitor.
struct PagePoint {
    int x;
    int y;
};
PagePoint SheetValueAnchor(const SheetLink& placed, bool beside = false);

}  // namespace voltra
