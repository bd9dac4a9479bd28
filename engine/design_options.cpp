// The closed-form design carried further: solved exactly, less the switch's own
// capacitance, rounded to parts one can buy, and then analysed as it stands.
#include "engine/design_options.h"

#include <string>

#include "engine/exact_solver.h"
#include "engine/single.h"
#include "engine/stage_analysis.h"

namespace voltra {
namespace {

constexpr const char* kCossAboveC1 = "the switch's own output capacitance is more than the C1 this design needs";
constexpr PartRole kReactiveParts[] = {PartRole::C1, PartRole::C2, PartRole::Lseries, PartRole::NetworkL,
                                       PartRole::NetworkC};

// The solver's parts in the design's own single-precision fields, so the circuit and
// its layout follow from them as from the fits. The figures stay the fits' (the
// switch's Ron is the one the solver worked with) until the solution's replace them.
void Adopt(DesignRecord& d, const ExactSolution& s)
{
    d.Rload = StoreSingle(s.rload);
    d.Lseries = StoreSingle(s.stage.lseries);
    d.C1 = StoreSingle(s.stage.c1);
    d.C2 = StoreSingle(s.stage.c2);
    d.Lnetwork = StoreSingle(s.stage.lnetwork);
    d.Cnetwork = StoreSingle(s.stage.cnetwork);
}

StageNetwork StageNetworkOf(NetworkLayout layout)
{
    switch (layout) {
    case NetworkLayout::SeriesLFirst: return StageNetwork::SeriesLFirst;
    case NetworkLayout::ShuntCFirst: return StageNetwork::ShuntCFirst;
    case NetworkLayout::None: break;
    }
    return StageNetwork::None;
}

// The circuit as built, the switch's capacitance added back across it.
ClassEStage StageOf(const Circuit& c, float coss)
{
    ClassEStage stage;
    stage.frequency = c.frequency;
    stage.supply = c.ValueOf(PartRole::Supply);
    stage.ron = c.ValueOf(PartRole::Switch);
    stage.lchoke = c.ValueOf(PartRole::Choke);
    stage.c1 = c.ValueOf(PartRole::C1) + static_cast<double>(coss);
    stage.lseries = c.ValueOf(PartRole::Lseries);
    stage.c2 = c.ValueOf(PartRole::C2);
    stage.network = StageNetworkOf(c.network);
    stage.lnetwork = c.ValueOf(PartRole::NetworkL);
    stage.cnetwork = c.ValueOf(PartRole::NetworkC);
    stage.load = c.ValueOf(PartRole::Load);
    return stage;
}

Result Analysed(double value) { return {StoreSingle(value), Status::Valid, {}}; }

// The figures of the circuit's own waveforms replace the fits' predictions.
void TakeFigures(Circuit& c, const StageFigures& f)
{
    c.analysed = true;
    if (!f.valid) {
        for (Result* figure : {&c.vpeak, &c.ipeak, &c.idc, &c.rdc, &c.efficiency, &c.dissipation, &c.pout,
                               &c.turnOnPercent})
            Invalidate(*figure, f.reason);
        return;
    }
    c.pout = Analysed(f.pout);
    c.turnOnPercent = Analysed(f.turnOnVoltage);
    c.vpeak = Analysed(f.vpeak);
    c.ipeak = Analysed(f.ipeak);
    c.idc = Analysed(f.idc);
    c.rdc = Analysed(c.ValueOf(PartRole::Supply) / f.idc);
    c.efficiency = Analysed(f.efficiency);
    c.dissipation = Analysed(f.pin - f.pout);
}

bool PartsUsable(const Circuit& c)
{
    for (const Part& part : c.parts)
        if (!part.value.Usable()) return false;
    return true;
}

}  // namespace

Circuit BuildCircuit(const DesignRecord& d, const DesignOptions& options)
{
    if (options == DesignOptions{}) return BuildCircuit(d);
    DesignRecord working = d;
    std::optional<ExactSolution> solution;
    if (options.exact) {
        solution = SolveExact(ExactTargetsOf(d, options.chokeFactor), ClosedFormStart(d));
        if (solution->valid) Adopt(working, *solution);
    }
    Circuit c = BuildCircuit(working, options.chokeFactor);
    c.exact = options.exact;
    c.series = options.series;
    if (solution && !solution->valid) {
        const std::string reason = "there is no exact Class E solution: " + solution->reason;
        for (PartRole role : kReactiveParts)
            if (c.Has(role)) Invalidate(c.Get(role).value, reason);
        Invalidate(c.rload, reason);
    }

    Result& c1 = c.Get(PartRole::C1).value;
    if (options.coss > 0 && c1.Usable()) {
        // C1 falls as 1/f, in the fits as in the exact solution: where it meets Coss
        // is the highest frequency this switch can be used at.
        const double needed = c1.value;
        if (needed > options.coss)
            c1.value = StoreSingle(needed - options.coss);
        else {
            Invalidate(c1, kCossAboveC1);
            c.cossLimitFrequency = StoreSingle(d.Frequency * needed / options.coss);
        }
    }

    if (options.series && PartsUsable(c)) {
        for (PartRole role : kReactiveParts)
            if (c.Has(role)) c.Get(role).value.value = StoreSingle(RoundToSeries(c.ValueOf(role), *options.series));
        TakeFigures(c, AnalyseStage(StageOf(c, options.coss)));
    } else if (solution && solution->valid) {
        TakeFigures(c, solution->figures);
    }
    return c;
}

}  // namespace voltra
