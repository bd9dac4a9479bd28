// Lays the design screen's controls out from the placement table.
#include "screens/design/control_layout.h"

#include <QWidget>

#include "screens/design/drawing_units.h"

namespace voltra {

void PlaceControls(QWidget& screen, const QTransform& units, int fontPixels)
{
    for (const ControlPlacement& placement : kControlPlacements) {
        auto* control = screen.findChild<QWidget*>(QLatin1String(placement.name), Qt::FindDirectChildrenOnly);
        Q_ASSERT_X(control, "PlaceControls", placement.name);
        control->setGeometry(PixelRect(units, QRectF(placement.left, placement.top, placement.width, placement.height)));
        if (placement.screenFont) {
            QFont font = control->font();
            font.setPixelSize(fontPixels);
            control->setFont(font);
        }
    }
}

}  // namespace voltra
