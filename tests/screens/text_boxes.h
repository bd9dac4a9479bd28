// Where each text of a window stands, from its font metrics, and the checks every
// screen's layout must pass at any size: whole, inside the window and apart.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <gtest/gtest.h>
#include <vector>

namespace voltra {

struct PlacedText {
    QString name;
    QRectF box;   // the text's ink box, in the window's coordinates
    QRectF room;  // where the control can show text, in the same coordinates
};

// The text a control shows and the room its frame and padding leave for it; a
// control with no text to show gives an empty text.
inline PlacedText TextOf(const QWidget& control, const QWidget& window)
{
    const QStyle* style = control.style();
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &control);
    QString text;
    QRectF room = control.rect();
    int flags = Qt::AlignCenter;
    if (auto* label = qobject_cast<const QLabel*>(&control); label && label->pixmap().isNull()) {
        text = label->text();
        room = label->contentsRect();
        flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    } else if (auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        text = button->text();
        const double margin = frame + style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &control) / 2.0;
        room = room.adjusted(margin, frame, -margin, -frame);
    } else if (auto* choice = qobject_cast<const QComboBox*>(&control)) {
        // The chosen item beside the arrow, where the style draws it.
        text = choice->currentText();
        QStyleOptionComboBox option;
        option.initFrom(choice);
        room = QRectF(style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, choice))
                   .adjusted(1, 0, -1, 0);
        flags = Qt::AlignLeft | Qt::AlignVCenter;
    } else if (auto* box = qobject_cast<const QLineEdit*>(&control)) {
        text = box->text();
        room = room.adjusted(frame + 2, frame, -frame - 2, -frame);
        flags = int(box->alignment());
    }
    const QFontMetricsF metrics(control.font());
    QRectF box = metrics.boundingRect(room, flags, text);
    // The box is as high as the font's line, whatever the letters' own ink.
    const QPointF offset = control.mapTo(&window, QPoint(0, 0));
    return {control.objectName(), box.translated(offset), room.translated(offset)};
}

// Every visible text of the window: each whole inside its control and the window,
// none crossing another. Returns them for further checks.
inline std::vector<PlacedText> ExpectWholeTextsApart(const QWidget& window)
{
    std::vector<PlacedText> texts;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&window)) continue;
        const PlacedText text = TextOf(*control, window);
        if (text.box.isEmpty()) continue;
        const std::string name = text.name.toStdString();
        EXPECT_TRUE(QRectF(window.rect()).contains(text.box)) << name << " leaves the window";
        // Half a pixel for the metrics' fractional advances.
        EXPECT_TRUE(text.room.adjusted(-0.5, -0.5, 0.5, 0.5).contains(text.box)) << name << " is cut";
        for (const PlacedText& other : texts)
            EXPECT_FALSE(text.box.intersects(other.box)) << name << " crosses " << other.name.toStdString();
        texts.push_back(text);
    }
    return texts;
}

}  // namespace voltra
