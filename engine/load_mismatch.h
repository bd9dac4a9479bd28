// The fixed circuit into loads other than its own: every impedance on circles of
// constant VSWR about the design's load, and a grid over the Smith chart's inner
// region for contours, each analysed without re-solving the circuit.
#pragma once

#include <complex>
#include <optional>
#include <string>
#include <vector>

#include "engine/circuit.h"
#include "engine/stage_analysis.h"

namespace voltra {

using Impedance = std::complex<double>;   // ohm, R + jX at the switching frequency
using Reflection = std::complex<double>;  // Γ against the reference resistance

// Z = Z0(1 + Γ)/(1 − Γ) and back, Γ = (Z − Z0)/(Z + Z0) (D. M. Pozar, "Microwave
// Engineering", 4th ed., Wiley 2012, sections 2.3 and 2.4).
Impedance ImpedanceOf(Reflection gamma, double z0);
Reflection ReflectionOf(Impedance z, double z0);

// |Γ| = (S − 1)/(S + 1) of a VSWR S (Pozar, section 2.3).
double ReflectionMagnitude(double vswr);

// The resistance every load is measured against: the load the circuit was designed
// for, at the output port (the L-network's far side when it is in).
double ReferenceResistance(const Circuit& circuit);

// The circuit with its load resistor set to Re Z and, for Im Z ≠ 0, a lossless
// reactance in series between the output port and that resistor: an inductor
// "LLoad" of X/ω for X > 0, a capacitor "CLoad" of 1/(ω|X|) for X < 0: the series
// equivalent of the load at the fundamental, as load-pull states it (S. C. Cripps,
// "RF Power Amplifiers for Wireless Communications", 2nd ed., Artech House 2006).
// At the harmonics the one element gives nX or X/n: the output filter of a Class E
// stage leaves little harmonic current for that choice to matter. Its figures are
// those of its own analysis; with Z the circuit's own load it is the circuit itself,
// part for part.
Circuit MismatchedCircuit(const Circuit& circuit, Impedance load);

// What the stage does into one load.
struct MismatchPoint {
    Reflection gamma;          // against the reference resistance
    Impedance load;            // ohm
    double vswr = 1;           // of gamma
    double phaseDegrees = 0;   // of gamma, 0 to 360
    bool valid = false;
    std::string reason;        // why there is no steady state, when invalid
    double pout = 0;           // W
    double efficiency = 0;     // fraction
    double vpeak = 0;          // V, highest drain voltage
    double ipeak = 0;          // A, highest switch current the network drives, without C1's discharge
    double dischargePeak = 0;  // A, the highest switch current with the discharge impulse of C1
    double turnOnVoltage = 0;  // drain voltage as the switch closes, % of the supply
};

// The figures a Smith chart is coloured by and the worst cases are chosen by.
enum class MismatchFigure { Pout, Efficiency, Vpeak, Ipeak, TurnOnVoltage };
inline constexpr MismatchFigure kMismatchFigures[] = {MismatchFigure::Pout, MismatchFigure::Efficiency,
                                                      MismatchFigure::Vpeak, MismatchFigure::Ipeak,
                                                      MismatchFigure::TurnOnVoltage};
double FigureOf(const MismatchPoint& point, MismatchFigure figure);

struct MismatchSettings {
    std::vector<double> vswrs = {2, 3};  // each above 1
    int phases = 36;                     // points per circle, the first at Γ's phase 0
    double gridRadius = 0.6;             // |Γ| the contour grid covers
    int gridSize = 31;                   // grid points per side, odd so Γ = 0 is one
    unsigned threads = 0;                // 0: one per core
};

// The worst of the circle points by each measure, as indices into `points`; none
// when no point has a steady state.
struct MismatchWorst {
    std::optional<std::size_t> highestVpeak, highestIpeak, lowestPout, worstTurnOn;
};

// A square of Γ from −radius to +radius on each axis, size × size points, row by row
// from the lowest imaginary part; each point within a cell's diagonal of the
// radius analysed (so contour cells reach the rim), the others left invalid with
// a reason.
struct MismatchGrid {
    double radius = 0;
    int size = 0;
    std::vector<MismatchPoint> points;
    const MismatchPoint& At(int column, int row) const
    {
        return points[static_cast<std::size_t>(row) * static_cast<std::size_t>(size) + static_cast<std::size_t>(column)];
    }
};

struct MismatchResult {
    std::string problem;  // why nothing was analysed: a VSWR at or below 1, too few phases
    double z0 = 0;        // ohm, the reference resistance
    StageFigures nominal;
    std::vector<MismatchPoint> points;  // circle by circle in the order asked, phase rising
    MismatchWorst worst;
    MismatchGrid grid;
};

// The stage into `phases` loads on each VSWR circle, φ_k = 360°·k/phases, and over
// the grid; settings.gridSize 0 leaves the grid out.
MismatchResult AnalyseMismatch(const Circuit& circuit, const MismatchSettings& settings);

// One load's figures.
MismatchPoint AnalyseLoad(const ClassEStage& stage, double z0, Reflection gamma);

}  // namespace voltra
