// Reads the range as the entry boxes read values, sweeps in the engine and draws
// each run of points with a steady state as one line, so a point without one leaves
// a gap rather than a line drawn across it.
#include "screens/sweep/sweep_window.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QValueAxis>
#include <QVBoxLayout>
#include <cmath>

#include "screens/object_names.h"
#include "units/whole_value.h"

namespace voltra {
namespace {

constexpr int kDefaultSteps = 21;
constexpr int kMostSteps = 1000;
// A new quantity is offered from this share below its value to as far above.
constexpr double kDefaultSpan = 0.10;
constexpr int kShownDigits = 4;

struct Prefix {
    double scale;
    const char* letter;
};
constexpr Prefix kPrefixes[] = {{1e9, "G"}, {1e6, "M"}, {1e3, "k"}, {1, ""},
                                {1e-3, "m"}, {1e-6, "u"}, {1e-9, "n"}, {1e-12, "p"}};

const Prefix& PrefixFor(double magnitude)
{
    for (const Prefix& prefix : kPrefixes)
        if (magnitude >= prefix.scale) return prefix;
    return kPrefixes[std::size(kPrefixes) - 1];
}

const QColor kPowerColour(20, 80, 180);
const QColor kEfficiencyColour(0, 140, 60);
const QColor kTurnOnColour(200, 90, 0);
const QColor kVpeakColour(180, 0, 0);

// The design's value of a quantity SweepCircuit takes.
double PresentValue(const Circuit& circuit, const QString& quantity)
{
    if (quantity == QLatin1String("frequency")) return circuit.frequency;
    if (quantity == QLatin1String("supply")) return circuit.ValueOf(PartRole::Supply);
    if (quantity == QLatin1String("falltime")) return circuit.falltime;
    for (const Part& part : circuit.parts)
        if (quantity == QLatin1String(part.name)) return part.value.value;
    return 0;
}

struct Trace {
    QString name;
    QColor colour;
    double scale;  // from the point's unit to the axis's
    double SweepPoint::*figure;
};

// One line series per unbroken run of valid points.
void AddTrace(QChart& chart, const SweepResult& sweep, double xScale, const Trace& trace, QValueAxis& x,
              QValueAxis& y)
{
    double low = INFINITY, high = -INFINITY;
    QLineSeries* run = nullptr;
    bool first = true;
    for (const SweepPoint& point : sweep.points) {
        if (!point.valid) {
            run = nullptr;
            continue;
        }
        if (!run) {
            run = new QLineSeries;
            run->setName(trace.name);
            run->setPen(QPen(trace.colour, 2));
            chart.addSeries(run);
            run->attachAxis(&x);
            run->attachAxis(&y);
            // Each trace once in the legend, however many gaps break it.
            if (!first) chart.legend()->markers(run).constFirst()->setVisible(false);
            first = false;
        }
        const double value = point.*trace.figure * trace.scale;
        run->append(point.value / xScale, value);
        low = std::min(low, value);
        high = std::max(high, value);
    }
    if (!(low <= high)) return;
    const double margin = high > low ? (high - low) * 0.05 : std::max(std::abs(high) * 0.05, 1e-9);
    y.setRange(low - margin, high + margin);
    y.applyNiceNumbers();
}

QChart* SweepChart(const SweepResult& sweep, const QString& xTitle, double xScale, const Trace& left,
                   const Trace& right)
{
    auto* chart = new QChart;
    auto* x = new QValueAxis;
    x->setTitleText(xTitle);
    x->setLabelFormat(QStringLiteral("%.4g"));
    if (!sweep.points.empty()) {
        const double a = sweep.points.front().value / xScale, b = sweep.points.back().value / xScale;
        x->setRange(std::min(a, b), std::max(a, b));
    }
    auto* yLeft = new QValueAxis;
    yLeft->setTitleText(left.name);
    yLeft->setLabelFormat(QStringLiteral("%.4g"));
    yLeft->setLinePenColor(left.colour);
    auto* yRight = new QValueAxis;
    yRight->setTitleText(right.name);
    yRight->setLabelFormat(QStringLiteral("%.4g"));
    yRight->setLinePenColor(right.colour);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(yLeft, Qt::AlignLeft);
    chart->addAxis(yRight, Qt::AlignRight);
    AddTrace(*chart, sweep, xScale, left, *x, *yLeft);
    AddTrace(*chart, sweep, xScale, right, *x, *yRight);
    chart->legend()->setAlignment(Qt::AlignTop);
    return chart;
}

QStringList Offered(const QComboBox& box)
{
    QStringList offered;
    for (int i = 0; i < box.count(); ++i) offered << box.itemText(i);
    return offered;
}

void Replace(QChartView& view, QChart* chart)
{
    QChart* previous = view.chart();
    view.setChart(chart);
    delete previous;
}

}  // namespace

QString PrefixedText(double value, const QString& unit)
{
    const Prefix& prefix = PrefixFor(std::abs(value));
    return QString::number(value / prefix.scale, 'g', kShownDigits) + QLatin1Char(' ') +
           QLatin1String(prefix.letter) + unit;
}

SweepWindow::SweepWindow(QWidget* designScreen)
    : QWidget(designScreen, Qt::Tool), quantity_(new QComboBox(this)), from_(new QLineEdit(this)),
      to_(new QLineEdit(this)), steps_(new QSpinBox(this)), sweep_(new QPushButton(tr("&Sweep"), this)),
      voltages_(new QCheckBox(tr("&Turn-on and peak drain voltage too"), this)), status_(new QLabel(this)),
      power_(new QChartView(new QChart, this)), voltageChart_(new QChartView(new QChart, this))
{
    setObjectName(QLatin1String(kSweepWindowName));
    setWindowTitle(tr("Sweep"));
    quantity_->setObjectName(QLatin1String(kSweepQuantityBoxName));
    from_->setObjectName(QLatin1String(kSweepFromBoxName));
    to_->setObjectName(QLatin1String(kSweepToBoxName));
    steps_->setObjectName(QLatin1String(kSweepStepsBoxName));
    steps_->setRange(2, kMostSteps);
    steps_->setValue(kDefaultSteps);
    sweep_->setObjectName(QLatin1String(kSweepButtonName));
    sweep_->setDefault(true);
    voltages_->setObjectName(QLatin1String(kSweepVoltagesCheckName));
    status_->setObjectName(QLatin1String(kSweepStatusName));
    status_->setWordWrap(true);
    power_->setObjectName(QLatin1String(kSweepPowerChartName));
    power_->setRenderHint(QPainter::Antialiasing);
    power_->setMinimumSize(560, 300);
    voltageChart_->setObjectName(QLatin1String(kSweepVoltageChartName));
    voltageChart_->setRenderHint(QPainter::Antialiasing);
    voltageChart_->setMinimumSize(560, 300);
    voltageChart_->hide();

    auto* form = new QFormLayout;
    form->addRow(tr("&Quantity"), quantity_);
    form->addRow(tr("&From"), from_);
    form->addRow(tr("T&o"), to_);
    form->addRow(tr("Ste&ps"), steps_);
    auto* controls = new QVBoxLayout;
    controls->addLayout(form);
    controls->addWidget(voltages_);
    controls->addWidget(sweep_);
    controls->addWidget(status_);
    controls->addStretch(1);
    auto* charts = new QVBoxLayout;
    charts->addWidget(power_, 1);
    charts->addWidget(voltageChart_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(controls);
    layout->addLayout(charts, 1);

    connect(quantity_, &QComboBox::currentIndexChanged, this, &SweepWindow::QuantityChosen);
    connect(sweep_, &QPushButton::clicked, this, &SweepWindow::Sweep);
    connect(from_, &QLineEdit::returnPressed, this, &SweepWindow::Sweep);
    connect(to_, &QLineEdit::returnPressed, this, &SweepWindow::Sweep);
    connect(voltages_, &QCheckBox::toggled, voltageChart_, &QWidget::setVisible);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { close(); });
}

void SweepWindow::Follow(const Circuit& shown)
{
    circuit_ = shown;
    const QString chosen = quantity_->currentText();
    QStringList names;
    for (const std::string& name : SweepableNames(circuit_)) names << QString::fromStdString(name);
    if (names != Offered(*quantity_)) {
        const QSignalBlocker quiet(quantity_);
        quantity_->clear();
        quantity_->addItems(names);
        const int kept = names.indexOf(chosen);
        quantity_->setCurrentIndex(kept >= 0 ? kept : 0);
        if (kept < 0) QuantityChosen();
    }
    if (from_->text().isEmpty()) QuantityChosen();
    if (swept_) Sweep();
}

void SweepWindow::QuantityChosen()
{
    const QString quantity = quantity_->currentText();
    const std::optional<std::string> unit = SweptUnit(circuit_, quantity.toStdString());
    if (!unit) return;
    const double value = PresentValue(circuit_, quantity);
    const QString unitText = QString::fromStdString(*unit);
    from_->setText(PrefixedText(value * (1 - kDefaultSpan), unitText));
    to_->setText(PrefixedText(value * (1 + kDefaultSpan), unitText));
}

void SweepWindow::Sweep()
{
    const QString quantity = quantity_->currentText();
    const std::optional<std::string> unit = SweptUnit(circuit_, quantity.toStdString());
    if (!unit || !AllUsable(circuit_)) {
        status_->setText(tr("The design on screen has values out of range: there is no circuit to sweep."));
        return;
    }
    double ends[2] = {};
    QLineEdit* boxes[2] = {from_, to_};
    for (int i = 0; i < 2; ++i) {
        const WholeValue read = ReadWholeValue(boxes[i]->text().trimmed().toStdString(), *unit);
        if (!read.value || !(*read.value > 0)) {
            status_->setText((i == 0 ? tr("From: %1.") : tr("To: %1."))
                                 .arg(read.value ? tr("a swept value must be above 0")
                                                 : QString::fromStdString(read.problem)));
            boxes[i]->setFocus();
            return;
        }
        ends[i] = *read.value;
    }
    const SweepResult sweep = SweepCircuit(circuit_, quantity.toStdString(), ends[0], ends[1], steps_->value());
    if (!sweep.problem.empty()) {
        status_->setText(QString::fromStdString(sweep.problem));
        return;
    }
    swept_ = true;
    Plot(sweep, quantity);
}

void SweepWindow::Plot(const SweepResult& sweep, const QString& quantity)
{
    const QString unit = QString::fromStdString(sweep.unit);
    const Prefix& prefix =
        PrefixFor(std::max(std::abs(sweep.points.front().value), std::abs(sweep.points.back().value)));
    const QString xTitle = quantity + QStringLiteral(", ") + QLatin1String(prefix.letter) + unit;
    Replace(*power_, SweepChart(sweep, xTitle, prefix.scale, {tr("Pout, W"), kPowerColour, 1, &SweepPoint::pout},
                                {tr("Efficiency, %"), kEfficiencyColour, 100, &SweepPoint::efficiency}));
    Replace(*voltageChart_,
            SweepChart(sweep, xTitle, prefix.scale,
                       {tr("Turn-on, % of the supply"), kTurnOnColour, 1, &SweepPoint::turnOnVoltage},
                       {tr("Vpeak, V"), kVpeakColour, 1, &SweepPoint::vpeak}));
    int invalid = 0;
    const SweepPoint* firstInvalid = nullptr;
    for (const SweepPoint& point : sweep.points)
        if (!point.valid && invalid++ == 0) firstInvalid = &point;
    QString text = tr("%1 points, the rest of the circuit held.").arg(sweep.points.size());
    if (firstInvalid)
        text += tr(" %1 reach no steady state and stand as gaps; at %2: %3.")
                    .arg(invalid)
                    .arg(PrefixedText(firstInvalid->value, unit), QString::fromStdString(firstInvalid->reason));
    status_->setText(text);
}

}  // namespace voltra
