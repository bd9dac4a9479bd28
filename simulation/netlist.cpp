// Netlist lines from the circuit model's parts and nodes, so the simulator runs
// exactly the single-precision values the screen shows.
#include "simulation/netlist.h"

#include <array>
#include <charconv>

namespace voltra {
namespace {

// Gate drive 0 to 12 V into a 10 ohm source resistance; the switch turns on above
// 3.5 V with no hysteresis, as in the schematic file.
constexpr double kGateHigh = 12;
constexpr double kGeneratorResistance = 10;
constexpr double kSwitchThreshold = 3.5;

std::string ElementLine(const Part& part)
{
    return std::string(part.name) + " " + part.from + " " + part.to + " " + NetlistNumber(part.value.value);
}

}  // namespace

std::string NetlistNumber(double value)
{
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::general, 9).ptr;
    return std::string(text.data(), end);
}

SimulationRequest RequestFor(const Circuit& circuit)
{
    const double period = circuit.period.value;
    const double fall = circuit.falltime;
    std::string lines;
    const auto add = [&lines](const std::string& line) { lines += line + "\n"; };
    for (const Part& part : circuit.parts) {
        if (part.role != PartRole::Switch) {
            add(ElementLine(part));
            continue;
        }
        // The switch's own current is what its peak rating must carry: a zero-volt
        // source in its source lead measures it.
        add(std::string(part.name) + " " + part.from + " swsrc gate 0 MySwitch");
        add("Vswitch swsrc 0 0");
        add(".model MySwitch SW(Ron=" + NetlistNumber(part.value.value) + " Roff=" + NetlistNumber(circuit.roff) +
            " Vt=" + NetlistNumber(kSwitchThreshold) + " Vh=0)");
    }
    add("Vgen gsrc 0 PULSE(0 " + NetlistNumber(kGateHigh) + " 0 " + NetlistNumber(fall) + " " + NetlistNumber(fall) + " " +
        NetlistNumber(period * 0.5 - fall) + " " + NetlistNumber(period) + ")");
    add("Rgen gsrc gate " + NetlistNumber(kGeneratorResistance));

    SimulationRequest request;
    request.circuit = lines;
    request.frequency = circuit.frequency;
    request.supply = circuit.ValueOf(PartRole::Supply);
    request.loadResistance = circuit.ValueOf(PartRole::Load);
    request.switchThreshold = kSwitchThreshold;
    return request;
}

}  // namespace voltra
