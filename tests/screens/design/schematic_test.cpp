// The schematic for each L-network layout and the values written on it: where the
// leads meet the ground line, where the labels stand and which of them turn red.
#include <QSet>
#include <gtest/gtest.h>

#include "engine/equations.h"
#include "screens/design/schematic.h"
#include "screens/design/schematic_labels.h"

namespace {

DesignRecord Designed(std::int16_t lnetState, float rnetwork)
{
    DesignRecord design;
    StartupValues(design);
    FindAll(design);
    design.LnetState = lnetState;
    design.Rnetwork = rnetwork > 0 ? rnetwork : design.Rload;
    LnetworkWorking working;
    FindLnetwork(design, working, QString::number(design.Rnetwork, 'g', 9).toStdString());
    return design;
}

QString TextAt(const std::vector<SchematicLabel>& labels, QPointF anchor)
{
    for (const SchematicLabel& label : labels)
        if (label.anchor == anchor) return label.text;
    return {};
}

TEST(Schematic, EachLayoutStandsOnOneGroundLineWithTheLoadAtItsEnd)
{
    const struct {
        std::int16_t lnetState;
        float rnetwork;  // 0: equal to Rload
        std::vector<double> leadsOnGround;
        size_t labels;
        const char* loadValue;
        QPointF lnetwork;  // where the network inductor's value stands
    } cases[] = {{0, 50, {4000, 5300, 7600}, 14, "5.4659 ohms", {}},
                 {1, 50, {4000, 5300, 8500, 9300}, 17, "50 ", {7300, 3200}},
                 {1, 2, {4000, 5300, 7600, 9300}, 16, "2 ", {8000, 3200}},
                 {1, 0, {4000, 5300, 9300}, 14, "5.4659 ", {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.labels);
        const DesignRecord design = Designed(c.lnetState, c.rnetwork);
        const SchematicDrawing drawing = Schematic(design);
        const double end = c.leadsOnGround.back();
        std::vector<double> leads;
        int groundLines = 0;
        for (const QLineF& line : drawing.lines) {
            if (line.x1() == line.x2() && std::max(line.y1(), line.y2()) == kGroundY) leads.push_back(line.x1());
            groundLines += line.y1() == kGroundY && line.y2() == kGroundY
                           && QSet<double>{line.x1(), line.x2()} == QSet<double>{2600, end};
        }
        std::sort(leads.begin(), leads.end());
        EXPECT_EQ(leads, c.leadsOnGround);
        EXPECT_EQ(groundLines, 1);

        const std::vector<SchematicLabel> labels = SchematicLabels(design, drawing.SchematicX);
        EXPECT_EQ(labels.size(), c.labels);
        EXPECT_EQ(TextAt(labels, {end + 200, 3600}).toStdString(), "Rload:");
        EXPECT_EQ(TextAt(labels, {end + 200, 3900}).toStdString(), c.loadValue);
        EXPECT_EQ(TextAt(labels, c.lnetwork).endsWith("H"), !c.lnetwork.isNull());
        EXPECT_EQ(TextAt(labels, {6400, 2100}).startsWith("Ltotal: 1.708"), c.labels == 17);
    }
}

TEST(SchematicLabels, WarningsAndFailedValuesAreRedAndAFailureNeverShowsANumber)
{
    const struct {
        void (*change)(DesignRecord&);
        const char* red;
    } cases[] = {{[](DesignRecord&) {}, ""},
                 {[](DesignRecord& d) { d.Idc = d.Ipeak * 2; }, "Idc|Drain Ipeak"},
                 {[](DesignRecord& d) { d.Idc = 0; }, "( Rdc: invalid )"},
                 {[](DesignRecord& d) { d.Saturation = d.Supply; FindAll(d); }, "invalid|invalid|Idc|( Rdc"}};
    for (const auto& c : cases) {
        DesignRecord design = Designed(0, 50);
        c.change(design);
        QStringList red;
        for (const SchematicLabel& label : SchematicLabels(design, Schematic(design).SchematicX)) {
            EXPECT_FALSE(label.text.contains("nan", Qt::CaseInsensitive)) << label.text.toStdString();
            if (label.red) red << (label.text.contains(kInvalidMark) ? label.text : label.text.section(':', 0, 0));
        }
        EXPECT_EQ(red.join("|").toStdString(), c.red);
    }
}

}  // namespace
