// A design and its simulation as the command line writes them: JSON and CSV for
// scripts, a table for people. Every writer walks the circuit model, so a part or a
// figure the model gains is written without a change here.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <vector>

#include "app/command_inputs.h"
#include "engine/circuit.h"
#include "engine/inductor_windings.h"
#include "simulation/simulator.h"
#include "simulation/verification.h"

namespace voltra {

// What was simulated, beside the design: the comparison when there is a result, the
// reason when there is none.
struct SimulationReport {
    const SimulationOutcome& outcome;
    std::vector<FigureComparison> rows;
};

// Targets and options, every part by its instance name, every figure with its
// status and reason, and the simulation when given: numbers in SI units (the
// efficiency as a fraction), null where a figure is no number.
nlohmann::ordered_json ReportJson(const CommandDesign& made, const Circuit& circuit,
                                  const SimulationReport* simulation = nullptr);

// How each inductor can be wound, one object per inductor in circuit order: lengths
// in metres, the wire as its AWG, null where a figure does not apply or was not computed.
nlohmann::ordered_json WindingsJson(const std::vector<InductorWinding>& windings);

// The windings as aligned columns, each warning under its inductor.
void WriteWindingsText(std::ostream& out, const std::vector<InductorWinding>& windings);

// kind,name,value,unit,status,reason: one row per target, part, figure and simulated
// figure, quoted where a field needs it.
void WriteReportCsv(std::ostream& out, const CommandDesign& made, const Circuit& circuit,
                    const SimulationReport* simulation = nullptr);

// The design as aligned columns, values with unit prefixes.
void WriteDesignText(std::ostream& out, const CommandDesign& made, const Circuit& circuit);

// Predicted beside simulated, and whether the simulation reached steady state.
void WriteSimulationText(std::ostream& out, const SimulationReport& simulation);

}  // namespace voltra
