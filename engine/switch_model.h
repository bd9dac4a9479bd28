// The switch as the solver, the verification and the exported schematic all model it:
// Ron while on, the channel current falling linearly over the fall time at turn-off,
// open after, and the series resistances that part quality factors give the network.
#pragma once

#include <cmath>
#include <initializer_list>
#include <numbers>

#include "engine/circuit.h"
#include "engine/steady_state.h"

namespace voltra {

// The switch's on-time as a fraction of the period. The closed-form fits assume a half.
inline constexpr double kDefaultDuty = 0.5;
inline constexpr double kMinDuty = 0.25;
inline constexpr double kMaxDuty = 0.75;

// Each period starts with the switch closing (t = 0); it is fully on until D·T, where
// the fall begins: the channel current falls linearly from its turn-off value to zero
// over the fall time (the turn-off model behind N. O. Sokal's fall-time loss estimate,
// "Class-E RF Power Amplifiers", QEX Jan/Feb 2001, Eq 2), and the switch is open from
// D·T + tf to T.
inline double FallStart(const Circuit& c) { return c.duty / static_cast<double>(c.frequency); }

// The fall must end before the switch closes again: tf < (1 − D)·T.
inline bool FallFits(const Circuit& c)
{
    const double offTime = (1 - c.duty) / static_cast<double>(c.frequency);
    return std::isfinite(offTime) && c.falltime >= 0 && static_cast<double>(c.falltime) < offTime;
}

// A switch still falling when it should close again is no Class E switch: the supply
// figures, which assume it turns off within its off-time, stand invalid.
inline constexpr const char* kFallTooLong = "the fall time is longer than the switch's off-time";

inline void RefuseUnfitFall(Circuit& c)
{
    if (FallFits(c)) return;
    for (Result* figure : {&c.efficiency, &c.idc, &c.rdc, &c.dissipation}) Invalidate(*figure, kFallTooLong);
}

// Ohm in series with a part of the given role and value: ωL/QL for every inductor (its
// winding's Q where the circuit takes that),
// 1/(ωC·QC) for every capacitor (the external C1 among them; the switch's own Coss has
// none), zero for every other part and wherever the quality factor is infinite.
inline double SeriesResistance(PartRole role, double value, const Circuit& c)
{
    const double omega = 2 * std::numbers::pi * static_cast<double>(c.frequency);
    switch (role) {
    case PartRole::Choke:
    case PartRole::Lseries:
    case PartRole::NetworkL:
    case PartRole::NetworkL2:
    case PartRole::TrapL: {
        const double q = InductorQOf(c, role);
        return std::isinf(q) ? 0.0 : omega * value / q;
    }
    case PartRole::C1:
    case PartRole::C2:
    case PartRole::NetworkC:
    case PartRole::NetworkC2:
    case PartRole::TrapC: return std::isinf(c.capacitorQ) ? 0.0 : 1 / (omega * value * c.capacitorQ);
    case PartRole::Supply:
    case PartRole::Switch:
    case PartRole::Load:
    case PartRole::LoadInductor:
    case PartRole::LoadCapacitor: break;
    }
    return 0.0;
}

// Ohm across a part: only a series capacitor that leaves an island of capacitors without
// a DC path has one, its leak of kLoadCapacitorLeak times its reactance
// (engine/steady_state.h says why): a mismatched load's series capacitor, and the
// tapped-C's series capacitor where its shunt capacitor faces the stage. Infinite for
// every other part.
inline double LeakResistance(PartRole role, double value, const Circuit& c)
{
    const bool island = role == PartRole::LoadCapacitor ||
                        (role == PartRole::NetworkC && c.network == NetworkLayout::TappedCShuntCFirst);
    if (!island) return INFINITY;
    return kLoadCapacitorLeak / (2 * std::numbers::pi * static_cast<double>(c.frequency) * value);
}

}  // namespace voltra
