// Each window is made on first use, sized once to its contents and then left at the
// user's size, as the losses and stresses window is.
#include "screens/design/analysis_windows.h"

#include <QAction>
#include <QMenu>

#include "screens/design/design_screen.h"
#include "screens/object_names.h"
#include "screens/sensitivity/sensitivity_window.h"
#include "screens/sweep/sweep_window.h"
#include "screens/tolerance/tolerance_window.h"

namespace voltra {
namespace {

template <typename Window>
void Raise(Window& window, bool first)
{
    if (first) window.adjustSize();
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace

AnalysisWindows::AnalysisWindows(DesignScreen& screen, QMenu& tools) : QObject(&screen), screen_(screen)
{
    struct Entry {
        const char* name;
        const char* text;
        void (AnalysisWindows::*show)();
    };
    const Entry entries[] = {
        {kToleranceWindowActionName, "T&olerances...", &AnalysisWindows::ShowTolerances},
        {kSensitivityWindowActionName, "&Sensitivities and bench guide...", &AnalysisWindows::ShowSensitivities},
        {kSweepWindowActionName, "S&weep...", &AnalysisWindows::ShowSweep},
    };
    QAction* before = nullptr;
    const QList<QAction*> actions = tools.actions();
    for (int i = 0; i < actions.size(); ++i)
        if (actions[i]->objectName() == QLatin1String(kPartsWindowActionName) && i + 1 < actions.size())
            before = actions[i + 1];
    for (const Entry& entry : entries) {
        auto* action = new QAction(tr(entry.text), &tools);
        action->setObjectName(QLatin1String(entry.name));
        connect(action, &QAction::triggered, this, entry.show);
        tools.insertAction(before, action);
    }
}

void AnalysisWindows::Follow()
{
    if (tolerances_) tolerances_->Follow(screen_.ShownDesign(), screen_.ShownCircuit());
    if (sensitivities_ && sensitivities_->isVisible()) sensitivities_->Follow(screen_.ShownCircuit());
    if (sweep_ && sweep_->isVisible()) sweep_->Follow(screen_.ShownCircuit());
}

void AnalysisWindows::ShowTolerances()
{
    const bool first = !tolerances_;
    if (first) {
        tolerances_ = new ToleranceWindow(&screen_);
        tolerances_->Follow(screen_.ShownDesign(), screen_.ShownCircuit());
    }
    Raise(*tolerances_, first);
}

void AnalysisWindows::ShowSensitivities()
{
    const bool first = !sensitivities_;
    if (first) sensitivities_ = new SensitivityWindow(&screen_);
    sensitivities_->Follow(screen_.ShownCircuit());
    Raise(*sensitivities_, first);
}

void AnalysisWindows::ShowSweep()
{
    const bool first = !sweep_;
    if (first) sweep_ = new SweepWindow(&screen_);
    sweep_->Follow(screen_.ShownCircuit());
    Raise(*sweep_, first);
}

}  // namespace voltra
