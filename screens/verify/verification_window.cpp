// Runs the simulation off the user-interface thread and shows what it found. Each new
// calculation bumps a generation: an outcome from an older one is dropped unseen.
#include "screens/verify/verification_window.h"

#include <QAction>
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QFontMetricsF>
#include <QPainter>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QScatterSeries>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>

#include "engine/circuit.h"
#include "engine/figure_table.h"
#include "engine/program_texts.h"
#include "print/loss_texts.h"
#include "screens/object_names.h"
#include "units/format.h"
#include "screens/verify/plot_scale.h"
#include "simulation/netlist.h"
#include "simulation/verification.h"

namespace voltra {
namespace {

// Long enough that a typed number is complete before the simulator starts on it.
constexpr int kTypingPauseMilliseconds = 400;
constexpr const char* kCaptionFormat = "Voltra Version %1 - Verification";
constexpr const char* kRefused = "This design has results that are not valid, so it cannot be simulated.";
const QColor kRed(255, 0, 0);
const QColor kOnShade(255, 220, 150, 120);

// The window's share of the screen it opens on: the plot stays readable on a laptop
// and is not a postage stamp on a 4K display.
constexpr double kScreenWidthShare = 0.47;
constexpr double kScreenHeightShare = 0.67;
constexpr QSize kSmallestSize(640, 480);

// Each figure in an engineer's words, from the table of figures; a fraction (the
// efficiency) is shown in %.
struct FigureWords {
    const char* caption;
    double scale;  // from the comparison's unit to the one shown
    const char* unit;
};

FigureWords WordsFor(const FigureComparison& c)
{
    for (const FigureRow& row : Figures())
        if (std::string_view(row.name) == c.key) return row.unit[0] ? FigureWords{row.caption, 1, row.unit}
                                                                    : FigureWords{row.caption, 100, "%"};
    return {c.key, 1, c.unit};
}

QString Figure(double value, const char* unit)
{
    const QString number = QString::number(value, 'g', 5);
    return unit[0] ? number + u' ' + QString::fromLatin1(unit) : number;
}

// Ticks on round values across the axis: the 1-2-5 step of RoundAxis.
void SetRoundTicks(QValueAxis& axis, double low, double high, bool keepRange)
{
    const AxisScale round = RoundAxis(low, high);
    if (keepRange) {
        axis.setRange(low, high);
    } else {
        axis.setRange(round.low, round.high);
    }
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0);
    axis.setTickInterval(round.step);
    axis.setLabelFormat(QStringLiteral("%g"));
}

QLineSeries* Series(const QString& name, const std::vector<double>& time, const std::vector<double>& values,
                    double timeScale)
{
    auto* series = new QLineSeries;
    series->setName(name);
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(time.size()));
    for (std::size_t i = 0; i < time.size(); ++i) points.append(QPointF(time[i] * timeScale, values[i]));
    series->replace(points);
    return series;
}

// The predictions of a circuit the program questions (standard values that miss the
// targets) are checked all the same; the window says why they are red on the screen.
QString QuestionedNote(const Circuit& circuit)
{
    QString note;
    for (const std::string& reason : QuestionedReasons(circuit))
        note += QStringLiteral(" Predicted figures questioned: %1.").arg(QString::fromStdString(reason));
    return note;
}

}  // namespace

VerificationWindow::VerificationWindow(Simulator& simulator, QWidget* parent)
    : QWidget(parent, Qt::Tool), simulator_(simulator), pause_(new QTimer(this)), chart_(new QChartView(this)),
      table_(new QTableWidget(7, 4, this)), progress_(new QProgressBar(this)), status_(new QLabel(this)),
      losses_(new QLabel(this))
{
    setObjectName(QLatin1String(kVerificationWindowName));
    setWindowTitle(QString::fromLatin1(kCaptionFormat).arg(QString::fromLatin1(kVersionText)));
    table_->setObjectName(QLatin1String(kFiguresTableName));
    table_->setHorizontalHeaderLabels({tr("Figure"), tr("Predicted"), tr("Simulated"), tr("Deviation")});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumHeight(320);
    progress_->setRange(0, 0);
    progress_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chart_, 3);
    layout->addWidget(table_, 2);
    losses_->setObjectName(QLatin1String(kVerifiedLossesName));
    losses_->setWordWrap(true);
    layout->addWidget(losses_);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    pause_->setSingleShot(true);
    pause_->setInterval(kTypingPauseMilliseconds);
    connect(pause_, &QTimer::timeout, this, &VerificationWindow::StartRun);
    auto* close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    const QScreen* screen = parent ? parent->screen() : this->screen();
    resize(screen ? VerificationWindowSize(screen->availableGeometry().size()) : kSmallestSize);
}

QSize VerificationWindowSize(QSize available)
{
    const QSize share(qRound(available.width() * kScreenWidthShare), qRound(available.height() * kScreenHeightShare));
    return share.expandedTo(kSmallestSize).boundedTo(available);
}

VerificationWindow::~VerificationWindow()
{
    // Each jthread asks its run to stop and waits for it: nothing outlives the window.
    runs_.clear();
}

bool VerificationWindow::Busy() const { return pause_->isActive() || !progress_->isHidden(); }

void VerificationWindow::Follow(const DesignRecord& shown, const Circuit& circuit)
{
    pending_ = shown;
    pendingCircuit_ = circuit;
    ++generation_;
    for (Run& run : runs_) run.thread.request_stop();
    progress_->show();
    status_->setText(tr("Waiting for the design to settle..."));
    pause_->start();
}

void VerificationWindow::StartRun()
{
    runs_.remove_if([](const Run& run) { return run.done.load(); });
    const Circuit& circuit = pendingCircuit_;
    if (!AllUsable(circuit)) {
        Show(pending_, circuit, SimulationOutcome{std::nullopt, kRefused, false}, generation_);
        return;
    }
    status_->setText(tr("Simulating to periodic steady state..."));
    Run& run = runs_.emplace_back();
    run.thread = std::jthread([this, &run, design = pending_, circuit, request = RequestFor(circuit),
                               generation = generation_](std::stop_token cancel) {
        const SimulationOutcome outcome = simulator_.Run(request, cancel);
        if (!cancel.stop_requested())
            QMetaObject::invokeMethod(
                this, [this, design, circuit, outcome, generation] { Show(design, circuit, outcome, generation); },
                Qt::QueuedConnection);
        run.done = true;
    });
}

void VerificationWindow::Show(const DesignRecord& design, const Circuit& circuit, const SimulationOutcome& outcome,
                              int generation)
{
    if (generation != generation_) return;
    progress_->hide();
    if (!outcome.result) {
        showsResult_ = false;
        status_->setText(QString::fromStdString(outcome.error));
        // No trace of an earlier design may stand beside the message.
        table_->clearContents();
        losses_->clear();
        ReplaceChart(new QChart);
        return;
    }
    showsResult_ = true;
    const SimulationFigures& figures = outcome.result->figures;
    // The slope completes the switching condition: zero voltage with zero slope.
    status_->setText(tr("Periodic steady state after %1 periods.").arg(figures.periods) +
                     (figures.steady ? QString() : tr(" (not yet settled: the period cap was reached)")) +
                     tr(" Drain-voltage slope at turn-on: %1 of the supply per radian.")
                         .arg(QString::number(figures.turnOnSlope, 'g', 3)) +
                     QuestionedNote(circuit));
    ShowTable(design, circuit, figures);
    ShowLosses(circuit, figures);
    ShowPlot(outcome.result->waveforms);
}

void VerificationWindow::ShowLosses(const Circuit& circuit, const SimulationFigures& figures)
{
    const QString simulated =
        tr("Simulated supply power less output power: %1.")
            .arg(QString::fromStdString(FormatPrefixed(figures.Pin - figures.Pout) + "W"));
    // The budget's line begins a sentence on the screen; here it follows "Predicted".
    QString predicted = QString::fromStdString(LossSummaryLine(circuit));
    if (!predicted.isEmpty()) predicted[0] = predicted[0].toLower();
    losses_->setText(predicted.isEmpty() ? simulated : tr("Predicted %1. %2").arg(predicted, simulated));
}

void VerificationWindow::ShowTable(const DesignRecord& design, const Circuit& circuit, const SimulationFigures& figures)
{
    const std::vector<FigureComparison> compared = Compare(design, circuit, figures);
    // An analysed circuit's spectrum follows the figures, one row per harmonic.
    const std::vector<HarmonicComparison> harmonics = CompareHarmonics(circuit, figures);
    table_->setRowCount(static_cast<int>(compared.size() + harmonics.size()));
    int row = 0;
    for (const FigureComparison& c : compared) {
        const QString deviation = QString::asprintf("%+.1f %%", c.deviationPercent);
        const FigureWords words = WordsFor(c);
        const QStringList cells = {tr(words.caption), Figure(c.predicted * words.scale, words.unit),
                                   Figure(c.simulated * words.scale, words.unit), deviation};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (c.beyondWarning && column >= 2) item->setForeground(kRed);
            table_->setItem(row, column, item);
        }
        ++row;
    }
    for (const HarmonicComparison& h : harmonics) {
        const QStringList cells = {tr("%1 harmonic at the load").arg(QString::fromStdString(HarmonicOrdinal(h.n))),
                                   QString::asprintf("%.1f dBc", h.predicted),
                                   QString::asprintf("%.1f dBc", h.simulated),
                                   QString::asprintf("%+.1f dB", h.difference)};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (h.beyondWarning && column >= 2) item->setForeground(kRed);
            table_->setItem(row, column, item);
        }
        ++row;
    }
}

void VerificationWindow::PaintReport(QPainter& page) const
{
    const QRectF paper(0, 0, page.device()->width(), page.device()->height());
    const double margin = paper.width() * 0.08;
    const QRectF area = paper.adjusted(margin, margin, -margin, -margin);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(12);
    font.setBold(true);
    page.setFont(font);
    const double line = QFontMetricsF(font, page.device()).lineSpacing();
    page.drawText(QPointF(area.left(), area.top() + line), windowTitle());
    // The status runs over as many lines as the page's width needs, none cut off.
    font.setBold(false);
    page.setFont(font);
    const QRectF statusRoom(area.left(), area.top() + 1.4 * line, area.width(), area.height());
    const QRectF status =
        page.boundingRect(statusRoom, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, status_->text());
    page.drawText(statusRoom, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, status_->text());
    const QRectF plot(area.left(), status.bottom() + 0.6 * line, area.width(), area.height() * 0.55);
    chart_->render(&page, plot);

    font.setPointSizeF(10);
    page.setFont(font);
    const double row = QFontMetricsF(font, page.device()).lineSpacing() * 1.4;
    // The figure's words take the first two fifths of the width, the numbers a fifth each.
    const double column = area.width() / (table_->columnCount() + 1);
    const auto left = [&](int c) { return area.left() + (c == 0 ? 0 : (c + 1) * column); };
    double y = plot.bottom() + 2 * row;
    for (int c = 0; c < table_->columnCount(); ++c)
        page.drawText(QPointF(left(c), y), table_->horizontalHeaderItem(c)->text());
    for (int r = 0; r < table_->rowCount(); ++r) {
        y += row;
        for (int c = 0; c < table_->columnCount(); ++c) {
            const QTableWidgetItem* item = table_->item(r, c);
            if (!item) continue;
            page.setPen(item->foreground().color() == kRed ? kRed : QColor(Qt::black));
            page.drawText(QPointF(left(c), y), item->text());
        }
    }
    page.setPen(Qt::black);
    page.drawText(QRectF(area.left(), y + row, area.width(), area.bottom() - y - row),
                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, losses_->text());
}

void VerificationWindow::ShowPlot(const SimulationWaveforms& w)
{
    if (w.time.empty()) return;
    constexpr double kNanoseconds = 1e9;
    auto* chart = new QChart;
    chart->setTitle(tr("Last two periods in steady state"));
    // Every trace shown whole: the load voltage swings below ground, and so may the
    // switch current.
    const auto [loadLow, loadHigh] = std::minmax_element(w.load.begin(), w.load.end());
    const double vMax = 1.05 * std::max({1.0, *std::max_element(w.drain.begin(), w.drain.end()), *loadHigh});
    const double vMin = 1.05 * std::min({0.0, *std::min_element(w.drain.begin(), w.drain.end()), *loadLow});
    const AxisScale voltsScale = RoundAxis(vMin, vMax);
    // The switch's on-time shaded behind the traces, from the bottom of the plot to its top.
    auto* onUpper = new QLineSeries;
    auto* onLower = new QLineSeries;
    for (std::size_t i = 0; i < w.time.size(); ++i) {
        onUpper->append(w.time[i] * kNanoseconds, w.switchOn[i] ? voltsScale.high : voltsScale.low);
        onLower->append(w.time[i] * kNanoseconds, voltsScale.low);
    }
    auto* onTime = new QAreaSeries(onUpper, onLower);
    // An area series does not own its bounds.
    onUpper->setParent(onTime);
    onLower->setParent(onTime);
    onTime->setName(tr("Switch on"));
    onTime->setColor(kOnShade);
    onTime->setBorderColor(Qt::transparent);
    auto* drain = Series(tr("Drain voltage (V)"), w.time, w.drain, kNanoseconds);
    auto* load = Series(tr("Load voltage (V)"), w.time, w.load, kNanoseconds);
    auto* current = Series(tr("Switch current (A)"), w.time, w.switchCurrent, kNanoseconds);
    auto* turnOn = new QLineSeries;
    turnOn->setName(tr("Turn-on"));
    turnOn->append(w.turnOnTime * kNanoseconds, voltsScale.low);
    turnOn->append(w.turnOnTime * kNanoseconds, voltsScale.high);
    for (QAbstractSeries* series : {static_cast<QAbstractSeries*>(onTime), static_cast<QAbstractSeries*>(drain),
                                    static_cast<QAbstractSeries*>(load), static_cast<QAbstractSeries*>(turnOn),
                                    static_cast<QAbstractSeries*>(current)})
        chart->addSeries(series);
    // The current axis holds the switch current as it flows; a turn-on impulse runs
    // off its top and is marked there with its peak.
    const CurrentScale currentScale = SwitchCurrentScale(w);
    const AxisScale amperesScale = RoundAxis(std::min(0.0, currentScale.low) * 1.05,
                                             std::max(1e-9, currentScale.high) * 1.05);
    QScatterSeries* impulse = nullptr;
    if (currentScale.impulse) {
        impulse = new QScatterSeries;
        impulse->setName(tr("Turn-on impulse, %1 A peak (off the scale)")
                             .arg(QString::number(currentScale.impulsePeak, 'g', 3)));
        impulse->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
        impulse->setColor(kRed);
        impulse->append(currentScale.impulseTime * kNanoseconds,
                        currentScale.impulsePeak > 0 ? amperesScale.high : amperesScale.low);
        chart->addSeries(impulse);
    }
    auto* time = new QValueAxis;
    time->setTitleText(tr("Time (ns)"));
    auto* volts = new QValueAxis;
    volts->setTitleText(tr("Volts"));
    auto* amperes = new QValueAxis;
    amperes->setTitleText(tr("Amperes"));
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(volts, Qt::AlignLeft);
    chart->addAxis(amperes, Qt::AlignRight);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(time);
        series->attachAxis(series == current || series == impulse ? amperes : volts);
    }
    // The time axis spans the two periods exactly; its ticks fall on round nanoseconds.
    SetRoundTicks(*time, 0, w.time.back() * kNanoseconds, true);
    SetRoundTicks(*volts, voltsScale.low, voltsScale.high, false);
    SetRoundTicks(*amperes, amperesScale.low, amperesScale.high, false);
    ReplaceChart(chart);
}

void VerificationWindow::ReplaceChart(QChart* chart)
{
    // The view lets go of the chart it showed without deleting it.
    QChart* previous = chart_->chart();
    chart_->setChart(chart);
    delete previous;
}

}  // namespace voltra
