// The Class E circuit of the design screen as geometry in drawing units: the chain
// of part symbols from the gate drive to the load, standing on one ground line.
#pragma once

#include <QLineF>
#include <QPointF>
#include <vector>

#include "engine/circuit.h"
#include "engine/circuit_chain.h"

namespace voltra {

// A circular arc in drawing units; angles in radians, counter-clockwise on screen.
struct SchematicArc {
    QPointF centre;
    double radius;
    double startAngle;
    double sweep;
};

struct SchematicDrawing {
    std::vector<QLineF> lines;
    std::vector<SchematicArc> arcs;
    // Where the chain ended: the load resistor stands here and its label beside it.
    int SchematicX = 0;
};

inline constexpr int kSchematicStartX = 4000;
inline constexpr int kSchematicStartY = 3000;
inline constexpr double kGroundY = 5000;

// A link of the output chain and where its symbol starts on the rail.
struct PlacedLink {
    ChainLink link;
    int x;
};
std::vector<PlacedLink> PlacedChain(const Circuit& shown);
// Where the value of a part of the output network stands on the screen.
QPointF ValueAnchor(const PlacedLink& placed, bool beside = false);

// The drawing of a shown circuit, its parts in signal order; pi shapes the choke's turns.
SchematicDrawing SchematicOf(const Circuit& shown, float pi);

}  // namespace voltra
