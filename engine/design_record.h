// The one design Voltra works on: six targets, the L-network option and the Class E
// results, with the start-up values and every input limit.
#pragma once

#include <array>

namespace voltra {

// All numbers are single precision in SI base units; prefixes exist only in text.
struct DesignRecord {
    // Targets the engineer types.
    float Frequency = 0;   // Hz, operating frequency
    float Power = 0;       // W, RF output power into the load
    float Supply = 0;      // V, DC supply (shown as "Vsupply: ")
    float Saturation = 0;  // V, on-state voltage of the switch
    float NetworkQ = 0;    // loaded Q of the series output network
    float Falltime = 0;    // s, fall time of the switch current at turn-off

    // L-network option and the resistance it transforms Rload into.
    float Rnetwork = 0;      // ohm
    bool LnetState = false;  // never saved

    // Results, written only by the equations; never saved.
    float Rload = 0;       // ohm, Class E load resistance
    float Lseries = 0;     // H, series inductor of the output network
    float C1 = 0;          // F, shunt capacitor across the switch
    float C2 = 0;          // F, series capacitor of the output network
    float Vpeak = 0;       // V, peak switch voltage
    float Ipeak = 0;       // A, peak switch current
    float Efficiency = 0;  // fraction, drain efficiency with fall-time and saturation losses
    float Idc = 0;         // A, DC supply current
    float Lnetwork = 0;    // H, series inductor of the L-network
    float Cnetwork = 0;    // F, shunt capacitor of the L-network

    float Pi = 0;  // 3.1415927 once StartupValues has run
};

// Start-up targets: a 50 W, 4 MHz stage from 24 V with a 1 V switch.
inline constexpr float kDefaultFrequency = 4e6f;
inline constexpr float kDefaultSupply = 24.0f;
inline constexpr float kDefaultSaturation = 1.0f;
inline constexpr float kDefaultPower = 50.0f;
inline constexpr float kDefaultNetworkQ = 5.0f;
inline constexpr float kDefaultFalltime = 1e-9f;

// Stores Pi and gives every target still at zero its default.
void StartupValues(DesignRecord& design);

// The six targets, in the order of the entry row on the design screen.
enum class Target { Frequency, Power, Supply, Saturation, NetworkQ, Falltime };
inline constexpr std::array<Target, 6> kTargets = {Target::Frequency, Target::Power,    Target::Supply,
                                                   Target::Saturation, Target::NetworkQ, Target::Falltime};

float& TargetField(DesignRecord& design, Target target);
float TargetField(const DesignRecord& design, Target target);

// Limits of typed entry and stepping. A value below `below` becomes `belowBecomes`,
// one above `above` becomes `aboveBecomes` (5000 V for a saturation above 50000 V,
// so an absurd entry lands on the largest value that still recalculates). The
// design is recalculated only while the stored value lies in [recalcLow, recalcHigh].
struct EntryLimits {
    float below;
    float belowBecomes;
    float above;
    float aboveBecomes;
    float recalcLow;
    float recalcHigh;
};

// Indexed by Target. The frequency has no upper clamp of its own: the parser never
// delivers more than 1e10.
inline constexpr std::array<EntryLimits, 6> kEntryLimits = {{
    {100.0f, 100.0f, 1e10f, 1e10f, 1000.0f, 1e10f},              // Frequency, Hz
    {0.01f, 0.01f, 1e6f, 1e6f, 0.01f, 1e6f},                      // Power, W
    {1.0f, 1.0f, 50000.0f, 50000.0f, 1.0f, 50000.0f},             // Supply, V
    {0.001f, 0.001f, 50000.0f, 5000.0f, 0.001f, 5000.0f},         // Saturation, V
    {1.8f, 1.8f, 10000.0f, 10000.0f, 1.8f, 10000.0f},             // NetworkQ
    {1e-10f, 1e-10f, 1e-4f, 1e-4f, 1e-10f, 1e-4f},                // Falltime, s
}};

// A supply not above the saturation voltage is lifted just above it, so the switch
// always has some voltage to swing.
inline constexpr double kSupplyAboveSaturation = 0.001;

// Network resistance accepted from its box, and the clamp the L-network applies.
inline constexpr float kRnetworkMin = 0.01f;
inline constexpr float kRnetworkMax = 10000.0f;
inline constexpr const char* kRnetworkFirstText = "50";
// The network resistance in effect for an entered one.
float ClampRnetwork(float entered);
// An entered network resistance the box takes as it stands; any other is clamped.
bool RnetworkAccepted(float entered);

// Limits applied when the design screen loads, before each target is written
// into its box. Tighter than typed entry: a design that comes back from a file
// opens inside the range the equations were fitted for.
struct LoadLimits {
    float low;
    float high;
};
inline constexpr std::array<LoadLimits, 6> kLoadLimits = {{
    {10000.0f, 1e10f},     // Frequency
    {1.0f, 1e6f},          // Power
    {1.0f, 50000.0f},      // Supply
    {0.001f, 5000.0f},     // Saturation
    {1.8f, 10000.0f},      // NetworkQ
    {1e-9f, 1e-5f},        // Falltime
}};

// The typed value after the box's clamps. The supply clamp reads the present saturation.
float ClampEntry(Target target, float entered, float saturation);
bool InRecalcRange(Target target, float stored);
float ClampOnLoad(Target target, float value);

// One arrow press: the field times or divided by 1.01, stored as single.
inline constexpr double kStepFactor = 1.01;
float StepValue(float value, int direction);

}  // namespace voltra
