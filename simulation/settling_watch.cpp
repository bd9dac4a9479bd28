#include "simulation/settling_watch.h"

#include <algorithm>
#include <cmath>

namespace voltra {
namespace {

// Steady once both powers of a period differ from the period before by less than
// this fraction. The output power alone is not enough: at low Q it overshoots,
// and at its turning point it stands still while the series capacitor is still
// charging and the supply current still falls by several per cent.
constexpr double kSteadyChange = 1e-3;

double RelativeChange(double now, double before) { return std::fabs(now - before) / std::fabs(now); }

}  // namespace

void SettlingWatch::AddPeriod(double outputPower, double inputPower)
{
    if (periods_ > 0) {
        lastChange_ =
            std::max(RelativeChange(outputPower, previousOutput_), RelativeChange(inputPower, previousInput_));
    }
    previousOutput_ = outputPower;
    previousInput_ = inputPower;
    ++periods_;
}

bool SettlingWatch::Steady() const { return lastChange_ < kSteadyChange; }

}  // namespace voltra
