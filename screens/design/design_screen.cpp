// The design screen's controls, its load and the handlers that run the
// recalculation cycle on every accepted change.
#include "screens/design/design_screen.h"

#include <QAction>
#include <algorithm>
#include <string_view>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QTimer>

#include "screens/design/analysis_windows.h"
#include "screens/design/control_layout.h"
#include "screens/design/design_commands.h"
#include "screens/design/design_painter.h"
#include "screens/design/device_controls.h"
#include "screens/design/drawing_units.h"
#include "screens/design/entry_texts.h"
#include "screens/design/design_menu.h"
#include "screens/design/design_title.h"
#include "screens/design/option_controls.h"
#include "screens/design/up_down.h"
#include "screens/design/value_echo.h"
#include "engine/chosen_device.h"
#include "engine/program_texts.h"
#include "engine/wound_circuit.h"
#include "units/number_text.h"
#include "units/parse.h"
#include "screens/screen_style.h"
#include "screens/object_names.h"
#include "screens/bestparts/best_parts_window.h"
#include "screens/parts/parts_window.h"
#include "screens/mismatch/mismatch_window.h"
#include "screens/harmonics/harmonics_window.h"
#include "screens/design/network_controls.h"
#include "screens/design/schematic.h"
#include "engine/harmonic_limit.h"

namespace voltra {

namespace {

// Two circuits of one drawing: the same parts between the same nodes, whatever their
// values, so only changed labels need repainting.
bool SameChain(const Circuit& a, const Circuit& b)
{
    return std::equal(a.parts.begin(), a.parts.end(), b.parts.begin(), b.parts.end(), [](const Part& x, const Part& y) {
        return x.role == y.role && std::string_view(x.from) == y.from && std::string_view(x.to) == y.to;
    });
}

struct ButtonRow {
    const char* name;
    const char* caption;
    QRgb face;
    bool shown;
    void (DesignCommands::*command)();  // null for the buttons the screen handles itself
};

constexpr QRgb kCyanFace = qRgb(192, 255, 255);
constexpr QRgb kPinkFace = qRgb(255, 192, 192);

// Only "L-net", "Print", "LTspice" and "Exit" are ever in view; the others stay
// hidden but keep their commands.
constexpr std::array<ButtonRow, 9> kButtons = {{
    {kLnetButtonName, "L-net", kButtonFace, true, nullptr},
    {kAboutButtonName, "About", kCyanFace, false, &DesignCommands::About},
    {kSaveButtonName, "Save this design", kButtonFace, false, &DesignCommands::Save},
    {kGetButtonName, "Get old design", kButtonFace, false, &DesignCommands::Get},
    {kPrintButtonName, "Print", kButtonFace, true, &DesignCommands::Print},
    {kSpiceButtonName, "LTspice", kButtonFace, true, &DesignCommands::Spice},
    {kVerifyButtonName, "Verify", kButtonFace, true, &DesignCommands::Verify},
    {kExitButtonName, "Exit", kButtonFace, true, &DesignCommands::Exit},
    {kEnterButtonName, "Enter", kPinkFace, false, nullptr},
}};

struct EntryRow {
    Target target;
    const char* labelName;
    const char* caption;
    const char* boxName;
    const char* upDownName;
    const char* echoName;
};

constexpr std::array<EntryRow, 6> kEntryRows = {{
    {Target::Frequency, kFrequencyLabelName, "Frequency (Hz):", kFrequencyBoxName, kFrequencyArrowsName, kFrequencyEchoName},
    {Target::Power, kPowerLabelName, "Power (W):", kPowerBoxName, kPowerArrowsName, kPowerEchoName},
    {Target::Supply, kSupplyLabelName, "Supply (V):", kSupplyBoxName, kSupplyArrowsName, kSupplyEchoName},
    {Target::Saturation, kSaturationLabelName, "Saturation (V):", kSaturationBoxName, kSaturationArrowsName, kSaturationEchoName},
    {Target::NetworkQ, kNetworkQLabelName, "Network Q (N):", kNetworkQBoxName, kNetworkQArrowsName, kNetworkQEchoName},
    {Target::Falltime, kFalltimeLabelName, "Falltime (s):", kFalltimeBoxName, kFalltimeArrowsName, kFalltimeEchoName},
}};

// Tab order; hidden controls drop out of it by themselves.
constexpr std::array<const char*, 16> kKeyboardOrder = {
    kLnetButtonName, kRnetworkBoxName,  kAboutButtonName,    kSaveButtonName,       kGetButtonName,
    kPrintButtonName,   kSpiceButtonName, kVerifyButtonName,     kExitButtonName,     kFrequencyBoxName,  kPowerBoxName,
    kSupplyBoxName,  kSaturationBoxName, kNetworkQBoxName, kFalltimeBoxName,  kEnterButtonName,
};

constexpr const char* kCaptionFormat = "Voltra Version %1 - Design screen";

// The core each inductor is wound on, kept with the design options in the user's
// settings (no design file holds it); an empty text is air.
struct WoundPart {
    PartRole role;
    const char* key;
};
constexpr std::array<WoundPart, 3> kWoundParts = {
    {{PartRole::Choke, "design/core/choke"}, {PartRole::Lseries, "design/core/lseries"},
     {PartRole::NetworkL, "design/core/lnetwork"}}};

std::vector<WindingChoice> StoredWindingChoices()
{
    std::vector<WindingChoice> choices;
    const QSettings settings(QStringLiteral("voltra"), QStringLiteral("voltra"));
    for (const WoundPart& part : kWoundParts) {
        const QString core = settings.value(QLatin1String(part.key)).toString();
        if (!core.isEmpty()) choices.push_back({part.role, core.toStdString()});
    }
    return choices;
}

// A box whose value does not take part in the design says so in red, and its tip says
// which value does.
constexpr const char* kOutOfRangeTip =
    "Outside %1 to %2: the design is not recalculated, and the last calculated design is still in use.";
constexpr const char* kRnetworkClampedTip = "In effect: %1 ohms (the network resistance is limited to %2 to %3 ohms).";

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The inputs a search for the best parts was made from: the six targets and the
// network as it stood.
bool SameTargets(const DesignRecord& a, const DesignRecord& b)
{
    return a.Frequency == b.Frequency && a.Power == b.Power && a.Supply == b.Supply && a.Saturation == b.Saturation &&
           a.NetworkQ == b.NetworkQ && a.Falltime == b.Falltime && a.LnetState == b.LnetState &&
           a.Rnetwork == b.Rnetwork;
}

// Beside the losses window in the Tools menu.
void AddBestPartsCommand(QMenuBar& bar, QWidget& screen, std::function<void()> show)
{
    auto* tools = bar.findChild<QMenu*>(QLatin1String(kToolsMenuName));
    auto* action = new QAction(QStringLiteral("&Best standard parts..."), tools);
    action->setObjectName(QLatin1String(kBestPartsActionName));
    const QList<QAction*> actions = tools->actions();
    QAction* after = screen.window()->findChild<QAction*>(QLatin1String(kPartsWindowActionName));
    const qsizetype at = actions.indexOf(after);
    tools->insertAction(at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr, action);
    QObject::connect(action, &QAction::triggered, tools, std::move(show));
}

// The echo is quiet: plain grey under the bold black box, red only when it matters.
constexpr QRgb kEchoGrey = qRgb(96, 96, 96);
constexpr QRgb kEchoRed = qRgb(255, 0, 0);

QLabel* MakeEcho(QWidget* screen, const char* name)
{
    auto* echo = new QLabel(screen);
    echo->setObjectName(QLatin1String(name));
    echo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont plain = echo->font();
    plain.setBold(false);
    echo->setFont(plain);
    return echo;
}

}  // namespace

DesignScreen::DesignScreen(DesignRecord& design, DesignCommands& commands, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      design_(design), commands_(commands), cores_(AvailableCores()), windingChoices_(StoredWindingChoices())
{
    setObjectName(QLatin1String(kDesignScreenName));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);
    QFont font(kSansFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    setFont(font);

    pendingSolve_ = new QTimer(this);
    pendingSolve_->setSingleShot(true);
    pendingSolve_->setInterval(0);
    connect(pendingSolve_, &QTimer::timeout, this, &DesignScreen::Recalculate);
    BuildControls();
    options_ = new OptionControls(*this);
    connect(options_, &OptionControls::Changed, this, [this] {
        FindAll(design_);
        ShowDesign();
    });
    devices_ = new DeviceControls(*this, ListDevices(commands_.TransistorFolders()),
                                  [this](const std::string& text) { commands_.Report(text); });
    connect(devices_, &DeviceControls::Changed, this, [this] {
        FindAll(design_);
        ShowDesign();
    });
    networks_ = new NetworkControls(*this);
    networks_->SetVisible(false);
    connect(networks_, &NetworkControls::Changed, this, [this] {
        FindAll(design_);
        ShowDesign();
    });
    connect(networks_, &NetworkControls::MeetLimitRequested, this, &DesignScreen::MeetLimit);
    menuBar_ = BuildDesignMenu(*this, commands_, [this] { ShowPartsWindow(); });
    analyses_ = new AnalysisWindows(*this, *menuBar_->findChild<QMenu*>(QLatin1String(kToolsMenuName)));
    AddToolsWindow(*menuBar_, kMismatchActionName, tr("Load &mismatch..."), [this] { ShowMismatchWindow(); });
    AddToolsWindow(*menuBar_, kHarmonicsWindowActionName, tr("&Spectrum at the load..."), [this] { ShowHarmonicsWindow(); });
    AddBestPartsCommand(*menuBar_, *this, [this] { ShowBestPartsWindow(); });
    Load();
    loaded_ = true;
}

void DesignScreen::SetFileInUse(const QString& path)
{
    fileInUse_ = path;
    modified_ = false;
    setWindowTitle(DesignTitle(QString::fromLatin1(kCaptionFormat).arg(QString::fromLatin1(kVersionText)), fileInUse_,
                               modified_));
}

void DesignScreen::MarkModified()
{
    if (!loaded_ || modified_) return;
    modified_ = true;
    setWindowTitle(DesignTitle(QString::fromLatin1(kCaptionFormat).arg(QString::fromLatin1(kVersionText)), fileInUse_,
                               modified_));
}

void DesignScreen::BuildControls()
{
    for (const ButtonRow& row : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(row.caption), this);
        button->setObjectName(QLatin1String(row.name));
        QPalette face = button->palette();
        face.setColor(QPalette::Button, QColor(row.face));
        button->setPalette(face);
        button->setVisible(row.shown);
        button->setAutoDefault(false);
        if (row.command)
            connect(button, &QPushButton::clicked, this, [this, command = row.command] { (commands_.*command)(); });
    }
    connect(findChild<QPushButton*>(QLatin1String(kLnetButtonName)), &QPushButton::clicked, this,
            &DesignScreen::LnetClicked);

    for (const EntryRow& row : kEntryRows) {
        auto* label = new QLabel(QString::fromLatin1(row.caption), this);
        label->setObjectName(QLatin1String(row.labelName));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(row.boxName));
        box->setAlignment(Qt::AlignCenter);
        box->installEventFilter(this);
        entryBoxes_[static_cast<size_t>(row.target)] = box;
        connect(box, &QLineEdit::textChanged, this, [this, target = row.target] { EntryChanged(target); });

        auto* arrows = new UpDown(this);
        arrows->setObjectName(QLatin1String(row.upDownName));
        connect(arrows, &UpDown::Stepped, this, [this, target = row.target](int direction) { Step(target, direction); });

        echoes_[static_cast<size_t>(row.target)] = MakeEcho(this, row.echoName);
    }

    txtRnetwork_ = new QLineEdit(this);
    txtRnetwork_->setObjectName(QLatin1String(kRnetworkBoxName));
    txtRnetwork_->setAlignment(Qt::AlignCenter);
    QFont plain = txtRnetwork_->font();
    plain.setBold(false);
    txtRnetwork_->setFont(plain);
    txtRnetwork_->hide();
    rnetworkEcho_ = MakeEcho(this, kRnetworkEchoName);
    rnetworkEcho_->hide();
    connect(txtRnetwork_, &QLineEdit::textChanged, this, &DesignScreen::RnetworkChanged);

    for (size_t i = 1; i < kKeyboardOrder.size(); ++i)
        setTabOrder(findChild<QWidget*>(QLatin1String(kKeyboardOrder[i - 1])),
                    findChild<QWidget*>(QLatin1String(kKeyboardOrder[i])));
    findChild<QWidget*>(QLatin1String(kKeyboardOrder.front()))->setFocus();
}

void DesignScreen::Load()
{
    setWindowTitle(QString::fromLatin1(kCaptionFormat).arg(QString::fromLatin1(kVersionText)));
    txtRnetwork_->setText(Text(RnetworkLoadText(design_.Rnetwork)));
    // Each box's own change handling runs as its text goes in, with the entry
    // limits; the load limits before it keep a design from a file inside the range
    // the equations were fitted for.
    for (Target target : kTargets) {
        float& field = TargetField(design_, target);
        field = ClampOnLoad(target, field);
        Box(target)->setText(Text(LoadText(target, field)));
    }
    FindAll(design_);
    ShowDesign();
    findChild<QAction*>(QLatin1String(kLnetActionName))->setChecked(design_.LnetState);
}

QRect DesignScreen::DrawingArea() const
{
    // A menu bar the desktop shows in a panel of its own takes no room here.
    const int menuHeight = menuBar_ && !menuBar_->isNativeMenuBar() ? menuBar_->sizeHint().height() : 0;
    return QRect(0, menuHeight, width(), std::max(1, height() - menuHeight));
}

QTransform DesignScreen::Units() const { return DrawingTransform(DrawingArea()); }

void DesignScreen::ShowDesign()
{
    const DesignOptions chosen = ChosenOptions();
    if (shown_ && chosen.exact && chosen.device) {
        pendingSolve_->start();
        return;
    }
    Recalculate();
}

void DesignScreen::Recalculate()
{
    pendingSolve_->stop();
    const float entered = ParseValue(txtRnetwork_->text().toStdString());
    FindLnetwork(design_, lnetworkWorking_, entered);
    MarkRnetworkInEffect(entered);
    DesignOptions options = ChosenOptions();
    // The device's single capacitance follows the supply it swings across.
    options_->HoldCoss(options.device ? std::optional(SingleCossOf(*options.device, design_.Supply)) : std::nullopt);
    if (accepted_ && SameTargets(accepted_->design, design_) && accepted_->options == options) {
        options.accepted = accepted_->parts;
    } else if (accepted_) {
        accepted_.reset();
        acceptanceDropped_ = true;
    }
    WoundCircuit wound =
        BuildWoundCircuit(design_, options, {windingChoices_, cores_.cores, options_->WindingQInBudget()});
    Circuit& circuit = wound.circuit;
    // While the circuit keeps its shape only the values change: repainting the
    // labels' old and new pixels keeps a keystroke cheap even on a 4K display.
    const bool sameCircuit = shown_ && SameChain(shown_->circuit, circuit);
    LabelPixels labels = MeasureLabels(circuit, Units(), fontPixels_, shown_ ? &shown_->labels : nullptr);
    QRegion changed;
    if (sameCircuit) changed = ChangedLabelRegion(shown_->labels, labels);
    shown_ = Shown{design_, std::move(circuit), std::move(wound.windings), std::move(labels)};
    ++cycleCount_;
    if (!sameCircuit) {
        // A longer or shorter chain moves the load, and the Rnetwork box beside it.
        PlaceRnetwork();
        update();
    }
    else if (!changed.isEmpty())
        update(changed);
    if (parts_) parts_->Follow(shown_->circuit, shown_->windings);
    if (analyses_) analyses_->Follow();
    if (mismatch_ && mismatch_->isVisible()) mismatch_->Follow(shown_->circuit);
    if (harmonicsWindow_ && harmonicsWindow_->isVisible()) harmonicsWindow_->Follow(shown_->circuit, ShownLimit());
    if (bestParts_ && bestParts_->isVisible()) FollowBestParts();
    commands_.Recalculated(shown_->design, shown_->circuit);
}

DesignOptions DesignScreen::ChosenOptions() const
{
    DesignOptions options = options_->Options();
    devices_->ApplyTo(options);
    // The network's choices, the trap's among them, stand only with the L-network on,
    // as their controls do: with it off the screen is the plain stage, whatever the
    // settings remember.
    if (design_.LnetState) networks_->ApplyTo(options);
    return options;
}

void DesignScreen::ShowMismatchWindow()
{
    const bool first = !mismatch_;
    if (first) mismatch_ = new MismatchWindow(this);
    mismatch_->Follow(shown_->circuit);
    if (first) mismatch_->adjustSize();
    mismatch_->show();
    mismatch_->raise();
}

void DesignScreen::ShowHarmonicsWindow()
{
    if (!harmonicsWindow_) harmonicsWindow_ = new HarmonicsWindow(this);
    harmonicsWindow_->Follow(shown_->circuit, ShownLimit());
    harmonicsWindow_->show();
    harmonicsWindow_->raise();
}

void DesignScreen::FollowBestParts()
{
    found_ = FindBestParts(design_, ChosenOptions());
    bestParts_->Follow(*found_, accepted_            ? Acceptance::InForce
                                : acceptanceDropped_ ? Acceptance::Dropped
                                                     : Acceptance::None);
}

void DesignScreen::AcceptBestParts()
{
    if (!found_ || !found_->problem.empty()) return;
    accepted_ = Accepted{design_, ChosenOptions(), AcceptedParts(*found_)};
    acceptanceDropped_ = false;
    ShowDesign();
}

void DesignScreen::ShowBestPartsWindow()
{
    const bool first = !bestParts_;
    if (first) {
        bestParts_ = new BestPartsWindow(this);
        connect(bestParts_, &BestPartsWindow::Accepted, this, &DesignScreen::AcceptBestParts);
    }
    FollowBestParts();
    if (first) bestParts_->adjustSize();
    bestParts_->show();
    bestParts_->raise();
}

void DesignScreen::ShowPartsWindow()
{
    const bool first = !parts_;
    if (first) {
        parts_ = new PartsWindow(this);
        parts_->OfferCores(cores_);
        connect(parts_, &PartsWindow::CoreChosen, this, &DesignScreen::ChooseCore);
    }
    parts_->Follow(shown_->circuit, shown_->windings);
    // Sized to its tables once; after that the user's size stands.
    if (first) parts_->adjustSize();
    parts_->show();
    parts_->raise();
}

void DesignScreen::UseCores(CoreTable table)
{
    cores_ = std::move(table);
    if (parts_) parts_->OfferCores(cores_);
    ShowDesign();
}

void DesignScreen::ChooseCore(PartRole inductor, const std::optional<std::string>& core)
{
    std::erase_if(windingChoices_, [&](const WindingChoice& c) { return c.role == inductor; });
    if (core) windingChoices_.push_back({inductor, core});
    QSettings settings(QStringLiteral("voltra"), QStringLiteral("voltra"));
    for (const WoundPart& part : kWoundParts)
        if (part.role == inductor) settings.setValue(QLatin1String(part.key), QString::fromStdString(core.value_or("")));
    ShowDesign();
}

void DesignScreen::ShowEcho(QLabel* echo, const ValueEcho& value)
{
    echo->setText(value.text);
    echo->setToolTip(value.toolTip);
    const QColor colour(value.red ? kEchoRed : kEchoGrey);
    if (echo->palette().color(QPalette::WindowText) == colour) return;
    QPalette palette = echo->palette();
    palette.setColor(QPalette::WindowText, colour);
    echo->setPalette(palette);
}

void DesignScreen::MarkEntryInEffect(Target target)
{
    const float stored = TargetField(design_, target);
    QLineEdit* box = Box(target);
    ShowEcho(echoes_[static_cast<size_t>(target)],
             TargetEcho(target, ParseValue(box->text().toStdString()), stored));
    const bool inEffect = InRecalcRange(target, stored);
    const EntryLimits& limits = kEntryLimits[static_cast<size_t>(target)];
    ShowInEffect(*box, inEffect);
    box->setToolTip(inEffect ? QString()
                             : QString::fromLatin1(kOutOfRangeTip)
                                   .arg(Text(GeneralNumberText(limits.recalcLow)),
                                        Text(GeneralNumberText(limits.recalcHigh))));
}

void DesignScreen::MarkRnetworkInEffect(float entered)
{
    const bool inEffect = RnetworkAccepted(entered);
    ShowEcho(rnetworkEcho_, RnetworkEcho(entered, design_.Rnetwork));
    ShowInEffect(*txtRnetwork_, inEffect);
    txtRnetwork_->setToolTip(inEffect ? QString()
                                      : QString::fromLatin1(kRnetworkClampedTip)
                                            .arg(Text(GeneralNumberText(design_.Rnetwork)),
                                                 Text(GeneralNumberText(kRnetworkMin)),
                                                 Text(GeneralNumberText(kRnetworkMax))));
}

void DesignScreen::EntryChanged(Target target)
{
    const float entered = ParseValue(Box(target)->text().toStdString());
    float& field = TargetField(design_, target);
    field = ClampEntry(target, entered, design_.Saturation);
    MarkModified();
    MarkEntryInEffect(target);
    if (!InRecalcRange(target, field)) return;
    FindAll(design_);
    ShowDesign();
}

void DesignScreen::RnetworkChanged()
{
    // The network resistance in effect is always the box's text as it now stands,
    // clamped: the "20" on the way to "20k" must not stay behind once the "k" is typed.
    // The cycle reads the box, clamps it and marks it. The design file does not keep
    // the network, so the design is not changed from its file.
    FindAll(design_);
    ShowDesign();
}

void DesignScreen::Step(Target target, int direction)
{
    float& field = TargetField(design_, target);
    field = StepValue(field, direction);
    QLineEdit* box = Box(target);
    // Writing the stepped text runs the box's own handling: the value read back
    // from the text, clamped, is what the design is recalculated with.
    box->setText(Text(StepText(target, field)));
    // Where a clamp replaced the stepped value, the box shows the value that
    // stands; it is already in the design, so no second cycle runs.
    const QString standing = Text(StepText(target, field));
    if (box->text() != standing) {
        const QSignalBlocker quiet(box);
        box->setText(standing);
    }
}

void DesignScreen::LnetClicked()
{
    design_.LnetState = !design_.LnetState;
    // Switched off, the box keeps its text and ShowDesign still reads Rnetwork from
    // it, so switching on again brings back the same network.
    txtRnetwork_->setVisible(design_.LnetState);
    rnetworkEcho_->setVisible(design_.LnetState);
    networks_->SetVisible(design_.LnetState);
    findChild<QAction*>(QLatin1String(kLnetActionName))->setChecked(design_.LnetState);
    FindAll(design_);
    ShowDesign();
}

void DesignScreen::LayOut()
{
    // Every resize lays the screen out afresh: a window opened maximized and then made
    // small takes the small window's text, wires and arrows, not the display's. The
    // menu bar runs across the top; the drawing units fill the area below it.
    menuBar_->setGeometry(0, 0, width(), DrawingArea().top());
    const QRect area = DrawingArea();
    fontPixels_ = PlaceControls(*this, Units(), ScreenFontPixels(area.size()));
    penPixels_ = SchematicPenPixels(area.size());
    PlaceRnetwork();
}

void DesignScreen::PlaceRnetwork()
{
    if (!shown_) return;
    const int loadX = PlacedChain(shown_->circuit).back().x;
    PlaceBesideLoad(*txtRnetwork_, *rnetworkEcho_, loadX, Units());
}

std::optional<double> DesignScreen::ShownLimit() const
{
    return design_.LnetState ? networks_->LimitDbc() : std::nullopt;
}

void DesignScreen::MeetLimit(double limitDbc)
{
    const LimitDesign found = DesignToLimit(design_, ChosenOptions(), limitDbc);
    if (!found.met) {
        commands_.Report(found.reason);
        return;
    }
    networks_->Choose(found.options);
}

void DesignScreen::resizeEvent(QResizeEvent*)
{
    LayOut();
    // The labels now stand elsewhere and in another size: the next keystroke must clear
    // them where they are painted now, not where they stood before.
    if (shown_) shown_->labels = MeasureLabels(shown_->circuit, Units(), fontPixels_, nullptr);
    update();
}

void DesignScreen::paintEvent(QPaintEvent* event)
{
    if (!shown_) return;
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.setWorldTransform(Units());
    PaintDesign(painter, shown_->circuit, shown_->design.Pi, fontPixels_, penPixels_,
                QGuiApplication::palette().color(QPalette::Button), &shown_->labels);
}

void DesignScreen::closeEvent(QCloseEvent* event)
{
    event->ignore();
    commands_.Exit();
}

bool DesignScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down) return QWidget::eventFilter(watched, event);
    for (Target target : kTargets) {
        if (Box(target) != watched) continue;
        Step(target, key == Qt::Key_Up ? 1 : -1);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace voltra
