// A chosen device's junction temperature on the sheet, under Pdiss and only when the
// circuit has one, in words and on a rendered page; a Tj beyond the device's maximum
// stops the print with its reason; and the switch's reasons are said once each.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

#include "engine/design_options.h"
#include "files/device_file.h"
#include "print/sheet_check.h"
#include "print/sheet_page.h"
#include "print/sheet_texts.h"
#include "print/switch_texts.h"
#include "print_test_support.h"

namespace voltra {
namespace {

constexpr const char* kDegreesCelsius = "\xC2\xB0" "C";

Circuit WithTestFet(const DesignRecord& design, double thetaSinkAmbient = kDefaultThetaSinkAmbient)
{
    const DeviceRead read = ReadDeviceFile(std::string(VOLTRA_TEST_DATA_DIR) + "/test-fet.json");
    EXPECT_TRUE(read.device) << read.error;
    DesignOptions options;
    options.device = read.device;
    options.heatSink.thetaSinkAmbient = thetaSinkAmbient;
    return BuildCircuit(design, options);
}

std::vector<SheetText> TjLines(const std::vector<SheetText>& texts)
{
    std::vector<SheetText> found;
    for (const SheetText& text : texts)
        if (text.text.rfind("Tj", 0) == 0) found.push_back(text);
    return found;
}

TEST(SwitchTexts, JunctionTemperatureInWholeDegreesOrInvalid)
{
    EXPECT_EQ(JunctionTemperatureText({38.4f, Status::Valid, {}}), std::string("Tj: 38 ") + kDegreesCelsius);
    EXPECT_EQ(JunctionTemperatureText({149.6f, Status::Valid, {}}), std::string("Tj: 150 ") + kDegreesCelsius);
    // A cold bench reads below zero; a questioned figure is still a number.
    EXPECT_EQ(JunctionTemperatureText({-12.4f, Status::Warning, "near"}), std::string("Tj: -12 ") + kDegreesCelsius);
    EXPECT_EQ(JunctionTemperatureText({170, Status::Invalid, "hot"}), "Tj: invalid");
    EXPECT_EQ(JunctionTemperatureText({NAN, Status::Valid, {}}), "Tj: invalid");
}

TEST(SwitchTexts, ReasonsOfTheSwitchOnceEachAndNoneOfTheOtherParts)
{
    Circuit c = WithTestFet(DesignWith(false));
    EXPECT_TRUE(SwitchStandingReasons(c).empty());
    // The drain peak and the switch's peak voltage stress carry one reason: said once.
    c.vpeak = {c.vpeak.value, Status::Invalid, "over the rating."};
    for (PartStress& s : c.stresses)
        if (s.role == PartRole::Switch) s.peakVoltage = c.vpeak;
    c.tj = Result{120, Status::Warning, "warm."};
    Invalidate(c.Get(PartRole::C2).value, "no C2.");
    EXPECT_EQ(SwitchStandingReasons(c), (std::vector<std::string>{"over the rating.", "warm."}));
}

TEST(SheetJunction, TjUnderPdissOnlyWithADeviceThatGivesIt)
{
    const DesignRecord design = DesignWith(false);
    EXPECT_TRUE(TjLines(SchematicLabels(design, BuildCircuit(design))).empty());

    const Circuit chosen = WithTestFet(design);
    ASSERT_TRUE(chosen.tj && chosen.tj->Usable());
    const std::vector<SheetText> tj = TjLines(SchematicLabels(design, chosen));
    ASSERT_EQ(tj.size(), 1u);
    EXPECT_EQ(tj[0].x, 3000);
    EXPECT_EQ(tj[0].y, 1700);
    EXPECT_EQ(tj[0].text, "Tj: " + std::to_string(std::lround(chosen.tj->value)) + " " + kDegreesCelsius);
    EXPECT_FALSE(SheetFault(design, chosen));

    // A device file without its thermal numbers gives no temperature to print.
    Circuit bare = chosen;
    bare.tj.reset();
    EXPECT_TRUE(TjLines(SchematicLabels(design, bare)).empty());

    // A heat sink too poor for the part: no sheet, and the message says why.
    const Circuit hot = WithTestFet(design, 120);
    ASSERT_EQ(hot.tj->status, Status::Invalid);
    const auto fault = SheetFault(design, hot);
    ASSERT_TRUE(fault);
    EXPECT_EQ(*fault, "Tj is not valid: " + hot.tj->reason + " Change the design targets and print again.");
}

// Dark pixels of the page inside a rectangle of page units.
int InkIn(const QImage& page, QRect units)
{
    const double scale = std::min(static_cast<double>(page.width()) / kSheetWidth,
                                  static_cast<double>(page.height()) / kSheetHeight);
    int ink = 0;
    for (int y = qRound(units.top() * scale); y <= qRound(units.bottom() * scale); ++y)
        for (int x = qRound(units.left() * scale); x <= qRound(units.right() * scale); ++x)
            if (qGray(page.pixel(x, y)) < 128) ++ink;
    return ink;
}

QImage Page(const DesignRecord& design, const Circuit& circuit)
{
    QImage page(1200, 1800, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    PaintDesignSheet(painter, design, circuit, {}, QDateTime::currentDateTime());
    return page;
}

// The test device's gate charge: on the page the gate drive takes a line of its own
// under the drain supply's losses, which the page's width holds, and its cause in the
// table is no wider than the longest of the switch's other causes.
TEST(SheetJunction, GateDriveStandsApartFromTheDrainLosses)
{
    const Circuit c = WithTestFet(CalculatedDesign());
    const std::vector<SheetText> lines = LossAndStressLines(c);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].text.find("gate drive"), std::string::npos) << lines[0].text;
    EXPECT_EQ(lines[1].text.rfind("Gate drive ", 0), 0u) << lines[1].text;
    EXPECT_NE(lines[1].text.find("from the driver"), std::string::npos) << lines[1].text;
    EXPECT_EQ(lines[1].x, lines[0].x);
    EXPECT_GT(lines[1].y, lines[0].y);
    bool found = false;
    for (const SheetText& text : lines)
        if (text.text.rfind("gate drive", 0) == 0) {
            found = true;
            EXPECT_LE(text.text.size(), std::string("C1 discharge at turn-on").size()) << text.text;
        }
    EXPECT_TRUE(found);
}

TEST(SheetJunction, TheRenderedPageCarriesTjUnderPdiss)
{
    const DesignRecord design = DesignWith(false);
    // From Tj's top to above the next text down, across its column.
    const QRect tjPlace(2950, 1680, 1500, 260);
    const QRect pdissPlace(2950, 1400, 1500, 200);
    const QImage plain = Page(design, BuildCircuit(design));
    const QImage chosen = Page(design, WithTestFet(design));
    EXPECT_EQ(InkIn(plain, tjPlace), 0);
    EXPECT_GT(InkIn(chosen, tjPlace), 20);
    EXPECT_GT(InkIn(plain, pdissPlace), 20);
    EXPECT_GT(InkIn(chosen, pdissPlace), 20);
}

}  // namespace
}  // namespace voltra
