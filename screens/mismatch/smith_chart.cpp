// Drawn in the plane of Γ: a transform takes the unit circle onto the chart's square,
// and the pens are cosmetic so their widths stay in pixels.
#include "screens/mismatch/smith_chart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "screens/mismatch/contours.h"
#include "screens/object_names.h"

namespace voltra {
namespace {

// Normalised resistances and reactances of the chart's circles, the usual few of a
// printed chart's coarse grid.
constexpr double kGridValues[] = {0.2, 0.5, 1, 2, 5};
constexpr int kContourLevels = 8;
constexpr double kLegendWidth = 90;  // px right of the chart for the colour scale
constexpr double kMargin = 8;        // px
constexpr double kPointRadius = 4;   // px
const QColor kGridColour(190, 190, 190);

QRectF ChartSquare(const QRectF& area)
{
    const double side = std::max(0.0, std::min(area.width() - kLegendWidth, area.height()) - 2 * kMargin);
    return {area.left() + kMargin, area.top() + (area.height() - side) / 2, side, side};
}

QTransform GammaToPixels(const QRectF& square)
{
    QTransform t;
    t.translate(square.center().x(), square.center().y());
    t.scale(square.width() / 2, -square.height() / 2);
    return t;
}

QPen Cosmetic(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, width, style);
    pen.setCosmetic(true);
    return pen;
}

void Circle(QPainter& p, double x, double y, double radius) { p.drawEllipse(QPointF(x, y), radius, radius); }

void PaintGrid(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(Cosmetic(kGridColour, 1));
    QPainterPath disc;
    disc.addEllipse(QPointF(0, 0), 1, 1);
    p.save();
    p.setClipPath(disc, Qt::IntersectClip);
    for (double r : kGridValues) Circle(p, r / (1 + r), 0, 1 / (1 + r));
    for (double x : kGridValues)
        for (double sign : {1.0, -1.0}) Circle(p, 1, sign / x, 1 / x);
    p.drawLine(QPointF(-1, 0), QPointF(1, 0));
    p.restore();
    p.setPen(Cosmetic(Qt::black, 1.5));
    Circle(p, 0, 0, 1);
}

double Fraction(double value, const std::pair<double, double>& range)
{
    const double span = range.second - range.first;
    return span > 0 ? std::clamp((value - range.first) / span, 0.0, 1.0) : 0.5;
}

void PaintContours(QPainter& p, const MismatchGrid& grid, MismatchFigure figure, const std::pair<double, double>& range)
{
    if (grid.size < 2) return;
    QPainterPath region;
    region.addEllipse(QPointF(0, 0), grid.radius, grid.radius);
    p.save();
    p.setClipPath(region, Qt::IntersectClip);
    for (double level : ContourLevels(range.first, range.second, kContourLevels)) {
        p.setPen(Cosmetic(ScaleColour(Fraction(level, range)), 1.5));
        for (const ContourSegment& s : ContourSegments(grid, figure, level))
            p.drawLine(QPointF(s.from.real(), s.from.imag()), QPointF(s.to.real(), s.to.imag()));
    }
    p.restore();
    p.setPen(Cosmetic(kGridColour, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    Circle(p, 0, 0, grid.radius);
}

QString Number(double value) { return QString::number(value, 'g', 4); }

// The scale's ends as the table writes them: efficiency in %, the others in their units.
QString ScaleText(double value, MismatchFigure figure)
{
    switch (figure) {
    case MismatchFigure::Pout: return Number(value) + QStringLiteral(" W");
    case MismatchFigure::Efficiency: return Number(100 * value) + QStringLiteral(" %");
    case MismatchFigure::Vpeak: return Number(value) + QStringLiteral(" V");
    case MismatchFigure::Ipeak: return Number(value) + QStringLiteral(" A");
    case MismatchFigure::TurnOnVoltage: break;
    }
    return Number(value) + QStringLiteral(" %");
}

void PaintLegend(QPainter& p, const QRectF& area, const QRectF& square, const std::pair<double, double>& range,
                 MismatchFigure figure, bool anyBeyond)
{
    const double left = square.right() + 2 * kMargin;
    const double top = square.top() + 20, height = std::max(40.0, square.height() - 60);
    constexpr double kBarWidth = 16;
    for (int i = 0; i < static_cast<int>(height); ++i) {
        p.setPen(ScaleColour(1 - i / height));
        p.drawLine(QPointF(left, top + i), QPointF(left + kBarWidth, top + i));
    }
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(left, top, kBarWidth, height));
    const double textLeft = left + kBarWidth + 4;
    const double textWidth = std::max(10.0, area.right() - textLeft);
    p.drawText(QRectF(textLeft, top - 8, textWidth, 16), Qt::AlignLeft | Qt::AlignVCenter, ScaleText(range.second, figure));
    p.drawText(QRectF(textLeft, top + height - 8, textWidth, 16), Qt::AlignLeft | Qt::AlignVCenter,
               ScaleText(range.first, figure));
    if (anyBeyond) {
        const QPointF at(left + kBarWidth / 2, top + height + 18);
        p.setPen(Qt::NoPen);
        p.setBrush(kBeyondLimitColour);
        p.drawEllipse(at, kPointRadius, kPointRadius);
        p.setPen(Qt::black);
        p.drawText(QRectF(textLeft, at.y() - 8, textWidth, 16), Qt::AlignLeft | Qt::AlignVCenter,
                   QObject::tr("beyond limit"));
    }
}

}  // namespace

QColor ScaleColour(double t)
{
    struct Stop {
        double at, r, g, b;
    };
    constexpr Stop stops[] = {{0, 40, 40, 150}, {0.35, 0, 140, 170}, {0.7, 90, 180, 60}, {1, 240, 200, 30}};
    t = std::clamp(t, 0.0, 1.0);
    for (std::size_t i = 1; i < std::size(stops); ++i) {
        if (t > stops[i].at) continue;
        const Stop& a = stops[i - 1];
        const Stop& b = stops[i];
        const double u = (t - a.at) / (b.at - a.at);
        return QColor::fromRgbF(static_cast<float>((a.r + u * (b.r - a.r)) / 255),
                                static_cast<float>((a.g + u * (b.g - a.g)) / 255),
                                static_cast<float>((a.b + u * (b.b - a.b)) / 255));
    }
    return QColor(240, 200, 30);
}

std::optional<std::pair<double, double>> FigureRange(const MismatchResult& result, MismatchFigure figure)
{
    std::optional<std::pair<double, double>> range;
    const auto take = [&](const MismatchPoint& p) {
        if (!p.valid) return;
        const double v = FigureOf(p, figure);
        if (!range)
            range = {v, v};
        else
            range = std::pair{std::min(range->first, v), std::max(range->second, v)};
    };
    for (const MismatchPoint& p : result.points) take(p);
    for (const MismatchPoint& p : result.grid.points) take(p);
    return range;
}

QPointF ChartPoint(const QRectF& area, Reflection gamma)
{
    return GammaToPixels(ChartSquare(area)).map(QPointF(gamma.real(), gamma.imag()));
}

void PaintSmithChart(QPainter& p, const QRectF& area, const SmithChartContent& content)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(area, Qt::white);
    const QRectF square = ChartSquare(area);
    const QTransform toPixels = GammaToPixels(square);
    const std::optional<std::pair<double, double>> range =
        content.result ? FigureRange(*content.result, content.figure) : std::nullopt;

    p.setTransform(toPixels, true);
    if (range) PaintContours(p, content.result->grid, content.figure, *range);
    PaintGrid(p);
    bool anyBeyond = false;
    if (content.result) {
        std::vector<double> drawn;
        for (const MismatchPoint& point : content.result->points) {
            if (std::find(drawn.begin(), drawn.end(), point.vswr) != drawn.end()) continue;
            drawn.push_back(point.vswr);
            p.setPen(Cosmetic(kVswrCircleColour, 2));
            p.setBrush(Qt::NoBrush);
            Circle(p, 0, 0, ReflectionMagnitude(point.vswr));
        }
    }
    p.resetTransform();
    if (content.result && range) {
        // The loads in pixels, so their dots keep their size.
        for (const MismatchPoint& point : content.result->points) {
            if (!point.valid) continue;
            const bool beyond = content.vpeakLimit && point.vpeak > *content.vpeakLimit;
            anyBeyond = anyBeyond || beyond;
            p.setPen(QPen(Qt::black, 0.5));
            p.setBrush(beyond ? kBeyondLimitColour : ScaleColour(Fraction(FigureOf(point, content.figure), *range)));
            p.drawEllipse(toPixels.map(QPointF(point.gamma.real(), point.gamma.imag())), kPointRadius, kPointRadius);
        }
        PaintLegend(p, area, square, *range, content.figure, anyBeyond);
    }
    p.restore();
}

SmithChart::SmithChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QLatin1String(kSmithChartName));
    setMinimumSize(360, 280);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void SmithChart::Show(const SmithChartContent& content)
{
    content_ = content;
    update();
}

QSize SmithChart::sizeHint() const { return {600, 500}; }

void SmithChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintSmithChart(painter, rect(), content_);
}

}  // namespace voltra
