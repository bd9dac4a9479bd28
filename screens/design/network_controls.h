// The output network's choices on the design screen, shown with the L-network: which
// network (L, Pi, T, tapped-C), its loaded Q, the 2nd-harmonic trap, and the harmonic
// limit with the command that designs the network to it; kept in the user's settings,
// not in the design file, whose format stays as it is.
#pragma once

#include <QObject>
#include <QSettings>
#include <optional>

#include "engine/design_options.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace voltra {

class NetworkControls : public QObject {
    Q_OBJECT
public:
    explicit NetworkControls(QWidget& screen);

    // The chosen network, its Q and the trap into the options.
    void ApplyTo(DesignOptions& options) const;
    // dB below the carrier, none when the box is empty or not a limit.
    std::optional<double> LimitDbc() const { return limit_; }
    // Shows or hides every control, with the L-network.
    void SetVisible(bool visible);
    // Sets the controls to a network found for the limit.
    void Choose(const DesignOptions& found);

signals:
    void Changed();
    // "Meet limit" was pressed with a limit in the box.
    void MeetLimitRequested(double limitDbc);

private:
    void Take();
    void Store();

    QSettings settings_;
    NetworkKind kind_ = NetworkKind::L;
    double q_ = kDefaultMatchingQ;
    bool trap_ = false;
    std::optional<double> limit_;
    QLabel* kindLabel_;
    QComboBox* kindBox_;
    QLabel* qLabel_;
    QLineEdit* qBox_;
    QPushButton* trapButton_;
    QLabel* limitLabel_;
    QLineEdit* limitBox_;
    QPushButton* meetButton_;
};

}  // namespace voltra
