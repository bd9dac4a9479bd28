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

// The solver's parts and figures in the design's own single-precision fields, so the
// circuit, its layout and its standing follow from them as from the fits.
void Adopt(DesignRecord& d, const ExactSolution& s)
{
    d.Rload = StoreSingle(s.rload);
    d.Lseries = StoreSingle(s.stage.lseries);
    d.C1 = StoreSingle(s.stage.c1);
    d.C2 = StoreSingle(s.stage.c2);
    d.Lnetwork = StoreSingle(s.stage.lnetwork);
    d.Cnetwork = StoreSingle(s.stage.cnetwork);
    d.Vpeak = StoreSingle(s.figures.vpeak);
    d.Ipeak = StoreSingle(s.figures.ipeak);
    d.Idc = StoreSingle(s.figures.idc);
    d.Efficiency = StoreSingle(s.figures.efficiency);
}

void Invalidate(Result& result, const std::string& reason)
{
    if (result.Usable()) result = {result.value, Status::Invalid, reason};
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

double ValueOf(const Circuit& c, PartRole role) { return c.Has(role) ? c.Get(role).value.value : 0.0; }

// The circuit as built, the switch's capacitance added back across it.
ClassEStage StageOf(const Circuit& c, float coss)
{
    ClassEStage stage;
    stage.frequency = c.frequency;
    stage.supply = ValueOf(c, PartRole::Supply);
    stage.ron = ValueOf(c, PartRole::Switch);
    stage.lchoke = ValueOf(c, PartRole::Choke);
    stage.c1 = ValueOf(c, PartRole::C1) + coss;
    stage.lseries = ValueOf(c, PartRole::Lseries);
    stage.c2 = ValueOf(c, PartRole::C2);
    stage.network = StageNetworkOf(c.network);
    stage.lnetwork = ValueOf(c, PartRole::NetworkL);
    stage.cnetwork = ValueOf(c, PartRole::NetworkC);
    stage.load = ValueOf(c, PartRole::Load);
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
    c.rdc = Analysed(c.Get(PartRole::Supply).value.value / f.idc);
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
    // The solver's switch is the closed-form one, Ron from the fits' peak current.
    c.Get(PartRole::Switch).value = BuildCircuit(d).Get(PartRole::Switch).value;
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
            if (c.Has(role)) c.Get(role).value.value = StoreSingle(RoundToSeries(c.Get(role).value.value, *options.series));
        TakeFigures(c, AnalyseStage(StageOf(c, options.coss)));
    } else if (solution && solution->valid) {
        TakeFigures(c, solution->figures);
    }
    return c;
}

}  // namespace voltra
