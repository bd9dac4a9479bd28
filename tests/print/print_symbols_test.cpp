#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

#include "print/print_symbols.h"
#include "recording_device.h"

namespace {

using Cursor = std::pair<std::int16_t, std::int16_t>;
using Symbol = std::function<void(QPainter&, std::int16_t&, std::int16_t&)>;

struct Drawn {
    Recording recording;
    Cursor after;
};

class PrintSymbolsTest : public ::testing::Test {
protected:
    void SetUp() override { StartupValues(design_); }

    Drawn Draw(const Symbol& symbol, std::int16_t x, std::int16_t y)
    {
        RecordingDevice device;
        {
            QPainter page(&device);
            symbol(page, x, y);
        }
        return {device.recording(), {x, y}};
    }

    Symbol VerticalL() const
    {
        return [this](QPainter& p, std::int16_t& x, std::int16_t& y) { PrintVerticalL(p, design_, x, y); };
    }
    Symbol Ground() const
    {
        return [this](QPainter& p, std::int16_t& x, std::int16_t& y) { PrintGround(p, design_, x, y); };
    }

    static bool HasLine(const Recording& r, QLineF line)
    {
        for (const QLineF& drawn : r.lines)
            if (drawn == line || (drawn.p1() == line.p2() && drawn.p2() == line.p1())) return true;
        return false;
    }

    // The tight bounds of all arcs together.
    static QRectF ArcBounds(const Recording& r)
    {
        QRectF bounds;
        for (const QPainterPath& arc : r.paths) bounds = bounds.united(arc.boundingRect());
        return bounds;
    }

    DesignRecord design_;
};

constexpr double kTolerance = 0.01;

TEST_F(PrintSymbolsTest, FetSitsOnItsCursorWithLeadsToChokeGateDriveAndGround)
{
    const Drawn fet = Draw(PrintFET, 5000, 3000);
    ASSERT_EQ(fet.recording.ellipses.size(), 1u);
    EXPECT_EQ(fet.recording.ellipses[0], QRectF(4600, 3600, 800, 800));  // centre (5000, 4000), radius 400
    EXPECT_TRUE(HasLine(fet.recording, QLineF(3800, 4000, 4950, 4000)));  // gate lead
    EXPECT_TRUE(HasLine(fet.recording, QLineF(5100, 4200, 5100, 5000)));  // source lead onto the ground line
    EXPECT_TRUE(HasLine(fet.recording, QLineF(5100, 3800, 5100, 2300)));  // drain lead up to the choke
    EXPECT_TRUE(HasLine(fet.recording, QLineF(4950, 3800, 4950, 4200)));  // gate plate
}

TEST_F(PrintSymbolsTest, SourceLeadEndsOnTheGroundLine)
{
    const Drawn ground = Draw(Ground(), 5000, 3000);
    ASSERT_EQ(ground.recording.lines.size(), 1u);
    const QLineF line = ground.recording.lines[0];
    EXPECT_EQ(line.y1(), 5000);
    EXPECT_EQ(line.y2(), 5000);
    EXPECT_LE(line.x1(), 5100);
    EXPECT_GE(line.x2(), 5100);
}

TEST_F(PrintSymbolsTest, GroundLineIgnoresTheCursorAndFollowsTheNetworkOption)
{
    for (std::int16_t state : {0, 1}) {
        design_.LnetState = state;
        const QLineF expected(3800, 5000, state ? 10000 : 8300, 5000);
        for (Cursor at : {Cursor{0, 0}, Cursor{5000, 3000}, Cursor{INT16_MIN, INT16_MAX}, Cursor{INT16_MAX, -1}}) {
            const Drawn ground = Draw(Ground(), at.first, at.second);
            ASSERT_EQ(ground.recording.lines.size(), 1u);
            EXPECT_EQ(ground.recording.lines[0], expected) << "LnetState " << state << " cursor " << at.first;
            EXPECT_EQ(ground.after, at);
        }
    }
}

TEST_F(PrintSymbolsTest, SeriesCapacitorThenInductorAdvanceTheCursorBy1500)
{
    RecordingDevice device;
    std::int16_t x = 6500;
    std::int16_t y = 3000;
    {
        QPainter page(&device);
        PrintSeriesC(page, x, y);
        EXPECT_EQ(x, 7100);
        PrintSeriesL(page, x, y);
    }
    EXPECT_EQ(x, 8000);
    EXPECT_EQ(y, 3000);
    // The capacitor's outgoing lead ends where the inductor's incoming lead starts.
    EXPECT_TRUE(HasLine(device.recording(), QLineF(6875, 3000, 7100, 3000)));
    EXPECT_TRUE(HasLine(device.recording(), QLineF(7100, 3000, 7300, 3000)));
}

TEST_F(PrintSymbolsTest, OnlySeriesPartsMoveTheCursor)
{
    const std::vector<std::pair<const char*, Symbol>> fixedCursor = {
        {"generator", PrintGenerator}, {"FET", PrintFET},   {"choke", VerticalL()},
        {"shunt C", PrintShuntC},      {"load", PrintLoad}, {"ground", Ground()}};
    for (const auto& [name, symbol] : fixedCursor)
        EXPECT_EQ(Draw(symbol, 7100, 3000).after, Cursor(7100, 3000)) << name;
    EXPECT_EQ(Draw(PrintSeriesC, 7100, 3000).after, Cursor(7700, 3000));
    EXPECT_EQ(Draw(PrintSeriesL, 7100, 3000).after, Cursor(8000, 3000));
}

TEST_F(PrintSymbolsTest, SeriesCoilIsThreeUpperHalfTurnsFromXPlus200ToXPlus680)
{
    const Drawn coil = Draw(PrintSeriesL, 7100, 3000);
    ASSERT_EQ(coil.recording.paths.size(), 3u);
    const QRectF bounds = ArcBounds(coil.recording);
    EXPECT_NEAR(bounds.left(), 7300, kTolerance);
    EXPECT_NEAR(bounds.right(), 7780, kTolerance);
    EXPECT_NEAR(bounds.top(), 3000 - 80, kTolerance);
    EXPECT_NEAR(bounds.bottom(), 3000, kTolerance);
    for (int k = 1; k <= 3; ++k) {
        const QPainterPath& arc = coil.recording.paths[k - 1];
        const double centre = 7100 + 120 + 160 * k;
        // Counter-clockwise on the page from the right-hand end over the top.
        EXPECT_NEAR(arc.pointAtPercent(0).x(), centre + 80, kTolerance) << k;
        EXPECT_NEAR(arc.pointAtPercent(0.5).y(), 3000 - 80, 0.1) << k;
        // Ending at 3.14 rad stops a fraction of a unit short of the axis.
        const QPointF end = arc.pointAtPercent(1);
        EXPECT_NEAR(end.x(), centre - 80, kTolerance) << k;
        EXPECT_LT(end.y(), 3000);
        EXPECT_GT(end.y(), 3000 - 0.2);
    }
    EXPECT_TRUE(HasLine(coil.recording, QLineF(7800, 3000, 8000, 3000)));  // lead starts 20 past the coil
}

TEST_F(PrintSymbolsTest, ChokeCoilRunsFromYMinus1170ToYMinus690OnTheRightOfTheLead)
{
    const Drawn choke = Draw(VerticalL(), 5000, 3000);
    ASSERT_EQ(choke.recording.paths.size(), 3u);
    const QRectF bounds = ArcBounds(choke.recording);
    EXPECT_NEAR(bounds.top(), 3000 - 1170, kTolerance);
    EXPECT_NEAR(bounds.bottom(), 3000 - 690, kTolerance);
    EXPECT_NEAR(bounds.left(), 5100, kTolerance);
    EXPECT_NEAR(bounds.right(), 5180, kTolerance);
    // Each half turn starts at the bottom and runs up through the right-hand side, so
    // the next turn starts where the last one ended.
    for (int k = 1; k <= 3; ++k) {
        const QPainterPath& arc = choke.recording.paths[k - 1];
        const double centre = 3000 - 1250 + 160 * k;
        EXPECT_NEAR(arc.pointAtPercent(0).y(), centre + 80, kTolerance) << k;
        EXPECT_NEAR(arc.pointAtPercent(0.5).x(), 5180, 0.1) << k;
        EXPECT_NEAR(arc.pointAtPercent(1).y(), centre - 80, kTolerance) << k;
    }
    EXPECT_TRUE(HasLine(choke.recording, QLineF(5100, 1840, 5100, 800)));    // supply lead from inside the coil
    EXPECT_TRUE(HasLine(choke.recording, QLineF(5100, 3000, 5700, 3000)));  // drain node
}

TEST_F(PrintSymbolsTest, DrainLeadReachesTenUnitsIntoTheChoke)
{
    const Drawn choke = Draw(VerticalL(), 5000, 3000);
    const Drawn fet = Draw(PrintFET, 5000, 3000);
    const double coilBottom = ArcBounds(choke.recording).bottom();
    double leadTop = 1e9;
    for (const QLineF& line : fet.recording.lines)
        if (line.x1() == 5100 && line.x2() == 5100) leadTop = std::min({leadTop, line.y1(), line.y2()});
    EXPECT_NEAR(coilBottom - leadTop, 10, kTolerance);
}

TEST_F(PrintSymbolsTest, PolylineSymbolsAreOneConnectedRun)
{
    const Drawn pulse = Draw(PrintGenerator, 5000, 3000);
    ASSERT_EQ(pulse.recording.polylines.size(), 1u);
    EXPECT_EQ(pulse.recording.polylines[0],
              QPolygonF({{3000, 4000}, {3000, 3800}, {3300, 3800}, {3300, 4200}, {3600, 4200}, {3600, 4000}}));

    const Drawn load = Draw(PrintLoad, 8000, 3000);
    ASSERT_EQ(load.recording.polylines.size(), 1u);
    const QPolygonF& resistor = load.recording.polylines[0];
    ASSERT_EQ(resistor.size(), 10);
    EXPECT_EQ(resistor.front(), QPointF(8000, 3000));
    EXPECT_EQ(resistor.back(), QPointF(8300, 5000));  // on the ground line
    for (int i = 3; i <= 7; ++i) {
        EXPECT_GE(resistor[i].y(), 3620);
        EXPECT_LE(resistor[i].y(), 4020);
        EXPECT_EQ(std::abs(resistor[i].x() - 8300), 60) << i;  // teeth 60 either side of the lead
    }
}

TEST_F(PrintSymbolsTest, ShuntCapacitorHangsFromTheLineToGround)
{
    const Drawn shunt = Draw(PrintShuntC, 5700, 3000);
    EXPECT_TRUE(HasLine(shunt.recording, QLineF(5700, 3000, 6500, 3000)));
    EXPECT_TRUE(HasLine(shunt.recording, QLineF(5800, 3800, 6200, 3800)));
    EXPECT_TRUE(HasLine(shunt.recording, QLineF(5800, 3900, 6200, 3900)));
    EXPECT_TRUE(HasLine(shunt.recording, QLineF(6000, 3900, 6000, 5000)));
}

TEST_F(PrintSymbolsTest, EverythingIsBlackWithThePaintersPen)
{
    RecordingDevice device;
    {
        QPainter page(&device);
        page.setPen(QPen(Qt::black, 7));
        std::int16_t x = 5000;
        std::int16_t y = 3000;
        PrintGenerator(page, x, y);
        PrintFET(page, x, y);
        PrintVerticalL(page, design_, x, y);
        PrintShuntC(page, x, y);
        PrintSeriesC(page, x, y);
        PrintSeriesL(page, x, y);
        PrintLoad(page, x, y);
        PrintGround(page, design_, x, y);
    }
    ASSERT_FALSE(device.recording().penColours.empty());
    for (const QColor& colour : device.recording().penColours) EXPECT_EQ(colour, QColor(Qt::black));
}

}  // namespace
