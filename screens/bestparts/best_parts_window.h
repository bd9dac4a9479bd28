// The best standard parts window: per part the exact, the plainly rounded and the
// chosen value, what each circuit achieves, and the button that makes the design
// screen's circuit use the chosen values.
#pragma once

#include <QWidget>

#include "engine/best_parts.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace voltra {

// Where the design screen's circuit stands with respect to the search.
enum class Acceptance {
    None,     // each part rounded alone
    InForce,  // the chosen values of this very search
    Dropped,  // accepted for targets or options since changed: back to rounding
};

class BestPartsWindow : public QWidget {
    Q_OBJECT
public:
    // A tool window of the design screen, so it stays in front of it.
    explicit BestPartsWindow(QWidget* designScreen);

    // Shows the search for the design on screen and whether its values stand.
    void Follow(const BestParts& found, Acceptance acceptance);

signals:
    // The user asks for the chosen values in the circuit.
    void Accepted();

private:
    QLabel* status_;
    QTableWidget* parts_;
    QTableWidget* figures_;
    QPushButton* accept_;
};

}  // namespace voltra
