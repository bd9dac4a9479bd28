// The file actions and the title that names the file in use.
#include "screens/design/file_actions.h"

#include <QAction>
#include <QFileInfo>
#include <QWidget>

#include "screens/design/design_commands.h"
#include "screens/object_names.h"

namespace voltra {

namespace {

struct FileAction {
    const char* name;
    const char* text;
    QKeySequence::StandardKey key;
    void (DesignCommands::*command)();
};

// "Open" reads a design and rebuilds the screen; "Save" writes to the file in use
// without asking once there is one; "Save As" always asks, proposing that file.
constexpr FileAction kFileActions[] = {
    {kOpenActionName, "&Open design...", QKeySequence::Open, &DesignCommands::Get},
    {kSaveActionName, "&Save design", QKeySequence::Save, &DesignCommands::SaveInPlace},
    {kSaveAsActionName, "Save design &as...", QKeySequence::SaveAs, &DesignCommands::Save},
};

constexpr const char* kModifiedMark = " *";

}  // namespace

void AddFileActions(QWidget& screen, DesignCommands& commands)
{
    for (const FileAction& entry : kFileActions) {
        auto* action = new QAction(QString::fromLatin1(entry.text), &screen);
        action->setObjectName(QLatin1String(entry.name));
        action->setShortcut(entry.key);
        // Every desktop binds Save As to Ctrl+Shift+S, though not every Qt platform
        // theme lists it.
        if (action->shortcut().isEmpty() && entry.key == QKeySequence::SaveAs)
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        QObject::connect(action, &QAction::triggered, &screen,
                         [&commands, command = entry.command] { (commands.*command)(); });
        screen.addAction(action);
    }
    screen.setContextMenuPolicy(Qt::ActionsContextMenu);
}

QString DesignTitle(const QString& caption, const QString& filePath, bool modified)
{
    QString title = caption;
    if (!filePath.isEmpty()) title += QStringLiteral(" - ") + QFileInfo(filePath).fileName();
    if (modified) title += QLatin1String(kModifiedMark);
    return title;
}

}  // namespace voltra
