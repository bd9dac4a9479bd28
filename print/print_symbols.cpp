// Symbol geometry of the printed schematic. Arcs are built as painter paths so their
// end angles stay exact in vector output instead of being rounded to 1/16 degree.
#include "print/print_symbols.h"

#include <QPainter>
#include <QPainterPath>
#include <array>
#include <numbers>

namespace voltra {

namespace {

constexpr int kCoilArcs = 3;
constexpr double kCoilArcRadius = 80;
// The series coil ends its arcs at this literal rather than at pi, so each half turn
// stops a hair short and the coil spans X+200 to X+680.
constexpr double kSeriesCoilEnd = 3.14;

constexpr double Degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

// A circular arc running counter-clockwise on the page (as seen with x to the right)
// from `start` to `end`, both in radians.
void DrawArc(QPainter& page, QPointF centre, double radius, double start, double end)
{
    double sweep = end - start;
    if (sweep < 0) sweep += 2 * std::numbers::pi;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(box, Degrees(start));
    arc.arcTo(box, Degrees(start), Degrees(sweep));
    page.drawPath(arc);
}

}  // namespace

void PrintGenerator(QPainter& page, std::int16_t& X, std::int16_t& Y)
{
    // One period of the square drive pulse, ending at the height of the gate lead.
    const std::array<QPoint, 6> pulse = {{{X - 2000, Y + 1000},
                                          {X - 2000, Y + 800},
                                          {X - 1700, Y + 800},
                                          {X - 1700, Y + 1200},
                                          {X - 1400, Y + 1200},
                                          {X - 1400, Y + 1000}}};
    page.drawPolyline(pulse.data(), static_cast<int>(pulse.size()));
}

void PrintFET(QPainter& page, std::int16_t& X, std::int16_t& Y)
{
    page.drawEllipse(QPoint(X, Y + 1000), 400, 400);
    page.drawLine(X, Y + 750, X, Y + 1250);            // channel bar
    page.drawLine(X, Y + 800, X + 100, Y + 800);       // drain stub
    page.drawLine(X, Y + 1200, X + 100, Y + 1200);     // source stub
    // The drain lead rises 10 units into the bottom of the choke's coil so they meet.
    page.drawLine(X + 100, Y + 800, X + 100, Y - 700);
    // The source lead ends on the ground line.
    page.drawLine(X + 100, Y + 1200, X + 100, Y + 2000);
    page.drawLine(X - 50, Y + 800, X - 50, Y + 1200);  // gate plate
    page.drawLine(X - 1200, Y + 1000, X - 50, Y + 1000);
}

void PrintVerticalL(QPainter& page, const DesignRecord& design, std::int16_t& X, std::int16_t& Y)
{
    // The supply lead starts 10 units inside the top of the coil.
    page.drawLine(X + 100, Y - 1160, X + 100, Y - 2200);
    const double pi = design.Pi;
    for (int k = 1; k <= kCoilArcs; ++k)
        DrawArc(page, QPointF(X + 100, Y - 1250 + 160 * k), kCoilArcRadius, 1.5 * pi, 0.5 * pi);
    page.drawLine(X + 100, Y, X + 700, Y);  // drain node
}

void PrintShuntC(QPainter& page, std::int16_t& X, std::int16_t& Y)
{
    page.drawLine(X, Y, X + 800, Y);
    page.drawLine(X + 300, Y, X + 300, Y + 800);
    page.drawLine(X + 100, Y + 800, X + 500, Y + 800);
    page.drawLine(X + 100, Y + 900, X + 500, Y + 900);
    page.drawLine(X + 300, Y + 900, X + 300, Y + 2000);
}

void PrintSeriesC(QPainter& page, std::int16_t& X, std::int16_t& Y)
{
    page.drawLine(X, Y, X + 300, Y);
    page.drawLine(X + 300, Y - 200, X + 300, Y + 200);
    page.drawLine(X + 375, Y - 200, X + 375, Y + 200);
    page.drawLine(X + 375, Y, X + 600, Y);
    X += 600;
}

void PrintSeriesL(QPainter& page, std::int16_t& X, std::int16_t& Y)
{
    page.drawLine(X, Y, X + 200, Y);
    for (int k = 1; k <= kCoilArcs; ++k)
        DrawArc(page, QPointF(X + 120 + 160 * k, Y), kCoilArcRadius, 0, kSeriesCoilEnd);
    page.drawLine(X + 700, Y, X + 900, Y);
    X += 900;
}

void PrintLoad(QPainter& page, std::int16_t& X, std::int16_t& Y)
{
    // Three and a half zigzag teeth between Y+620 and Y+1020.
    const std::array<QPoint, 10> resistor = {{{X, Y},
                                              {X + 300, Y},
                                              {X + 300, Y + 620},
                                              {X + 240, Y + 660},
                                              {X + 360, Y + 740},
                                              {X + 240, Y + 820},
                                              {X + 360, Y + 900},
                                              {X + 240, Y + 980},
                                              {X + 300, Y + 1020},
                                              {X + 300, Y + 2000}}};
    page.drawPolyline(resistor.data(), static_cast<int>(resistor.size()));
}

void PrintGround(QPainter& page, std::int16_t& X, std::int16_t&)
{
    // From under the FET's source to the lower lead of the load standing at X.
    constexpr int kGroundY = 5000;
    constexpr int kGroundStartX = 3800;
    constexpr int kLoadLeadX = 300;
    page.drawLine(kGroundStartX, kGroundY, X + kLoadLeadX, kGroundY);
}

void PrintShuntL(QPainter& page, std::int16_t& X, std::int16_t& Y)
{
    // The shunt capacitor's leads, with three right-hand half turns where its plates stand.
    page.drawLine(X, Y, X + 800, Y);
    page.drawLine(X + 300, Y, X + 300, Y + 560);
    for (int k = 1; k <= kCoilArcs; ++k)
        DrawArc(page, QPointF(X + 300, Y + 480 + 160 * k), kCoilArcRadius, 1.5 * std::numbers::pi,
                0.5 * std::numbers::pi);
    page.drawLine(X + 300, Y + 1040, X + 300, Y + 2000);
}

void PrintParallelLC(QPainter& page, std::int16_t& X, std::int16_t& Y)
{
    // The series L's coil on the signal line, a capacitor below between its two ends.
    const std::int16_t left = X;
    PrintSeriesL(page, X, Y);
    const std::array<QPoint, 4> leftLead = {{{left + 100, Y}, {left + 100, Y + 500}, {left + 412, Y + 500}}};
    page.drawPolyline(leftLead.data(), 3);
    page.drawLine(left + 412, Y + 300, left + 412, Y + 700);
    page.drawLine(left + 487, Y + 300, left + 487, Y + 700);
    const std::array<QPoint, 3> rightLead = {{{left + 487, Y + 500}, {left + 800, Y + 500}, {left + 800, Y}}};
    page.drawPolyline(rightLead.data(), 3);
}

}  // namespace voltra
