// The start-up design with a test's changes, calculated as the design screen does:
// the Class E equations, then the L-network for the network resistance entered.
#pragma once

#include "engine/equations.h"

namespace voltra {

// A network resistance of 0 stands for the design's own Rload: nothing to transform.
inline DesignRecord CalculatedDesign(float networkQ = kDefaultNetworkQ, bool lnet = false, float rnetwork = 50)
{
    DesignRecord design;
    StartupValues(design);
    design.NetworkQ = networkQ;
    design.LnetState = lnet;
    FindAll(design);
    LnetworkWorking working;
    FindLnetwork(design, working, rnetwork > 0 ? rnetwork : design.Rload);
    return design;
}

}  // namespace voltra
