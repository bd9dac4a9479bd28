// Display metrics of the primary screen in twips.
#include "screens/welcome/display_twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace voltra {

namespace {

double PixelsPerTwip()
{
    return QGuiApplication::primaryScreen()->logicalDotsPerInchY() / kTwipsPerInch;
}

}  // namespace

QSizeF DisplayTwips()
{
    const QSize pixels = QGuiApplication::primaryScreen()->size();
    return QSizeF(pixels.width() / PixelsPerTwip(), pixels.height() / PixelsPerTwip());
}

double TwipsToPixels(double twips)
{
    return twips * PixelsPerTwip();
}

}  // namespace voltra
