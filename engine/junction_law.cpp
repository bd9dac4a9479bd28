#include "engine/junction_law.h"

#include <cmath>
#include <limits>

namespace voltra {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Below this |a·L| the series of expm1(a·L)/a is used: expm1 itself is exact there,
// the division by a tiny a is not.
constexpr double kSeriesBelow = 1e-8;

// (U^a - 1)/a with L = ln U, continuous through a = 0 where it is L.
double PowerMinusOneOver(double a, double logU)
{
    const double x = a * logU;
    if (std::abs(x) < kSeriesBelow) return logU * (1 + x / 2);
    return std::expm1(x) / a;
}

// ln(1 + v/vj), or NaN outside the law's domain.
double LogU(const JunctionLaw& law, double v)
{
    if (!(law.vj > 0) || !(v > -law.vj)) return kNaN;
    return std::log1p(v / law.vj);
}

}  // namespace

double Capacitance(const JunctionLaw& law, double v)
{
    return law.cj0 * std::exp(-law.m * LogU(law, v));
}

double Charge(const JunctionLaw& law, double v)
{
    return law.cj0 * law.vj * PowerMinusOneOver(1 - law.m, LogU(law, v));
}

double StoredEnergy(const JunctionLaw& law, double v)
{
    const double logU = LogU(law, v);
    return law.cj0 * law.vj * law.vj * (PowerMinusOneOver(2 - law.m, logU) - PowerMinusOneOver(1 - law.m, logU));
}

double ChargeEquivalentCapacitance(const JunctionLaw& law, double v)
{
    if (v == 0) return law.cj0;
    return Charge(law, v) / v;
}

double EnergyEquivalentCapacitance(const JunctionLaw& law, double v)
{
    if (v == 0) return law.cj0;
    return 2 * StoredEnergy(law, v) / (v * v);
}

double JunctionCapacitance(const JunctionLaw& law, double v)
{
    const double forward = -v;
    if (!(forward >= kForwardBiasCoefficient * law.vj)) return Capacitance(law, v);
    const double fc = kForwardBiasCoefficient;
    return law.cj0 / std::pow(1 - fc, 1 + law.m) * (1 - fc * (1 + law.m) + law.m * forward / law.vj);
}

double JunctionStoredEnergy(const JunctionLaw& law, double v)
{
    const double joint = -kForwardBiasCoefficient * law.vj;
    if (!(v < joint)) return StoredEnergy(law, v);
    // C = k·(a − b·u) in the drain voltage u below the joint.
    const double fc = kForwardBiasCoefficient;
    const double k = law.cj0 / std::pow(1 - fc, 1 + law.m), a = 1 - fc * (1 + law.m), b = law.m / law.vj;
    const auto line = [&](double u) { return k * (a * u * u / 2 - b * u * u * u / 3); };
    return StoredEnergy(law, joint) + line(v) - line(joint);
}

}  // namespace voltra
