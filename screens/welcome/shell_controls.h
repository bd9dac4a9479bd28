// The labels and buttons the shell screens (welcome, about, exit) are built from: a
// named text in a colour, and a named button on the shared grey face.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace voltra {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font, const QColor& colour);

// Enter presses the button that has the focus, as Space does.
QPushButton* MakeFaceButton(QWidget* parent, const char* name, const QString& text, const QFont& font);

}  // namespace voltra
