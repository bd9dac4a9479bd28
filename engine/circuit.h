// The amplifier as it is drawn, printed, exported and simulated: one list of parts
// with their values, nodes and standing, built once from a calculated design.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/design_record.h"
#include "engine/harmonics.h"
#include "engine/inductor_qualities.h"
#include "engine/junction_law.h"
#include "engine/network_layout.h"
#include "engine/result_status.h"
#include "engine/standard_values.h"

namespace voltra {

// The feed choke as a multiple of the series inductor, as exported: large enough to
// carry a nearly pure DC current at the operating frequency.
inline constexpr double kDefaultChokeFactor = 10.0;

// The longest time step, as a fraction of the period, that a simulation of the
// circuit takes: the schematic file asks it of LTspice, and the built-in verification
// of ngspice.
inline constexpr double kSimulationStepsPerPeriod = 200.0;

// The same for an on-time of `duty`. Above half the period the drain pulse narrows to
// (1 - D)·T and grows taller, and the trapezoidal rule's error in it goes with the
// square of the step: at duty 0.75 and Q 41, T/200 put the drain 12 % of the supply
// below ground at turn-on, T/400 3 %, T/800 0.7 %. So the steps per period grow with
// the square of the narrowing, T/800 at duty 0.75; at 0.5 and below they stay T/200.
inline constexpr double SimulationStepsPerPeriod(double duty)
{
    const double narrowing = duty > 0.5 ? 2 * (1 - duty) : 1.0;
    return kSimulationStepsPerPeriod / (narrowing * narrowing);
}

// LoadInductor and LoadCapacitor stand only in a circuit whose load is mismatched: the
// reactance in series with the load resistor, between the output port and the load.
// NetworkL2 and NetworkC2 are the third parts of the Pi, T and tapped-C networks; TrapL
// and TrapC the parallel trap for the second harmonic.
enum class PartRole {
    Supply, Choke, Switch, C1, C2, Lseries, NetworkL, NetworkC, Load, LoadInductor, LoadCapacitor,
    NetworkL2, NetworkC2, TrapL, TrapC
};

// What a part is, for the media that draw it from a table of symbols; whether it is in
// series or a shunt follows from its nodes ("0" is ground).
enum class PartShape { Source, Switch, Inductor, Capacitor, Resistor };

struct Part {
    PartRole role;
    const char* name;  // instance name in the schematic file and the netlist
    Result value;      // V, H, ohm (the switch's on-resistance), F
    const char* from;  // node nearer the supply and the drain
    const char* to;    // node nearer the load; "0" is ground
    PartShape shape = PartShape::Resistor;
};

// One entry of the loss budget: a part by its instance name and what heats it.
struct Loss {
    const char* part;   // "S1", "L1", ...
    const char* cause;  // kConductionLoss, kFallLoss, kDischargeLoss, kSeriesResistanceLoss, kWindingLoss
                        // or kGateDriveLoss
    Result watts;
    // False for the gate drive: its power comes from the driver's own supply, so it is
    // no part of the drain supply's power less the output power.
    bool fromSupply = true;
};
inline constexpr const char* kConductionLoss = "conduction in Ron";
inline constexpr const char* kFallLoss = "turn-off fall";
inline constexpr const char* kDischargeLoss = "C1 discharge at turn-on";
inline constexpr const char* kSeriesResistanceLoss = "series resistance";
// An inductor's series resistance from its own winding's estimated Q.
inline constexpr const char* kWindingLoss = "winding";
inline constexpr const char* kGateDriveLoss = "gate drive";

// What a part must withstand.
struct PartStress {
    PartRole role;
    const char* part;      // instance name
    Result peakVoltage;    // V, highest |voltage| across it
    Result rmsCurrent;     // A
    Result reactivePower;  // var, inductors and capacitors only (0 for the others):
                           // ωL·Iac,rms² or Irms²/(ωC), the V·I of a sinusoid
};

// A part value taken from the search for the best standard parts instead of rounding
// the part alone: one standard part, or two capacitors in parallel.
struct AcceptedPart {
    PartRole role;
    float first = 0;   // F or H, a standard value
    float second = 0;  // F, the parallel trimming capacitor; 0 for a single part
    // The part's value: the two in parallel, summed in double and stored as the
    // circuit stores every value.
    float Value() const { return static_cast<float>(static_cast<double>(first) + second); }
    bool operator==(const AcceptedPart&) const = default;
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

    // How the values were found: the exact solver instead of the closed-form fits,
    // and the standard series the parts were rounded to.
    bool exact = false;
    std::optional<ESeries> series;
    // Not empty: these parts carry the values the user accepted from the search for the
    // best combination of standard parts, not each part's own nearest standard value.
    std::vector<AcceptedPart> accepted;
    // The figures come from an analysis of the circuit itself (exact or rounded): then
    // the output power and the drain voltage at turn-on are its own, not the targets'.
    bool analysed = false;
    Result pout = NotComputed();           // W
    Result turnOnPercent = NotComputed();  // drain voltage as the switch closes, % of the supply
    // Where the switch's own capacitance alone is more than C1 must be: the highest
    // frequency at which it still reaches Class E at this supply and power.
    float cossLimitFrequency = NAN;  // Hz

    // The switch model of engine/switch_model.h and the part losses around it.
    double duty = 0.5;               // fraction of the period the switch is fully on
    float coss = 0;                  // F, the switch's own capacitance, drain to ground;
                                     // C1's part value is the external rest
    // The switch's own capacitance as its device's junction law when a device is
    // chosen; coss then holds the single value the closed-form design takes off C1.
    std::optional<JunctionLaw> cossLaw;
    double inductorQ = INFINITY;     // series resistance of every inductor: ωL / Q
    InductorQualities windingQ;      // but these, each its winding's estimated Q
    double capacitorQ = INFINITY;    // series resistance of every capacitor: 1/(ωC·Q)
    bool switchModel = false;        // true: the schematic file carries that switch model
                                     // (exact design); false: the plain switch and gate

    // Where the power goes, from the solved waveform of an analysed circuit (empty
    // otherwise): watts per cause and part, summing to the supply power less the
    // output power.
    std::vector<Loss> losses;
    // Stresses of every part from the same waveform (empty when not analysed), in
    // circuit order; the supply and the load carry their voltage and current too.
    std::vector<PartStress> stresses;
    // The switch closing on charge C1 still holds: the current impulse through Ron
    // (its peak, which Ipeak leaves out) and the energy it dissipates each period.
    Result dischargePeakCurrent = NotComputed();  // A
    Result dischargeEnergy = NotComputed();       // J

    // Harmonics 2 to kHarmonics of the load voltage below its fundamental, from the
    // solved waveform of an analysed circuit (empty otherwise).
    std::vector<Harmonic> harmonics;

    // °C, the switch's junction temperature on its heat sink; only with a chosen device.
    std::optional<Result> tj;

    const Part& Get(PartRole role) const;
    Part& Get(PartRole role);
    bool Has(PartRole role) const;
    // The part's value; 0 where the circuit has no such part.
    float ValueOf(PartRole role) const;
    // The part values and figures the design stands on, by name, in the order the
    // reports list them: those of engine/figure_table.h that stop the export when
    // invalid, computed ones only.
    std::vector<std::pair<const char*, Result>> NamedResults() const;
};

// The estimated Q of an inductor's winding where the circuit takes it; none otherwise.
std::optional<double> WindingQOf(const Circuit& circuit, PartRole role);
// The quality factor of an inductor of the circuit: its winding's where the circuit
// takes that, the one inductorQ otherwise; infinite for a part that is no inductor.
double InductorQOf(const Circuit& circuit, PartRole role);

// The network layout a calculated design needs.
NetworkLayout LayoutOf(const DesignRecord& calculated);

// The matching network and the trap as built: the layout and its part values (H and F
// in the roles engine/matching_networks.h gives them), or why there is no such network.
struct NetworkParts {
    NetworkLayout layout = NetworkLayout::None;
    float lnetwork = 0, cnetwork = 0, lnetwork2 = 0, cnetwork2 = 0;
    bool trap = false;
    float ltrap = 0, ctrap = 0;
    std::string refusal;
};

// The L-network of a design after FindLnetwork, as the record holds it.
NetworkParts LNetworkOf(const DesignRecord& calculated);

// Builds the circuit of a design after FindAll and FindLnetwork, and decides the
// standing of every result; the feed choke is chokeFactor times Lseries.
Circuit BuildCircuit(const DesignRecord& calculated, double chokeFactor = kDefaultChokeFactor);
// The same with the network and trap given: the record's own L-network is not read.
Circuit BuildCircuit(const DesignRecord& calculated, double chokeFactor, const NetworkParts& network);

// True when nothing in the circuit is invalid: it may be exported and printed.
bool AllUsable(const Circuit& circuit);

// The reasons the circuit's figures are questioned (drawn red but still usable), each
// once, in the order the sheet prints the figures: what the sheet, the schematic file
// and the verification say beside the numbers.
std::vector<std::string> QuestionedReasons(const Circuit& circuit);

}  // namespace voltra
