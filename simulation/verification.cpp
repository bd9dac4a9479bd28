// Predicted against simulated, figure by figure.
#include "simulation/verification.h"

#include <cmath>

#include "engine/figure_table.h"

namespace voltra {
namespace {

FigureComparison Relative(FigureKey key, double predicted, double simulated)
{
    const FigureRow& row = FigureOf(key);
    const double deviation = (simulated - predicted) / std::fabs(predicted) * 100;
    return {row.name, row.unit, predicted, simulated, deviation, !(std::fabs(deviation) <= kDeviationWarningPercent)};
}

}  // namespace

std::vector<FigureComparison> Compare(const DesignRecord& d, const Circuit& c, const SimulationFigures& s)
{
    // Without an analysis of its own the circuit is designed to the target power.
    const Result pout = FigureOf(FigureKey::Pout).of(c);
    const double predictedPout = pout.Computed() ? pout.value : d.Power;
    const double pin = static_cast<double>(d.Supply) * c.idc.value;
    // Class E switches on at zero drain voltage; an analysed circuit predicts its own
    // residual. The deviation is in % of the supply, like the figure.
    const Result turnOn = FigureOf(FigureKey::VturnOnPercent).of(c);
    const double predictedTurnOn = turnOn.Computed() ? turnOn.value : 0.0;
    const double turnOnDeviation = s.VturnOnPercent - predictedTurnOn;
    const FigureRow& turnOnRow = FigureOf(FigureKey::VturnOnPercent);
    return {Relative(FigureKey::Pout, predictedPout, s.Pout),
            Relative(FigureKey::Pin, pin, s.Pin),
            Relative(FigureKey::Efficiency, c.efficiency.value, s.Efficiency),
            Relative(FigureKey::Idc, c.idc.value, s.Idc),
            Relative(FigureKey::Vpeak, c.vpeak.value, s.Vpeak),
            Relative(FigureKey::Ipeak, c.ipeak.value, s.Ipeak),
            {turnOnRow.name, turnOnRow.unit, predictedTurnOn, s.VturnOnPercent, turnOnDeviation,
             !(std::fabs(turnOnDeviation) <= kDeviationWarningPercent)}};
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
