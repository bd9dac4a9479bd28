// The spectrum at the load: harmonics 2 to 10 of the load voltage of the design on
// screen, in dB below the fundamental, as bars against the harmonic limit; following
// each new calculation.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "engine/circuit.h"
#include "engine/harmonics.h"

class QChartView;
class QLabel;

namespace voltra {

class HarmonicsWindow : public QWidget {
    Q_OBJECT
public:
    // A tool window of the design screen, so it stays in front of it while typing.
    explicit HarmonicsWindow(QWidget* designScreen);

    // limitDbc: the harmonic limit, dB below the carrier (43 for "-43 dBc"); none
    // draws no limit line.
    void Follow(const Circuit& shown, std::optional<double> limitDbc);
    const std::vector<Harmonic>& Shown() const { return harmonics_; }
    // The harmonics over the limit, by order.
    std::vector<int> OverLimit() const;

private:
    std::vector<Harmonic> harmonics_;
    std::optional<double> limit_;
    QChartView* view_;
    QLabel* summary_;
};

}  // namespace voltra
