// The design screen's drawing units: 12000 across and 9000 down its client area,
// x to the right and y downwards, and the size of the text written on it.
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

// A rectangle given in drawing units, on whole pixels, so that neighbouring
// controls share their edges.
QRect PixelRect(const QTransform& units, const QRectF& drawingRect);

// Pixel height of the screen's text. Maximized, it is 0.0008 points per twip of the
// display height; a smaller window shrinks it with the drawing, so every value keeps
// its place beside its part.
int ScreenFontPixels(int displayHeight, int clientHeight, int maximizedClientHeight, bool maximized);

}  // namespace voltra
