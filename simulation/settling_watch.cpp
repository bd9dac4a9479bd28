#include "simulation/settling_watch.h"

#include <algorithm>
#include <cmath>

namespace voltra {
namespace {

// Steady once both powers of a period differ from the period before by less than
// this fraction, and are not still creeping further than that. The output power
// alone is not enough: at low Q it overshoots, and at its turning point it stands
// still while the series capacitor is still charging and the supply current still
// falls by several per cent.
constexpr double kSteadyChange = 1e-3;

}  // namespace

void SettlingWatch::Trace::Add(double power)
{
    stepBefore = lastStep;
    lastStep = power - previous;
    previous = power;
}

double SettlingWatch::Trace::Step(double power) const { return std::fabs(lastStep) / std::fabs(power); }

// A high-Q network or a large choke settles slowly and geometrically: each period
// moves the power by a near-constant fraction r of the step before, so
// r / (1 - r) steps are still to come. A period-to-period change under 0.1 % alone
// would stop such a run per cent short of its steady state.
double SettlingWatch::Trace::StillToGo(double power) const
{
    if (!std::isfinite(stepBefore) || stepBefore == 0) return 0;
    const double ratio = lastStep / stepBefore;
    if (!(ratio > 0)) return 0;  // turning or ringing down: bounded by the step itself
    if (ratio >= 1) return std::numeric_limits<double>::infinity();
    return std::fabs(lastStep) * ratio / (1 - ratio) / std::fabs(power);
}

void SettlingWatch::AddPeriod(double outputPower, double inputPower)
{
    output_.Add(outputPower);
    input_.Add(inputPower);
    lastOutput_ = outputPower;
    lastInput_ = inputPower;
    if (periods_ > 0) lastChange_ = std::max(output_.Step(outputPower), input_.Step(inputPower));
    ++periods_;
}

bool SettlingWatch::Steady() const
{
    if (!(lastChange_ < kSteadyChange)) return false;
    return std::max(output_.StillToGo(lastOutput_), input_.StillToGo(lastInput_)) < kSteadyChange;
}

}  // namespace voltra
