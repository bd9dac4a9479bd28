// The start-up design as the design screen computes it, with the L-network
// resistance typed into its box and the option on or off.
#pragma once

#include "engine/equations.h"

inline DesignRecord DesignWith(const char* rnetworkText, std::int16_t lnetState)
{
    DesignRecord design;
    StartupValues(design);
    FindAll(design);
    LnetworkWorking working;
    FindLnetwork(design, working, rnetworkText);
    design.LnetState = lnetState;
    return design;
}
