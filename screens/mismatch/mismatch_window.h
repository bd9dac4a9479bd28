// The load mismatch window: the design on screen into every load on the VSWR circles
// the user asks for, on a Smith chart coloured by the chosen figure with its contours
// over the inner region, and the worst cases in a table; following each new
// calculation.
#pragma once

#include <QWidget>
#include <optional>

#include "engine/circuit.h"
#include "engine/load_mismatch.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace voltra {

class SmithChart;

// The VSWRs typed in the box: numbers above 1 apart by commas, semicolons or spaces,
// in the C form or the user's; none when any is not.
std::optional<std::vector<double>> ReadVswrList(const QString& text);

class MismatchWindow : public QWidget {
    Q_OBJECT
public:
    // A tool window of the design screen, so it stays in front of it while typing.
    explicit MismatchWindow(QWidget* designScreen);

    void Follow(const Circuit& shown);
    const MismatchResult& Result() const { return result_; }

private:
    void Analyse();
    void Draw();

    std::optional<Circuit> circuit_;
    MismatchResult result_;
    QComboBox* figure_;
    QLineEdit* vswrs_;
    QSpinBox* phases_;
    QDoubleSpinBox* vpeakLimit_;
    QLabel* status_;
    SmithChart* chart_;
    QTableWidget* worst_;
};

}  // namespace voltra
