// The matching networks between the Class E load and the real load, and the trap for
// the second harmonic, as reactances at the switching frequency: the one home of their
// formulas for the closed-form design, the exact solver and the circuit.
#pragma once

#include <string>

#include "engine/network_layout.h"

namespace voltra {

// The matching network's loaded Q when the engineer names none: Bowick's worked Pi and
// T examples take Q from 5 to 10; 5 keeps the network's own loss small.
inline constexpr double kDefaultMatchingQ = 5;

// The lossless low-pass L-section between `low` and `high` ohm: the series inductor's
// reactance on the low side and the shunt capacitor's on the high side.
struct LSection {
    double series = 0;  // ohm, ωL
    double shunt = 0;   // ohm, 1/(ωC)
};
LSection LSectionFor(double low, double high);
// The shunt capacitor's reactance for a given series reactance: Rlow·Rhigh / Xs (the
// closed-form design takes it from its single-precision Xs).
double LSectionShunt(double low, double high, double series);

// A network's parts as positive reactances at the switching frequency, ωL of each
// inductor and 1/(ωC) of each capacitor, in the roles the circuit gives them:
//   L:        lnetwork series, cnetwork shunt
//   Pi:       cnetwork the stage-side shunt, lnetwork the series, cnetwork2 the load-side shunt
//   T:        lnetwork the stage-side series, cnetwork the shunt, lnetwork2 the load-side series
//   tapped-C: lnetwork the shunt at the high-resistance side, cnetwork the series Ca,
//             cnetwork2 the shunt Cb at the low-resistance side
// `refusal` not empty: no such network at this Q for these resistances, and why.
struct NetworkReactances {
    NetworkLayout layout = NetworkLayout::None;
    double lnetwork = 0, cnetwork = 0, lnetwork2 = 0, cnetwork2 = 0;  // ohm
    std::string refusal;
};

// The network of `kind` that turns `rnetwork` into `rstage` with the loaded Q `q` (the
// L-network has the one Q its resistances give and takes no `q`). The L-network at
// equal resistances has nothing to transform (layout None); the Pi and T there are
// plain low-pass filters; the tapped-C needs its series capacitor's reactance
// Rs·(Q − Qp) above zero, so the resistances must differ.
NetworkReactances MatchingNetwork(NetworkKind kind, double rstage, double rnetwork, double q);

// The lowest Q a Pi, T or tapped-C network can have between these resistances: the
// L-section's own, sqrt(Rhigh/Rlow − 1).
double LowestMatchingQ(double rstage, double rnetwork);

// The parallel L-C trap in series with the load path, resonant at twice the switching
// frequency: ωLt equals the Class E load, a notch broad enough (its Q against the load
// is Rload / (2ωLt) = 1/2) that part tolerances keep the second harmonic blocked, while
// its reactance at the fundamental, (4/3)·ωLt, stays small beside the series branch's
// QL·Rload. Reactances at the switching frequency.
struct TrapReactances {
    double inductor = 0;   // ohm, ωLt
    double capacitor = 0;  // ohm, 1/(ωCt) = 4·ωLt
};
TrapReactances TrapFor(double rload);

// The trap is a parallel tank below its resonance at the fundamental: an inductive
// reactance of ωLt / (1 − (f/2f)²) = (4/3)·ωLt.
double TrapReactanceAtFundamental(const TrapReactances& trap);

// C2's reactance 1/(ωC2') once it absorbs the trap's inductive reactance at f, so the
// series branch's net reactance at f is unchanged: 1/(ωC2') = 1/(ωC2) + (4/3)·ωLt.
double AbsorbTrap(double c2Reactance, const TrapReactances& trap);

}  // namespace voltra
