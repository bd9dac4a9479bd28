// Predicted against simulated, figure by figure.
#include "simulation/verification.h"

#include <cmath>

namespace voltra {
namespace {

FigureComparison Relative(const char* key, const char* unit, double predicted, double simulated)
{
    const double deviation = (simulated - predicted) / std::fabs(predicted) * 100;
    return {key, unit, predicted, simulated, deviation, !(std::fabs(deviation) <= kDeviationWarningPercent)};
}

}  // namespace

std::vector<FigureComparison> Compare(const DesignRecord& d, const SimulationFigures& s)
{
    const double pin = static_cast<double>(d.Supply) * d.Idc;
    // Class E switches on at zero drain voltage: the residual is the deviation.
    const FigureComparison turnOn = {"VturnOnPercent", "%", 0, s.VturnOnPercent, s.VturnOnPercent,
                                     !(std::fabs(s.VturnOnPercent) <= kDeviationWarningPercent)};
    return {Relative("Pout", "W", d.Power, s.Pout),
            Relative("Pin", "W", pin, s.Pin),
            Relative("Efficiency", "", d.Efficiency, s.Efficiency),
            Relative("Idc", "A", d.Idc, s.Idc),
            Relative("Vpeak", "V", d.Vpeak, s.Vpeak),
            Relative("Ipeak", "A", d.Ipeak, s.Ipeak),
            turnOn};
}

}  // namespace voltra
