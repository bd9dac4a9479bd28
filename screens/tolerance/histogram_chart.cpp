// The stepped outline is drawn on a value axis rather than as category bars, so the
// target and the limits stand where their numbers are.
#include "screens/tolerance/histogram_chart.h"

#include <QAreaSeries>
#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace voltra {
namespace {

// Room left and right of the bars and marks, as a share of their span.
constexpr double kMargin = 0.05;
// Builds that all come out alike still get a bar this wide, relative to their value.
constexpr double kSingleValueWidth = 0.002;

const QColor kBarColour(70, 110, 180);
const QColor kTargetColour(0, 140, 60);
const QColor kLimitColour(200, 0, 0);

}  // namespace

QChart* HistogramChart(const QString& title, const Histogram& histogram, double scale,
                       const std::vector<HistogramMark>& marks)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->hide();
    if (histogram.counts.empty()) return chart;

    double low = histogram.low * scale, high = histogram.high * scale;
    if (!(high > low)) {
        const double half = std::max(std::abs(low), 1e-12) * kSingleValueWidth / 2;
        low -= half;
        high += half;
    }
    const int bins = static_cast<int>(histogram.counts.size());
    const double width = (high - low) / bins;
    // The area series draws the outline but does not own it: the chart does.
    auto* outline = new QLineSeries(chart);
    outline->append(low, 0);
    int most = 0;
    for (int i = 0; i < bins; ++i) {
        const int count = histogram.counts[static_cast<std::size_t>(i)];
        outline->append(low + i * width, count);
        outline->append(low + (i + 1) * width, count);
        most = std::max(most, count);
    }
    outline->append(high, 0);
    auto* bars = new QAreaSeries(outline);
    bars->setName(QStringLiteral("Builds"));
    bars->setColor(kBarColour);
    bars->setBorderColor(kBarColour.darker());
    chart->addSeries(bars);

    double left = low, right = high;
    for (const HistogramMark& mark : marks) {
        left = std::min(left, mark.at);
        right = std::max(right, mark.at);
    }
    const double top = std::max(1, most) * 1.1;
    std::vector<QLineSeries*> lines;
    for (const HistogramMark& mark : marks) {
        auto* line = new QLineSeries;
        line->setName(mark.target ? QStringLiteral("Target") : QStringLiteral("Limit"));
        line->append(mark.at, 0);
        line->append(mark.at, top);
        QPen pen(mark.target ? kTargetColour : kLimitColour, 2);
        if (!mark.target) pen.setStyle(Qt::DashLine);
        line->setPen(pen);
        chart->addSeries(line);
        lines.push_back(line);
    }

    auto* x = new QValueAxis;
    const double margin = (right - left) * kMargin;
    x->setRange(left - margin, right + margin);
    x->setLabelFormat(QStringLiteral("%.4g"));
    x->applyNiceNumbers();
    auto* y = new QValueAxis;
    y->setRange(0, top);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTitleText(QStringLiteral("Builds"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(x);
    bars->attachAxis(y);
    for (QLineSeries* line : lines) {
        line->replace(1, QPointF(line->at(1).x(), y->max()));
        line->attachAxis(x);
        line->attachAxis(y);
    }
    return chart;
}

}  // namespace voltra
