// The design screen's drawing units: 12000 across and 9000 down its client area,
// x to the right and y downwards, and the size of the text and lines drawn on it.
#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>
#include <QTransform>

namespace voltra {

inline constexpr double kDrawingWidth = 12000;
inline constexpr double kDrawingHeight = 9000;

// Maps drawing units onto a client area of the given size (in logical pixels).
QTransform DrawingTransform(QSize client);
// The same onto an area of the window that need not start at its corner.
QTransform DrawingTransform(const QRect& area);

// A rectangle given in drawing units, on whole pixels, so that neighbouring
// controls share their edges.
QRect PixelRect(const QTransform& units, const QRectF& drawingRect);

// Pixel height of the screen's text for a client area of this size, taken afresh on
// every resize. It follows the height, as a maximized window's 0.0008 points per
// twip of the display did, and the width too, so that a window squarer than the
// drawing's 4:3 keeps every value clear of its neighbours and its part.
int ScreenFontPixels(QSize client);

// Logical pixel width of the schematic's wires: two at a laptop's height, thickening
// in steps of two as the window grows, so the wires stay on whole pixels and keep
// their weight beside the text.
int SchematicPenPixels(QSize client);

}  // namespace voltra
