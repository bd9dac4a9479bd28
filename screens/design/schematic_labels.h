// The texts written onto the design screen's schematic: every computed value beside
// its part, the supply figures, the switch stresses and the terminal names.
#pragma once

#include <QPointF>
#include <QString>
#include <vector>

#include "engine/design_record.h"

namespace voltra {

// The colour of the one-pixel point plotted at a text's anchor: a button-face
// point shows as a grey dot at the text's corner, a white one vanishes.
enum class AnchorColour { ButtonFace, White };

struct SchematicLabel {
    QPointF anchor;  // top-left corner of the text, in drawing units
    AnchorColour anchorColour;
    QString text;
    bool red;  // a warning, or a value the equations could not give
};

// Written in place of a value whose calculation failed, always in red.
inline constexpr const char* kInvalidMark = "invalid";

// The labels for a shown design; schematicX is where its schematic's chain ended.
std::vector<SchematicLabel> SchematicLabels(const DesignRecord& shown, int schematicX);

}  // namespace voltra
