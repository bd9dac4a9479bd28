// The amplifier as it is drawn, printed, exported and simulated: one list of parts
// with their values, nodes and standing, built once from a calculated design.
#pragma once

#include <utility>
#include <vector>

#include "engine/design_record.h"
#include "engine/result_status.h"

namespace voltra {

// The feed choke as a multiple of the series inductor, as exported: large enough to
// carry a nearly pure DC current at the operating frequency.
inline constexpr double kDefaultChokeFactor = 10.0;

enum class PartRole { Supply, Choke, Switch, C1, C2, Lseries, NetworkL, NetworkC, Load };

// Where the L-network stands: none (option off, or Rload already equals the network
// resistance, so there is nothing to transform), or which of its parts faces the stage.
enum class NetworkLayout { None, SeriesLFirst, ShuntCFirst };

struct Part {
    PartRole role;
    const char* name;  // instance name in the schematic file and the netlist
    Result value;      // V, H, ohm (the switch's on-resistance), F
    const char* from;  // node nearer the supply and the drain
    const char* to;    // node nearer the load; "0" is ground
};

struct Circuit {
    float frequency = 0;  // Hz, the gate drive
    float falltime = 0;   // s, the edges of the gate drive
    Result period;        // s
    NetworkLayout network = NetworkLayout::None;
    // Supply, choke, switch, C1, C2, Lseries, the network in signal order, load.
    std::vector<Part> parts;
    // The open switch must not load the drain: far above the Class E load.
    float roff = 0;  // ohm
    Result rload;    // ohm, the Class E load (the network's input when it is in)
    Result vpeak, ipeak, idc, rdc, efficiency;
    // W, supply power less output power: what the switch turns into heat, the figure
    // that sizes its heat sink. It stands or falls with the efficiency.
    Result dissipation;
    // Lseries plus the network's inductor, noted with the network; the screen and the
    // sheet show it where the two stand in series.
    Result ltotal;

    const Part& Get(PartRole role) const;
    bool Has(PartRole role) const;
    // Every part value and figure that the screen, the sheet or the export shows, by
    // name, in the order the sheet prints them.
    std::vector<std::pair<const char*, Result>> NamedResults() const;
};

// The network layout a calculated design needs.
NetworkLayout LayoutOf(const DesignRecord& calculated);

// Builds the circuit of a design after FindAll and FindLnetwork, and decides the
// standing of every result.
Circuit BuildCircuit(const DesignRecord& calculated);

// True when nothing in the circuit is invalid: it may be exported and printed.
bool AllUsable(const Circuit& circuit);

}  // namespace voltra
