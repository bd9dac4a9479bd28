#include <QFontMetricsF>
#include <QPainter>
#include <gtest/gtest.h>
#include <set>

#include "print/sheet_page.h"
#include "print/sheet_texts.h"
#include "recording_device.h"
#include "test_design.h"

namespace {

const QDateTime kPrintedAt(QDate(2024, 3, 9), QTime(14, 5, 7));

struct LayoutCase {
    const char* name;
    const char* rnetworkText;
    std::int16_t lnetState;
    std::set<double> loadAndGroundEnd;  // the load's lower lead stands at the ground line's end
    std::set<double> shuntCapacitorXs;
    std::set<double> seriesInductorXs;
};
void PrintTo(const LayoutCase& layout, std::ostream* out) { *out << layout.name; }

class SheetPageTest : public ::testing::TestWithParam<LayoutCase> {
protected:
    const Recording& Paint(const DesignRecord& design)
    {
        QPainter page(&device_);
        PaintDesignSheet(page, design, kPrintedAt);
        return device_.recording;
    }
    QPointF TopLeft(const RecordedText& text)
    {
        return text.baseline - QPointF(0, QFontMetricsF(text.font, &device_).ascent());
    }
    RecordingDevice device_;
};

TEST_P(SheetPageTest, PartsAndTextsStandWhereTheLayoutPutsThem)
{
    const DesignRecord design = DesignWith(GetParam().rnetworkText, GetParam().lnetState);
    const Recording& drawn = Paint(design);

    std::vector<SheetText> texts = SchematicLabels(design);
    std::ranges::copy(DesignTargetLines(design), std::back_inserter(texts));
    ASSERT_EQ(drawn.texts.size(), texts.size() + 2);  // and the footer
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(drawn.texts[i].text.toStdString(), texts[i].text);
        EXPECT_EQ(TopLeft(drawn.texts[i]), QPointF(texts[i].x, texts[i].y)) << texts[i].text;
        EXPECT_EQ(drawn.texts[i].font.family(), "Liberation Sans");
        EXPECT_EQ(drawn.texts[i].font.pointSizeF(), 10);
    }

    std::set<double> loadAndGround, shunts, coils;
    for (const QLineF& line : drawn.lines) {
        if (line.p1().y() == 3620) loadAndGround.insert(line.x1());        // into the resistor's zigzag
        if (line.y1() == 5000 && line.y2() == 5000) loadAndGround.insert(line.x2());
        if (line.y1() == 3800 && line.y2() == 3800 && line.length() == 400) shunts.insert(line.x1() - 100);
    }
    for (const QPainterPath& arc : drawn.arcs)
        if (arc.pointAtPercent(0).y() == 3000) coils.insert(std::round(arc.pointAtPercent(0).x()) - 360);
    EXPECT_EQ(loadAndGround, GetParam().loadAndGroundEnd);
    EXPECT_EQ(shunts, GetParam().shuntCapacitorXs);
    EXPECT_TRUE(std::ranges::includes(coils, GetParam().seriesInductorXs));
    EXPECT_EQ(coils.size(), 3 * GetParam().seriesInductorXs.size());  // one entry per half turn
    EXPECT_EQ(std::ranges::count(drawn.colours, QColor(Qt::black)), std::ssize(drawn.colours));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SheetPageTest,
    ::testing::Values(LayoutCase{"NetworkOff", "50", 0, {8300}, {5700}, {7100}},
                      LayoutCase{"SeriesInductorFirst", "50", 1, {10000}, {5700, 8900}, {7100, 8000}},
                      LayoutCase{"ShuntCapacitorFirst", "2", 1, {10000}, {5700, 8000}, {7100, 8800}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SheetFooter, DateLineAtItsAnchorThenVersionLineBelowIn6Point)
{
    RecordingDevice device;
    {
        QPainter page(&device);
        PaintDesignSheet(page, DesignWith("50", 0), kPrintedAt);
    }
    ASSERT_GE(device.recording.texts.size(), 2u);
    const RecordedText& date = device.recording.texts.end()[-2];
    const RecordedText& version = device.recording.texts.back();
    const QLocale locale = QLocale::system();
    EXPECT_EQ(date.text, locale.toString(kPrintedAt.date(), QLocale::ShortFormat) + " " +
                             locale.toString(kPrintedAt.time(), QLocale::LongFormat));
    EXPECT_EQ(version.text, "Voltra Version 2.08");
    const QFontMetricsF metrics(version.font, &device);
    EXPECT_EQ(date.font.pointSizeF(), 6);
    EXPECT_EQ(version.font.pointSizeF(), 6);
    EXPECT_EQ(date.baseline, QPointF(3000, 8300 + metrics.ascent()));
    EXPECT_EQ(version.baseline, QPointF(3000, 8300 + metrics.lineSpacing() + metrics.ascent()));
}

}  // namespace
