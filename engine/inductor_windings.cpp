#include "engine/inductor_windings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace voltra {

namespace {

constexpr double kMetresPerInch = 0.0254;
constexpr double kMicrohenry = 1e-6;

const WindingChoice* ChoiceFor(const std::vector<WindingChoice>& choices, PartRole role)
{
    const auto found = std::find_if(choices.begin(), choices.end(), [&](const WindingChoice& c) { return c.role == role; });
    return found == choices.end() ? nullptr : &*found;
}

const ToroidCore* CoreNamed(const std::vector<ToroidCore>& cores, const std::string& name)
{
    const auto found = std::find_if(cores.begin(), cores.end(), [&](const ToroidCore& c) { return c.name == name; });
    return found == cores.end() ? nullptr : &*found;
}

double OutputCurrent(double power, const Result& resistance)
{
    if (!resistance.Usable() || !(resistance.value > 0) || !(power > 0)) return NAN;
    return std::sqrt(power / resistance.value);
}

void WindOnAir(InductorWinding& w, double frequency, double formerDiameter)
{
    const int gauge = GaugeForCurrent(w.rmsCurrent);
    const double diameter = formerDiameter > 0 ? formerDiameter : SquareCoilDiameter(w.inductance, AwgDiameter(gauge));
    const AirCoil coil = DesignAirCoil(w.inductance, w.rmsCurrent, frequency, diameter);
    w.turns = coil.turns;
    w.diameter = coil.diameter;
    w.length = coil.length;
    w.gauge = coil.gauge;
    w.q = coil.q;
    w.selfResonance = coil.selfResonance;
    if (!coil.withinWheelerRange)
        w.warnings.push_back("The coil is shorter than 0.4 of its diameter, where Wheeler's formula is no longer "
                             "within 1 %: wind it on a narrower former.");
    if (coil.selfResonance < kLowestSelfResonanceRatio * frequency)
        w.warnings.push_back("The coil's self-resonance is less than 3 times the operating frequency: its own "
                             "capacitance raises its reactance; wind it on a narrower former or split it.");
}

void WindOnCore(InductorWinding& w, double frequency, const ToroidCore& core)
{
    const Toroid toroid = DesignToroid(w.inductance, w.rmsCurrent, frequency, core);
    w.core = core.name;
    w.turns = toroid.turns;
    w.diameter = core.outerDiameter;
    w.length = toroid.wireLength;
    w.gauge = toroid.gauge;
    w.q = 2 * std::numbers::pi * frequency * w.inductance / toroid.resistance;
    w.fluxDensity = toroid.fluxDensity;
    if (!toroid.fitsOneLayer)
        w.warnings.push_back("The turns do not fit side by side inside the core's hole: choose a larger core.");
}

}  // namespace

bool IsInductor(PartRole role)
{
    return role == PartRole::Choke || role == PartRole::Lseries || role == PartRole::NetworkL;
}

double SquareCoilDiameter(double inductance, double wireDiameter)
{
    const double p = kDefaultPitchOverWire * wireDiameter / kMetresPerInch;
    const double r = std::cbrt(29 * p * p * (inductance / kMicrohenry) / 4);
    return 2 * r * kMetresPerInch;
}

double InductorCurrent(const Circuit& circuit, PartRole role, double outputPower, CurrentSource* source)
{
    const auto report = [&](CurrentSource s, double amps) {
        if (source) *source = std::isfinite(amps) ? s : CurrentSource::None;
        return amps;
    };
    if (circuit.analysed) {
        for (const PartStress& stress : circuit.stresses)
            if (stress.role == role && stress.rmsCurrent.Usable())
                return report(CurrentSource::Analysis, stress.rmsCurrent.value);
    }
    switch (role) {
    case PartRole::Choke:
        return report(CurrentSource::ClosedForm, circuit.idc.Usable() ? circuit.idc.value : NAN);
    case PartRole::Lseries: return report(CurrentSource::ClosedForm, OutputCurrent(outputPower, circuit.rload));
    case PartRole::NetworkL:
        return report(CurrentSource::ClosedForm,
                      circuit.network == NetworkLayout::ShuntCFirst
                          ? OutputCurrent(outputPower, circuit.Get(PartRole::Load).value)
                          : OutputCurrent(outputPower, circuit.rload));
    default: return report(CurrentSource::None, NAN);
    }
}

std::vector<InductorWinding> WindInductors(const Circuit& circuit, double outputPower,
                                           const std::vector<WindingChoice>& choices,
                                           const std::vector<ToroidCore>& cores)
{
    std::vector<InductorWinding> windings;
    const double frequency = circuit.frequency;
    for (const Part& part : circuit.parts) {
        if (!IsInductor(part.role)) continue;
        InductorWinding w;
        w.role = part.role;
        w.part = part.name;
        w.inductance = part.value.value;
        w.rmsCurrent = InductorCurrent(circuit, part.role, outputPower, &w.currentSource);
        const WindingChoice* choice = ChoiceFor(choices, part.role);
        const ToroidCore* core = choice && choice->core ? CoreNamed(cores, *choice->core) : nullptr;
        if (!part.value.Usable() || !(w.inductance > 0) || !std::isfinite(w.inductance) || !(frequency > 0))
            w.warnings.push_back("Not computed: the inductor has no usable value.");
        else if (!std::isfinite(w.rmsCurrent))
            w.warnings.push_back("Not computed: the inductor's current is not known.");
        else {
            w.computed = true;
            if (choice && choice->core && !core)
                w.warnings.push_back("The core " + *choice->core + " is not in the core table: wound on air instead.");
            if (core) WindOnCore(w, frequency, *core);
            else WindOnAir(w, frequency, choice ? choice->formerDiameter : 0);
        }
        windings.push_back(std::move(w));
    }
    return windings;
}

}  // namespace voltra
