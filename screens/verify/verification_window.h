// The verification window: the design on screen simulated in a worker thread, its
// drain voltage, switch current and load voltage over two periods, and the
// equations' predictions beside the simulated figures.
#pragma once

#include <QWidget>
#include <atomic>
#include <list>
#include <thread>

#include "engine/circuit.h"
#include "engine/design_record.h"
#include "simulation/simulator.h"

class QChart;
class QChartView;
class QPainter;
class QLabel;
class QProgressBar;
class QTableWidget;
class QTimer;

namespace voltra {

// The size the window opens at on a screen with this much room: a fixed share of it.
QSize VerificationWindowSize(QSize available);

// A tool window of the design screen it is given, so it stays in front of it; Esc
// closes it.
class VerificationWindow : public QWidget {
    Q_OBJECT
public:
    explicit VerificationWindow(Simulator& simulator, QWidget* parent = nullptr);
    ~VerificationWindow() override;

    // A new calculation: any run under way is cancelled, and the design is simulated
    // once typing has paused.
    void Follow(const DesignRecord& shown, const Circuit& circuit);

    bool Busy() const;
    // A simulation's plot and table are on show, for the printed page.
    bool ShowsResult() const { return showsResult_; }
    // The plot and the table on a printed page of their own.
    void PaintReport(QPainter& page) const;

private:
    // One simulation in its worker thread; `done` once it has handed over its outcome.
    struct Run {
        std::jthread thread;
        std::atomic<bool> done = false;
    };
    void StartRun();
    void Show(const DesignRecord& design, const Circuit& circuit, const SimulationOutcome& outcome, int generation);
    void ShowTable(const DesignRecord& design, const Circuit& circuit, const SimulationFigures& figures);
    void ShowPlot(const SimulationWaveforms& waveforms);
    void ShowLosses(const Circuit& circuit, const SimulationFigures& figures);
    // Shows `chart` and deletes the one shown before.
    void ReplaceChart(QChart* chart);

    Simulator& simulator_;
    QTimer* pause_;
    QChartView* chart_;
    QTableWidget* table_;
    QProgressBar* progress_;
    QLabel* status_;
    // The predicted loss budget beside the simulated supply power less output power.
    QLabel* losses_;
    DesignRecord pending_;
    Circuit pendingCircuit_;
    bool showsResult_ = false;
    std::list<Run> runs_;
    int generation_ = 0;
};

}  // namespace voltra
