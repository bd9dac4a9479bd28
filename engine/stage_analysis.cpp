// SI parts to the normalised stage and the normalised steady state back to watts,
// volts and amperes. The load resistor is the reference resistance.
#include "engine/stage_analysis.h"

#include <cmath>
#include <numbers>

namespace voltra {
namespace {

bool Positive(double x) { return std::isfinite(x) && x > 0; }

StageFigures Invalid(const char* reason)
{
    StageFigures f;
    f.reason = reason;
    return f;
}

}  // namespace

StageFigures AnalyseStage(const ClassEStage& st)
{
    for (double part : {st.frequency, st.supply, st.ron, st.lchoke, st.c1, st.lseries, st.c2, st.load})
        if (!Positive(part)) return Invalid("Every part, the supply and the frequency must be positive.");
    if (st.network != StageNetwork::None && !(Positive(st.lnetwork) && Positive(st.cnetwork)))
        return Invalid("The L-network parts must be positive.");

    const double omega = 2 * std::numbers::pi * st.frequency;
    const double r = st.load;
    NormalisedStage n;
    n.choke = omega * st.lchoke / r;
    n.c1 = 1 / (omega * st.c1 * r);
    n.lseries = omega * st.lseries / r;
    n.c2 = 1 / (omega * st.c2 * r);
    n.ron = st.ron / r;
    n.network = st.network;
    n.lnetwork = omega * st.lnetwork / r;
    n.cnetwork = 1 / (omega * st.cnetwork * r);
    n.load = 1;

    const SteadyState s = SolveSteadyState(n, SteadyStateDetail::Full);
    if (!s.solved) return Invalid("The stage has no single periodic steady state.");

    const double vdd = st.supply;
    StageFigures f;
    f.pout = s.loadPower * vdd * vdd / r;
    f.idc = s.supplyCurrent * vdd / r;
    f.pin = vdd * f.idc;
    f.efficiency = f.pout / f.pin;
    f.switchLoss = s.switchLoss * vdd * vdd / r;
    f.vpeak = s.peakDrainVoltage * vdd;
    f.ipeak = s.peakSwitchCurrent * vdd / r;
    f.turnOnVoltage = 100 * s.turnOnVoltage;
    f.turnOnSlope = s.turnOnSlope;
    for (double figure : {f.pout, f.pin, f.efficiency, f.switchLoss, f.vpeak, f.ipeak, f.turnOnVoltage, f.turnOnSlope})
        if (!std::isfinite(figure)) return Invalid("The stage's waveforms overflow double precision.");
    f.valid = true;
    return f;
}

}  // namespace voltra
