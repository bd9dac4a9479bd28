// The settings boxes, the run in its worker thread and the yield and histograms it
// leaves behind.
#include "screens/tolerance/tolerance_window.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>
#include <cmath>

#include "engine/design_options.h"
#include "engine/stage_analysis.h"
#include "screens/object_names.h"
#include "screens/tolerance/histogram_chart.h"

namespace voltra {
namespace {

constexpr int kMaxSamples = 10'000'000;
// While the limit is off, its box proposes this much above the design's own peak
// drain voltage, rounded up to a whole volt: a rating with some margin.
constexpr double kProposedVpeakMargin = 1.25;
constexpr int kYieldPointSize = 30;

QDoubleSpinBox* PercentBox(QWidget* parent, const char* name, double value, double top,
                           const QString& suffix = QStringLiteral(" %"))
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, top);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(suffix);
    box->setValue(value);
    return box;
}

}  // namespace

QString YieldText(int working, int samples)
{
    if (samples <= 0) return {};
    if (working == samples) return QStringLiteral("100 %");
    if (working == 0) return QStringLiteral("0 %");
    const double percent = 100.0 * working / samples;
    if (percent >= 99.95) return QStringLiteral("> 99.9 %");
    if (percent < 0.05) return QStringLiteral("< 0.1 %");
    return QString::number(percent, 'f', 1) + QStringLiteral(" %");
}

ToleranceWindow::ToleranceWindow(QWidget* designScreen)
    : QWidget(designScreen, Qt::Tool),
      capacitor_(PercentBox(this, kCapacitorToleranceBoxName, 100 * PartTolerances{}.capacitor, 50)),
      inductor_(PercentBox(this, kInductorToleranceBoxName, 100 * PartTolerances{}.inductor, 50)),
      load_(PercentBox(this, kLoadToleranceBoxName, 100 * PartTolerances{}.resistor, 50)),
      samples_(new QSpinBox(this)), seed_(new QSpinBox(this)),
      powerBand_(PercentBox(this, kPowerBandBoxName, 100 * YieldCriteria{}.powerBand, 100, tr(" % of the target"))),
      turnOnLimit_(PercentBox(this, kTurnOnLimitBoxName, YieldCriteria{}.turnOnLimit, 1000, tr(" % of the supply"))),
      efficiencyFloor_(PercentBox(this, kEfficiencyFloorBoxName, 100 * YieldCriteria{}.efficiencyFloor, 100)),
      vpeakLimitOn_(new QCheckBox(tr("Peak drain voltage at most"), this)), vpeakLimit_(new QDoubleSpinBox(this)),
      runButton_(new QPushButton(tr("&Run"), this)), cancel_(new QPushButton(tr("&Cancel"), this)),
      progress_(new QProgressBar(this)), status_(new QLabel(this)), yield_(new QLabel(this))
{
    setObjectName(QLatin1String(kToleranceWindowName));
    setWindowTitle(tr("Tolerances"));

    samples_->setObjectName(QLatin1String(kSamplesBoxName));
    samples_->setRange(1, kMaxSamples);
    samples_->setGroupSeparatorShown(true);
    samples_->setValue(ToleranceSettings{}.samples);
    seed_->setObjectName(QLatin1String(kSeedBoxName));
    seed_->setRange(0, INT_MAX);
    seed_->setValue(static_cast<int>(ToleranceSettings{}.seed));
    seed_->setToolTip(tr("The same seed builds the same parts: a run can be repeated exactly."));
    vpeakLimitOn_->setObjectName(QLatin1String(kVpeakLimitCheckName));
    vpeakLimit_->setObjectName(QLatin1String(kVpeakLimitBoxName));
    vpeakLimit_->setRange(1, 100000);
    vpeakLimit_->setDecimals(1);
    vpeakLimit_->setSuffix(QStringLiteral(" V"));
    vpeakLimit_->setEnabled(false);
    connect(vpeakLimitOn_, &QCheckBox::toggled, vpeakLimit_, &QWidget::setEnabled);
    runButton_->setObjectName(QLatin1String(kRunToleranceButtonName));
    runButton_->setDefault(true);
    cancel_->setObjectName(QLatin1String(kCancelToleranceButtonName));
    cancel_->setEnabled(false);
    progress_->setObjectName(QLatin1String(kToleranceProgressName));
    progress_->hide();
    status_->setObjectName(QLatin1String(kToleranceStatusName));
    status_->setWordWrap(true);
    yield_->setObjectName(QLatin1String(kYieldLabelName));
    QFont big = yield_->font();
    big.setPointSize(kYieldPointSize);
    big.setBold(true);
    yield_->setFont(big);
    yield_->setAlignment(Qt::AlignCenter);

    auto* tolerances = new QGroupBox(tr("Tolerances, ±"), this);
    auto* tolerancesForm = new QFormLayout(tolerances);
    tolerancesForm->addRow(tr("Capacitors"), capacitor_);
    tolerancesForm->addRow(tr("Inductors"), inductor_);
    tolerancesForm->addRow(tr("Load"), load_);
    auto* builds = new QGroupBox(tr("Builds"), this);
    auto* buildsForm = new QFormLayout(builds);
    buildsForm->addRow(tr("Samples"), samples_);
    buildsForm->addRow(tr("Seed"), seed_);
    auto* criteria = new QGroupBox(tr("A build works when"), this);
    auto* criteriaForm = new QFormLayout(criteria);
    criteriaForm->addRow(tr("Pout within ±"), powerBand_);
    criteriaForm->addRow(tr("Turn-on voltage within ±"), turnOnLimit_);
    criteriaForm->addRow(tr("Efficiency at least"), efficiencyFloor_);
    criteriaForm->addRow(vpeakLimitOn_, vpeakLimit_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(runButton_);
    buttons->addWidget(cancel_);

    auto* settings = new QVBoxLayout;
    settings->addWidget(tolerances);
    settings->addWidget(builds);
    settings->addWidget(criteria);
    settings->addLayout(buttons);
    settings->addWidget(progress_);
    settings->addWidget(new QLabel(tr("Yield"), this), 0, Qt::AlignHCenter);
    settings->addWidget(yield_);
    settings->addWidget(status_);
    settings->addStretch(1);

    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < charts_.size(); ++i) {
        charts_[i] = new QChartView(new QChart, this);
        charts_[i]->setObjectName(QLatin1String(kHistogramChartNames[i]));
        charts_[i]->setRenderHint(QPainter::Antialiasing);
        charts_[i]->setMinimumSize(340, 240);
        grid->addWidget(charts_[i], static_cast<int>(i / 2), static_cast<int>(i % 2));
    }
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(settings);
    layout->addLayout(grid, 1);

    connect(runButton_, &QPushButton::clicked, this, &ToleranceWindow::Run);
    connect(cancel_, &QPushButton::clicked, this, &ToleranceWindow::Cancel);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { close(); });
}

ToleranceWindow::~ToleranceWindow()
{
    // The worker reports to this window: it must be gone before the window is.
    if (run_.joinable()) {
        run_.request_stop();
        run_.join();
    }
}

ToleranceSettings ToleranceWindow::Settings() const
{
    ToleranceSettings settings;
    settings.tolerances = {capacitor_->value() / 100, inductor_->value() / 100, load_->value() / 100};
    settings.criteria.powerBand = powerBand_->value() / 100;
    settings.criteria.turnOnLimit = turnOnLimit_->value();
    settings.criteria.efficiencyFloor = efficiencyFloor_->value() / 100;
    if (vpeakLimitOn_->isChecked()) settings.criteria.vpeakLimit = vpeakLimit_->value();
    settings.samples = samples_->value();
    settings.seed = static_cast<std::uint64_t>(seed_->value());
    return settings;
}

void ToleranceWindow::Follow(const DesignRecord& shown, const Circuit& circuit)
{
    design_ = shown;
    circuit_ = circuit;
    const bool wasRunning = Running();
    const bool hadFigures = !yield_->text().isEmpty();
    if (wasRunning) run_.request_stop();
    ++generation_;
    finished_ = true;
    cancel_->setEnabled(false);
    progress_->hide();
    ClearFigures();

    if (!AllUsable(circuit_)) {
        runButton_->setEnabled(false);
        status_->setText(tr("The design on screen has values out of range: there is no circuit to build."));
        return;
    }
    const StageFigures nominal = AnalyseStage(StageOf(circuit_));
    if (!nominal.valid) {
        runButton_->setEnabled(false);
        status_->setText(tr("The circuit as built has no steady state: %1.").arg(QString::fromStdString(nominal.reason)));
        return;
    }
    if (!vpeakProposed_ && !vpeakLimitOn_->isChecked()) {
        vpeakLimit_->setValue(std::ceil(kProposedVpeakMargin * nominal.vpeak));
        vpeakProposed_ = true;
    }
    runButton_->setEnabled(true);
    status_->setText(wasRunning || hadFigures
                         ? tr("The design changed: Run analyses the circuit now on the design screen.")
                         : tr("Run builds the circuit on the design screen as many times as the samples, every "
                              "capacitor, inductor and the load drawn within its tolerance."));
}

void ToleranceWindow::Run()
{
    if (Running()) return;
    const ToleranceSettings settings = Settings();
    const int generation = ++generation_;
    finished_ = false;
    ClearFigures();
    runButton_->setEnabled(false);
    cancel_->setEnabled(true);
    progress_->setRange(0, settings.samples);
    progress_->setValue(0);
    progress_->show();
    status_->setText(tr("Analysing %1 builds...").arg(QLocale().toString(settings.samples)));
    // Moving a new thread in stops and joins the one before, already told to stop.
    run_ = std::jthread([this, circuit = circuit_, target = static_cast<double>(design_.Power), settings,
                         generation](std::stop_token stop) {
        const ToleranceResult result =
            AnalyseTolerances(circuit, target, settings, stop, [this, generation](int done, int) {
                QMetaObject::invokeMethod(
                    this, [this, done, generation] { if (generation == generation_) progress_->setValue(done); },
                    Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            this, [this, result, settings, target, generation] { Show(result, settings, target, generation); },
            Qt::QueuedConnection);
    });
}

void ToleranceWindow::closeEvent(QCloseEvent* event)
{
    Cancel();
    QWidget::closeEvent(event);
}

void ToleranceWindow::Cancel()
{
    if (!Running()) return;
    run_.request_stop();
    cancel_->setEnabled(false);
    status_->setText(tr("Cancelling..."));
}

void ToleranceWindow::Show(const ToleranceResult& result, const ToleranceSettings& settings, double target,
                           int generation)
{
    if (generation != generation_) return;
    finished_ = true;
    progress_->hide();
    cancel_->setEnabled(false);
    runButton_->setEnabled(true);
    if (result.cancelled) {
        ClearFigures();
        status_->setText(tr("Cancelled: a run stopped part way has no figures."));
        return;
    }
    const int samples = static_cast<int>(result.builds.size());
    yield_->setText(YieldText(result.working, samples));
    const QLocale locale;
    QString text = tr("%1 of %2 builds work").arg(locale.toString(result.working), locale.toString(samples));
    if (result.invalid > 0) text += tr("; %1 reach no steady state").arg(locale.toString(result.invalid));
    status_->setText(text + tr(". Green: the target; red: the limits of a working build."));

    // The marks are those the run judged by, whatever the boxes hold now.
    const YieldCriteria& c = settings.criteria;
    std::vector<HistogramMark> power = {{target, true},
                                        {target * (1 - c.powerBand), false},
                                        {target * (1 + c.powerBand), false}};
    std::vector<HistogramMark> efficiency;
    if (c.efficiencyFloor > 0) efficiency.push_back({100 * c.efficiencyFloor, false});
    std::vector<HistogramMark> turnOn = {{0, true}, {-c.turnOnLimit, false}, {c.turnOnLimit, false}};
    std::vector<HistogramMark> vpeak;
    if (c.vpeakLimit) vpeak.push_back({*c.vpeakLimit, false});
    QChart* charts[] = {
        HistogramChart(tr("Output power, W"), result.pout, 1, power),
        HistogramChart(tr("Efficiency, %"), result.efficiency, 100, efficiency),
        HistogramChart(tr("Drain voltage at turn-on, % of the supply"), result.turnOnVoltage, 1, turnOn),
        HistogramChart(tr("Peak drain voltage, V"), result.vpeak, 1, vpeak),
    };
    for (std::size_t i = 0; i < charts_.size(); ++i) {
        QChart* previous = charts_[i]->chart();
        charts_[i]->setChart(charts[i]);
        delete previous;
    }
}

void ToleranceWindow::ClearFigures()
{
    yield_->clear();
    for (QChartView* view : charts_) {
        QChart* previous = view->chart();
        view->setChart(new QChart);
        delete previous;
    }
}

}  // namespace voltra
