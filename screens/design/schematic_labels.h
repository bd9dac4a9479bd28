// The texts written onto the design screen's schematic: every computed value beside
// its part, the supply figures, the switch stresses and the terminal names.
#pragma once

#include <QPointF>
#include <QString>
#include <vector>

#include "engine/circuit.h"
#include "engine/figure_table.h"

namespace voltra {

// The colour of the one-pixel point plotted at a text's anchor: a button-face
// point shows as a grey dot at the text's corner, a white one vanishes.
enum class AnchorColour { ButtonFace, White };

struct SchematicLabel {
    QPointF anchor;  // top-left corner of the text, in drawing units
    AnchorColour anchorColour;
    QString text;
    bool red;  // a warning, or a value that is not valid
    // The circuit part whose value this is, by its instance name; null for the rest.
    const char* part = nullptr;
};

// The labels for a shown circuit; schematicX is where its drawing's chain ended.
std::vector<SchematicLabel> SchematicLabels(const Circuit& shown, int schematicX);

}  // namespace voltra
