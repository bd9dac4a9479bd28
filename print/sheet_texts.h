// The texts of the printed design sheet: the labels beside the schematic's parts and
// the table of design targets, each with the page point of its top-left corner.
#pragma once

#include <string>
#include <vector>

#include "engine/circuit.h"
#include "engine/design_record.h"
#include "engine/inductor_windings.h"

namespace voltra {

struct SheetText {
    int x;  // page units, top-left corner of the text
    int y;
    std::string text;
    // The circuit part whose value this is, by its instance name; null for the rest.
    const char* part = nullptr;
    bool operator==(const SheetText&) const = default;
};

// The labels of the schematic, in the order they are printed.
std::vector<SheetText> SchematicLabels(const DesignRecord& design, const Circuit& circuit);
// The design targets below the schematic, one line each; the Class E load is added
// when the L-network hides it from the schematic.
std::vector<SheetText> DesignTargetLines(const DesignRecord& design, const Circuit& circuit);
// Below the footer, for an analysed circuit only: the loss budget and the part
// stresses as two tables, what the parts are ordered by.
std::vector<SheetText> LossAndStressLines(const Circuit& circuit);
// Under those tables (or in their place): how each inductor is wound, one line each,
// and every warning of a winding under the table, its part's name in front.
std::vector<SheetText> WindingLines(const Circuit& circuit, const std::vector<InductorWinding>& windings);

}  // namespace voltra
