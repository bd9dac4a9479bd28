// How each part of the fixed circuit moves what the stage does, per +1 % of its
// value, and the bench guide that follows: which part to change, and which way, to
// bring a figure back.
#pragma once

#include <string>
#include <vector>

#include "engine/circuit.h"
#include "engine/stage_analysis.h"

namespace voltra {

// The relative step of the central differences: ±1 % of the part's value.
inline constexpr double kSensitivityStep = 0.01;

// Per +1 % of the part's value.
struct PartSensitivity {
    PartRole role;
    const char* part;          // instance name
    bool valid = false;        // both neighbours of the circuit reached a steady state
    double pout = 0;           // % of the nominal Pout
    double efficiency = 0;     // percentage points
    double turnOnVoltage = 0;  // percentage points of the supply
    double vpeak = 0;          // % of the nominal peak drain voltage
};

struct Sensitivities {
    StageFigures nominal;
    std::vector<PartSensitivity> parts;  // TrimmableParts order
};

// Central differences of AnalyseStage about the circuit as built: each part at
// (1 ± kSensitivityStep) of its value, the rest held, (F+ − F−) / 2 (second-order
// accurate: e.g. W. H. Press et al., "Numerical Recipes", 3rd ed., §5.7).
Sensitivities AnalyseSensitivities(const Circuit& circuit);

enum class BenchFigure { TurnOnVoltage, OutputPower, Efficiency, PeakDrainVoltage };

// One change of one part that moves the figure back.
struct PartMove {
    PartRole role;
    const char* part;
    bool increase;  // raise the part's value; false: lower it
    double effect;  // the figure's sensitivity to the part, its own unit per +1 %
};

struct BenchAdvice {
    BenchFigure figure;
    bool tooHigh;                 // the figure stands above where it should
    std::vector<PartMove> moves;  // strongest first
    std::string text;             // "Drain voltage at turn-on above zero: decrease C2 or increase C1"
};

// The parts with the largest effect on each figure, at most kAdvisedParts and none
// below kAdvisedShare of the largest, each in the direction that moves the figure
// back: for the drain voltage at turn-on above and below zero, the output power high
// and low, the efficiency low and the peak drain voltage high.
inline constexpr std::size_t kAdvisedParts = 2;
inline constexpr double kAdvisedShare = 0.25;
std::vector<BenchAdvice> BenchGuide(const Sensitivities& sensitivities);

}  // namespace voltra
