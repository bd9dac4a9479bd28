// Prints the start-up design as the engine computes it, so the build can be tried
// from the command line before any screen is involved.
#include <cstdio>

#include "engine/equations.h"
#include "units/format.h"

int main()
{
    DesignRecord design;
    StartupValues(design);
    FindAll(design);
    LnetworkWorking working;
    FindLnetwork(design, working, "50");

    std::printf("Voltra %s - start-up design\n", design.VersionText.c_str());
    std::printf("  Frequency %sHz  Power %sW  Supply %sV  Saturation %sV  Q %s  Falltime %ss\n",
                FormatLarge(design.Frequency).c_str(), FormatPrefixed(design.Power).c_str(),
                FormatPrefixed(design.Supply).c_str(), FormatPrefixed(design.Saturation).c_str(),
                FormatPrefixed(design.NetworkQ).c_str(), FormatSmall(design.Falltime).c_str());
    std::printf("  Rload %sohms  Lseries %s  C1 %s  C2 %s\n", FormatResistance(design.Rload).c_str(),
                FormatInductance(design.Lseries).c_str(), FormatCapacitance(design.C1).c_str(),
                FormatCapacitance(design.C2).c_str());
    std::printf("  Vpeak %sV  Ipeak %sA  Idc %sA  Rdc %sohms\n", FormatPrefixed(design.Vpeak).c_str(),
                FormatPrefixed(design.Ipeak).c_str(), FormatPrefixed(design.Idc).c_str(),
                FormatPrefixed(Rdc(design)).c_str());
    std::printf("  L-network to %sohms: L %s  C %s  Ltotal %s\n", FormatResistance(design.Rnetwork).c_str(),
                FormatInductance(design.Lnetwork).c_str(), FormatCapacitance(design.Cnetwork).c_str(),
                FormatInductance(Ltotal(design)).c_str());
    return 0;
}
