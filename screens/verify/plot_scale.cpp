// Steps from the 1-2-5 series, as on an oscilloscope's graticule.
#include "screens/verify/plot_scale.h"

#include <algorithm>
#include <cmath>

namespace voltra {

namespace {

constexpr double kSteps[] = {1, 2, 5, 10};
// The discharge of C1 through the switch lasts a few Ron C1, far under this share of
// the plotted time (two periods) after each turn-on.
constexpr double kImpulseWindowShare = 0.015;
constexpr double kImpulseMargin = 1.2;

double RoundStep(double atLeast)
{
    const double decade = std::pow(10.0, std::floor(std::log10(atLeast)));
    for (double step : kSteps)
        if (step * decade >= atLeast * (1 - 1e-12)) return step * decade;
    return 10 * decade;
}

double NextStep(double step)
{
    const double decade = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    const double mantissa = step / decade;
    return (mantissa < 1.5 ? 2 : mantissa < 3.5 ? 5 : 10) * decade;
}

}  // namespace

AxisScale RoundAxis(double low, double high, int maxIntervals)
{
    if (high < low) std::swap(low, high);
    double span = high - low;
    if (!(span > 0)) span = std::max(std::fabs(high), 1e-12);
    double step = RoundStep(span / maxIntervals);
    for (;;) {
        const double first = std::floor(low / step + 1e-9) * step;
        const double last = std::ceil(high / step - 1e-9) * step;
        const double intervals = std::round((last - first) / step);
        if (intervals <= maxIntervals && last > first) return {first, last, step};
        step = NextStep(step);
    }
}

CurrentScale SwitchCurrentScale(const SimulationWaveforms& w)
{
    CurrentScale scale{0, 0};
    if (w.time.empty()) return scale;
    const double window = kImpulseWindowShare * (w.time.back() - w.time.front());
    // Turn-on instants: the one the simulator reports, every rise of the gate, and the
    // start of the plot when it starts with the switch on.
    std::vector<double> turnOns = {w.turnOnTime};
    if (!w.switchOn.empty() && w.switchOn.front()) turnOns.push_back(w.time.front());
    for (std::size_t i = 1; i < w.time.size() && i < w.switchOn.size(); ++i)
        if (w.switchOn[i] && !w.switchOn[i - 1]) turnOns.push_back(w.time[i]);
    const auto nearTurnOn = [&](double t) {
        return std::any_of(turnOns.begin(), turnOns.end(), [&](double on) { return t >= on && t <= on + window; });
    };
    double insidePeak = 0, insideTime = 0, insideLow = 0, insideHigh = 0;
    bool anyInside = false, anyOutside = false;
    for (std::size_t i = 0; i < w.time.size() && i < w.switchCurrent.size(); ++i) {
        const double current = w.switchCurrent[i];
        if (nearTurnOn(w.time[i])) {
            insideLow = anyInside ? std::min(insideLow, current) : current;
            insideHigh = anyInside ? std::max(insideHigh, current) : current;
            anyInside = true;
            if (std::fabs(current) > std::fabs(insidePeak)) {
                insidePeak = current;
                insideTime = w.time[i];
            }
            continue;
        }
        scale.low = anyOutside ? std::min(scale.low, current) : current;
        scale.high = anyOutside ? std::max(scale.high, current) : current;
        anyOutside = true;
    }
    const double outsidePeak = std::max(std::fabs(scale.low), std::fabs(scale.high));
    if (anyOutside && std::fabs(insidePeak) > kImpulseMargin * outsidePeak) {
        scale.impulse = true;
        scale.impulsePeak = insidePeak;
        scale.impulseTime = insideTime;
    } else {
        // A turn-on without an impulse belongs to the trace like any other instant.
        if (anyInside) {
            scale.low = anyOutside ? std::min(scale.low, insideLow) : insideLow;
            scale.high = anyOutside ? std::max(scale.high, insideHigh) : insideHigh;
        }
    }
    return scale;
}

}  // namespace voltra
