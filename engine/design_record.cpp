// Start-up values and the clamps that every entry path applies to the targets.
#include "engine/design_record.h"

#include <cmath>

namespace voltra {

void StartupValues(DesignRecord& design)
{
    design.Pi = static_cast<float>(4.0 * std::atan(1.0));

    // Only a target still at zero takes its default; a negative one is left alone.
    auto defaultIfZero = [](float& field, float value) {
        if (field == 0.0f) field = value;
    };
    defaultIfZero(design.Frequency, kDefaultFrequency);
    defaultIfZero(design.Supply, kDefaultSupply);
    defaultIfZero(design.Saturation, kDefaultSaturation);
    defaultIfZero(design.Power, kDefaultPower);
    defaultIfZero(design.NetworkQ, kDefaultNetworkQ);
    defaultIfZero(design.Falltime, kDefaultFalltime);
}

float& TargetField(DesignRecord& design, Target target)
{
    switch (target) {
    case Target::Frequency: return design.Frequency;
    case Target::Power: return design.Power;
    case Target::Supply: return design.Supply;
    case Target::Saturation: return design.Saturation;
    case Target::NetworkQ: return design.NetworkQ;
    case Target::Falltime: break;
    }
    return design.Falltime;
}

float TargetField(const DesignRecord& design, Target target)
{
    return TargetField(const_cast<DesignRecord&>(design), target);
}

static const EntryLimits& Entry(Target target) { return kEntryLimits[static_cast<int>(target)]; }

float ClampEntry(Target target, float entered, float saturation)
{
    const EntryLimits& limits = Entry(target);
    float value = entered;
    if (value < limits.below) value = limits.belowBecomes;
    if (target == Target::Supply && !(value > saturation))
        value = static_cast<float>(saturation + kSupplyAboveSaturation);
    if (value > limits.above) value = limits.aboveBecomes;
    return value;
}

bool InRecalcRange(Target target, float stored)
{
    const EntryLimits& limits = Entry(target);
    return stored >= limits.recalcLow && stored <= limits.recalcHigh;
}

float ClampOnLoad(Target target, float value)
{
    const LoadLimits& limits = kLoadLimits[static_cast<int>(target)];
    if (value < limits.low) value = limits.low;
    if (value > limits.high) value = limits.high;
    return value;
}

float ClampRnetwork(float entered)
{
    if (entered <= kRnetworkMin) return kRnetworkMin;
    if (entered > kRnetworkMax) return kRnetworkMax;
    return entered;
}

bool RnetworkAccepted(float entered) { return entered >= kRnetworkMin && entered <= kRnetworkMax; }

float StepValue(float value, int direction)
{
    if (direction < 0) return static_cast<float>(value / kStepFactor);
    if (direction > 0) return static_cast<float>(value * kStepFactor);
    return value;
}

}  // namespace voltra
