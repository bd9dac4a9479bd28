// The parts window: the loss budget and every part's stresses of the design on
// screen, as tables, following each new calculation; what parts are chosen by.
#pragma once

#include <QWidget>

#include "engine/circuit.h"

class QLabel;
class QTableWidget;

namespace voltra {

class PartsWindow : public QWidget {
    Q_OBJECT
public:
    // A tool window of the design screen, so it stays in front of it while typing.
    explicit PartsWindow(QWidget* designScreen);

    void Follow(const Circuit& shown);

private:
    QLabel* status_;
    QTableWidget* losses_;
    QTableWidget* stresses_;
    QLabel* impulse_;
};

}  // namespace voltra
