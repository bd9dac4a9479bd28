// The texts of the printed design sheet: the labels beside the schematic's parts and
// the table of design targets, each with the page point of its top-left corner.
#pragma once

#include <string>
#include <vector>

#include "engine/design_record.h"

namespace voltra {

struct SheetText {
    int x;  // page units, top-left corner of the text
    int y;
    std::string text;
    bool operator==(const SheetText&) const = default;
};

// The labels of the schematic, in the order they are printed.
std::vector<SheetText> SchematicLabels(const DesignRecord& design);
// The design targets below the schematic, one line each; the Class E load is added
// when the L-network hides it from the schematic.
std::vector<SheetText> DesignTargetLines(const DesignRecord& design);

// On-resistance the switch shows at its peak current, Saturation / Ipeak, rounded to
// single precision; not finite when Ipeak is 0.
float Ron(const DesignRecord& design);
// The L-network is drawn, labelled and listed.
bool NetworkShown(const DesignRecord& design);

}  // namespace voltra
