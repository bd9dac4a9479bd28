// The captions the design screen's columns of options put beside their boxes: a label
// known by its object name, which the control layout then places.
#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

namespace voltra {

inline QLabel* Caption(QWidget& screen, const char* name, const QString& text)
{
    auto* label = new QLabel(text, &screen);
    label->setObjectName(QLatin1String(name));
    return label;
}

}  // namespace voltra
