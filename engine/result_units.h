// The SI unit of every part value and every named result of the circuit model, for
// the writers that print numbers without the schematic's formatting.
#pragma once

#include <optional>
#include <string_view>

#include "engine/circuit.h"

namespace voltra {

// V for the supply, H for inductors, F for capacitors, ohm for the switch (its
// on-resistance) and the load.
std::string_view UnitOf(PartRole role);

// The unit of a figure of engine/figure_table.h, by its name: "" for a ratio (the
// efficiency, a fraction). Nothing for a name the table does not know.
std::optional<std::string_view> UnitOfResult(std::string_view name);

}  // namespace voltra
