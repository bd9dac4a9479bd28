// Chains longer than the L-network's on the printed page: the load and its value stay
// on the paper, the signal line reaches the load, and the chains that always fitted
// are drawn at their own size.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <memory>

#include "engine/design_options.h"
#include "print/sheet_chain.h"
#include "print/sheet_page.h"
#include "print_test_support.h"

namespace voltra {
namespace {

Circuit WithNetwork(NetworkKind kind, bool trap)
{
    DesignOptions options;
    options.network = kind;
    options.trap = trap;
    return BuildCircuit(DesignWith(true), options);
}

// Ink in the columns of the image [from, to), in the schematic's band of the page.
bool InkIn(const QImage& image, int from, int to)
{
    for (int x = from; x < to; ++x)
        for (int y = 0; y < image.height() / 3; ++y)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return true;
    return false;
}

TEST(LongChainSheet, TheLoadsValueStaysOnThePageAndTheSeedChainsKeepTheirSize)
{
    const DesignRecord design = DesignWith(true);
    for (const bool trap : {false, true})
        for (const NetworkKind kind : {NetworkKind::Pi, NetworkKind::T, NetworkKind::TappedC}) {
            SCOPED_TRACE(std::string(NamesOf(kind).name) + (trap ? " with the trap" : ""));
            const Circuit c = WithNetwork(kind, trap);
            // One pixel a page unit in ten: the page's right margin is the last 20 columns.
            QImage sheet(kSheetWidth / 10, kSheetHeight / 10, QImage::Format_RGB32);
            sheet.fill(Qt::white);
            PaintDesignSheet(*std::make_unique<QPainter>(&sheet), design, c, {}, QDateTime::currentDateTime());
            EXPECT_FALSE(InkIn(sheet, kSheetRight / 10, sheet.width()));
            // The load's caption is printed, near the margin, not shrunk out of sight.
            EXPECT_TRUE(InkIn(sheet, kSheetRight / 10 - 100, kSheetRight / 10));
        }
    for (const Circuit& seed : {BuildCircuit(DesignWith(false)), BuildCircuit(DesignWith(true, 50)),
                                BuildCircuit(DesignWith(true, 2))})
        EXPECT_EQ(SheetSchematicScale(SheetChain(seed)), 1.0);
    EXPECT_LT(SheetSchematicScale(SheetChain(WithNetwork(NetworkKind::T, true))), 1.0);
}

// A Pi's load-side capacitor has its value right of it, so the load stands further
// on; the signal line must still run from the capacitor to the load.
TEST(LongChainSheet, TheSignalLineRunsOnToALoadMovedClearOfAShuntsValue)
{
    const DesignRecord design = DesignWith(true);
    for (const NetworkKind kind : {NetworkKind::Pi, NetworkKind::TappedC}) {
        const Circuit c = WithNetwork(kind, false);
        const std::vector<SheetLink> chain = SheetChain(c);
        ASSERT_GE(chain.size(), 2u);
        const SheetLink& beforeLoad = chain.end()[-2];
        const SheetLink& load = chain.back();
        ASSERT_GT(load.x, beforeLoad.end) << NamesOf(kind).name;
        Recorder r;
        PaintDesignSheet(*std::make_unique<QPainter>(&r), design, c, {}, QDateTime::currentDateTime());
        const QLineF wire(beforeLoad.end, kSchematicStartY, load.x, kSchematicStartY);
        EXPECT_EQ(std::count(r.lines.begin(), r.lines.end(), wire), 1) << NamesOf(kind).name;
    }
}

}  // namespace
}  // namespace voltra
