// Which fields of the stage a part's value stands in.
#include "engine/part_values.h"

namespace voltra {

std::vector<TrimmablePart> TrimmableParts(const Circuit& circuit)
{
    std::vector<TrimmablePart> parts;
    for (const Part& part : circuit.parts) {
        switch (part.role) {
        case PartRole::C1:
        case PartRole::C2:
        case PartRole::NetworkC:
        case PartRole::NetworkC2:
        case PartRole::TrapC: parts.push_back({part.role, part.name, PartKind::Capacitor}); break;
        case PartRole::Choke:
        case PartRole::Lseries:
        case PartRole::NetworkL:
        case PartRole::NetworkL2:
        case PartRole::TrapL: parts.push_back({part.role, part.name, PartKind::Inductor}); break;
        case PartRole::Load: parts.push_back({part.role, part.name, PartKind::Resistor}); break;
        case PartRole::Supply:
        case PartRole::Switch:
        case PartRole::LoadInductor:
        case PartRole::LoadCapacitor: break;
        }
    }
    return parts;
}

namespace {

double* FieldOf(ClassEStage& stage, PartRole role)
{
    switch (role) {
    case PartRole::Supply: return &stage.supply;
    case PartRole::Choke: return &stage.lchoke;
    case PartRole::Switch: return &stage.ron;
    case PartRole::C1: return &stage.c1;
    case PartRole::C2: return &stage.c2;
    case PartRole::Lseries: return &stage.lseries;
    case PartRole::NetworkL: return &stage.lnetwork;
    case PartRole::NetworkC: return &stage.cnetwork;
    case PartRole::NetworkL2: return &stage.lnetwork2;
    case PartRole::NetworkC2: return &stage.cnetwork2;
    case PartRole::TrapL: return &stage.ltrap;
    case PartRole::TrapC: return &stage.ctrap;
    case PartRole::Load:
    // A mismatched load is studied as a whole, never trimmed: its reactance is no part's.
    case PartRole::LoadInductor:
    case PartRole::LoadCapacitor: break;
    }
    return &stage.load;
}

}  // namespace

void SetPartValue(ClassEStage& stage, PartRole role, double value)
{
    *FieldOf(stage, role) = role == PartRole::C1 ? value + stage.coss : value;
}

void ScalePart(ClassEStage& stage, PartRole role, double factor)
{
    double& field = *FieldOf(stage, role);
    // Only the external C1 has the tolerance; the switch's share stays.
    const double share = role == PartRole::C1 ? field - stage.coss : field;
    field += share * (factor - 1);
}

}  // namespace voltra
