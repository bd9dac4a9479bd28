#include "engine/transistor.h"

#include <algorithm>

namespace voltra {

namespace {

// The second point of a straight rise; any temperature other than 25 °C would do.
constexpr double kStraightRiseSecondCelsius = 125;

double Interpolate(const TemperatureFactor& a, const TemperatureFactor& b, double celsius)
{
    return a.factor + (b.factor - a.factor) * (celsius - a.celsius) / (b.celsius - a.celsius);
}

}  // namespace

double OnResistanceAt(const Transistor& device, double celsius)
{
    const std::vector<TemperatureFactor>& rise = device.onResistanceRise;
    if (rise.size() < 2) return device.onResistance25;
    auto upper = std::upper_bound(rise.begin(), rise.end(), celsius,
                                  [](double t, const TemperatureFactor& p) { return t < p.celsius; });
    if (upper == rise.begin()) ++upper;
    if (upper == rise.end()) --upper;
    return device.onResistance25 * Interpolate(*(upper - 1), *upper, celsius);
}

std::vector<TemperatureFactor> StraightRise(double perKelvin)
{
    return {{kOnResistanceReferenceCelsius, 1},
            {kStraightRiseSecondCelsius, 1 + perKelvin * (kStraightRiseSecondCelsius - kOnResistanceReferenceCelsius)}};
}

}  // namespace voltra
