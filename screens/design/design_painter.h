// One routine paints the design screen's picture, the schematic with its values, on
// any QPainter: the window, an image in a test, a page.
#pragma once

#include <QColor>
#include <QRect>
#include <QRegion>
#include <QTransform>
#include <vector>

#include "engine/circuit.h"
#include "screens/design/schematic_labels.h"

class QPainter;

namespace voltra {

// The labels of a shown design and the pixels each covers (with its anchor point)
// under a drawing-unit transform and font size.
struct LabelPixels {
    std::vector<SchematicLabel> labels;
    std::vector<QRect> pixels;
    QTransform units;
    int fontPixels = 0;
};

// Paints the shown design. The painter's world transform maps drawing units onto the
// device; lines keep their logical pixel width and text its pixel size whatever that
// transform stretches, so both stay crisp at any size and pixel ratio.
// pi shapes the choke's turns. When the painter is clipped, only the strokes and
// labels that reach into the clip are drawn; `measured`, the shown design's labels as
// measured under the painter's transform and this font size, saves working them out
// again and tells exactly which reach it.
void PaintDesign(QPainter& painter, const Circuit& shown, float pi, int fontPixels, int penPixels,
                 const QColor& buttonFace, const LabelPixels* measured = nullptr);

// Measures the labels of a shown design; a label that stands unchanged in `before`,
// measured under the same transform and font, keeps its pixels without being shaped again.
LabelPixels MeasureLabels(const Circuit& shown, const QTransform& units, int fontPixels,
                          const LabelPixels* before = nullptr);

// Where a label's ink may reach, from its top-left corner at the font's pixel size:
// never less than the ink the shaped text covers.
QRectF LabelInkBound(const QString& text, int fontPixels);

// What a new cycle must repaint when only values changed: the old and new pixels of
// every label that differs between two designs of one shape.
QRegion ChangedLabelRegion(const LabelPixels& before, const LabelPixels& after);

}  // namespace voltra
