// The sweep window: one quantity of the circuit on the design screen stepped over a
// range, the rest held, with the output power and efficiency (and, when asked, the
// drain voltage at turn-on and the peak drain voltage) plotted against it.
#pragma once

#include <QWidget>

#include "engine/circuit.h"
#include "engine/circuit_sweep.h"

class QChartView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace voltra {

// A value with the SI prefix that keeps its mantissa between 1 and 1000 and the
// unit: "3.8 MHz", "30 ns", "12 V"; what ReadWholeValue reads back.
QString PrefixedText(double value, const QString& unit);

class SweepWindow : public QWidget {
    Q_OBJECT
public:
    // A tool window of the design screen, so it stays in front of it; Esc closes it.
    explicit SweepWindow(QWidget* designScreen);

    // A new calculation: the quantities offered follow the circuit, and a sweep on
    // show is swept again over the same range.
    void Follow(const Circuit& shown);

private:
    void QuantityChosen();
    void Sweep();
    void Plot(const SweepResult& sweep, const QString& quantity);

    Circuit circuit_;
    QComboBox* quantity_;
    QLineEdit* from_;
    QLineEdit* to_;
    QSpinBox* steps_;
    QPushButton* sweep_;
    QCheckBox* voltages_;
    QLabel* status_;
    QChartView* power_;
    QChartView* voltageChart_;
    bool swept_ = false;
};

}  // namespace voltra
