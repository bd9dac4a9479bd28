// The tolerances window: the Monte Carlo of the circuit on the design screen as
// built, run in a worker thread with progress and cancel, its yield in large type
// and the histograms of what the builds do.
#pragma once

#include <QWidget>
#include <array>
#include <thread>

#include "engine/circuit.h"
#include "engine/design_record.h"
#include "engine/tolerance_analysis.h"

class QChartView;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace voltra {

// The yield as the window shows it: "100 %" only when every build works and "0 %"
// only when none does, so 9,996 builds in 10,000 never read as all of them.
QString YieldText(int working, int samples);

class ToleranceWindow : public QWidget {
    Q_OBJECT
public:
    // A tool window of the design screen, so it stays in front of it; Esc closes it.
    explicit ToleranceWindow(QWidget* designScreen);
    ~ToleranceWindow() override;

    // A new calculation: a run under way is cancelled and the figures of the old
    // circuit go, for they no longer describe the one on screen.
    void Follow(const DesignRecord& shown, const Circuit& circuit);

    bool Running() const { return !finished_; }

    // The settings as the boxes hold them.
    ToleranceSettings Settings() const;

protected:
    // Closing the window stops a run under way: nobody is left to read it.
    void closeEvent(QCloseEvent* event) override;

private:
    void Run();
    void Cancel();
    void Show(const ToleranceResult& result, const ToleranceSettings& settings, double target, int generation);
    void ClearFigures();

    DesignRecord design_;
    Circuit circuit_;
    QDoubleSpinBox* capacitor_;
    QDoubleSpinBox* inductor_;
    QDoubleSpinBox* load_;
    QSpinBox* samples_;
    QSpinBox* seed_;
    QDoubleSpinBox* powerBand_;
    QDoubleSpinBox* turnOnLimit_;
    QDoubleSpinBox* efficiencyFloor_;
    QCheckBox* vpeakLimitOn_;
    QDoubleSpinBox* vpeakLimit_;
    QPushButton* runButton_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    QLabel* status_;
    QLabel* yield_;
    std::array<QChartView*, 4> charts_{};
    std::jthread run_;
    bool finished_ = true;
    bool vpeakProposed_ = false;
    int generation_ = 0;
};

}  // namespace voltra
