// The Class E design equations: six targets in, load, network parts, switch
// stresses and supply current out, plus the optional low-pass L-network.
#pragma once

#include "engine/design_record.h"

namespace voltra {

// A step that divides by zero, leaves the single-precision range or takes the root
// of a negative number stores NaN: such a result is never shown, exported or
// printed as a number.
bool IsValid(float result);

void FindLoad(DesignRecord& design);
void FindLseries(DesignRecord& design);
void FindC1(DesignRecord& design);
void FindC2(DesignRecord& design);
void FindVpeak(DesignRecord& design);
void FindIpeak(DesignRecord& design);
void FindEfficiency(DesignRecord& design);

// The seven Class E equations in the order their inputs require.
void FindAll(DesignRecord& design);

// Working values of the L-network, kept by the design screen between calls: when
// Rload equals Rnetwork nothing is recomputed and the last network stays.
struct LnetworkWorking {
    float Rlow = 0;     // ohm, the smaller of Rload and Rnetwork
    float Rhigh = 0;    // ohm, the larger
    float Xseries = 0;  // ohm, reactance of the series inductor
    float Xshunt = 0;   // ohm, reactance of the shunt capacitor
};

// Stores the entered network resistance, clamped to 0.01..10000 ohm, and computes
// Lnetwork and Cnetwork; run after FindAll.
void FindLnetwork(DesignRecord& design, LnetworkWorking& working, float rnetwork);

// The DC resistance the stage presents to the supply, Supply / Idc (NaN when Idc is 0).
float Rdc(const DesignRecord& design);
// The switch's on-resistance: what drops the saturation voltage at the peak current
// (NaN when Ipeak is 0).
float Ron(const DesignRecord& design);
// Lseries plus the L-network inductor that follows it when Rload < Rnetwork.
float Ltotal(const DesignRecord& design);


}  // namespace voltra
