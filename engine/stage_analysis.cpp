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

double LossOf(double q) { return std::isinf(q) ? 0.0 : 1 / q; }

}  // namespace

NormalisedStage NormaliseStage(const ClassEStage& st)
{
    const double omega = 2 * std::numbers::pi * st.frequency;
    const double r = st.load;
    NormalisedStage n;
    n.choke = omega * st.lchoke / r;
    n.c1 = 1 / (omega * st.c1 * r);
    n.coss = omega * st.coss * r;
    n.lseries = omega * st.lseries / r;
    n.c2 = 1 / (omega * st.c2 * r);
    n.ron = st.ron / r;
    n.network = st.network;
    n.lnetwork = omega * st.lnetwork / r;
    n.cnetwork = 1 / (omega * st.cnetwork * r);
    if (UsesLnetwork2(st.network)) n.lnetwork2 = omega * st.lnetwork2 / r;
    if (UsesCnetwork2(st.network)) n.cnetwork2 = 1 / (omega * st.cnetwork2 * r);
    n.trap = st.trap;
    if (st.trap) {
        n.ltrap = omega * st.ltrap / r;
        n.ctrap = 1 / (omega * st.ctrap * r);
    }
    n.load = 1;
    n.loadReactance = st.loadReactance / r;
    n.duty = st.duty;
    n.fall = omega * st.falltime;
    n.inductorLoss = LossOf(st.inductorQ);
    n.capacitorLoss = LossOf(st.capacitorQ);
    n.chokeLoss = LossFactorOf(st.ownQ.choke);
    n.lseriesLoss = LossFactorOf(st.ownQ.lseries);
    n.lnetworkLoss = LossFactorOf(st.ownQ.lnetwork);
    if (st.cossLaw) {
        n.coss = omega * st.cossLaw->cj0 * r;
        n.cossLaw = JunctionLaw{n.coss, st.cossLaw->vj / st.supply, st.cossLaw->m};
    }
    return n;
}

StageFigures AnalyseStage(const ClassEStage& st)
{
    for (double part : {st.frequency, st.supply, st.ron, st.lchoke, st.c1, st.lseries, st.c2, st.load})
        if (!Positive(part)) return Invalid("Every part, the supply and the frequency must be positive.");
    if (st.network != NetworkLayout::None && !(Positive(st.lnetwork) && Positive(st.cnetwork)))
        return Invalid("The L-network parts must be positive.");
    if ((UsesLnetwork2(st.network) && !Positive(st.lnetwork2)) ||
        (UsesCnetwork2(st.network) && !Positive(st.cnetwork2)))
        return Invalid("The network's parts must be positive.");
    if (st.trap && !(Positive(st.ltrap) && Positive(st.ctrap))) return Invalid("The trap's parts must be positive.");
    const double own = st.cossLaw ? st.cossLaw->cj0 : st.coss;
    if (!(own >= 0 && own <= st.c1)) return Invalid("The switch's own capacitance must lie within C1.");
    if (st.cossLaw && !(Positive(st.cossLaw->cj0) && Positive(st.cossLaw->vj) && st.cossLaw->m >= 0 && st.cossLaw->m < 1))
        return Invalid("The switch's capacitance law needs a positive Cj0 and Vj and a grading exponent from 0 to 1.");
    if (!(st.duty > 0 && st.duty < 1)) return Invalid("The switch's duty must lie between 0 and 1.");
    if (!(st.falltime >= 0 && st.falltime < (1 - st.duty) / st.frequency))
        return Invalid("The fall time is longer than the switch's off-time.");
    if (!std::isfinite(st.loadReactance)) return Invalid("The load's reactance must be a number.");
    if (!(st.inductorQ > 0 && st.capacitorQ > 0 && st.ownQ.Positive()))
        return Invalid("The parts' quality factors must be positive.");

    const SteadyState s = SolveSteadyState(NormaliseStage(st), SteadyStateDetail::Full);
    if (!s.solved) return Invalid("The stage has no single periodic steady state.");

    const double omega = 2 * std::numbers::pi * st.frequency;
    const double vdd = st.supply;
    const double r = st.load;
    const double power = vdd * vdd / r;  // W per normalised unit
    const double current = vdd / r;
    StageFigures f;
    f.pout = s.loadPower * power;
    f.idc = s.supplyCurrent * current;
    f.pin = vdd * f.idc;
    f.efficiency = f.pout / f.pin;
    f.dischargeLoss = s.dischargeLoss * power;
    f.conductionLoss = s.conductionLoss * power - f.dischargeLoss;
    f.fallLoss = s.fallLoss * power;
    f.switchLoss = (s.conductionLoss + s.fallLoss) * power;
    f.dischargeEnergy = s.dischargeEnergy * power / omega;
    f.vpeak = s.peakDrainVoltage * vdd;
    f.ipeak = s.peakSwitchCurrent * current;
    f.ipeakNetwork = s.peakNetworkCurrent * current;
    f.turnOnVoltage = 100 * s.turnOnVoltage;
    f.turnOnSlope = s.turnOnSlope;
    for (std::size_t k = 0; k < kHarmonics; ++k) {
        f.loadHarmonics[k] = s.loadHarmonics[k] * vdd;
        f.drainHarmonics[k] = s.drainHarmonics[k] * vdd;
    }

    // Reactance of each part at the switching frequency, for its reactive power.
    const std::array<double, kStageParts> inductance = {st.lchoke, 0, 0, 0, st.lseries, st.lnetwork, 0, 0,
                                                        st.lnetwork2, 0, st.ltrap, 0};
    const std::array<double, kStageParts> capacitance = {0, 0, st.c1 - own, st.c2, 0, 0, st.cnetwork, 0,
                                                         0, st.cnetwork2, 0, st.ctrap};
    for (std::size_t p = 0; p < kStageParts; ++p) {
        const PartWaveform& w = s.parts[p];
        PartFigures& part = f.parts[p];
        part.peakVoltage = w.peakVoltage * vdd;
        part.rmsCurrent = w.rmsCurrent * current;
        part.loss = w.loss * power;
        const double mean = w.meanCurrent * current;
        if (inductance[p] > 0)
            part.reactivePower = omega * inductance[p] * std::max(0.0, part.rmsCurrent * part.rmsCurrent - mean * mean);
        else if (capacitance[p] > 0)
            part.reactivePower = part.rmsCurrent * part.rmsCurrent / (omega * capacitance[p]);
    }
    for (double figure : {f.pout, f.pin, f.efficiency, f.switchLoss, f.vpeak, f.ipeak, f.turnOnVoltage, f.turnOnSlope})
        if (!std::isfinite(figure)) return Invalid("The stage's waveforms overflow double precision.");
    f.valid = true;
    return f;
}

}  // namespace voltra
