// The welcome screen's drawing units and its background: the space every position
// and line of the screen is given in, and the dark-to-light blue gradient.
#pragma once

#include <QSizeF>
#include <QTransform>

class QPainter;

namespace voltra {

// The drawing area fixed at load from the display, in single precision as the
// welcome screen stores it: 12000 x 9000 units on a display of 800 x 600 pixels.
struct WelcomeDrawingUnits {
    float ScaleWidth;
    float ScaleHeight;
    float ChokeArcRadius;  // horizontal units: 80 on a 4:3 display, 60 on 16:9
};
WelcomeDrawingUnits FixDrawingUnits(QSizeF displayTwips);

// The units a whole client area spans. The units are fixed on a client of
// 11880 x 8490 twips, so 12000 units cover 99 % of a window as wide as the display
// and 9000 units 94.3 % of one as high; the screen keeps those proportions at any
// window size, leaving a pure blue margin right of and below the gradient.
inline constexpr double kClientWidthUnits = 12000.0 * 12000.0 / 11880.0;
inline constexpr double kClientHeightUnits = 9000.0 * 9000.0 / 8490.0;

// Drawing units to pixels of a client area of the given size.
QTransform WelcomeViewTransform(QSizeF clientPixels);

// One horizontal line per unit row from y = 1 to 9000, blue rising from 1 to 191;
// the painter's transform maps drawing units to its device.
void PaintGradient(QPainter& painter);

}  // namespace voltra
