// One routine paints the design screen's picture, the schematic with its values, on
// any QPainter: the window, an image in a test, a page.
#pragma once

#include <QColor>

#include "engine/design_record.h"

class QPainter;

// Paints the shown design. The painter's world transform maps drawing units onto the
// device; lines keep their pixel width and text its pixel size whatever that
// transform stretches, so both stay crisp at any size and pixel ratio.
void PaintDesign(QPainter& painter, const DesignRecord& shown, int fontPixels, const QColor& buttonFace);

// The face of the screen's text.
inline constexpr const char* kScreenFontFamily = "Liberation Sans";
