// Drawing units and the screen's font and line sizes.
#include "screens/design/drawing_units.h"

#include <algorithm>
#include <cmath>

namespace voltra {

namespace {

// 0.0008 points per twip of height is 0.016 pixels per pixel: a point is always 20
// twips, whatever the display's density.
constexpr double kFontPixelsPerHeightPixel = 0.0008 * 20;
// The drawing is 4:3; across, the text may take as much as a 4:3 window's height allows.
constexpr double kFontPixelsPerWidthPixel = kFontPixelsPerHeightPixel * kDrawingHeight / kDrawingWidth;
constexpr int kMinFontPixels = 6;

// The height at which the wires are the classic two pixels wide.
constexpr double kPenStepHeight = 768;
constexpr int kBasePenPixels = 2;

}  // namespace

QTransform DrawingTransform(QSize client)
{
    return QTransform::fromScale(client.width() / kDrawingWidth, client.height() / kDrawingHeight);
}

QTransform DrawingTransform(const QRect& area)
{
    return DrawingTransform(area.size()) * QTransform::fromTranslate(area.left(), area.top());
}

QRect PixelRect(const QTransform& units, const QRectF& drawingRect)
{
    const QRectF mapped = units.mapRect(drawingRect);
    const QPoint topLeft(qRound(mapped.left()), qRound(mapped.top()));
    const QPoint bottomRight(qRound(mapped.right()), qRound(mapped.bottom()));
    return QRect(topLeft, bottomRight - QPoint(1, 1));
}

int ScreenFontPixels(QSize client)
{
    const double pixels = std::min(kFontPixelsPerHeightPixel * client.height(), kFontPixelsPerWidthPixel * client.width());
    return std::max(kMinFontPixels, static_cast<int>(std::lround(pixels)));
}

int SchematicPenPixels(QSize client)
{
    const long steps = std::lround(client.height() / kPenStepHeight);
    return kBasePenPixels * static_cast<int>(std::max(1L, steps));
}

}  // namespace voltra
