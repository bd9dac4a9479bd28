// Open, Save and Save As of design files from the keyboard and the design screen's
// context menu: the usual shortcuts, without a menu bar to push the drawing down.
#pragma once

#include <QString>

class QWidget;

namespace voltra {

class DesignCommands;

// Adds the three actions to the screen, with their shortcuts, and offers them on a
// right click anywhere on the screen's background.
void AddFileActions(QWidget& screen, DesignCommands& commands);

// The design screen's title: the program's caption, then the design file in use by
// its name alone, then a mark while the design differs from that file (or, with no
// file, from the design the screen opened with).
QString DesignTitle(const QString& caption, const QString& filePath, bool modified);

}  // namespace voltra
