#include "engine/thermal.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace voltra {

namespace {

// The search for a steady temperature stops here: far above any junction's rating
// (silicon carbide's 200 °C), so a balance not reached by then is a runaway.
constexpr double kHighestSearchedCelsius = 1000;
constexpr double kSearchStepKelvin = 5;
constexpr double kToleranceKelvin = 1e-9;
constexpr int kMostBisections = 200;

std::string Degrees(double celsius)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f °C", celsius);
    return text;
}

JunctionTemperature Invalid(JunctionTemperature t, std::string reason)
{
    t.status = Status::Invalid;
    t.reason = std::move(reason);
    return t;
}

}  // namespace

LossAtOnResistance ConductionPlusFixed(double rmsAmps, double fixedWatts)
{
    return [=](double ohms) { return rmsAmps * rmsAmps * ohms + fixedWatts; };
}

JunctionTemperature SolveJunctionTemperature(const Transistor& device, const HeatSink& sink,
                                             const LossAtOnResistance& loss)
{
    JunctionTemperature t;
    if (!device.thetaJunctionCase)
        return Invalid(t, "The device gives no junction-to-case thermal resistance.");
    if (!device.maxJunctionCelsius) return Invalid(t, "The device gives no maximum junction temperature.");
    if (device.onResistanceRise.size() < 2)
        return Invalid(t, "The device gives no rise of on-resistance with temperature.");
    const double theta = *device.thetaJunctionCase + sink.thetaCaseSink + sink.thetaSinkAmbient;
    if (!(theta >= 0) || !std::isfinite(theta) || !std::isfinite(sink.ambientCelsius))
        return Invalid(t, "The thermal resistances must be zero or positive.");

    // Heat balance: positive while the loss at tj would heat the junction above tj.
    const auto excess = [&](double tj) { return sink.ambientCelsius + theta * loss(OnResistanceAt(device, tj)) - tj; };
    const auto settle = [&](double tj) {
        t.celsius = tj;
        t.onResistance = OnResistanceAt(device, tj);
        t.lossWatts = loss(t.onResistance);
    };

    double low = sink.ambientCelsius;
    const double atAmbient = excess(low);
    if (!std::isfinite(atAmbient)) return Invalid(t, "The switch's loss is not a number.");
    if (atAmbient <= 0) {
        settle(low);
    } else {
        double high = low;
        double atHigh = atAmbient;
        while (atHigh > 0) {
            low = high;
            if (high >= kHighestSearchedCelsius) {
                settle(high);
                return Invalid(t, "Thermal runaway: the on-resistance rises faster with the junction's heat than "
                                  "the heat sink carries it away; no steady temperature exists.");
            }
            high = std::min(high + kSearchStepKelvin, kHighestSearchedCelsius);
            atHigh = excess(high);
        }
        for (int i = 0; i < kMostBisections && high - low > kToleranceKelvin; ++i) {
            const double mid = (low + high) / 2;
            (excess(mid) > 0 ? low : high) = mid;
        }
        settle((low + high) / 2);
    }
    if (t.celsius > *device.maxJunctionCelsius)
        return Invalid(t, "The junction reaches " + Degrees(t.celsius) + ", above the device's maximum of " +
                              Degrees(*device.maxJunctionCelsius) + ".");
    return t;
}

}  // namespace voltra
