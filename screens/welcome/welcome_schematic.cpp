// The decorative Class E stage of the welcome screen, one routine per symbol, every
// symbol placed by fixed offsets from one origin.
#include "screens/welcome/welcome_schematic.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace voltra {

namespace {

constexpr float kOriginX = 6800.0f;
constexpr float kOriginY = 3500.0f;
constexpr double kLineWidthPixels = 2.0;

struct Offset {
    float dx;
    float dy;
};

// A symbol's lines: the draw routines get the origin and add these offsets.
class SymbolPen {
public:
    SymbolPen(QPainter& painter, float X, float Y) : painter_(painter), X_(X), Y_(Y) {}

    void Line(Offset from, Offset to) const { painter_.drawLine(At(from), At(to)); }

    // A line followed by lines each continued from the end of the one before.
    template <std::size_t N>
    void Polyline(const std::array<Offset, N>& points) const
    {
        std::array<QPointF, N> device;
        for (std::size_t i = 0; i < N; ++i) device[i] = At(points[i]);
        painter_.drawPolyline(device.data(), static_cast<int>(N));
    }

    void Circle(Offset centre, double radius) const
    {
        painter_.drawEllipse(At(centre), radius, VerticalRadius(radius));
    }

    // Anticlockwise on the device from `startAngle` to `endAngle` (radians, 0 to the
    // right, pi/2 up).
    void Arc(Offset centre, double radius, double startAngle, double endAngle) const
    {
        double sweep = endAngle - startAngle;
        if (sweep < 0.0) sweep += 2.0 * std::numbers::pi;
        const QPointF c = At(centre);
        const double ry = VerticalRadius(radius);
        const QRectF box(c.x() - radius, c.y() - ry, 2.0 * radius, 2.0 * ry);
        const double startDegrees = startAngle * 180.0 / std::numbers::pi;
        QPainterPath path;
        path.arcMoveTo(box, startDegrees);
        path.arcTo(box, startDegrees, sweep * 180.0 / std::numbers::pi);
        painter_.drawPath(path);
    }

private:
    QPointF At(Offset offset) const { return QPointF(double(X_) + offset.dx, double(Y_) + offset.dy); }

    // The radius is in horizontal units; the vertical half-axis that keeps the figure
    // a circle on a device whose units are not square.
    double VerticalRadius(double radius) const
    {
        const QTransform& t = painter_.worldTransform();
        const double across = std::hypot(t.m11(), t.m12());
        const double down = std::hypot(t.m21(), t.m22());
        return down > 0.0 ? radius * across / down : radius;
    }

    QPainter& painter_;
    float X_;
    float Y_;
};

// One period of a square wave left of the gate.
constexpr auto kGeneratorWave = std::to_array<Offset>({
    {-2000, 1000}, {-2000, 800}, {-1700, 800}, {-1700, 1200}, {-1400, 1200}, {-1400, 1000},
});

void Generator(QPainter& painter, float X, float Y)
{
    SymbolPen(painter, X, Y).Polyline(kGeneratorWave);
}

constexpr double kFetCircleRadius = 400.0;

// The drain lead from the choke, its zig-zag, and on down to the drain stub.
constexpr auto kFetDrainZigzag = std::to_array<Offset>({
    {100, -300}, {160, -260}, {40, -180}, {160, -100}, {40, -20},
    {160, 60},   {40, 140},   {100, 180}, {100, 800},
});

void FET(QPainter& painter, float X, float Y)
{
    const SymbolPen pen(painter, X, Y);
    pen.Circle({0, 1000}, kFetCircleRadius);
    pen.Line({0, 750}, {0, 1250});          // channel bar
    pen.Line({0, 800}, {100, 800});         // drain stub
    pen.Line({0, 1200}, {100, 1200});       // source stub
    pen.Line({100, -300}, {100, -1200});    // drain lead up to the choke
    pen.Polyline(kFetDrainZigzag);
    pen.Line({100, 1200}, {100, 1700});     // source lead to the ground rail
    pen.Line({-50, 800}, {-50, 1200});      // gate plate
    pen.Line({-1200, 1000}, {-50, 1000});   // gate lead
}

// Three arcs stacked 160 units apart; the arc counter and its product 160 x I stay
// within 16 bits.
constexpr std::int16_t kCoilTurns = 3;
constexpr std::int16_t kCoilPitch = 160;
constexpr double kChokeArcStart = 1.5 * std::numbers::pi;  // straight down
constexpr double kChokeArcEnd = 0.5 * std::numbers::pi;    // straight up

void VerticalL(QPainter& painter, float X, float Y, float chokeArcRadius)
{
    const SymbolPen pen(painter, X, Y);
    pen.Line({100, -1660}, {100, -2200});  // lead up to the supply
    for (std::int16_t I = 1; I <= kCoilTurns; ++I) {
        const std::int16_t step = static_cast<std::int16_t>(kCoilPitch * I);
        pen.Arc({100, -1750.0f + step}, chokeArcRadius, kChokeArcStart, kChokeArcEnd);
    }
}

void ShuntC(QPainter& painter, float X, float Y)
{
    const SymbolPen pen(painter, X, Y);
    pen.Line({100, -800}, {1700, -800});  // drain node
    pen.Line({1000, -800}, {1000, -75});
    pen.Line({850, -75}, {1150, -75});    // upper plate
    pen.Line({850, 0}, {1150, 0});        // lower plate
    pen.Line({1000, 0}, {1000, 1700});    // to the ground rail
}

void SeriesC(QPainter& painter, float X, float Y)
{
    const SymbolPen pen(painter, X, Y);
    pen.Line({1700, -650}, {1700, -950});  // left plate
    pen.Line({1775, -650}, {1775, -950});  // right plate
    pen.Line({1775, -800}, {2400, -800});
}

// The series inductor's arcs stop at the constant 3.14, just short of pi.
constexpr double kSeriesArcRadius = 80.0;
constexpr double kSeriesArcStart = 0.0;
constexpr double kSeriesArcEnd = 3.14;

void SeriesL(QPainter& painter, float X, float Y)
{
    const SymbolPen pen(painter, X, Y);
    for (std::int16_t I = 1; I <= kCoilTurns; ++I) {
        const std::int16_t step = static_cast<std::int16_t>(kCoilPitch * I);
        pen.Arc({2320.0f + step, -800}, kSeriesArcRadius, kSeriesArcStart, kSeriesArcEnd);
    }
    pen.Line({2900, -800}, {3500, -800});
}

// Load resistor as a zig-zag from the output line down to the ground rail.
constexpr auto kLoadZigzag = std::to_array<Offset>({
    {3500, -800}, {3500, -160}, {3560, -120}, {3440, -40}, {3560, 40},
    {3440, 120},  {3560, 200},  {3440, 280},  {3500, 320}, {3500, 1700},
});

void Load(QPainter& painter, float X, float Y)
{
    SymbolPen(painter, X, Y).Polyline(kLoadZigzag);
}

void Ground(QPainter& painter, float X, float Y)
{
    SymbolPen(painter, X, Y).Line({-1200, 1700}, {3500, 1700});
}

}  // namespace

void PaintWelcomeStage(QPainter& painter, float chokeArcRadius)
{
    painter.save();
    QPen pen(Qt::white, kLineWidthPixels);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);

    const float X = kOriginX;
    const float Y = kOriginY;
    Generator(painter, X, Y);
    FET(painter, X, Y);
    VerticalL(painter, X, Y, chokeArcRadius);
    ShuntC(painter, X, Y);
    SeriesC(painter, X, Y);
    SeriesL(painter, X, Y);
    Load(painter, X, Y);
    Ground(painter, X, Y);
    painter.restore();
}

}  // namespace voltra
