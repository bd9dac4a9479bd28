// Units by part role, and by result name from the table of figures.
#include "engine/result_units.h"

#include "engine/figure_table.h"

namespace voltra {
namespace {


}  // namespace

std::string_view UnitOf(PartRole role)
{
    switch (role) {
    case PartRole::Supply: return "V";
    case PartRole::Choke:
    case PartRole::Lseries:
    case PartRole::NetworkL:
    case PartRole::NetworkL2:
    case PartRole::TrapL:
    case PartRole::LoadInductor: return "H";
    case PartRole::C1:
    case PartRole::C2:
    case PartRole::NetworkC:
    case PartRole::NetworkC2:
    case PartRole::TrapC:
    case PartRole::LoadCapacitor: return "F";
    case PartRole::Switch:
    case PartRole::Load: break;
    }
    return "ohm";
}

std::optional<std::string_view> UnitOfResult(std::string_view name)
{
    for (const FigureRow& row : Figures())
        if (row.name == name) return row.unit;
    return std::nullopt;
}

}  // namespace voltra
