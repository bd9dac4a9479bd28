// The equations' predictions beside the simulated figures: what the verification
// window, the printed page and the command line show.
#pragma once

#include <vector>

#include "engine/circuit.h"
#include "engine/design_record.h"
#include "simulation/simulator.h"

namespace voltra {

// A simulated figure more than this far from its prediction is shown in red.
inline constexpr double kDeviationWarningPercent = 10;

struct FigureComparison {
    const char* key;   // Pout, Pin, Efficiency, Idc, Vpeak, Ipeak, VturnOnPercent
    const char* unit;  // W, A, V, % or "" (efficiency as a fraction)
    double predicted;
    double simulated;
    // Simulated minus predicted, in % of the prediction; for the turn-on voltage, in %
    // of the supply.
    double deviationPercent;
    bool beyondWarning;
};

// Harmonics of the load voltage, analysis against simulation, in dB below the
// fundamental: only an analysed circuit predicts them.
struct HarmonicComparison {
    int n;
    double predicted;   // dBc
    double simulated;   // dBc
    double difference;  // dB, simulated less predicted
    bool beyondWarning;
};

// A harmonic the analysis puts above kHarmonicFloorDbc and the simulation finds more
// than kHarmonicWarningDb away is shown in red; deeper ones are the simulator's
// truncation error as much as the circuit's.
inline constexpr double kHarmonicWarningDb = 1.5;
inline constexpr double kHarmonicFloorDbc = -80;

// Harmonics 2 to kHarmonics; none when the circuit was not analysed.
std::vector<HarmonicComparison> CompareHarmonics(const Circuit& circuit, const SimulationFigures& simulated);

// The predictions are the circuit's own figures: the fits', or its analysis when the
// values were solved or rounded; the output power is the target unless analysed.
std::vector<FigureComparison> Compare(const DesignRecord& calculated, const Circuit& circuit,
                                      const SimulationFigures& simulated);

}  // namespace voltra
