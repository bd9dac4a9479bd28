// A design's Class E stage as netlist lines, the parts and switch model the
// LTspice export writes, from the core's own numbers: the circuit that the
// simulation tests and the benchmark run.
#pragma once

#include <array>
#include <charconv>
#include <string>

#include "engine/equations.h"
#include "simulation/simulator.h"

namespace voltra {

// As the export: a choke of ten times Lseries, Ron that drops the saturation
// voltage at Ipeak, and a gate drive of 0 to 12 V into a 3.5 V threshold.
inline constexpr double kTestChokeFactor = 10.0;
inline constexpr double kTestSwitchThreshold = 3.5;

inline std::string SpiceNumber(double value)
{
    std::array<char, 32> text{};
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), end);
}

inline DesignRecord StartupDesignWithQ(float networkQ)
{
    DesignRecord design;
    StartupValues(design);
    design.NetworkQ = networkQ;
    FindAll(design);
    return design;
}

inline SimulationRequest ClassERequest(const DesignRecord& d)
{
    const float period = 1.0f / d.Frequency;
    const float ron = d.Saturation / d.Ipeak;
    const float choke = static_cast<float>(kTestChokeFactor * d.Lseries);
    const std::string fall = SpiceNumber(d.Falltime);
    std::string circuit;
    for (const std::string& line : {
             "Vbattery supply 0 " + SpiceNumber(d.Supply),
             "L1 supply drain " + SpiceNumber(choke),
             std::string("S1 drain swsrc gate 0 MySwitch"),
             std::string("Vswitch swsrc 0 0"),
             "C1 drain 0 " + SpiceNumber(d.C1),
             "C2 drain series " + SpiceNumber(d.C2),
             "L2 series load " + SpiceNumber(d.Lseries),
             "RLoad load 0 " + SpiceNumber(d.Rload),
             "Vgen gsrc 0 PULSE(0 12 0 " + fall + " " + fall + " " +
                 SpiceNumber(static_cast<double>(period) * 0.5 - d.Falltime) + " " + SpiceNumber(period) + ")",
             std::string("Rgen gsrc gate 10"),
             ".model MySwitch SW(Ron=" + SpiceNumber(ron) + " Roff=10000 Vt=3.5 Vh=0)",
         })
        circuit += line + "\n";
    SimulationRequest request;
    request.circuit = circuit;
    request.frequency = d.Frequency;
    request.supply = d.Supply;
    request.loadResistance = d.Rload;
    request.switchThreshold = kTestSwitchThreshold;
    return request;
}

}  // namespace voltra
