#include <gtest/gtest.h>
#include <ostream>

#include "engine/equations.h"
#include "print/sheet_texts.h"

void PrintTo(const SheetText& text, std::ostream* out) { *out << "(" << text.x << ", " << text.y << ") \"" << text.text << "\""; }

namespace {

using Texts = std::vector<SheetText>;

// The start-up design with the network resistance the design screen would read.
DesignRecord DesignWith(const char* rnetworkText, std::int16_t lnetState)
{
    DesignRecord design;
    StartupValues(design);
    FindAll(design);
    LnetworkWorking working;
    FindLnetwork(design, working, rnetworkText);
    design.LnetState = lnetState;
    return design;
}

const Texts kLabelsCommonHead = {
    {6100, 4100, "1.52421nF"},
    {6400, 3400, "1.95861nF"},
    {7200, 2500, "1.08741uH"},
};
const Texts kLabelsCommonTail = {
    {5300, 800, "Vsupply: 24 V"},  {5300, 1100, "Idc: 2.17451 A"},       {3000, 1100, "Rdc: 11.037 ohms"},
    {2800, 2700, "Vpeak: 82.926 V"}, {2800, 3100, "FET Ipeak: 6.19398 A"}, {5300, 1900, "RFC"},
};
// The leading space of the frequency comes from its formatter; the default fall time
// lies just below 1 ns and reads in picoseconds.
const Texts kTargetsCommon = {
    {3000, 5800, "Frequency:  4MHz"},     {3000, 6100, "Ron: 0.16145 "},   {3000, 6400, "Saturation voltage: 1 V"},
    {3000, 6700, "Power output: 50 W"}, {3000, 7000, "Network Q: 5 "}, {3000, 7300, "Falltime: 1000ps"},
};

Texts Joined(std::initializer_list<Texts> parts)
{
    Texts all;
    for (const Texts& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

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
    const SheetCase& sheet = GetParam();
    const DesignRecord design = DesignWith(sheet.rnetworkText, sheet.lnetState);
    EXPECT_EQ(SchematicLabels(design), sheet.labels);
    EXPECT_EQ(DesignTargetLines(design), sheet.targets);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SheetTextsTest,
    ::testing::Values(
        SheetCase{"NetworkOff", "50", 0,
                  Joined({kLabelsCommonHead, {{8500, 3500, "Rload:"}, {8500, 3800, "5.4659 ohms"}}, kLabelsCommonTail}),
                  kTargetsCommon},
        // Rload below Rnetwork: the network's inductor follows Lseries and they add up.
        SheetCase{"SeriesInductorFirst", "50", 1,
                  Joined({kLabelsCommonHead,
                          {{8000, 3400, "620.78nH"},
                           {8100, 4100, "2.27146nF"},
                           {10200, 3500, "Rload:"},
                           {10200, 3800, "50 ohms"}},
                          kLabelsCommonTail,
                          {{7000, 2100, "Ltotal: 1.70819uH"}}}),
                  Joined({kTargetsCommon, {{3000, 7600, "Class E load: 5.4659 ohms"}}})},
        SheetCase{"ShuntCapacitorFirst", "2", 1,
                  Joined({kLabelsCommonHead,
                          {{8400, 4100, "9.58277nF"},
                           {8700, 2500, "104.757nH"},
                           {10200, 3500, "Rload:"},
                           {10200, 3800, "2 ohms"}},
                          kLabelsCommonTail}),
                  Joined({kTargetsCommon, {{3000, 7600, "Class E load: 5.4659 ohms"}}})}),
    [](const ::testing::TestParamInfo<SheetCase>& info) { return std::string(info.param.name); });

TEST(SheetTextsEqualResistances, ShuntCapacitorComesFirstAndNoLtotalIsWritten)
{
    // The network keeps the parts of its last calculation when nothing is left to transform.
    DesignRecord design = DesignWith("50", 1);
    design.Rnetwork = design.Rload;
    const Texts labels = SchematicLabels(design);
    const Texts expected = Joined({kLabelsCommonHead,
                                   {{8400, 4100, "2.27146nF"},
                                    {8700, 2500, "620.78nH"},
                                    {10200, 3500, "Rload:"},
                                    {10200, 3800, "5.4659 ohms"}},
                                   kLabelsCommonTail});
    EXPECT_EQ(labels, expected);
    for (const SheetText& label : labels) EXPECT_NE(label.text.rfind("Ltotal: ", 0), 0u) << label.text;
}

TEST(SheetTextsRon, IsSaturationOverPeakCurrentInSinglePrecision)
{
    DesignRecord design = DesignWith("50", 0);
    EXPECT_EQ(Ron(design), static_cast<float>(1.0 / static_cast<double>(design.Ipeak)));
    design.Ipeak = 0;
    EXPECT_FALSE(IsValid(Ron(design)));
}

}  // namespace
