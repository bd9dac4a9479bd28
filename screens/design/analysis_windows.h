// The Tools menu's analyses of the circuit as built: the tolerances, sensitivities
// and sweep windows, each opened on the circuit the design screen shows and
// following every new calculation once open.
#pragma once

#include <QObject>

class QMenu;

namespace voltra {

class DesignScreen;
class SensitivityWindow;
class SweepWindow;
class ToleranceWindow;

class AnalysisWindows : public QObject {
    Q_OBJECT
public:
    // Adds the three commands to the Tools menu after the losses and stresses window.
    AnalysisWindows(DesignScreen& screen, QMenu& tools);

    // The design screen drew a new calculation. The tolerances window drops the old
    // circuit's figures even while closed; the others, cheap to redo, catch up when
    // shown.
    void Follow();

    void ShowTolerances();
    void ShowSensitivities();
    void ShowSweep();

private:
    DesignScreen& screen_;
    ToleranceWindow* tolerances_ = nullptr;
    SensitivityWindow* sensitivities_ = nullptr;
    SweepWindow* sweep_ = nullptr;
};

}  // namespace voltra
