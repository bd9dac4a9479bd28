// The Smith chart of the mismatch window: circles of constant resistance and
// reactance, the VSWR circles with their loads coloured by the chosen figure (red
// beyond the drain-voltage limit), contours of that figure over the inner region,
// and the colour scale.
#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <optional>

#include "engine/load_mismatch.h"

class QPainter;

namespace voltra {

inline const QColor kVswrCircleColour(40, 40, 40);
inline const QColor kBeyondLimitColour(220, 0, 0);

struct SmithChartContent {
    const MismatchResult* result = nullptr;  // nothing to draw but the chart without one
    MismatchFigure figure = MismatchFigure::Vpeak;
    std::optional<double> vpeakLimit;         // V: loads above it drawn red
};

// The figure's range over the loads and the grid, the colour scale's ends; none
// without a load that has a steady state.
std::optional<std::pair<double, double>> FigureRange(const MismatchResult& result, MismatchFigure figure);

// The scale's colour at `t` from 0 (low) to 1 (high): dark blue through green to
// yellow, no red, which marks a load beyond the limit.
QColor ScaleColour(double t);

// Where Γ lands on a chart drawn into `area`: the unit circle fills the square left
// of the colour scale.
QPointF ChartPoint(const QRectF& area, Reflection gamma);

void PaintSmithChart(QPainter& painter, const QRectF& area, const SmithChartContent& content);

class SmithChart : public QWidget {
public:
    explicit SmithChart(QWidget* parent);
    void Show(const SmithChartContent& content);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    SmithChartContent content_;
};

}  // namespace voltra
