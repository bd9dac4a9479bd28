// Drawing units and the screen font size.
#include "screens/design/drawing_units.h"

#include <algorithm>
#include <cmath>

namespace voltra {

namespace {

constexpr double kFontPointsPerDisplayTwip = 0.0008;
// Twips per pixel and pixels per point cancel: a point is always 20 twips.
constexpr double kTwipsPerPoint = 20;

}  // namespace

QTransform DrawingTransform(QSize client)
{
    return QTransform::fromScale(client.width() / kDrawingWidth, client.height() / kDrawingHeight);
}

QRect PixelRect(const QTransform& units, const QRectF& drawingRect)
{
    const QRectF mapped = units.mapRect(drawingRect);
    const QPoint topLeft(qRound(mapped.left()), qRound(mapped.top()));
    const QPoint bottomRight(qRound(mapped.right()), qRound(mapped.bottom()));
    return QRect(topLeft, bottomRight - QPoint(1, 1));
}

int ScreenFontPixels(int displayHeight, int clientHeight, int maximizedClientHeight, bool maximized)
{
    double pixels = kFontPointsPerDisplayTwip * kTwipsPerPoint * displayHeight;
    if (!maximized && maximizedClientHeight > 0)
        pixels *= static_cast<double>(clientHeight) / maximizedClientHeight;
    return std::max(1, static_cast<int>(std::lround(pixels)));
}

}  // namespace voltra
