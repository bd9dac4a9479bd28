// Reads the chain off the parts' nodes: a part to ground is a shunt, any other a
// series part, and two rail parts between the same two nodes stand side by side.
#include "engine/circuit_chain.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace voltra {
bool IsInductor(const Part& part) { return part.shape == PartShape::Inductor; }

namespace {

bool IsShunt(ChainSymbol symbol) { return symbol == ChainSymbol::ShuntC || symbol == ChainSymbol::ShuntL; }

bool ToGround(const Part& part) { return std::string_view(part.to) == "0"; }

bool SameNodes(const Part& a, const Part& b)
{
    return std::string_view(a.from) == b.from && std::string_view(a.to) == b.to;
}

}  // namespace

std::vector<ChainLink> OutputChain(const Circuit& circuit)
{
    std::vector<ChainLink> chain;
    const auto first = std::find_if(circuit.parts.begin(), circuit.parts.end(),
                                    [](const Part& p) { return p.role == PartRole::C1; });
    for (auto it = first; it != circuit.parts.end(); ++it) {
        const Part& part = *it;
        if (part.role == PartRole::Load) {
            // Its label moves aside for the load's caption only into a place no shunt of
            // the network two links back already labels (C1, first of all, labels the stage).
            const std::size_t n = chain.size();
            if (n >= 1 && (n < 4 || !IsShunt(chain[n - 3].symbol))) chain.back().lastBeforeLoad = true;
            chain.push_back({ChainSymbol::Load, &part});
            break;
        }
        const bool inductor = IsInductor(part);
        // Only in the rail: across it, everything at one node (a shunt C, the load) is in
        // parallel and still drawn one by one.
        if (const auto next = it + 1;
            !ToGround(part) && next != circuit.parts.end() && next->role != PartRole::Load && SameNodes(part, *next)) {
            chain.push_back({ChainSymbol::ParallelLC, inductor ? &part : &*next, inductor ? &*next : &part});
            ++it;
            continue;
        }
        const ChainSymbol symbol = ToGround(part) ? (inductor ? ChainSymbol::ShuntL : ChainSymbol::ShuntC)
                                                  : (inductor ? ChainSymbol::SeriesL : ChainSymbol::SeriesC);
        chain.push_back({symbol, &part});
    }
    return chain;
}

}  // namespace voltra
