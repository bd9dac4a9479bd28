// The loss budget and the part stresses of an analysed circuit in words: one compact
// line for the design screen, and the rows of the tables that the sheet, the parts
// window and the verification window show.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/circuit.h"

namespace voltra {

// Watts by cause: what heats the switch and what heats the other parts.
struct LossTotals {
    double conduction = 0;  // in Ron while on
    double fall = 0;        // turn-off overlap
    double discharge = 0;   // C1 discharged through the closing switch
    double parts = 0;       // series resistances of the inductors and capacitors
    double total = 0;       // all of the above: the drain supply's power less the output power
    double gateDrive = 0;   // from the driver's own supply, outside the total
    bool usable = true;     // false when any entry is invalid
};

LossTotals TotalLosses(const Circuit& circuit);

// "Losses 1.46 W: Ron 980 mW, fall 410 mW, C1 discharge 0 W, parts 70 mW"; empty when
// the circuit carries no budget (the closed-form design, which is not analysed). With
// a device's gate charge the line ends "; gate drive 120 mW from the driver".
std::string LossSummaryLine(const Circuit& circuit);
// The same in two lines, for a page's width: the drain supply's losses, and the gate
// drive apart ("Gate drive 120 mW, from the driver"; empty without one).
std::string DrainLossLine(const Circuit& circuit);
std::string GateDriveLine(const Circuit& circuit);

struct TableRow {
    std::vector<std::string> cells;
    bool red = false;  // a value short of valid
};

inline constexpr std::array<const char*, 4> kLossColumns = {"Part", "Cause", "Power", "Share of Pin"};
inline constexpr std::array<const char*, 5> kStressColumns = {"Part", "Peak voltage", "Peak current", "RMS current",
                                                              "Reactive power"};

// One row per entry of the budget (lossless parts left out), then the total against the supply power less the
// output power.
std::vector<TableRow> LossRows(const Circuit& circuit);
// One row per part; the peak current is the switch's, without the discharge impulse.
std::vector<TableRow> StressRows(const Circuit& circuit);
// The switch's peak current with the C1 discharge impulse at turn-on, which the stress
// table's peak current leaves out, and the energy discharged; empty without stresses.
std::string ImpulseLine(const Circuit& circuit);

}  // namespace voltra
