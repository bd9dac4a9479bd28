// The sensitivities window: what +1 % of each part's value does to the circuit on
// the design screen, as a table, and the bench guide read off it, following each new
// calculation.
#pragma once

#include <QWidget>

#include "engine/circuit.h"

class QLabel;
class QListWidget;
class QTableWidget;

namespace voltra {

class SensitivityWindow : public QWidget {
    Q_OBJECT
public:
    // A tool window of the design screen, so it stays in front of it; Esc closes it.
    explicit SensitivityWindow(QWidget* designScreen);

    void Follow(const Circuit& shown);

private:
    QLabel* status_;
    QTableWidget* table_;
    QListWidget* guide_;
};

}  // namespace voltra
