// A frameless, untitled, maximized white window with nothing on it.
#include "screens/blank/blank_screen.h"
#include "screens/object_names.h"

namespace voltra {

BlankScreen::BlankScreen(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QLatin1String(kBlankScreenName));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setWindowState(Qt::WindowMaximized);
}

}  // namespace voltra
