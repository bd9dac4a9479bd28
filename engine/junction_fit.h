// Fitting the junction law C(V) = Cj0/(1 + V/Vj)^m to a data sheet's table of
// output capacitance against drain voltage.
#pragma once

#include <span>
#include <string>

#include "engine/junction_law.h"

namespace voltra {

struct CapacitancePoint {
    double volts = 0;   // V, drain-source
    double farads = 0;  // F
    bool operator==(const CapacitancePoint&) const = default;
};

struct JunctionFit {
    bool fitted = false;
    JunctionLaw law;
    // The largest |C_law/C_table - 1| over the table's points.
    double worstRelativeError = 0;
    // Why there is no fit, in words the user can act on; empty when fitted.
    std::string reason;
};

// Least squares on ln C (a table read off a logarithmic plot has a relative error,
// and the fit should weigh a 10 pF point like a 1 nF one): a scan over Vj, with Cj0
// and m solved linearly for each, then Levenberg–Marquardt on all three. Needs at
// least three distinct voltages, none below 0 V, and positive capacitances.
JunctionFit FitJunctionLaw(std::span<const CapacitancePoint> points);

// The law that has, at the one voltage `volts` a data sheet's table quotes them at,
// its output capacitance Coss and the two effective capacitances of a charge from
// 0 V: energy-related Co(er) = 2E/V² and time-related Co(tr) = Q/V (as the tables of
// Infineon's CoolMOS and GaN Systems' data sheets define them). Three numbers, three
// unknowns: the law stores the device's energy and takes its charge at that voltage,
// which is what the switching condition depends on. A falling curve needs
// Coss < Co(er) < Co(tr); worstRelativeError is the residual of the solve.
JunctionFit LawFromEffectiveCapacitances(double volts, double coss, double energyRelated, double chargeRelated);

}  // namespace voltra
