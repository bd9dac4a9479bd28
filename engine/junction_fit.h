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

}  // namespace voltra
