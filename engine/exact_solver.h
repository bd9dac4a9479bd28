// Class E part values that meet the targets on the stage itself, not on the fitted
// equations: Newton's method on C1, C2 and the load resistance until the stage, with
// its switch (duty, fall time, Coss), its choke and its lossy parts as they are,
// delivers the target power with zero drain voltage and zero drain-voltage slope at
// turn-on; Ron follows the saturation voltage at the solved peak current.
#pragma once

#include <cmath>
#include <optional>
#include <string>

#include "engine/circuit.h"
#include "engine/design_record.h"
#include "engine/junction_law.h"
#include "engine/matching_networks.h"
#include "engine/stage_analysis.h"

namespace voltra {

struct ExactTargets {
    double frequency = 0;  // Hz
    double power = 0;      // W into the load (into Rnetwork with the L-network in)
    double supply = 0;     // V
    double ron = 0;        // ohm, switch resistance while on; the start when saturation is set
    // V; when above zero, Ron is the saturation voltage over the solved peak switch
    // current (without the turn-on impulse), found with the solution.
    double saturation = 0;
    double networkQ = 0;   // loaded Q: Lseries = Q · Rload / ω
    double chokeFactor = kDefaultChokeFactor;  // Lchoke = chokeFactor · Lseries
    bool lnetwork = false;
    double rnetwork = 0;   // ohm, the load behind the L-network
    // Which network turns rnetwork into the stage's load, at which loaded Q (not the
    // L-network's, whose Q its resistances fix), and the trap for the second harmonic:
    // all built again from each step's load.
    NetworkKind networkKind = NetworkKind::L;
    double matchingQ = kDefaultMatchingQ;
    bool trap = false;
    double coss = 0;       // F, the switch's own output capacitance, which C1 includes
    // The switch's own capacitance as a junction law (cj0 in F, vj in V); when set, it
    // replaces coss, C1 includes its Cj0, and the external C1 found reaches ZVS with it.
    std::optional<JunctionLaw> cossLaw;
    double duty = 0.5;     // fraction of the period the switch is fully on
    double falltime = 0;   // s, linear fall of the channel current at turn-off
    double inductorQ = INFINITY;
    InductorQualities ownQ;  // inductors with a Q of their own, in place of inductorQ
    double capacitorQ = INFINITY;
};

// Where Newton's method starts, and what a believable solution is measured against:
// the closed-form design.
struct ExactStart {
    double rload = 0;       // ohm
    double c1 = 0;          // F
    double c2 = 0;          // F
    double efficiency = 0;  // the closed form's estimate; 0 when there is none to compare with
};

struct ExactSolution {
    bool valid = false;
    std::string reason;    // why there is no solution, when invalid
    double rload = 0;      // ohm, the resistance the stage works into (the L-network's low or high side)
    ClassEStage stage;     // every part; C1 includes Coss; Ron as solved
    StageFigures figures;  // the solved stage's waveforms
    int iterations = 0;
};

// A solution is believed only when every part is positive and finite, its load lies
// within kLoadFactor of the closed form's, and its efficiency is at least
// kEfficiencyShare of the closed form's estimate with the series branch's part losses
// taken off it (N. O. Sokal, QEX Jan/Feb 2001, Eqs 1 and 2). The published
// finite-feed designs (R = 1.363·Vdd²/P at q = 1.412, 2.4 times the choke-fed load)
// pass; solutions that put the power into a hundredth of an ohm do not.
inline constexpr double kLoadFactor = 4;
inline constexpr double kEfficiencyShare = 0.5;

// A choke factor below this is reached by continuation from it, so the solution is
// the one on the branch that grows out of the closed-form (choke-fed) design.
inline constexpr double kContinuationChokeFactor = kDefaultChokeFactor;

ExactSolution SolveExact(const ExactTargets& targets, const ExactStart& start);

// The highest frequency at which the C1 that Class E needs still holds coss, for the
// same targets otherwise: there the external C1 would be zero. Exact without a fall
// time (C1 then goes as 1/f); with one, the fall's share of the period is taken as it
// is at the targets' frequency. NaN when the targets have no solution or coss is not
// positive.
double HighestFrequencyForCoss(const ExactTargets& targets, const ExactStart& start, double coss);

// The same limit for a switch whose capacitance follows `law`: the frequency at which
// the exact solution with the curve needs no external C1, found by the secant on the
// external C1 the solutions need on either side of it, to kLimitTolerance. The fall
// time stays in seconds, so its share of the period grows with the frequency. NaN
// when the targets, or the solutions near the limit, have no solution.
inline constexpr double kLimitTolerance = 1e-7;
inline constexpr double kLimitSecantStep = 0.01;  // the second point, above the first guess
inline constexpr int kLimitSecantSteps = 12;
double HighestFrequencyForCurve(const ExactTargets& targets, const ExactStart& start, const JunctionLaw& law);

// From a design whose closed-form results are current (after FindAll): Ron starts at
// the saturation voltage over the closed-form peak current and follows the solution.
ExactTargets ExactTargetsOf(const DesignRecord& design, double chokeFactor = kDefaultChokeFactor);
ExactStart ClosedFormStart(const DesignRecord& design);

}  // namespace voltra
