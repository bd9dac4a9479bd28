// The schematic's geometry for each L-network layout: the chain of parts, the ground
// line, and every lead that must end on it.
#include <QLineF>
#include <gtest/gtest.h>

#include "engine/equations.h"
#include "screens/design/schematic.h"

namespace {

DesignRecord Designed(std::int16_t lnetState, float rnetwork)
{
    DesignRecord design;
    StartupValues(design);
    FindAll(design);
    design.LnetState = lnetState;
    design.Rnetwork = rnetwork;
    return design;
}

bool HasLine(const SchematicDrawing& drawing, QLineF wanted)
{
    for (const QLineF& line : drawing.lines)
        if (line == wanted || QLineF(line.p2(), line.p1()) == wanted) return true;
    return false;
}

// Vertical leads that come down onto the ground line.
std::vector<double> LeadsOnGround(const SchematicDrawing& drawing)
{
    std::vector<double> xs;
    for (const QLineF& line : drawing.lines)
        if (line.x1() == line.x2() && std::max(line.y1(), line.y2()) == kGroundY) xs.push_back(line.x1());
    std::sort(xs.begin(), xs.end());
    return xs;
}

struct LayoutCase {
    const char* name;
    std::int16_t lnetState;
    float rnetwork;  // 0: equal to Rload
    int schematicX;
    double groundRight;
    std::vector<double> leadsOnGround;
};

class SchematicLayouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(SchematicLayouts, EveryLeadEndsOnTheGroundLine)
{
    const LayoutCase& c = GetParam();
    DesignRecord design = Designed(c.lnetState, c.rnetwork);
    if (c.rnetwork == 0) design.Rnetwork = design.Rload;
    const SchematicDrawing drawing = Schematic(design);
    EXPECT_EQ(drawing.SchematicX, c.schematicX);
    EXPECT_TRUE(HasLine(drawing, QLineF(2600, kGroundY, c.groundRight, kGroundY)));
    EXPECT_EQ(LeadsOnGround(drawing), c.leadsOnGround);
    EXPECT_EQ(LeadsOnGround(drawing).back(), c.groundRight) << "the load stands at the end of the ground line";
}

INSTANTIATE_TEST_SUITE_P(
    Schematic, SchematicLayouts,
    ::testing::Values(LayoutCase{"Off", 0, 50, 7300, 7600, {4000, 5300, 7600}},
                      LayoutCase{"SeriesLFirst", 1, 50, 9000, 9300, {4000, 5300, 8500, 9300}},
                      LayoutCase{"ShuntCFirst", 1, 2, 9000, 9300, {4000, 5300, 7600, 9300}},
                      LayoutCase{"Equal", 1, 0, 9000, 9300, {4000, 5300, 9300}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Schematic, NetworkInductorFollowsTheSeriesInductorOnlyWhenRloadIsLower)
{
    auto coilCentresOnChain = [](const SchematicDrawing& drawing) {
        std::vector<double> xs;
        for (const SchematicArc& arc : drawing.arcs)
            if (arc.centre.y() == kSchematicStartY) xs.push_back(arc.centre.x());
        return xs;
    };
    EXPECT_EQ(coilCentresOnChain(Schematic(Designed(1, 50))),
              (std::vector<double>{6680, 6840, 7000, 7580, 7740, 7900}));
    EXPECT_EQ(coilCentresOnChain(Schematic(Designed(1, 2))),
              (std::vector<double>{6680, 6840, 7000, 8380, 8540, 8700}));
}

TEST(Schematic, ChokeCoilSpansItsTurnsBetweenSupplyLeadAndDrain)
{
    const SchematicDrawing drawing = Schematic(Designed(0, 50));
    double top = 1e9, bottom = -1e9;
    for (const SchematicArc& arc : drawing.arcs) {
        if (arc.centre.x() != 4000 || arc.radius == 400) continue;
        top = std::min(top, arc.centre.y() - arc.radius);
        bottom = std::max(bottom, arc.centre.y() + arc.radius);
    }
    EXPECT_EQ(top, 1630);
    EXPECT_EQ(bottom, 2110);
    EXPECT_TRUE(HasLine(drawing, QLineF(4000, 1640, 4000, 600)));
    EXPECT_TRUE(HasLine(drawing, QLineF(4000, 3750, 4000, 2100)));
}

}  // namespace
