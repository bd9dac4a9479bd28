// The menus, their commands and shortcuts, and the options kept in step with their controls.
#include "screens/design/design_menu.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "screens/design/design_commands.h"
#include "screens/object_names.h"

namespace voltra {

namespace {

struct Command {
    const char* name;
    const char* text;
    QKeySequence shortcut;
    void (DesignCommands::*command)();
};

// A standard key the platform theme leaves empty gets the one every desktop binds.
QKeySequence Standard(QKeySequence::StandardKey key, QKeyCombination fallback)
{
    const QList<QKeySequence> bound = QKeySequence::keyBindings(key);
    return bound.isEmpty() ? QKeySequence(fallback) : bound.constFirst();
}

QAction* AddCommand(QMenu& menu, const Command& entry, DesignCommands& commands)
{
    QAction* action = menu.addAction(QString::fromLatin1(entry.text));
    action->setObjectName(QLatin1String(entry.name));
    action->setShortcut(entry.shortcut);
    QObject::connect(action, &QAction::triggered, &menu, [&commands, command = entry.command] { (commands.*command)(); });
    return action;
}

QMenu* AddMenu(QMenuBar& bar, const char* name, const char* title)
{
    QMenu* menu = bar.addMenu(QString::fromLatin1(title));
    menu->setObjectName(QLatin1String(name));
    return menu;
}

// "L-net" is a plain button: its action clicks it, and the screen checks the action
// when the option changes.
void AddLnetOption(QMenu& tools, QWidget& screen)
{
    auto* button = screen.findChild<QAbstractButton*>(QLatin1String(kLnetButtonName));
    QAction* action = tools.addAction(QStringLiteral("&L-network"));
    action->setObjectName(QLatin1String(kLnetActionName));
    action->setCheckable(true);
    QObject::connect(action, &QAction::triggered, button, &QAbstractButton::click);
}

void AddExactOption(QMenu& tools, QWidget& screen)
{
    auto* button = screen.findChild<QAbstractButton*>(QLatin1String(kExactButtonName));
    QAction* action = tools.addAction(QStringLiteral("&Exact design"));
    action->setObjectName(QLatin1String(kExactActionName));
    action->setCheckable(true);
    action->setChecked(button->isChecked());
    QObject::connect(action, &QAction::triggered, button, &QAbstractButton::setChecked);
    QObject::connect(button, &QAbstractButton::toggled, action, &QAction::setChecked);
}

void AddPartsOption(QMenu& tools, QWidget& screen)
{
    auto* choice = screen.findChild<QComboBox*>(QLatin1String(kSeriesBoxName));
    QMenu* parts = tools.addMenu(QStringLiteral("&Parts"));
    parts->setObjectName(QLatin1String(kPartsMenuName));
    auto* group = new QActionGroup(parts);
    for (int i = 0; i < choice->count() && i < static_cast<int>(std::size(kPartsActionNames)); ++i) {
        QAction* action = parts->addAction(choice->itemText(i));
        action->setObjectName(QLatin1String(kPartsActionNames[i]));
        action->setCheckable(true);
        action->setActionGroup(group);
        action->setChecked(i == choice->currentIndex());
        QObject::connect(action, &QAction::triggered, choice, [choice, i] { choice->setCurrentIndex(i); });
    }
    QObject::connect(choice, &QComboBox::currentIndexChanged, parts, [group](int index) {
        if (index >= 0 && index < group->actions().size()) group->actions()[index]->setChecked(true);
    });
}

}  // namespace

QMenuBar* BuildDesignMenu(QWidget& screen, DesignCommands& commands, std::function<void()> showPartsWindow)
{
    auto* bar = new QMenuBar(&screen);
    bar->setObjectName(QLatin1String(kMenuBarName));
    // The screen's bold face is for its captions; a menu reads as every menu does.
    QFont plain = bar->font();
    plain.setBold(false);
    bar->setFont(plain);

    // "Save" writes to the file in use without asking once there is one; "Save As"
    // always asks, proposing that file.
    QMenu* file = AddMenu(*bar, kFileMenuName, "&File");
    const Command fileCommands[] = {
        {kOpenActionName, "&Open design...", Standard(QKeySequence::Open, Qt::CTRL | Qt::Key_O), &DesignCommands::Get},
        {kSaveActionName, "&Save design", Standard(QKeySequence::Save, Qt::CTRL | Qt::Key_S),
         &DesignCommands::SaveInPlace},
        {kSaveAsActionName, "Save design &as...", Standard(QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         &DesignCommands::Save},
    };
    for (const Command& entry : fileCommands) screen.addAction(AddCommand(*file, entry, commands));
    screen.setContextMenuPolicy(Qt::ActionsContextMenu);
    file->addSeparator();
    AddCommand(*file, {kSpiceActionName, "&Export LTspice schematic...", QKeySequence(Qt::CTRL | Qt::Key_E),
                       &DesignCommands::Spice},
               commands);
    AddCommand(*file, {kPrintActionName, "&Print...", Standard(QKeySequence::Print, Qt::CTRL | Qt::Key_P),
                       &DesignCommands::Print},
               commands);
    file->addSeparator();
    QAction* quit = AddCommand(
        *file, {kQuitActionName, "&Quit", Standard(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q), &DesignCommands::Exit},
        commands);
    quit->setMenuRole(QAction::QuitRole);

    QMenu* tools = AddMenu(*bar, kToolsMenuName, "&Tools");
    AddCommand(*tools, {kVerifyActionName, "&Verify in ngspice", QKeySequence(Qt::Key_F5), &DesignCommands::Verify},
               commands);
    QAction* parts = tools->addAction(QStringLiteral("&Losses and part stresses..."));
    parts->setObjectName(QLatin1String(kPartsWindowActionName));
    parts->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    QObject::connect(parts, &QAction::triggered, tools, std::move(showPartsWindow));
    tools->addSeparator();
    AddLnetOption(*tools, screen);
    AddExactOption(*tools, screen);
    AddPartsOption(*tools, screen);

    QMenu* help = AddMenu(*bar, kHelpMenuName, "&Help");
    AddCommand(*help, {kUserGuideActionName, "Voltra &user guide",
                       Standard(QKeySequence::HelpContents, Qt::Key_F1), &DesignCommands::UserGuide},
               commands);
    QAction* about = AddCommand(*help, {kAboutActionName, "&About Voltra", QKeySequence(), &DesignCommands::About},
                                commands);
    about->setMenuRole(QAction::AboutRole);
    return bar;
}

QAction* AddToolsWindow(QMenuBar& bar, const char* objectName, const QString& text, std::function<void()> show)
{
    QMenu* tools = bar.findChild<QMenu*>(QLatin1String(kToolsMenuName));
    QAction* action = new QAction(text, tools);
    action->setObjectName(QLatin1String(objectName));
    QAction* before = nullptr;
    for (QAction* existing : tools->actions())
        if (existing->isSeparator()) {
            before = existing;
            break;
        }
    tools->insertAction(before, action);
    QObject::connect(action, &QAction::triggered, tools, std::move(show));
    return action;
}

}  // namespace voltra
