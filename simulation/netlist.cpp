// Netlist lines from the circuit model's parts and nodes, so the simulator runs
// exactly the single-precision values the screen shows, with the switch model the
// solver solves and the schematic file exports.
#include "simulation/netlist.h"

#include <cmath>

#include "engine/switch_model.h"
#include "files/spice_switch.h"

namespace voltra {
namespace {

std::string ElementLine(const char* name, const std::string& from, const std::string& to, double value)
{
    return std::string(name) + " " + from + " " + to + " " + NetlistNumber(value);
}

// A part with its quality factor's series resistance "R<name>" on its far side, and
// its leak "R<name>leak" across it where it has one.
void AddPart(std::string& lines, const Part& part, const Circuit& circuit)
{
    const double value = part.value.value;
    const double leak = LeakResistance(part.role, value, circuit);
    if (std::isfinite(leak))
        lines += ElementLine(("R" + std::string(part.name) + "leak").c_str(), part.from, part.to, leak) + "\n";
    const double resistance = SeriesResistance(part.role, value, circuit);
    if (resistance > 0) {
        const std::string inner = std::string("esr_") + part.name;
        lines += ElementLine(part.name, part.from, inner, value) + "\n";
        lines += ElementLine(("R" + std::string(part.name)).c_str(), inner, part.to, resistance) + "\n";
        return;
    }
    lines += ElementLine(part.name, part.from, part.to, value) + "\n";
}

}  // namespace

std::string NetlistNumber(double value) { return SpiceNumber(value); }

SimulationRequest RequestFor(const Circuit& circuit)
{
    std::string lines;
    for (const Part& part : circuit.parts) {
        if (part.role != PartRole::Switch) {
            AddPart(lines, part, circuit);
            continue;
        }
        for (const std::string& line : SwitchModelLines(circuit)) lines += line + "\n";
    }

    SimulationRequest request;
    request.circuit = lines;
    request.frequency = circuit.frequency;
    request.supply = circuit.ValueOf(PartRole::Supply);
    request.loadResistance = circuit.ValueOf(PartRole::Load);
    request.duty = circuit.duty;
    request.falltime = circuit.falltime;
    request.shuntCapacitance = static_cast<double>(circuit.ValueOf(PartRole::C1)) + circuit.coss;
    return request;
}

}  // namespace voltra
