// Units by part role and by result name: one table each.
#include "engine/result_units.h"

#include <array>
#include <utility>

namespace voltra {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 21> kResultUnits = {{
    {"C1", "F"},
    {"C2", "F"},
    {"Lseries", "H"},
    {"Lnetwork", "H"},
    {"Cnetwork", "F"},
    {"Lnetwork2", "H"},
    {"Cnetwork2", "F"},
    {"Ltrap", "H"},
    {"Ctrap", "F"},
    {"Ltotal", "H"},
    {"Rload", "ohm"},
    {"Idc", "A"},
    {"Rdc", "ohm"},
    {"Vpeak", "V"},
    {"Ipeak", "A"},
    {"Ron", "ohm"},
    {"Efficiency", ""},
    {"Dissipation", "W"},
    {"Choke", "H"},
    {"Period", "s"},
    {"Tj", "°C"},
}};

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
    for (const auto& [known, unit] : kResultUnits)
        if (known == name) return unit;
    return std::nullopt;
}

}  // namespace voltra
