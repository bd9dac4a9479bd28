// What the commands on the circuit as built write: the Monte Carlo of its tolerances,
// its sensitivities with the bench guide, and a sweep; JSON and CSV for scripts, a
// table for people.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "engine/best_parts.h"
#include "engine/circuit_sweep.h"
#include "engine/load_mismatch.h"
#include "engine/sensitivity.h"
#include "engine/tolerance_analysis.h"

namespace voltra {

// The run as asked and what it found: settings, the nominal figures, the yield (a
// fraction), the builds that work and those without a steady state, and the four
// histograms (low, high, counts).
nlohmann::ordered_json ToleranceJson(const ToleranceSettings& settings, double targetPower,
                                     const ToleranceResult& result);
// kind,name,value,unit,low,high: the settings, the results, then one row per bin.
void WriteToleranceCsv(std::ostream& out, const ToleranceSettings& settings, double targetPower,
                       const ToleranceResult& result);
void WriteToleranceText(std::ostream& out, const ToleranceSettings& settings, double targetPower,
                        const ToleranceResult& result);

// Per part and per +1 % of its value: Pout (%), Efficiency (points), turnOnPercent
// (points of the supply), Vpeak (%); then the guide's lines.
nlohmann::ordered_json SensitivityJson(const Sensitivities& table, const std::vector<BenchAdvice>& guide);
// part,Pout,Efficiency,turnOnPercent,Vpeak: the table alone.
void WriteSensitivityCsv(std::ostream& out, const Sensitivities& table);
void WriteSensitivityText(std::ostream& out, const Sensitivities& table, const std::vector<BenchAdvice>& guide);

// One row a point: the swept value, Pout, Efficiency (a fraction), turnOnPercent,
// Vpeak, Ipeak, its standing and why not valid.
nlohmann::ordered_json SweepJson(const std::string& quantity, const SweepResult& sweep);
void WriteSweepCsv(std::ostream& out, const std::string& quantity, const SweepResult& sweep);
void WriteSweepText(std::ostream& out, const std::string& quantity, const SweepResult& sweep);

// The loads on the VSWR circles: the reference resistance, the nominal figures, one
// row a load (VSWR, phase in degrees, R, X, Pout, Efficiency, Vpeak, Ipeak,
// turnOnPercent; above vpeakLimit when one is given) and the worst cases by index.
nlohmann::ordered_json MismatchJson(const MismatchSettings& settings, const MismatchResult& result,
                                    std::optional<double> vpeakLimit);
// VSWR,phase,R,X,Pout,Efficiency,Vpeak,Ipeak,turnOnPercent,status,reason: the rows alone.
void WriteMismatchCsv(std::ostream& out, const MismatchResult& result, std::optional<double> vpeakLimit);
void WriteMismatchText(std::ostream& out, const MismatchResult& result, std::optional<double> vpeakLimit);

// The search for the best standard parts: the series, the combinations and the time,
// per part its exact, plainly rounded and chosen value (and the standard values it is
// bought as), and turnOnPercent, Pout and Efficiency (a fraction) of the exact, the
// plainly rounded and the chosen circuit.
nlohmann::ordered_json BestPartsJson(const BestParts& found);
// kind,name,exact,rounded,chosen,bought,turnOnPercent,Pout,Efficiency: a row per part
// (kind "part", bought the standard values joined by "+"), then a row per circuit
// (kind "circuit": exact, rounded, best).
void WriteBestPartsCsv(std::ostream& out, const BestParts& found);
void WriteBestPartsText(std::ostream& out, const BestParts& found);

}  // namespace voltra
