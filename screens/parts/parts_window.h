// The parts window: the loss budget, every part's stresses and the inductors'
// windings of the design on screen, as tables, following each new calculation; what
// parts are chosen and wound by.
#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "engine/circuit.h"
#include "engine/inductor_windings.h"
#include "files/core_table.h"

class QLabel;
class QTableWidget;

namespace voltra {

class PartsWindow : public QWidget {
    Q_OBJECT
public:
    // A tool window of the design screen, so it stays in front of it while typing.
    explicit PartsWindow(QWidget* designScreen);

    // The cores each inductor's core choice offers beside air, and why a core table
    // could not be read (shown under the windings; empty for none).
    void OfferCores(const CoreTable& table);
    void Follow(const Circuit& shown, const std::vector<InductorWinding>& windings);

signals:
    // The builder chose a core for an inductor: its name, or none for air.
    void CoreChosen(PartRole inductor, const std::optional<std::string>& core);

private:
    void FollowWindings(const std::vector<InductorWinding>& windings);

    QLabel* status_;
    QTableWidget* losses_;
    QTableWidget* stresses_;
    QLabel* impulse_;
    QTableWidget* windings_;
    QLabel* coreTableNote_;
    QStringList coreNames_;
    // The inductor of each windings row, as the last Follow left them.
    std::vector<PartRole> windingRoles_;
};

}  // namespace voltra
