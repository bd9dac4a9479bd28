// The display's size in twips (1/1440 inch), from which the shell screens take
// their window and font sizes, and the conversion of twips into pixels.
#pragma once

#include <QSizeF>

namespace voltra {

inline constexpr double kTwipsPerInch = 1440.0;

// Width and height of the primary display in twips, at its logical resolution
// (15 twips per pixel at 96 dots per inch).
QSizeF DisplayTwips();

// Pixels for a length in twips on the primary display.
double TwipsToPixels(double twips);

}  // namespace voltra
