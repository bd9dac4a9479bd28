// The values written on the schematic: where they stand, which carry a unit, and
// which turn red as a warning or in place of a value that failed.
#include <cmath>
#include <gtest/gtest.h>

#include "engine/equations.h"
#include "screens/design/schematic.h"
#include "screens/design/schematic_labels.h"

namespace {

class Labels : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartupValues(design);
        FindAll(design);
        design.Rnetwork = 50;
    }

    std::vector<SchematicLabel> Written() const { return SchematicLabels(design, Schematic(design).SchematicX); }

    // The label whose text starts with the prefix, or the one at the anchor.
    const SchematicLabel* Find(const QString& prefix) const
    {
        written = Written();
        for (const SchematicLabel& label : written)
            if (label.text.startsWith(prefix)) return &label;
        return nullptr;
    }
    const SchematicLabel* At(QPointF anchor) const
    {
        written = Written();
        for (const SchematicLabel& label : written)
            if (label.anchor == anchor) return &label;
        return nullptr;
    }
    bool Red(const QString& prefix) const { return Find(prefix) && Find(prefix)->red; }

    DesignRecord design;
    mutable std::vector<SchematicLabel> written;
};

TEST_F(Labels, DefaultDesignWritesEveryValueInBlack)
{
    const std::vector<SchematicLabel> labels = Written();
    EXPECT_EQ(labels.size(), 14u);
    for (const SchematicLabel& label : labels) EXPECT_FALSE(label.red) << label.text.toStdString();
    EXPECT_EQ(Find("Vsupply: ")->text, "Vsupply: 24 V");
    EXPECT_EQ(Find("Rload:")->anchor, QPointF(7800, 3600));
    EXPECT_EQ(At({7800, 3900})->text, "5.4659 ohms");
    EXPECT_EQ(Find("( Rdc: ")->anchor, QPointF(2300, 1100));
    EXPECT_TRUE(Find("( Rdc: ")->text.endsWith("ohms )"));
    EXPECT_EQ(Find("Ltotal: "), nullptr);
}

struct NetworkCase {
    const char* name;
    float rnetwork;
    QPointF lnetwork;
    QPointF cnetwork;
    bool ltotal;
};

class NetworkLabels : public Labels, public ::testing::WithParamInterface<NetworkCase> {};

TEST_P(NetworkLabels, NetworkValuesStandBesideTheirPartsAndTheLoadShowsRnetwork)
{
    const NetworkCase& c = GetParam();
    design.LnetState = 1;
    design.Rnetwork = c.rnetwork;
    LnetworkWorking working;
    FindLnetwork(design, working, std::to_string(c.rnetwork));
    ASSERT_NE(At(c.lnetwork), nullptr);
    EXPECT_TRUE(At(c.lnetwork)->text.endsWith("H"));
    ASSERT_NE(At(c.cnetwork), nullptr);
    EXPECT_TRUE(At(c.cnetwork)->text.endsWith("F"));
    EXPECT_EQ(Find("Rload:")->anchor, QPointF(9500, 3600));
    EXPECT_FALSE(At({9500, 3900})->text.contains("ohms"));
    EXPECT_EQ(Find("Ltotal: ") != nullptr, c.ltotal);
    if (c.ltotal) {
        EXPECT_EQ(Find("Ltotal: ")->anchor, QPointF(6400, 2100));
        EXPECT_TRUE(Find("Ltotal: ")->text.startsWith("Ltotal: 1.708"));
        EXPECT_TRUE(Find("Ltotal: ")->text.endsWith("uH"));
    }
}

INSTANTIATE_TEST_SUITE_P(Labels, NetworkLabels,
                         ::testing::Values(NetworkCase{"RloadLower", 50, {7300, 3200}, {7300, 4000}, true},
                                           NetworkCase{"RloadHigher", 2, {8000, 3200}, {7800, 4000}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Labels, MatchedNetworkLabelsNoNetworkPartsAndKeepsTheLoadLabelAtTheEnd)
{
    design.LnetState = 1;
    design.Rnetwork = design.Rload;
    EXPECT_EQ(Written().size(), 14u);
    EXPECT_EQ(Find("Rload:")->anchor, QPointF(9500, 3600));
}

TEST_F(Labels, NegativeSupplyCurrentTurnsIdcAndRdcRedButNotVpeak)
{
    design.Saturation = 30;  // above the supply: the stage would draw current backwards
    FindAll(design);
    ASSERT_LT(design.Idc, 0);
    EXPECT_TRUE(Red("Idc: "));
    EXPECT_TRUE(Red("( Rdc: "));
    EXPECT_FALSE(Red("Vpeak: "));
    EXPECT_FALSE(Red("Drain Ipeak: "));
}

TEST_F(Labels, SupplyCurrentAbovePeakTurnsIdcAndIpeakRed)
{
    design.Idc = design.Ipeak * 2;
    EXPECT_TRUE(Red("Idc: "));
    EXPECT_TRUE(Red("Drain Ipeak: "));
    EXPECT_FALSE(Red("( Rdc: "));
}

TEST_F(Labels, FailedResultsShowTheInvalidMarkInRedNeverANumber)
{
    design.Saturation = design.Supply;  // Rload = 0: C1 and C2 divide by zero
    FindAll(design);
    ASSERT_FALSE(IsValid(design.C1));
    EXPECT_EQ(At({5500, 4000})->text, kInvalidMark);
    EXPECT_TRUE(At({5500, 4000})->red);
    EXPECT_EQ(At({5800, 3300})->text, kInvalidMark);
    for (const SchematicLabel& label : Written()) EXPECT_FALSE(label.text.contains("NaN"));
}

TEST_F(Labels, ZeroSupplyCurrentShowsRdcAsInvalid)
{
    design.Idc = 0;
    EXPECT_EQ(Find("( Rdc: ")->text, QString("( Rdc: ") + kInvalidMark + " )");
    EXPECT_TRUE(Red("( Rdc: "));
    EXPECT_FALSE(Red("Idc: "));
}

}  // namespace
