// Class E part values that meet the targets on the ideal stage itself, not on the
// fitted equations: Newton's method on C1, C2 and the load resistance until the
// stage delivers the target power with zero drain voltage and zero drain-voltage
// slope at turn-on, the choke finite and the switch resistive.
#pragma once

#include <string>

#include "engine/circuit.h"
#include "engine/design_record.h"
#include "engine/stage_analysis.h"

namespace voltra {

struct ExactTargets {
    double frequency = 0;  // Hz
    double power = 0;      // W into the load (into Rnetwork with the L-network in)
    double supply = 0;     // V
    double ron = 0;        // ohm, switch resistance while on
    double networkQ = 0;   // loaded Q: Lseries = Q · Rload / ω
    double chokeFactor = kDefaultChokeFactor;  // Lchoke = chokeFactor · Lseries
    bool lnetwork = false;
    double rnetwork = 0;   // ohm, the load behind the L-network
    double minC1 = 0;      // F, the switch's own output capacitance, which C1 includes
};

// Where Newton's method starts: the closed-form design.
struct ExactStart {
    double rload = 0;  // ohm
    double c1 = 0;     // F
    double c2 = 0;     // F
};

struct ExactSolution {
    bool valid = false;
    std::string reason;    // why there is no solution, when invalid
    double rload = 0;      // ohm, the resistance the stage works into (the L-network's low or high side)
    ClassEStage stage;     // every part; C1 includes minC1
    StageFigures figures;  // the solved stage's waveforms
    int iterations = 0;
};

ExactSolution SolveExact(const ExactTargets& targets, const ExactStart& start);

// The highest frequency at which the C1 that Class E needs still holds coss, for the
// same targets otherwise: there the external C1 would be zero. NaN when the targets
// have no solution or coss is not positive.
double HighestFrequencyForCoss(const ExactTargets& targets, const ExactStart& start, double coss);

// From a design whose closed-form results are current (after FindAll): Ron drops the
// saturation voltage at the closed-form peak current, as in the exported schematic.
ExactTargets ExactTargetsOf(const DesignRecord& design, double chokeFactor = kDefaultChokeFactor);
ExactStart ClosedFormStart(const DesignRecord& design);

}  // namespace voltra
