// The design options on the design screen: the "Exact" toggle beside "L-net", the
// switch's output capacitance, its duty, the parts' quality factors and the series of
// standard values, kept in the user's settings rather than in the design file, whose
// format stays as it is.
#pragma once

#include <QObject>
#include <QSettings>
#include <QString>
#include <optional>

#include "engine/design_options.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace voltra {

class OptionControls : public QObject {
    Q_OBJECT
public:
    // Builds the controls on the screen, set from the user's settings.
    explicit OptionControls(QWidget& screen);

    const DesignOptions& Options() const { return options_; }
    // A chosen device gives the switch's capacitance: the Coss box shows its single
    // value and takes no entry; none gives the box back with the Coss typed there.
    void HoldCoss(std::optional<float> deviceCoss);
    // Each wound inductor's estimated Q in the loss budget in place of the "Q (L)" box's.
    bool WindingQInBudget() const { return windingQInBudget_; }

signals:
    void Changed();

private:
    // Reads the controls into the options.
    void Take();
    // Keeps the choices for the next screen and the next start.
    void Store();
    // A box whose text is not the value in effect turns red, its tip saying which is.
    void MarkInEffect();

    // Held, so that a run of keystrokes in the Coss box reaches the disk once.
    QSettings settings_;
    DesignOptions options_;
    QPushButton* exact_;
    QLineEdit* coss_;
    // While a device holds the box: the text the user typed, which stays in effect
    // for the next "none" and in the settings.
    std::optional<QString> typedCoss_;
    QComboBox* series_;
    QLineEdit* duty_;
    QLineEdit* inductorQ_;
    QLineEdit* capacitorQ_;
    QPushButton* windingQ_;
    bool windingQInBudget_ = false;
};

}  // namespace voltra
