#include <gtest/gtest.h>
#include <ostream>

#include "print/sheet_texts.h"
#include "test_design.h"

void PrintTo(const SheetText& t, std::ostream* out) { *out << "(" << t.x << ", " << t.y << ") \"" << t.text << "\""; }

namespace {

using Texts = std::vector<SheetText>;

Texts Joined(std::initializer_list<Texts> parts)
{
    Texts all;
    for (const Texts& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Texts kPartsOfClassE = {{6100, 4100, "1.52421nF"}, {6400, 3400, "1.95861nF"}, {7200, 2500, "1.08741uH"}};
const Texts kSupplyAndSwitch = {{5300, 800, "Vsupply: 24 V"},  {5300, 1100, "Idc: 2.17451 A"},
                                {3000, 1100, "Rdc: 11.037 ohms"}, {2800, 2700, "Vpeak: 82.926 V"},
                                {2800, 3100, "FET Ipeak: 6.19398 A"}, {5300, 1900, "RFC"}};
// The frequency formatter leads with a space; the default fall time lies just below
// 1 ns and reads in picoseconds.
const Texts kTargets = {{3000, 5800, "Frequency:  4MHz"},        {3000, 6100, "Ron: 0.16145 "},
                        {3000, 6400, "Saturation voltage: 1 V"}, {3000, 6700, "Power output: 50 W"},
                        {3000, 7000, "Network Q: 5 "},           {3000, 7300, "Falltime: 1000ps"}};
const Texts kClassELoad = {{3000, 7600, "Class E load: 5.4659 ohms"}};

struct SheetCase {
    const char* name;
    const char* rnetworkText;
    std::int16_t lnetState;
    Texts labels;
    Texts targets;
};
void PrintTo(const SheetCase& sheet, std::ostream* out) { *out << sheet.name; }

class SheetTextsTest : public ::testing::TestWithParam<SheetCase> {};

TEST_P(SheetTextsTest, LabelsAndTargetsStandAtTheirAnchorsInPrintOrder)
{
    const DesignRecord design = DesignWith(GetParam().rnetworkText, GetParam().lnetState);
    EXPECT_EQ(SchematicLabels(design), GetParam().labels);
    EXPECT_EQ(DesignTargetLines(design), GetParam().targets);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SheetTextsTest,
    ::testing::Values(
        SheetCase{"NetworkOff", "50", 0,
                  Joined({kPartsOfClassE, {{8500, 3500, "Rload:"}, {8500, 3800, "5.4659 ohms"}}, kSupplyAndSwitch}),
                  kTargets},
        // Rload below Rnetwork: the network's inductor follows Lseries and they add up.
        SheetCase{"SeriesInductorFirst", "50", 1,
                  Joined({kPartsOfClassE,
                          {{8000, 3400, "620.78nH"}, {8100, 4100, "2.27146nF"}},
                          {{10200, 3500, "Rload:"}, {10200, 3800, "50 ohms"}},
                          kSupplyAndSwitch,
                          {{7000, 2100, "Ltotal: 1.70819uH"}}}),
                  Joined({kTargets, kClassELoad})},
        SheetCase{"ShuntCapacitorFirst", "2", 1,
                  Joined({kPartsOfClassE,
                          {{8400, 4100, "9.58277nF"}, {8700, 2500, "104.757nH"}},
                          {{10200, 3500, "Rload:"}, {10200, 3800, "2 ohms"}},
                          kSupplyAndSwitch}),
                  Joined({kTargets, kClassELoad})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SheetTextsEqualResistances, ShuntCapacitorFirstWithTheLastNetworkAndNoLtotal)
{
    DesignRecord design = DesignWith("50", 1);
    design.Rnetwork = design.Rload;
    EXPECT_EQ(SchematicLabels(design), Joined({kPartsOfClassE,
                                               {{8400, 4100, "2.27146nF"}, {8700, 2500, "620.78nH"}},
                                               {{10200, 3500, "Rload:"}, {10200, 3800, "5.4659 ohms"}},
                                               kSupplyAndSwitch}));
}

}  // namespace
