// Two stacked bar sets, the harmonics within the limit and those above it, so each bar
// takes its colour from its own standing; a line across all the bars at the limit.
#include "screens/harmonics/harmonics_window.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "engine/harmonic_limit.h"
#include "screens/object_names.h"

namespace voltra {
namespace {

const QColor kWithinColour(20, 80, 180);
const QColor kOverColour(220, 0, 0);
const QColor kLimitColour(0, 0, 0);
// The axis reaches down to the next 20 dB below the deepest bar shown, and no deeper
// than this: a null of the arithmetic would squash every real harmonic.
constexpr double kAxisFloorDbc = -160;
constexpr double kAxisStepDb = 20;
constexpr QSize kDefaultSize(640, 420);

bool Over(const Harmonic& h, std::optional<double> limit) { return limit && h.dBc > -*limit; }

}  // namespace

HarmonicsWindow::HarmonicsWindow(QWidget* designScreen)
    : QWidget(designScreen, Qt::Tool), view_(new QChartView(new QChart, this)), summary_(new QLabel(this))
{
    setObjectName(QLatin1String(kHarmonicsWindowName));
    setWindowTitle(tr("Spectrum at the load"));
    view_->setObjectName(QLatin1String(kHarmonicsWindowChartName));
    view_->setRenderHint(QPainter::Antialiasing);
    summary_->setObjectName(QLatin1String(kHarmonicsWindowSummaryName));
    summary_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addWidget(summary_);
    resize(kDefaultSize);
}

std::vector<int> HarmonicsWindow::OverLimit() const
{
    std::vector<int> over;
    for (const Harmonic& h : harmonics_)
        if (Over(h, limit_)) over.push_back(h.n);
    return over;
}

void HarmonicsWindow::Follow(const Circuit& shown, std::optional<double> limitDbc)
{
    harmonics_ = LoadHarmonicsOf(shown);
    limit_ = limitDbc;
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* within = new QBarSet(tr("within the limit"));
    auto* over = new QBarSet(tr("above the limit"));
    within->setColor(kWithinColour);
    over->setColor(kOverColour);
    QStringList orders;
    double deepest = 0;
    for (const Harmonic& h : harmonics_) {
        orders << QString::number(h.n);
        const double shownDbc = std::max(h.dBc, kAxisFloorDbc);
        *within << (Over(h, limit_) ? 0.0 : shownDbc);
        *over << (Over(h, limit_) ? shownDbc : 0.0);
        deepest = std::min(deepest, shownDbc);
    }
    auto* bars = new QStackedBarSeries;
    bars->append(within);
    if (limit_) bars->append(over);
    chart->addSeries(bars);
    auto* x = new QBarCategoryAxis;
    x->append(orders);
    x->setTitleText(tr("Harmonic of the load voltage"));
    auto* y = new QValueAxis;
    const double floor = std::max(kAxisFloorDbc, kAxisStepDb * std::floor(std::min(deepest, limit_ ? -*limit_ : 0.0) / kAxisStepDb - 1));
    y->setRange(floor, 0);
    y->setTickInterval(kAxisStepDb);
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0);
    y->setLabelFormat(QStringLiteral("%.0f"));
    y->setTitleText(tr("dBc"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(x);
    bars->attachAxis(y);
    if (limit_ && !harmonics_.empty()) {
        auto* line = new QLineSeries;
        line->setName(tr("limit %1 dBc").arg(-*limit_, 0, 'g', 4));
        line->setPen(QPen(kLimitColour, 2, Qt::DashLine));
        // Across the bars: the category axis places bar k at k, its edges half a bar out.
        line->append(-0.5, -*limit_);
        line->append(static_cast<double>(harmonics_.size()) - 0.5, -*limit_);
        chart->addSeries(line);
        line->attachAxis(x);
        line->attachAxis(y);
    }
    QChart* previous = view_->chart();
    view_->setChart(chart);
    delete previous;

    if (harmonics_.empty()) {
        summary_->setText(tr("No harmonics: the circuit has no steady state to take them from."));
        return;
    }
    QString text = QString::fromStdString(WorstHarmonicText(harmonics_));
    if (limit_) {
        const std::vector<int> above = OverLimit();
        const QString limit = QString::number(-*limit_, 'g', 4);
        if (above.empty())
            text += tr("; every harmonic meets the limit of %1 dBc.").arg(limit);
        else if (above.size() == 1)
            text += tr("; 1 harmonic above the limit of %1 dBc.").arg(limit);
        else
            text += tr("; %1 harmonics above the limit of %2 dBc.").arg(above.size()).arg(limit);
    }
    summary_->setText(text);
}

}  // namespace voltra
