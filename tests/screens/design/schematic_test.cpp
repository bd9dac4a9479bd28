// The schematic per layout: leads on one ground line, no text over another or a part, which turn red.
#include <QFontMetricsF>
#include <QSet>
#include <gtest/gtest.h>

#include "engine/design_options.h"
#include "engine/equations.h"
#include "screen_fixture.h"
#include "screens/design/drawing_units.h"
#include "screens/design/schematic.h"
#include "screens/design/schematic_labels.h"
#include "screens/screen_style.h"
#include "tests/calculated_design.h"

namespace voltra {

namespace {

TEST(Schematic, EachLayoutStandsOnOneGroundLineAndNoTextCoversAnotherOrAPart)
{
    const struct {
        bool lnetState;
        float rnetwork;
        std::vector<double> leadsOnGround;
        size_t labels;
        const char* loadValue;
    } cases[] = {{0, 50, {4000, 5300, 7600}, 16, "5.4659 ohms"},
                 {1, 50, {4000, 5300, 8500, 9300}, 19, "50 "},
                 {1, 2, {4000, 5300, 7600, 9300}, 18, "2 "},
                 // Equal resistances: nothing to transform, the plain stage.
                 {1, 0, {4000, 5300, 7600}, 16, "5.4659 ohms"}};
    // Legible on the smallest display, 1366 x 768.
    const QTransform units = DrawingTransform(QSize(1366, 768));
    QFont font(kSansFamily);
    font.setPixelSize(ScreenFontPixels(QSize(1366, 768)));
    EXPECT_EQ(font.pixelSize(), 12);
    const QFontMetricsF metrics(font);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.labels);
        const DesignRecord design = CalculatedDesign(kDefaultNetworkQ, c.lnetState, c.rnetwork);
        const Circuit circuit = BuildCircuit(design);
        const SchematicDrawing drawing = SchematicOf(circuit, design.Pi);
        const double end = c.leadsOnGround.back();
        std::vector<double> leads;
        int groundLines = 0;
        for (const QLineF& line : drawing.lines) {
            if (line.x1() == line.x2() && std::max(line.y1(), line.y2()) == kGroundY) leads.push_back(line.x1());
            groundLines += line.y1() == kGroundY && line.y2() == kGroundY
                           && QSet<double>{line.x1(), line.x2()} == QSet<double>{2600, end};
        }
        const std::vector<QPointF> ink = InkOf(drawing, units);
        std::sort(leads.begin(), leads.end());
        EXPECT_EQ(leads, c.leadsOnGround);
        EXPECT_EQ(groundLines, 1);

        const std::vector<SchematicLabel> labels = SchematicLabels(circuit, drawing.SchematicX);
        EXPECT_EQ(labels.size(), c.labels);
        std::vector<QRectF> texts;
        std::string load;
        for (const SchematicLabel& label : labels) {
            const std::string text = label.text.toStdString();
            if (label.anchor == QPointF(end + 200, 3900)) load = text;
            const QRectF box = metrics.boundingRect(label.text).translated(units.map(label.anchor) + QPointF(0, metrics.ascent()));
            for (const QRectF& other : texts) EXPECT_FALSE(box.intersects(other)) << text;
            for (const QPointF& point : ink) EXPECT_FALSE(box.contains(point)) << text;
            texts.push_back(box);
        }
        EXPECT_EQ(load, c.loadValue) << "beside the load at the ground line's end";
        // The stage's efficiency and the switch's heat stand under the supply figures.
        QStringList supply;
        for (const SchematicLabel& label : labels)
            if (label.anchor.y() == 1400) supply << label.text;
        EXPECT_EQ(supply, QStringList({"Efficiency: 95.8 %", "Pdiss: 2.1882 W"}));
    }
}

// The screen writes Ltotal beside an L-section's inductor after Lseries, never a zero
// for a T, whose circuit computes no Ltotal.
TEST(SchematicLabels, LtotalOnlyWhereTheCircuitComputedIt)
{
    const DesignRecord design = CalculatedDesign(kDefaultNetworkQ, true, 50);
    auto ltotals = [&](const Circuit& c) {
        int found = 0;
        for (const SchematicLabel& label : SchematicLabels(c, SchematicOf(c, design.Pi).SchematicX))
            found += label.text.startsWith(QLatin1String("Ltotal: "));
        return found;
    };
    EXPECT_EQ(ltotals(BuildCircuit(design)), 1);
    DesignOptions t;
    t.network = NetworkKind::T;
    EXPECT_EQ(ltotals(BuildCircuit(design, t)), 0);
}

TEST(SchematicLabels, WarningsAndFailedValuesAreRed)
{
    const struct {
        void (*change)(DesignRecord&);
        const char* red;
    } cases[] = {{[](DesignRecord&) {}, ""},
                 {[](DesignRecord& d) { d.Idc = d.Ipeak * 2; }, "Idc|Drain Ipeak"},
                 {[](DesignRecord& d) { d.Idc = 0; }, "( Rdc: invalid )|Pdiss: invalid"},
                 // No swing left: no load, no parts, and no supply current.
                 {[](DesignRecord& d) { d.Saturation = d.Supply; FindAll(d); },
                  "invalid|invalid|invalid|invalid|Idc: invalid|( Rdc: invalid )|Efficiency: invalid|Pdiss: invalid"},
                 // A fall time beyond the period: more power out than in.
                 {[](DesignRecord& d) { d.Falltime = 100e-6f; FindAll(d); },
                  "Idc: invalid|( Rdc: invalid )|Efficiency: invalid|Pdiss: invalid"}};
    for (const auto& c : cases) {
        DesignRecord design = CalculatedDesign(kDefaultNetworkQ, false);
        c.change(design);
        QStringList red;
        const Circuit circuit = BuildCircuit(design);
        for (const SchematicLabel& label : SchematicLabels(circuit, SchematicOf(circuit, design.Pi).SchematicX))
            if (label.red) red << (label.text.contains(kInvalidMark) ? label.text : label.text.section(':', 0, 0));
        EXPECT_EQ(red.join("|").toStdString(), c.red);
    }
}

}  // namespace

}  // namespace voltra
