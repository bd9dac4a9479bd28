// How far a window has been stretched from the size its layout was drawn for: the
// shell screens grow and shrink their text, pictures and places by this one factor.
#pragma once

#include <QSizeF>
#include <algorithm>

namespace voltra {

// The smaller of the two stretches, so that a text made larger never runs out of the
// room the other direction leaves it.
inline double WindowScale(QSizeF window, QSizeF designed)
{
    if (designed.isEmpty()) return 1;
    return std::min(window.width() / designed.width(), window.height() / designed.height());
}

}  // namespace voltra
