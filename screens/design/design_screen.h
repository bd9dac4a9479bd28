// The design screen: the six targets with their arrows, the L-network option, the
// command buttons, and the live schematic with every value of the last cycle.
#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "engine/design_record.h"
#include "engine/best_parts.h"
#include "engine/circuit.h"
#include "engine/design_options.h"
#include "engine/equations.h"
#include "engine/inductor_windings.h"
#include "files/core_table.h"
#include "screens/design/design_painter.h"

class QLabel;
class QLineEdit;
class QMenuBar;
class QTimer;

namespace voltra {

class AnalysisWindows;
class DesignCommands;
class DeviceControls;
class BestPartsWindow;
class OptionControls;
class PartsWindow;
class MismatchWindow;
class HarmonicsWindow;
class NetworkControls;
struct ValueEcho;

class DesignScreen : public QWidget {
    Q_OBJECT
public:
    // Runs the whole load on the given design: clamps the targets, writes every box
    // and draws the first picture. A design read from a file reaches the screen by
    // building a new DesignScreen.
    DesignScreen(DesignRecord& design, DesignCommands& commands, QWidget* parent = nullptr);

    // Recalculates the L-network from the network-resistance box and takes the
    // picture the window shows until the next cycle. An exact design with a device's
    // curve is solved once the events already queued (the keys typed during the last
    // solve) are in, so typing never waits for more than one solve.
    void ShowDesign();

    // Where the drawing units lie on the window: the whole of it below the menu bar.
    QRect DrawingArea() const;
    // Maps drawing units onto the window's pixels in that area.
    QTransform Units() const;

    // Completed recalculation cycles since construction.
    int CycleCount() const { return cycleCount_; }

    // The design of the last cycle, as drawn: what the commands export and print,
    // whatever the boxes hold that did not recalculate.
    const DesignRecord& ShownDesign() const { return shown_->design; }
    const Circuit& ShownCircuit() const { return shown_->circuit; }
    // The shown circuit's inductors wound on the cores chosen in the parts window: what
    // the window's table and the sheet show.
    const std::vector<InductorWinding>& ShownWindings() const { return shown_->windings; }
    // Where the shown circuit's labels stand on the window, in pixels: what the next
    // cycle repaints of them when only their values change.
    const LabelPixels& ShownLabels() const { return shown_->labels; }

    // The cores the parts window offers, read from the core tables once as the screen
    // opens; a test gives its own. A choice naming a core no longer offered winds on
    // air, and the windings table says so.
    void UseCores(CoreTable table);

    // Opens the table of losses and part stresses, which then follows every cycle.
    void ShowPartsWindow();
    // Opens the load mismatch window, which then follows every cycle while it is open.
    void ShowMismatchWindow();
    // Opens the spectrum at the load, which then follows every cycle while it is open.
    void ShowHarmonicsWindow();
    // Opens the search for the best standard parts, which then follows every cycle.
    // Accepted, the shown circuit uses its values until a target or an option
    // changes; then it is back to each part rounded alone, and the window says so.
    void ShowBestPartsWindow();

    // The design file now in use, just read or written: named in the title, and the
    // design counts as unchanged from it. An empty path names none.
    void SetFileInUse(const QString& path);
    const QString& FileInUse() const { return fileInUse_; }
    // True once the user changed a target since the screen opened or the file in use
    // was set; the options and the network, which no design file keeps, leave it.
    bool IsModified() const { return modified_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void Load();
    void EntryChanged(Target target);
    void RnetworkChanged();
    void Step(Target target, int direction);
    void LnetClicked();
    void LayOut();
    void MarkEntryInEffect(Target target);
    void MarkRnetworkInEffect(float entered);
    void MarkModified();
    void ShowEcho(QLabel* echo, const ValueEcho& value);
    QLineEdit* Box(Target target) const { return entryBoxes_[static_cast<size_t>(target)]; }

    DesignRecord& design_;
    DesignCommands& commands_;
    LnetworkWorking lnetworkWorking_;
    std::array<QLineEdit*, kTargets.size()> entryBoxes_{};
    QLineEdit* txtRnetwork_ = nullptr;
    std::array<QLabel*, kTargets.size()> echoes_{};
    QLabel* rnetworkEcho_ = nullptr;
    // The design and circuit as the last cycle left them; repainting replays them, so
    // a value stored outside its recalculation range leaves the previous picture in place.
    struct Shown {
        DesignRecord design;
        Circuit circuit;
        std::vector<InductorWinding> windings;
        LabelPixels labels;  // where its labels stand, for the next cycle's repaint
    };
    std::optional<Shown> shown_;
    // The chosen parts the user accepted and the targets and options they were found
    // for; they stand only while those are what the screen holds.
    struct Accepted {
        DesignRecord design;
        DesignOptions options;
        std::vector<AcceptedPart> parts;
    };
    std::optional<Accepted> accepted_;
    bool acceptanceDropped_ = false;
    void FollowBestParts();
    void AcceptBestParts();
    // The options of the option controls with the chosen transistor and its conditions.
    DesignOptions ChosenOptions() const;
    // The cycle itself: the circuit built, drawn and handed to the other windows.
    void Recalculate();
    BestPartsWindow* bestParts_ = nullptr;
    std::optional<BestParts> found_;
    OptionControls* options_ = nullptr;
    // The solve a curve's exact design waits for; see ShowDesign.
    QTimer* pendingSolve_ = nullptr;
    DeviceControls* devices_ = nullptr;
    PartsWindow* parts_ = nullptr;
    // The core each inductor is wound on, as chosen in the parts window; kept in the
    // user's settings, as the options are, for the next screen and the next start.
    CoreTable cores_;
    std::vector<WindingChoice> windingChoices_;
    void ChooseCore(PartRole inductor, const std::optional<std::string>& core);
    AnalysisWindows* analyses_ = nullptr;
    MismatchWindow* mismatch_ = nullptr;
    HarmonicsWindow* harmonicsWindow_ = nullptr;
    NetworkControls* networks_ = nullptr;
    // The Rnetwork box and its echo stand right of the load, which a longer network
    // moves right.
    void PlaceRnetwork();
    // The harmonic limit in effect: the box's, with the L-network on.
    std::optional<double> ShownLimit() const;
    // Sets the network controls to the network that meets the limit with the least
    // loss, or reports why none can.
    void MeetLimit(double limitDbc);
    QMenuBar* menuBar_ = nullptr;
    int cycleCount_ = 0;
    int fontPixels_ = 1;
    int penPixels_ = 2;
    QString fileInUse_;
    bool modified_ = false;
    bool loaded_ = false;
};

}  // namespace voltra
