#include <QFontMetricsF>
#include <QPainter>
#include <gtest/gtest.h>

#include "print/sheet_page.h"
#include "print/sheet_texts.h"
#include "print_test_support.h"

namespace {

using Texts = std::vector<SheetText>;

const Texts kClassEParts = {{6100, 4100, "1.52421nF"}, {6400, 3400, "1.95861nF"}, {7200, 2500, "1.08741uH"}};
const Texts kSupplyAndSwitch = {{5300, 800, "Vsupply: 24 V"},        {5300, 1100, "Idc: 2.17451 A"},
                                {3000, 1100, "Rdc: 11.037 ohms"},     {2800, 2700, "Vpeak: 82.926 V"},
                                {2800, 3100, "FET Ipeak: 6.19398 A"}, {5300, 1900, "RFC"}};
// The frequency leads with a space; a fall time just below 1 ns reads in picoseconds.
const Texts kTargets = {{3000, 5800, "Frequency:  4MHz"},        {3000, 6100, "Ron: 0.16145 "},
                        {3000, 6400, "Saturation voltage: 1 V"}, {3000, 6700, "Power output: 50 W"},
                        {3000, 7000, "Network Q: 5 "},           {3000, 7300, "Falltime: 1000ps"}};

struct Layout {
    std::int16_t lnetState;
    const char* rnetwork;
    Texts network;  // and the load, between the Class E parts and the supply
    Texts ltotal;
};

class SheetPageTest : public ::testing::TestWithParam<Layout> {};

// Expected baselines come from 10 pt and 6 pt Liberation Sans, so a wrong face or size moves them.
TEST_P(SheetPageTest, EveryTextAtItsAnchorThenTheFooter)
{
    const auto& [lnetState, rnetwork, network, ltotal] = GetParam();
    const QDateTime printedAt(QDate(2024, 3, 9), QTime(14, 5, 7));
    Recorder r;
    QPainter page(&r);
    PaintDesignSheet(page, DesignWith(lnetState, rnetwork), printedAt);
    Texts want = kClassEParts;
    for (const Texts& part : {network, kSupplyAndSwitch, ltotal, kTargets}) want.insert(want.end(), part.begin(), part.end());
    if (lnetState) want.push_back({3000, 7600, "Class E load: 5.4659 ohms"});
    const QFontMetricsF ten(QFont("Liberation Sans", 10), &r);
    const QFontMetricsF six(QFont("Liberation Sans", 6), &r);
    const QLocale locale = QLocale::system();
    std::vector<std::pair<QPointF, QString>> baselines;
    for (const SheetText& text : want)
        baselines.emplace_back(QPointF(text.x, text.y + ten.ascent()), QString::fromStdString(text.text));
    baselines.emplace_back(QPointF(3000, 8300 + six.ascent()), locale.toString(printedAt.date(), QLocale::ShortFormat) +
                                                                  " " + locale.toString(printedAt.time(), QLocale::LongFormat));
    baselines.emplace_back(QPointF(3000, 8300 + six.lineSpacing() + six.ascent()), "Voltra Version 2.08");
    EXPECT_EQ(r.texts, baselines);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SheetPageTest,
    ::testing::Values(Layout{0, "50", {{8500, 3500, "Rload:"}, {8500, 3800, "5.4659 ohms"}}, {}},
                      // Rload below Rnetwork: the network's inductor follows Lseries and they add up.
                      Layout{1, "50",
                             {{8000, 3400, "620.78nH"}, {8100, 4100, "2.27146nF"}, {10200, 3500, "Rload:"},
                              {10200, 3800, "50 ohms"}},
                             {{7000, 2100, "Ltotal: 1.70819uH"}}},
                      Layout{1, "2",
                             {{8400, 4100, "9.58277nF"}, {8700, 2500, "104.757nH"}, {10200, 3500, "Rload:"},
                              {10200, 3800, "2 ohms"}},
                             {}},
                      // Equal resistances keep the last network, shunt capacitor first.
                      Layout{1, "5.46591949",
                             {{8400, 4100, "2.27146nF"}, {8700, 2500, "620.78nH"}, {10200, 3500, "Rload:"},
                              {10200, 3800, "5.4659 ohms"}},
                             {}}));

}  // namespace
