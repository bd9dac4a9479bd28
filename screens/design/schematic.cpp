// Symbol routines of the design screen's schematic. Each draws one part relative to
// the cursor (X, Y) and, for parts in the series chain, moves X past it.
#include "screens/design/schematic.h"

#include <array>
#include <numbers>
#include <span>

#include "screens/design/drawing_units.h"

namespace voltra {

namespace {

struct Offset {
    int dx;
    int dy;
};
struct Segment {
    Offset from;
    Offset to;
};
// Three turns of a coil: centre k at first + k * step, k = 1, 2, 3.
struct Coil {
    Offset base;
    Offset step;
};
constexpr int kCoilTurns = 3;

// Gate drive: one period of a square pulse.
constexpr std::array<Offset, 6> kGeneratorPulse = {{
    {-2000, 1000}, {-2000, 800}, {-1700, 800}, {-1700, 1200}, {-1400, 1200}, {-1400, 1000},
}};

// Switching transistor: a switch in a circle, drain up, source down to ground.
constexpr Offset kFetCentre = {0, 1000};
constexpr double kFetRadius = 400;
constexpr double kFullTurn = 2 * std::numbers::pi;
constexpr std::array<Segment, 5> kFetLeads = {{
    {{-1300, 1000}, {-400, 1000}},  // gate lead
    {{-150, 1200}, {0, 750}},       // switch blade
    {{0, 750}, {0, -900}},          // drain lead up to the choke
    {{0, 1250}, {0, 2000}},         // source lead to ground
    {{0, 0}, {1000, 0}},            // drain node
}};
constexpr int kFetAdvance = 1000;

// RF choke from the supply down to the drain, one drain-node length to the left.
constexpr Segment kChokeSupplyLead = {{-1000, -1360}, {-1000, -2400}};
constexpr Coil kChokeCoil = {{-1000, -1450}, {0, 160}};
// The choke's turns were drawn for a 12000 by 9000 area as 60 units per aspect step.
constexpr double kChokeArcRadius = kDrawingWidth * 60 / kDrawingHeight;

// Capacitor from the chain down to ground.
constexpr std::array<Segment, 5> kShuntC = {{
    {{0, 0}, {800, 0}},
    {{300, 0}, {300, 800}},
    {{100, 800}, {500, 800}},
    {{100, 900}, {500, 900}},
    {{300, 900}, {300, 2000}},
}};
constexpr int kShuntCAdvance = 800;

constexpr std::array<Segment, 4> kSeriesC = {{
    {{0, 0}, {300, 0}},
    {{300, -200}, {300, 200}},
    {{375, -200}, {375, 200}},
    {{375, 0}, {600, 0}},
}};
constexpr int kSeriesCAdvance = 600;

constexpr std::array<Segment, 2> kSeriesLLeads = {{{{0, 0}, {200, 0}}, {{700, 0}, {900, 0}}}};
constexpr Coil kSeriesLCoil = {{120, 0}, {160, 0}};
constexpr double kSeriesLArcRadius = 80;
// The bumps end at 3.14 rather than pi, a hair short of the half turn.
constexpr double kSeriesLArcSweep = 3.14;
constexpr int kSeriesLAdvance = 900;

// Load resistor: a zigzag between a lead from the chain and a lead to ground.
constexpr std::array<Offset, 10> kLoad = {{
    {0, 0}, {300, 0}, {300, 620}, {240, 660}, {360, 740},
    {240, 820}, {360, 900}, {240, 980}, {300, 1020}, {300, 2000},
}};

struct GroundLine {
    double left;
    double rightWithoutNetwork;
    double rightWithNetwork;
};
constexpr GroundLine kGround = {2600, 7600, 9300};

QPointF At(int x, int y, Offset offset) { return QPointF(x + offset.dx, y + offset.dy); }

class Chain {
public:
    explicit Chain(SchematicDrawing& drawing) : drawing_(drawing) {}

    void Generator(int X, int Y)
    {
        for (size_t i = 1; i < kGeneratorPulse.size(); ++i)
            drawing_.lines.emplace_back(At(X, Y, kGeneratorPulse[i - 1]), At(X, Y, kGeneratorPulse[i]));
    }

    void FET(int& X, int Y)
    {
        drawing_.arcs.push_back({At(X, Y, kFetCentre), kFetRadius, 0, kFullTurn});
        Segments(X, Y, kFetLeads);
        X += kFetAdvance;
    }

    void VerticalL(int X, int Y, float pi)
    {
        drawing_.lines.emplace_back(At(X, Y, kChokeSupplyLead.from), At(X, Y, kChokeSupplyLead.to));
        // Right-hand half turns, from 1.5 pi round to 0.5 pi.
        Turns(X, Y, kChokeCoil, kChokeArcRadius, 1.5 * pi, pi);
    }

    void ShuntC(int& X, int Y)
    {
        Segments(X, Y, kShuntC);
        X += kShuntCAdvance;
    }

    void SeriesC(int& X, int Y)
    {
        Segments(X, Y, kSeriesC);
        X += kSeriesCAdvance;
    }

    void SeriesL(int& X, int Y)
    {
        Segments(X, Y, kSeriesLLeads);
        Turns(X, Y, kSeriesLCoil, kSeriesLArcRadius, 0, kSeriesLArcSweep);
        X += kSeriesLAdvance;
    }

    void Load(int X, int Y)
    {
        for (size_t i = 1; i < kLoad.size(); ++i)
            drawing_.lines.emplace_back(At(X, Y, kLoad[i - 1]), At(X, Y, kLoad[i]));
    }

    void Ground(double right) { drawing_.lines.emplace_back(kGround.left, kGroundY, right, kGroundY); }

private:
    void Segments(int X, int Y, std::span<const Segment> segments)
    {
        for (const Segment& s : segments) drawing_.lines.emplace_back(At(X, Y, s.from), At(X, Y, s.to));
    }

    void Turns(int X, int Y, const Coil& coil, double radius, double start, double sweep)
    {
        for (int k = 1; k <= kCoilTurns; ++k) {
            const Offset centre = {coil.base.dx + k * coil.step.dx, coil.base.dy + k * coil.step.dy};
            drawing_.arcs.push_back({At(X, Y, centre), radius, start, sweep});
        }
    }

    SchematicDrawing& drawing_;
};

}  // namespace

SchematicDrawing SchematicOf(const Circuit& shown, float pi)
{
    SchematicDrawing drawing;
    Chain chain(drawing);
    int X = kSchematicStartX;
    const int Y = kSchematicStartY;

    chain.Generator(X, Y);
    chain.FET(X, Y);
    chain.VerticalL(X, Y, pi);
    chain.ShuntC(X, Y);
    chain.SeriesC(X, Y);
    chain.SeriesL(X, Y);
    switch (shown.network) {
    case NetworkLayout::SeriesLFirst:
        chain.SeriesL(X, Y);
        chain.ShuntC(X, Y);
        break;
    case NetworkLayout::ShuntCFirst:
        chain.ShuntC(X, Y);
        chain.SeriesL(X, Y);
        break;
    case NetworkLayout::None: break;
    }
    chain.Load(X, Y);
    chain.Ground(shown.network != NetworkLayout::None ? kGround.rightWithNetwork : kGround.rightWithoutNetwork);
    drawing.SchematicX = X;
    return drawing;
}

}  // namespace voltra
