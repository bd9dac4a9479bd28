#include "screens/welcome/shell_controls.h"

#include <QLabel>
#include <QPushButton>

#include "screens/screen_style.h"

namespace voltra {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font, const QColor& colour)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QPushButton* MakeFaceButton(QWidget* parent, const char* name, const QString& text, const QFont& font)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(font);
    button->setAutoDefault(true);
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, QColor(kButtonFace));
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    return button;
}

}  // namespace voltra
