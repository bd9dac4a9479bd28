// The closed-form design carried further: solved exactly, less the switch's own
// capacitance, rounded to parts one can buy, and then analysed as it stands.
#include "engine/design_options.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "engine/chosen_device.h"
#include "engine/exact_solver.h"
#include "engine/single.h"
#include "engine/stage_analysis.h"
#include "units/format.h"

namespace voltra {
namespace {

constexpr const char* kCossAboveC1 = "the switch's own output capacitance is more than the C1 this design needs";
constexpr PartRole kReactiveParts[] = {PartRole::C1,       PartRole::C2,        PartRole::Lseries,
                                       PartRole::NetworkL, PartRole::NetworkC,  PartRole::NetworkL2,
                                       PartRole::NetworkC2, PartRole::TrapL,    PartRole::TrapC};

// The solver's parts in the design's own single-precision fields, so the circuit and
// its layout follow from them as from the fits. The figures stay the fits' until the
// solution's replace them.
void Adopt(DesignRecord& d, const ExactSolution& s)
{
    d.Rload = StoreSingle(s.rload);
    d.Lseries = StoreSingle(s.stage.lseries);
    d.C1 = StoreSingle(s.stage.c1);
    d.C2 = StoreSingle(s.stage.c2);
    d.Lnetwork = StoreSingle(s.stage.lnetwork);
    d.Cnetwork = StoreSingle(s.stage.cnetwork);
}

// The network and trap the exact solution was solved with, in the circuit's values.
NetworkParts NetworkOf(const ExactSolution& s)
{
    NetworkParts n;
    n.layout = s.stage.network;
    n.lnetwork = StoreSingle(s.stage.lnetwork);
    n.cnetwork = StoreSingle(s.stage.cnetwork);
    n.lnetwork2 = StoreSingle(s.stage.lnetwork2);
    n.cnetwork2 = StoreSingle(s.stage.cnetwork2);
    n.trap = s.stage.trap;
    n.ltrap = StoreSingle(s.stage.ltrap);
    n.ctrap = StoreSingle(s.stage.ctrap);
    return n;
}

// The closed-form design's network of the chosen kind between its Rload and Rnetwork,
// and its trap, whose reactance at f C2 then absorbs (engine/matching_networks.h).
NetworkParts ClosedFormNetwork(DesignRecord& d, const DesignOptions& o)
{
    NetworkParts n = LNetworkOf(d);
    const double omega = 2 * std::numbers::pi * static_cast<double>(d.Frequency);
    if (d.LnetState && o.network != NetworkKind::L) {
        const NetworkReactances x = MatchingNetwork(o.network, d.Rload, d.Rnetwork, o.matchingQ);
        n = {};
        n.layout = x.layout;
        n.refusal = x.refusal;
        n.lnetwork = StoreSingle(x.lnetwork / omega);
        n.cnetwork = StoreSingle(1 / (omega * x.cnetwork));
        n.lnetwork2 = StoreSingle(x.lnetwork2 / omega);
        n.cnetwork2 = StoreSingle(1 / (omega * x.cnetwork2));
    }
    if (o.trap) {
        const TrapReactances trap = TrapFor(d.Rload);
        n.trap = true;
        n.ltrap = StoreSingle(trap.inductor / omega);
        n.ctrap = StoreSingle(1 / (omega * trap.capacitor));
        d.C2 = StoreSingle(1 / (omega * AbsorbTrap(1 / (omega * d.C2), trap)));
    }
    return n;
}


Result Analysed(double value) { return {StoreSingle(value), Status::Valid, {}}; }

StagePart StagePartOf(PartRole role)
{
    switch (role) {
    case PartRole::Choke: return StagePart::Choke;
    case PartRole::Switch: return StagePart::Switch;
    case PartRole::C1: return StagePart::C1;
    case PartRole::C2: return StagePart::C2;
    case PartRole::Lseries: return StagePart::Lseries;
    case PartRole::NetworkL: return StagePart::NetworkL;
    case PartRole::NetworkC: return StagePart::NetworkC;
    case PartRole::NetworkL2: return StagePart::NetworkL2;
    case PartRole::NetworkC2: return StagePart::NetworkC2;
    case PartRole::TrapL: return StagePart::TrapL;
    case PartRole::TrapC: return StagePart::TrapC;
    case PartRole::Supply:
    case PartRole::Load:
    case PartRole::LoadInductor:
    case PartRole::LoadCapacitor: break;
    }
    return StagePart::Load;
}

// A mismatched load's reactance is lossless, and its stresses are the load's business.
bool InBudget(PartRole role) { return role != PartRole::LoadInductor && role != PartRole::LoadCapacitor; }

// Where the power goes, part by part, and what each part must stand.
void TakeBudget(Circuit& c, const StageFigures& f)
{
    const char* const switchName = c.Get(PartRole::Switch).name;
    c.losses = {{switchName, kConductionLoss, Analysed(f.conductionLoss)},
                {switchName, kFallLoss, Analysed(f.fallLoss)},
                {switchName, kDischargeLoss, Analysed(f.dischargeLoss)}};
    for (const Part& part : c.parts) {
        if (part.role == PartRole::Supply || part.role == PartRole::Switch || part.role == PartRole::Load ||
            !InBudget(part.role))
            continue;
        const bool wound = WindingQOf(c, part.role).has_value();
        c.losses.push_back({part.name, wound ? kWindingLoss : kSeriesResistanceLoss,
                            Analysed(f.parts[static_cast<std::size_t>(StagePartOf(part.role))].loss)});
    }
    c.stresses.clear();
    for (const Part& part : c.parts) {
        if (!InBudget(part.role)) continue;
        if (part.role == PartRole::Supply) {
            c.stresses.push_back({part.role, part.name, part.value, Analysed(f.idc), Analysed(0)});
            continue;
        }
        const PartFigures& p = f.parts[static_cast<std::size_t>(StagePartOf(part.role))];
        c.stresses.push_back(
            {part.role, part.name, Analysed(p.peakVoltage), Analysed(p.rmsCurrent), Analysed(p.reactivePower)});
    }
    c.dischargePeakCurrent = Analysed(f.ipeak);
    c.dischargeEnergy = Analysed(f.dischargeEnergy);
}

}  // namespace

void TakeFigures(Circuit& c, const StageFigures& f)
{
    c.analysed = true;
    c.harmonics.clear();
    if (!f.valid) {
        for (Result* figure : {&c.vpeak, &c.ipeak, &c.idc, &c.rdc, &c.efficiency, &c.dissipation, &c.pout,
                               &c.turnOnPercent})
            Invalidate(*figure, f.reason);
        return;
    }
    c.pout = Analysed(f.pout);
    c.turnOnPercent = Analysed(f.turnOnVoltage);
    c.vpeak = Analysed(f.vpeak);
    c.ipeak = Analysed(f.ipeakNetwork);
    c.idc = Analysed(f.idc);
    c.rdc = Analysed(c.ValueOf(PartRole::Supply) / f.idc);
    c.efficiency = Analysed(f.efficiency);
    c.dissipation = Analysed(f.pin - f.pout);
    c.harmonics = HarmonicsBelowFundamental(f.loadHarmonics);
    TakeBudget(c, f);
}

namespace {

// A rounded circuit is a detuned one: where it misses the targets by more than a
// part tolerance would, its figures are questioned (drawn red, and said why), not
// refused, since it is still the circuit the engineer may want to build or simulate.
void QuestionMissedTargets(Circuit& c, double targetPower)
{
    if (!c.pout.Usable() || !c.turnOnPercent.Usable()) return;
    char reason[160];
    const double miss = c.pout.value / targetPower - 1;
    if (!(std::fabs(miss) <= kTargetPowerMiss)) {
        std::snprintf(reason, sizeof reason, "the standard values miss the target power by %+.1f %%", 100 * miss);
        for (Result* figure : {&c.pout, &c.efficiency})
            if (figure->status == Status::Valid) *figure = {figure->value, Status::Warning, reason};
    }
    if (!(std::fabs(c.turnOnPercent.value) <= kTurnOnMissPercent)) {
        std::snprintf(reason, sizeof reason,
                      "with the standard values the switch closes at %.1f %% of the supply, no longer at zero volts",
                      c.turnOnPercent.value);
        for (Result* figure : {&c.turnOnPercent, &c.efficiency})
            if (figure->status == Status::Valid) *figure = {figure->value, Status::Warning, reason};
    }
}

bool HasFiniteQ(const DesignOptions& o)
{
    return std::isfinite(o.inductorQ) || std::isfinite(o.capacitorQ) || o.windingQ.Any();
}

}  // namespace

ClassEStage StageOf(const Circuit& c)
{
    ClassEStage stage;
    stage.frequency = c.frequency;
    stage.supply = c.ValueOf(PartRole::Supply);
    stage.ron = c.ValueOf(PartRole::Switch);
    stage.lchoke = c.ValueOf(PartRole::Choke);
    stage.c1 = c.ValueOf(PartRole::C1) + static_cast<double>(c.coss);
    stage.coss = c.coss;
    if (c.exact) stage.cossLaw = c.cossLaw;
    stage.lseries = c.ValueOf(PartRole::Lseries);
    stage.c2 = c.ValueOf(PartRole::C2);
    stage.network = c.network;
    stage.lnetwork = c.ValueOf(PartRole::NetworkL);
    stage.cnetwork = c.ValueOf(PartRole::NetworkC);
    stage.lnetwork2 = c.ValueOf(PartRole::NetworkL2);
    stage.cnetwork2 = c.ValueOf(PartRole::NetworkC2);
    stage.trap = c.Has(PartRole::TrapL);
    stage.ltrap = c.ValueOf(PartRole::TrapL);
    stage.ctrap = c.ValueOf(PartRole::TrapC);
    stage.load = c.ValueOf(PartRole::Load);
    const double omega = 2 * std::numbers::pi * static_cast<double>(c.frequency);
    if (c.Has(PartRole::LoadInductor)) stage.loadReactance = omega * c.ValueOf(PartRole::LoadInductor);
    if (c.Has(PartRole::LoadCapacitor)) stage.loadReactance = -1 / (omega * c.ValueOf(PartRole::LoadCapacitor));
    stage.duty = c.duty;
    stage.falltime = c.falltime;
    stage.inductorQ = c.inductorQ;
    stage.ownQ = c.windingQ;
    stage.capacitorQ = c.capacitorQ;
    return stage;
}

namespace {

// The derating and the heat sink speak only of a chosen device: without one, options
// that differ only there build the plain circuit.
bool NothingChosen(const DesignOptions& options)
{
    DesignOptions bare = options;
    bare.derating = DesignOptions{}.derating;
    bare.heatSink = DesignOptions{}.heatSink;
    return bare == DesignOptions{};
}

// `switchOhms`: the switch's on-resistance in place of the one the saturation voltage
// gives (a chosen device's RDS(on) at its junction temperature).
Circuit BuildWithOptions(const DesignRecord& d, const DesignOptions& options, std::optional<double> switchOhms)
{
    DesignRecord working = d;
    std::optional<ExactSolution> solution;
    double curveLimit = NAN;  // Hz, the highest frequency for a device's curve, when beyond it
    // The switch's own capacitance: a chosen device's curve, which the exact solution
    // integrates (its Cj0 then the part C1 includes); without the exact solution, one
    // value taken off C1, the curve's charge-equivalent capacitance over the ideal
    // stage's swing (SingleCossOf), which charges the drain the way the curve does.
    std::optional<JunctionLaw> law;
    if (options.device) law = options.device->coss;
    const float own = !law ? options.coss
                      : options.exact ? static_cast<float>(law->cj0)
                                      : SingleCossOf(*options.device, d.Supply);
    if (options.exact) {
        ExactTargets targets = ExactTargetsOf(d, options.chokeFactor);
        targets.coss = own;
        targets.cossLaw = law;
        targets.duty = options.duty;
        if (switchOhms) {
            targets.saturation = 0;
            targets.ron = *switchOhms;
        }
        targets.inductorQ = options.inductorQ;
        targets.ownQ = options.windingQ;
        targets.capacitorQ = options.capacitorQ;
        targets.networkKind = options.network;
        targets.matchingQ = options.matchingQ;
        targets.trap = options.trap;
        solution = SolveExact(targets, ClosedFormStart(d));
        if (!solution->valid && own > 0) {
            // A switch whose own capacitance is more than the whole C1: the solution
            // without it says how much C1 is needed, and so the highest frequency.
            const ExactTargets withOwn = targets;
            targets.coss = 0;
            targets.cossLaw.reset();
            const ExactSolution free = SolveExact(targets, ClosedFormStart(d));
            if (free.valid && free.stage.c1 <= own) {
                solution = free;
                // The curve's capacitance falls with the swing, so it reaches the C1
                // Class E needs at a higher frequency than its Cj0 alone would.
                if (law) curveLimit = HighestFrequencyForCurve(withOwn, ClosedFormStart(d), *law);
            }
        }
        if (solution->valid) Adopt(working, *solution);
    }
    // The L-network alone stands in the record; any other network, and the trap, come
    // from the exact solution or from the closed-form design (whose C2 takes up the trap).
    std::optional<NetworkParts> network;
    if (options.network != NetworkKind::L || options.trap)
        network = solution && solution->valid ? NetworkOf(*solution) : ClosedFormNetwork(working, options);
    Circuit c = network ? BuildCircuit(working, options.chokeFactor, *network) : BuildCircuit(working, options.chokeFactor);
    c.exact = options.exact;
    c.series = options.series;
    c.duty = options.exact ? options.duty : kDefaultDuty;
    c.coss = own;
    c.cossLaw = law;
    c.inductorQ = options.inductorQ;
    c.windingQ = options.windingQ;
    c.capacitorQ = options.capacitorQ;
    c.switchModel = options.exact;
    if (solution && solution->valid) c.Get(PartRole::Switch).value = Analysed(solution->stage.ron);
    else if (switchOhms) c.Get(PartRole::Switch).value = Analysed(*switchOhms);
    if (solution && !solution->valid) {
        const std::string reason = "there is no exact Class E solution: " + solution->reason;
        for (PartRole role : kReactiveParts)
            if (c.Has(role)) Invalidate(c.Get(role).value, reason);
        Invalidate(c.rload, reason);
    }
    RefuseUnfitFall(c);

    Result& c1 = c.Get(PartRole::C1).value;
    if (own > 0 && c1.Usable()) {
        // C1 falls as 1/f, in the fits as in the exact solution: where it meets Coss
        // is the highest frequency this switch can be used at.
        const double needed = c1.value;
        if (needed > own)
            c1.value = StoreSingle(needed - own);
        else {
            c.cossLimitFrequency = StoreSingle(law && options.exact ? curveLimit : d.Frequency * needed / own);
            // The reason carries the limit to the command line and the sheet as well.
            std::string reason = kCossAboveC1;
            if (std::isfinite(c.cossLimitFrequency)) {
                // The frequency form keeps a column for the sign; a sentence does not.
                std::string limit = FormatLarge(c.cossLimitFrequency);
                limit.erase(0, limit.find_first_not_of(' '));
                reason += "; Class E only below " + limit + "Hz";
            }
            Invalidate(c1, reason);
        }
    }

    // Only a design that stands may be rounded and analysed: rounding an invalid one
    // would give figures of a circuit nobody designed.
    const bool stands = AllUsable(c);
    if (options.series && stands) {
        for (PartRole role : kReactiveParts)
            if (c.Has(role)) c.Get(role).value.value = StoreSingle(RoundToSeries(c.ValueOf(role), *options.series));
        for (const AcceptedPart& part : options.accepted) {
            if (!c.Has(part.role)) continue;
            c.Get(part.role).value.value = part.Value();
            c.accepted.push_back(part);
        }
        if (IsLNetwork(c.network))
            c.ltotal.value = StoreSingle(static_cast<double>(c.ValueOf(PartRole::Lseries)) + c.ValueOf(PartRole::NetworkL));
        TakeFigures(c, AnalyseStage(StageOf(c)));
        QuestionMissedTargets(c, d.Power);
    } else if (solution && solution->valid) {
        TakeFigures(c, solution->figures);
    } else if (!options.series && (HasFiniteQ(options) || options.device) && stands) {
        // Lossy parts change what the closed-form circuit does: its own figures. A
        // device's RMS current, losses and temperature need them too.
        TakeFigures(c, AnalyseStage(StageOf(c)));
    }
    return c;
}

}  // namespace

Circuit BuildCircuit(const DesignRecord& d, const DesignOptions& options)
{
    if (NothingChosen(options)) return BuildCircuit(d);
    Circuit c = BuildWithOptions(d, options, std::nullopt);
    if (!options.device) return c;
    const Transistor& device = *options.device;
    const DeviceConditions conditions{options.derating, options.heatSink};
    ApplyDevice(c, device, conditions);
    if (!(device.onResistance25 > 0)) return c;
    // The switch is the device's RDS(on) at its junction temperature, so the loss
    // budget, the waveforms and Tj speak of one switch. The circuit's currents move
    // only a little with RDS(on), and the temperature each pass finds already carries
    // RDS(on)'s rise at those currents: a few passes settle it.
    for (int pass = 0; pass < kDeviceOnResistancePasses; ++pass) {
        const double celsius = c.tj && c.tj->Usable() ? c.tj->value : kOnResistanceReferenceCelsius;
        Circuit next = BuildWithOptions(d, options, OnResistanceAt(device, celsius));
        ApplyDevice(next, device, conditions);
        const bool settled = !next.tj || !next.tj->Usable() ||
                             std::fabs(next.tj->value - celsius) < kJunctionSettledKelvin;
        c = std::move(next);
        if (settled) break;
    }
    return c;
}

}  // namespace voltra
