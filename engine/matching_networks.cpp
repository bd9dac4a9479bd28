// Pi, T and tapped-C networks as two L-sections through a virtual resistance (C. Bowick,
// "RF Circuit Design", 2nd ed., Newnes 2008, ch. 4, "The Pi network" and "The T
// network"): the first section sets the loaded Q from the resistance it faces to the
// virtual one, the second takes the virtual resistance to the other side. The tapped-C
// turns the shunt inductor at the high side into its series equivalent and matches it
// with the shunt capacitor's series equivalent at the low side (Bowick, ch. 4, parallel
// to series conversion, Eqs 4-2 and 4-3).
#include "engine/matching_networks.h"

#include <algorithm>
#include <cmath>
#include <charconv>

namespace voltra {
namespace {

std::string TooLowQ(NetworkKind kind, double lowest)
{
    // Written without the locale, as every message the engine makes.
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, lowest, std::chars_format::fixed, 2).ptr;
    return std::string("the ") + NamesOf(kind).name + " needs a loaded Q above " + std::string(digits, end) +
           " for these resistances";
}

}  // namespace

LSection LSectionFor(double low, double high)
{
    // Bowick ch. 4, Eqs 4-5 and 4-6: Qs = Qp = sqrt(Rhigh/Rlow − 1), Xs = Q·Rlow,
    // Xp = Rhigh/Q, here as Xs = sqrt(Rlow·Rhigh − Rlow²), Xp = Rlow·Rhigh/Xs.
    const double series = std::sqrt(low * high - low * low);
    return {series, LSectionShunt(low, high, series)};
}

double LSectionShunt(double low, double high, double series) { return low * high / series; }

double LowestMatchingQ(double rstage, double rnetwork)
{
    const double low = std::min(rstage, rnetwork);
    const double high = std::max(rstage, rnetwork);
    return std::sqrt(high / low - 1);
}

NetworkReactances MatchingNetwork(NetworkKind kind, double rstage, double rnetwork, double q)
{
    const double low = std::min(rstage, rnetwork);
    const double high = std::max(rstage, rnetwork);
    const bool stageHigh = rstage > rnetwork;
    NetworkReactances n;
    if (kind == NetworkKind::L) {
        if (rstage == rnetwork) return n;
        const LSection l = LSectionFor(low, high);
        n.layout = stageHigh ? NetworkLayout::ShuntCFirst : NetworkLayout::SeriesLFirst;
        n.lnetwork = l.series;
        n.cnetwork = l.shunt;
        return n;
    }
    n.layout = kind == NetworkKind::Pi ? NetworkLayout::Pi
               : kind == NetworkKind::T ? NetworkLayout::T
               : stageHigh              ? NetworkLayout::TappedCShuntLFirst
                                        : NetworkLayout::TappedCShuntCFirst;
    if (const double lowest = LowestMatchingQ(rstage, rnetwork); !(q > lowest)) {
        n.refusal = TooLowQ(kind, lowest);
        return n;
    }
    switch (kind) {
    case NetworkKind::Pi: {
        const double virtualR = high / (1 + q * q);
        const double q2 = std::sqrt(low / virtualR - 1);
        const double highShunt = high / q;
        const double lowShunt = low / q2;
        n.cnetwork = stageHigh ? highShunt : lowShunt;
        n.cnetwork2 = stageHigh ? lowShunt : highShunt;
        n.lnetwork = (q + q2) * virtualR;
        return n;
    }
    case NetworkKind::T: {
        const double virtualR = low * (1 + q * q);
        const double q2 = std::sqrt(virtualR / high - 1);
        const double lowSeries = q * low;
        const double highSeries = q2 * high;
        n.lnetwork = stageHigh ? highSeries : lowSeries;
        n.lnetwork2 = stageHigh ? lowSeries : highSeries;
        n.cnetwork = virtualR / (q + q2);
        return n;
    }
    case NetworkKind::TappedC: {
        if (rstage == rnetwork) {
            n.refusal = "the tapped-C network needs the stage and network resistances to differ";
            return n;
        }
        const double seriesR = high / (1 + q * q);
        const double qp = std::sqrt(low / seriesR - 1);
        n.lnetwork = high / q;
        n.cnetwork = seriesR * (q - qp);
        n.cnetwork2 = low / qp;
        return n;
    }
    case NetworkKind::L: break;
    }
    return n;
}

TrapReactances TrapFor(double rload) { return {rload, 4 * rload}; }

// A parallel L-C: Z = jωL / (1 − ω²LC), with ω²LC = (ωL)/(1/(ωC)) = 1/4 at f.
double TrapReactanceAtFundamental(const TrapReactances& trap)
{
    return trap.inductor / (1 - trap.inductor / trap.capacitor);
}

double AbsorbTrap(double c2Reactance, const TrapReactances& trap)
{
    return c2Reactance + TrapReactanceAtFundamental(trap);
}

}  // namespace voltra
