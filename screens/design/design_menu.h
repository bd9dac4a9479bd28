// The design screen's menu bar: File, Tools and Help with the desktop's usual
// shortcuts, over the same commands as the screen's buttons and option controls.
#pragma once

#include <functional>

class QAction;
class QMenuBar;
class QString;
class QWidget;

namespace voltra {

class DesignCommands;

// Builds the menu bar on the screen, whose buttons and option controls must already
// exist: the Tools menu's options move with them both ways. Open, Save and Save As
// are offered on a right click on the screen's background too. The losses and
// stresses window is the screen's own.
QMenuBar* BuildDesignMenu(QWidget& screen, DesignCommands& commands, std::function<void()> showPartsWindow);

// Adds another window of the screen's own to the Tools menu, after the windows
// already there and before the options.
QAction* AddToolsWindow(QMenuBar& bar, const char* objectName, const QString& text, std::function<void()> show);

}  // namespace voltra
