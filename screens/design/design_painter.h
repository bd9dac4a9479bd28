// One routine paints the design screen's picture, the schematic with its values, on
// any QPainter: the window, an image in a test, a page.
#pragma once

#include <QColor>
#include <QRegion>

class QTransform;

#include "engine/circuit.h"

class QPainter;

namespace voltra {

// Paints the shown design. The painter's world transform maps drawing units onto the
// device; lines keep their logical pixel width and text its pixel size whatever that
// transform stretches, so both stay crisp at any size and pixel ratio.
// pi shapes the choke's turns.
void PaintDesign(QPainter& painter, const Circuit& shown, float pi, int fontPixels, int penPixels,
                 const QColor& buttonFace);

// The pixels the labels of a shown design cover (with their anchor points) under the
// given drawing-unit transform: what a new cycle must repaint when only values changed.
QRegion LabelRegion(const Circuit& shown, const QTransform& units, int fontPixels);

}  // namespace voltra
