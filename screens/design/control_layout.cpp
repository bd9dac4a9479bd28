// Lays the design screen's controls out from the placement table.
#include "screens/design/control_layout.h"

#include <QAbstractButton>
#include <QFontMetricsF>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWidget>
#include <algorithm>
#include <string_view>

#include "screens/design/drawing_units.h"

namespace voltra {

namespace {

constexpr int kSmallestFontPixels = 6;
// A box keeps two pixels of air beside its text on each side, inside its frame, and
// one for the caret.
constexpr int kBoxTextMargins = 2 * 2 + 1;

QString TextOf(const QWidget& control)
{
    if (auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
    if (auto* box = qobject_cast<const QLineEdit*>(&control)) return box->text();
    // A choice must fit whichever item is chosen.
    if (auto* choice = qobject_cast<const QComboBox*>(&control)) {
        QString longest;
        for (int i = 0; i < choice->count(); ++i)
            if (choice->itemText(i).size() > longest.size()) longest = choice->itemText(i);
        return longest;
    }
    return {};
}

// The room a control's frame and padding leave for its text, across and down.
QSizeF TextRoom(const QWidget& control, QSize place)
{
    const QStyle* style = control.style();
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &control);
    if (qobject_cast<const QAbstractButton*>(&control))
        return QSizeF(place.width() - style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &control) - 2 * frame,
                      place.height() - 2 * frame);
    if (qobject_cast<const QLineEdit*>(&control))
        return QSizeF(place.width() - 2 * frame - kBoxTextMargins, place.height() - 2 * frame);
    if (auto* choice = qobject_cast<const QComboBox*>(&control)) {
        // The style's own field beside the arrow, which is wider than a scroll bar in
        // some styles, less the pixel the label keeps on each side.
        QStyleOptionComboBox option;
        option.initFrom(choice);
        option.rect = QRect(QPoint(0, 0), place);
        const QRect field = style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, choice);
        return QSizeF(field.width() - 2, field.height());
    }
    return QSizeF(place);
}

bool Fits(const QWidget& control, QSize place, int fontPixels)
{
    const QString text = TextOf(control);
    if (text.isEmpty()) return true;
    QFont font = control.font();
    font.setPixelSize(fontPixels);
    const QFontMetricsF metrics(font);
    const QSizeF room = TextRoom(control, place);
    return metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height();
}

}  // namespace

int PlaceControls(QWidget& screen, const QTransform& units, int largestFontPixels)
{
    struct Placed {
        QWidget* control;
        QRect place;
        bool screenFont;
    };
    std::vector<Placed> placed;
    for (const ControlPlacement& placement : kControlPlacements) {
        auto* control = screen.findChild<QWidget*>(QLatin1String(placement.name), Qt::FindDirectChildrenOnly);
        Q_ASSERT_X(control, "PlaceControls", placement.name);
        placed.push_back({control, PixelRect(units, QRectF(placement.left, placement.top, placement.width,
                                                           placement.height)),
                          placement.screenFont});
    }
    // A narrow window runs out of room across before it does down: the text shrinks
    // until the longest caption fits, rather than being cut.
    int fontPixels = largestFontPixels;
    const auto allFit = [&] {
        for (const Placed& p : placed)
            if (p.screenFont && !Fits(*p.control, p.place.size(), fontPixels)) return false;
        return true;
    };
    while (fontPixels > kSmallestFontPixels && !allFit()) --fontPixels;

    for (const Placed& p : placed) {
        p.control->setGeometry(p.place);
        if (p.screenFont) {
            QFont font = p.control->font();
            font.setPixelSize(fontPixels);
            p.control->setFont(font);
        }
    }
    return fontPixels;
}

void PlaceBesideLoad(QWidget& box, QWidget& echo, int loadX, const QTransform& units)
{
    for (const ControlPlacement& placement : kControlPlacements) {
        QWidget* control = placement.name == std::string_view(kRnetworkBoxName)    ? &box
                           : placement.name == std::string_view(kRnetworkEchoName) ? &echo
                                                                                     : nullptr;
        if (!control) continue;
        const double left = std::min<double>(std::max(placement.left, loadX + kRnetworkRightOfLoad), kDrawingWidth - placement.width);
        control->setGeometry(PixelRect(units, QRectF(left, placement.top, placement.width, placement.height)));
    }
}

}  // namespace voltra
