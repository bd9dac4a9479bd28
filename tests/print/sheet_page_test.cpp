#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <set>

#include "engine/equations.h"
#include "print/sheet_page.h"
#include "print/sheet_texts.h"
#include "recording_device.h"

namespace {

const QDateTime kPrintedAt(QDate(2024, 3, 9), QTime(14, 5, 7));

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

class SheetPageTest : public ::testing::Test {
protected:
    const Recording& Paint(const DesignRecord& design)
    {
        QPainter page(&device_);
        PaintDesignSheet(page, design, kPrintedAt);
        return device_.recording();
    }

    const RecordedText* Find(const QString& text) const
    {
        for (const RecordedText& drawn : device_.recording().texts)
            if (drawn.text == text) return &drawn;
        return nullptr;
    }

    // Where the text's top-left corner stands, from its baseline and its font's ascent.
    QPointF TopLeft(const RecordedText& drawn)
    {
        return {drawn.baseline.x(), drawn.baseline.y() - QFontMetricsF(drawn.font, &device_).ascent()};
    }

    RecordingDevice device_;
};

TEST_F(SheetPageTest, EveryTextStandsByItsTopLeftCornerIn10PointLiberationSans)
{
    const DesignRecord design = DesignWith("50", 1);
    const Recording& recording = Paint(design);
    std::vector<SheetText> expected = SchematicLabels(design);
    const std::vector<SheetText> targets = DesignTargetLines(design);
    expected.insert(expected.end(), targets.begin(), targets.end());
    ASSERT_EQ(recording.texts.size(), expected.size() + 2);  // and the footer's two lines
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const RecordedText& drawn = recording.texts[i];
        EXPECT_EQ(drawn.text.toStdString(), expected[i].text);
        const QPointF corner = TopLeft(drawn);
        EXPECT_DOUBLE_EQ(corner.x(), expected[i].x) << expected[i].text;
        EXPECT_NEAR(corner.y(), expected[i].y, 1e-6) << expected[i].text;
        EXPECT_EQ(drawn.font.family(), "Liberation Sans");
        EXPECT_DOUBLE_EQ(drawn.font.pointSizeF(), 10);
    }
}

TEST_F(SheetPageTest, FooterIsDateLineThenVersionLineIn6Point)
{
    const DesignRecord design = DesignWith("50", 0);
    Paint(design);
    const RecordedText* date = Find(FooterDateText(kPrintedAt));
    const RecordedText* version = Find("Voltra Version 2.08");
    ASSERT_TRUE(date);
    ASSERT_TRUE(version);
    EXPECT_EQ(TopLeft(*date), QPointF(3000, 8300));
    EXPECT_DOUBLE_EQ(date->font.pointSizeF(), 6);
    EXPECT_DOUBLE_EQ(version->font.pointSizeF(), 6);
    const double lineSpacing = QFontMetricsF(version->font, &device_).lineSpacing();
    EXPECT_DOUBLE_EQ(TopLeft(*version).x(), 3000);
    EXPECT_NEAR(TopLeft(*version).y(), 8300 + lineSpacing, 1e-6);
    // The footer stays inside the upper half that the sheet uses.
    EXPECT_LT(version->baseline.y() + QFontMetricsF(version->font, &device_).descent(), 8700);
}

TEST_F(SheetPageTest, FooterDateIsShortDateSpaceLongTime)
{
    const QLocale locale = QLocale::system();
    EXPECT_EQ(FooterDateText(kPrintedAt), locale.toString(kPrintedAt.date(), QLocale::ShortFormat) + " " +
                                              locale.toString(kPrintedAt.time(), QLocale::LongFormat));
}

struct LayoutCase {
    const char* name;
    const char* rnetworkText;
    std::int16_t lnetState;
    double loadX;
    double groundEnd;
    std::set<double> shuntCapacitorXs;
    std::set<double> seriesInductorXs;
};

void PrintTo(const LayoutCase& layout, std::ostream* out) { *out << layout.name; }

class SheetLayoutTest : public SheetPageTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(SheetLayoutTest, PartsStandWhereTheNetworkPutsThem)
{
    const LayoutCase& layout = GetParam();
    const Recording& recording = Paint(DesignWith(layout.rnetworkText, layout.lnetState));
    // The load resistor is the polyline that starts on the signal line.
    std::set<double> loadXs;
    for (const QPolygonF& run : recording.polylines)
        if (run.front().y() == 3000) loadXs.insert(run.front().x());
    EXPECT_EQ(loadXs, std::set<double>{layout.loadX});

    std::set<double> shuntXs;
    double groundEnd = 0;
    for (const QLineF& line : recording.lines) {
        if (line.y1() == 3800 && line.y2() == 3800 && line.length() == 400) shuntXs.insert(line.x1() - 100);  // upper plate
        if (line.y1() == 5000 && line.y2() == 5000) groundEnd = std::max({groundEnd, line.x1(), line.x2()});
    }
    EXPECT_EQ(shuntXs, layout.shuntCapacitorXs);
    EXPECT_EQ(groundEnd, layout.groundEnd);

    // A series coil's first half turn starts at X+360 on the signal line.
    std::set<double> coilXs;
    for (const QPainterPath& arc : recording.paths) {
        const QPointF start = arc.pointAtPercent(0);
        if (std::abs(start.y() - 3000) < 1e-6 && static_cast<int>(std::lround(start.x())) % 100 == 60)
            coilXs.insert(std::round(start.x()) - 360);
    }
    EXPECT_EQ(coilXs, layout.seriesInductorXs);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SheetLayoutTest,
    ::testing::Values(LayoutCase{"NetworkOff", "50", 0, 8000, 8300, {5700}, {7100}},
                      LayoutCase{"SeriesInductorFirst", "50", 1, 9700, 10000, {5700, 8900}, {7100, 8000}},
                      LayoutCase{"ShuntCapacitorFirst", "2", 1, 9700, 10000, {5700, 8000}, {7100, 8800}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST_F(SheetPageTest, EverythingIsBlackAndInTheUpperHalfBetweenX2800And11000)
{
    const Recording& recording = Paint(DesignWith("50", 1));
    for (const QColor& colour : recording.penColours) EXPECT_EQ(colour, QColor(Qt::black));
    QRectF drawn;
    for (const QLineF& line : recording.lines) drawn = drawn.united(QRectF(line.p1(), line.p2()).normalized());
    for (const QPolygonF& run : recording.polylines) drawn = drawn.united(run.boundingRect());
    for (const QPainterPath& arc : recording.paths) drawn = drawn.united(arc.boundingRect());
    for (const QRectF& circle : recording.ellipses) drawn = drawn.united(circle);
    for (const RecordedText& text : recording.texts) {
        const QFontMetricsF metrics(text.font, &device_);
        drawn = drawn.united(QRectF(text.baseline.x(), text.baseline.y() - metrics.ascent(),
                                    metrics.horizontalAdvance(text.text), metrics.height()));
    }
    EXPECT_GE(drawn.left(), 2800);
    EXPECT_LE(drawn.right(), 11000);
    EXPECT_GE(drawn.top(), 800);
    EXPECT_LE(drawn.bottom(), 8700);
}

TEST(SheetOnImage, OnePaintRoutineDrawsTheSheetOnARasterPage)
{
    // An A4 page at 100 dpi: the sheet fits its height and is centred across.
    QImage image(827, 1169, QImage::Format_RGB32);
    image.setDotsPerMeterX(3937);
    image.setDotsPerMeterY(3937);
    image.fill(Qt::white);
    {
        QPainter page(&image);
        PaintDesignSheet(page, DesignWith("50", 0), kPrintedAt);
    }
    const double scale = 1169.0 / 18000;
    const double left = (827 - scale * 12000) / 2;
    const auto pixel = [&](double x, double y) {
        return image.pixelColor(static_cast<int>(left + x * scale), static_cast<int>(y * scale));
    };
    EXPECT_LT(pixel(6000, 5000).lightness(), 128);  // on the ground line
    EXPECT_LT(pixel(5100, 2000).lightness(), 128);  // on the drain lead
    EXPECT_EQ(pixel(6300, 4600), QColor(Qt::white));  // between C1 and the load
    EXPECT_EQ(pixel(6000, 12000), QColor(Qt::white));  // the lower half stays blank
}

}  // namespace
