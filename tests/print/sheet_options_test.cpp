// The sheet of a design past the fits says how its values were found and prints them,
// and with no option chosen it stays the sheet it always was.
#include <gtest/gtest.h>

#include "engine/design_options.h"
#include "print/sheet_texts.h"
#include "print_test_support.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

std::vector<std::string> TextsAt(const std::vector<SheetText>& texts, int y)
{
    std::vector<std::string> found;
    for (const SheetText& text : texts)
        if (text.y == y) found.push_back(text.text);
    return found;
}

TEST(SheetOptions, MethodLineAndValuesFollowTheCircuit)
{
    const DesignRecord design = DesignWith(false);
    EXPECT_TRUE(TextsAt(DesignTargetLines(design, BuildCircuit(design, DesignOptions{})), 7900).empty());

    const Circuit exact = BuildCircuit(design, DesignOptions{.exact = true, .series = ESeries::E24});
    const std::vector<std::string> method = TextsAt(DesignTargetLines(design, exact), 7900);
    ASSERT_EQ(method.size(), 1u);
    EXPECT_EQ(method[0].rfind("Values: exact Class E solution, E24 parts; Pout 44.", 0), 0u) << method[0];
    for (const SheetText& label : SchematicLabels(design, exact)) {
        if (label.part && std::string(label.part) == "C2") {
            EXPECT_EQ(label.text, "1.8nF");
        }
    }
}

// Ltotal is printed where the L-section's inductor follows Lseries, and not for a T,
// whose first inductor is no L-section's: there the circuit has no Ltotal to print.
TEST(SheetOptions, LtotalOnlyWhereTheCircuitComputedIt)
{
    const DesignRecord design = CalculatedDesign(kDefaultNetworkQ, true, 50);
    auto ltotals = [&](const Circuit& c) {
        int found = 0;
        for (const SheetText& label : SchematicLabels(design, c)) found += label.text.rfind("Ltotal: ", 0) == 0;
        return found;
    };
    EXPECT_EQ(ltotals(BuildCircuit(design, DesignOptions{})), 1);
    DesignOptions t;
    t.network = NetworkKind::T;
    EXPECT_EQ(ltotals(BuildCircuit(design, t)), 0);
}

// Standard values that miss the targets are printed with the reasons they are
// questioned, under the footer; a design that meets them prints no such line.
TEST(SheetOptions, QuestionedFiguresSayWhyUnderTheFooter)
{
    const DesignRecord design = DesignWith(false);
    const Circuit miss = BuildCircuit(design, DesignOptions{.series = ESeries::E12});
    const std::vector<std::string> line = TextsAt(DesignTargetLines(design, miss), 8700);
    ASSERT_EQ(line.size(), 1u);
    const std::vector<std::string> reasons = QuestionedReasons(miss);
    ASSERT_FALSE(reasons.empty());
    EXPECT_EQ(line[0].rfind("Questioned: " + reasons[0], 0), 0u) << line[0];
    EXPECT_NE(line[0].find(reasons.back()), std::string::npos);
    EXPECT_TRUE(TextsAt(DesignTargetLines(design, BuildCircuit(design, DesignOptions{.exact = true})), 8700).empty());
}

}  // namespace
}  // namespace voltra
