// Drawing units and background gradient of the welcome screen.
#include "screens/welcome/welcome_drawing.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace voltra {

namespace {

// The display-relative extent the screen's units are set to: 12000 units across
// the display's width in twips, 9000 down its height.
constexpr float kUnitsAcross = 12000.0f;
constexpr float kUnitsDown = 9000.0f;
constexpr float kChokeArcFactor = 60.0f;

// Rows 1..9000 step the blue level by 255/12000 per row, so the last row reaches
// only 191; the darkest rows are lifted to 1 to stay off pure black.
constexpr int kGradientFirstRow = 1;
constexpr int kGradientLastRow = 9000;
constexpr double kGradientDivisor = 12000.0;
constexpr int kGradientLowestBlue = 1;
constexpr int kGradientHighestBlue = 255;
constexpr double kGradientRight = 12100.0;
constexpr double kLineWidthPixels = 2.0;

}  // namespace

WelcomeDrawingUnits FixDrawingUnits(QSizeF displayTwips)
{
    WelcomeDrawingUnits units{};
    units.ScaleWidth = kUnitsAcross / static_cast<float>(displayTwips.width());
    units.ScaleWidth = units.ScaleWidth * kUnitsAcross;
    units.ScaleHeight = kUnitsDown / static_cast<float>(displayTwips.height());
    units.ScaleHeight = units.ScaleHeight * kUnitsDown;
    units.ChokeArcRadius = static_cast<float>(double(units.ScaleWidth) * kChokeArcFactor / units.ScaleHeight);
    return units;
}

QTransform WelcomeViewTransform(QSizeF clientPixels)
{
    return QTransform::fromScale(clientPixels.width() / kClientWidthUnits,
                                 clientPixels.height() / kClientHeightUnits);
}

void PaintGradient(QPainter& painter)
{
    QPen pen(Qt::black, kLineWidthPixels);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    for (int row = kGradientFirstRow; row <= kGradientLastRow; ++row) {
        // nearbyint rounds halves to the even neighbour: row 400 (8.5) gets 8.
        const int blue = std::clamp(static_cast<int>(std::nearbyint(row * 255.0 / kGradientDivisor)),
                                    kGradientLowestBlue, kGradientHighestBlue);
        pen.setColor(QColor(0, 0, blue));
        painter.setPen(pen);
        painter.drawLine(QLineF(0.0, row, kGradientRight, row));
    }
}

}  // namespace voltra
