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

std::vector<FigureComparison> Compare(const DesignRecord& d, const Circuit& c, const SimulationFigures& s)
{
    const double pout = c.analysed ? c.pout.value : d.Power;
    const double pin = static_cast<double>(d.Supply) * c.idc.value;
    // Class E switches on at zero drain voltage; an analysed circuit predicts its own
    // residual. The deviation is in % of the supply, like the figure.
    const double predictedTurnOn = c.analysed ? c.turnOnPercent.value : 0.0;
    const double turnOnDeviation = s.VturnOnPercent - predictedTurnOn;
    const FigureComparison turnOn = {"VturnOnPercent", "%", predictedTurnOn, s.VturnOnPercent, turnOnDeviation,
                                     !(std::fabs(turnOnDeviation) <= kDeviationWarningPercent)};
    return {Relative("Pout", "W", pout, s.Pout),
            Relative("Pin", "W", pin, s.Pin),
            Relative("Efficiency", "", c.efficiency.value, s.Efficiency),
            Relative("Idc", "A", c.idc.value, s.Idc),
            Relative("Vpeak", "V", c.vpeak.value, s.Vpeak),
            Relative("Ipeak", "A", c.ipeak.value, s.Ipeak),
            turnOn};
}

std::vector<HarmonicComparison> CompareHarmonics(const Circuit& c, const SimulationFigures& s)
{
    std::vector<HarmonicComparison> rows;
    for (const Harmonic& h : c.harmonics) {
        const double simulated = HarmonicDbc(s.loadHarmonics[static_cast<std::size_t>(h.n - 1)], s.loadHarmonics[0]);
        const double difference = simulated - h.dBc;
        rows.push_back({h.n, h.dBc, simulated, difference,
                        h.dBc > kHarmonicFloorDbc && !(std::fabs(difference) <= kHarmonicWarningDb)});
    }
    return rows;
}

}  // namespace voltra
