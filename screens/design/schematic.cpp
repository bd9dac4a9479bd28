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

// The ground line runs from under the source to the load's lower lead.
constexpr double kGroundLeft = 2600;
constexpr int kLoadGroundLeadX = 300;

// An inductor from the chain down to ground: the shunt capacitor's leads, with three
// right-hand half turns where its plates stand.
constexpr std::array<Segment, 3> kShuntLLeads = {{{{0, 0}, {800, 0}}, {{300, 0}, {300, 560}}, {{300, 1040}, {300, 2000}}}};
constexpr Coil kShuntLCoil = {{300, 480}, {0, 160}};
constexpr double kShuntLArcRadius = 80;
constexpr int kShuntLAdvance = 800;

// An inductor in the chain with a capacitor beside it, below, between the same two
// junctions: a parallel L-C in series with the rail.
constexpr std::array<Segment, 6> kParallelCLeads = {{
    {{100, 0}, {100, 500}},
    {{100, 500}, {412, 500}},
    {{412, 300}, {412, 700}},
    {{487, 300}, {487, 700}},
    {{487, 500}, {800, 500}},
    {{800, 500}, {800, 0}},
}};
constexpr int kParallelLCAdvance = 900;

// The chain's first symbol, C1, one drain-node length right of the switch.
constexpr int kFirstChainX = kSchematicStartX + kFetAdvance;

// Each symbol's width and its value's place, in the order of ChainSymbol. A label just
// before the load moves left, clear of the load's caption: under the series part
// before a shunt one, back a little for a series one.
constexpr std::array<SymbolPlace, kChainSymbols> kScreenSymbols = {{
    {kShuntCAdvance, 500, 4000, -900, 4000},           // ShuntC
    {kSeriesCAdvance, 0, 3300, -100, 3300},            // SeriesC
    {kSeriesLAdvance, 0, 3200, -100, 3200},            // SeriesL
    {kShuntLAdvance, 500, 4000, -900, 4000},           // ShuntL
    {kParallelLCAdvance, 100, 2500, 100, 2500, 100, 3800},  // ParallelLC
    {0, 0, 0, 0, 0},                                   // Load
}};

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

    void ShuntL(int& X, int Y)
    {
        Segments(X, Y, kShuntLLeads);
        Turns(X, Y, kShuntLCoil, kShuntLArcRadius, 1.5 * std::numbers::pi, std::numbers::pi);
        X += kShuntLAdvance;
    }

    void ParallelLC(int& X, int Y)
    {
        Segments(X, Y, kSeriesLLeads);
        Turns(X, Y, kSeriesLCoil, kSeriesLArcRadius, 0, kSeriesLArcSweep);
        Segments(X, Y, kParallelCLeads);
        X += kParallelLCAdvance;
    }

    void Load(int X, int Y)
    {
        for (size_t i = 1; i < kLoad.size(); ++i)
            drawing_.lines.emplace_back(At(X, Y, kLoad[i - 1]), At(X, Y, kLoad[i]));
    }

    void Ground(double right) { drawing_.lines.emplace_back(kGroundLeft, kGroundY, right, kGroundY); }

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

QPointF ValueAnchor(const PlacedLink& placed, bool beside)
{
    const SymbolPlace& place = kScreenSymbols[static_cast<int>(placed.link.symbol)];
    if (beside) return QPointF(placed.x + place.besideLabelDx, place.besideLabelY);
    if (placed.link.lastBeforeLoad) return QPointF(placed.x + place.lastLabelDx, place.lastLabelY);
    return QPointF(placed.x + place.labelDx, place.labelY);
}

std::vector<PlacedLink> PlacedChain(const Circuit& shown)
{
    std::vector<PlacedLink> placed;
    int X = kFirstChainX;
    for (const ChainLink& link : OutputChain(shown)) {
        placed.push_back({link, X});
        X += kScreenSymbols[static_cast<int>(link.symbol)].advance;
    }
    return placed;
}

SchematicDrawing SchematicOf(const Circuit& shown, float pi)
{
    SchematicDrawing drawing;
    Chain chain(drawing);
    int X = kSchematicStartX;
    const int Y = kSchematicStartY;

    chain.Generator(X, Y);
    chain.FET(X, Y);
    chain.VerticalL(X, Y, pi);
    for (const PlacedLink& placed : PlacedChain(shown)) {
        X = placed.x;
        switch (placed.link.symbol) {
        case ChainSymbol::ShuntC: chain.ShuntC(X, Y); break;
        case ChainSymbol::SeriesC: chain.SeriesC(X, Y); break;
        case ChainSymbol::SeriesL: chain.SeriesL(X, Y); break;
        case ChainSymbol::ShuntL: chain.ShuntL(X, Y); break;
        case ChainSymbol::ParallelLC: chain.ParallelLC(X, Y); break;
        case ChainSymbol::Load: chain.Load(X, Y); break;
        }
    }
    chain.Ground(X + kLoadGroundLeadX);
    drawing.SchematicX = X;
    return drawing;
}

}  // namespace voltra
