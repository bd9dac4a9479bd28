// The load mismatch window, offscreen: contours where a known field has them, the
// VSWR list it reads, the chart's VSWR circle and red loads in pixels, the worst cases
// against the engine, and the design screen's Tools menu opening it.
#include <QAction>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/design_options.h"
#include "screens/design/design_screen.h"
#include "screens/mismatch/contours.h"
#include "screens/mismatch/mismatch_window.h"
#include "screens/mismatch/smith_chart.h"
#include "screens/object_names.h"
#include "tests/calculated_design.h"
#include "tests/screens/design/screen_fixture.h"

namespace voltra {
namespace {

Circuit ExactDefault() { return BuildCircuit(CalculatedDesign(), DesignOptions{.exact = true}); }

// A field linear in Re Γ has its contour on the vertical line where it meets the
// level, in every cell the line crosses, and none in cells with a corner missing.
TEST(MismatchContours, ALinearFieldsContourIsItsStraightLine)
{
    MismatchGrid grid;
    grid.size = 5;
    grid.radius = 0.5;
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 5; ++column) {
            MismatchPoint p;
            p.gamma = Reflection(-0.5 + 0.25 * column, -0.5 + 0.25 * row);
            p.valid = !(row == 4 && column == 2);
            p.pout = 10 + 4 * p.gamma.real();
            grid.points.push_back(p);
        }
    const std::vector<ContourSegment> segments = ContourSegments(grid, MismatchFigure::Pout, 10.3);
    // The line Re Γ = 0.075 crosses column 2's four cells; the top one lacks a corner.
    ASSERT_EQ(segments.size(), 3u);
    for (const ContourSegment& s : segments) {
        EXPECT_NEAR(s.from.real(), 0.075, 1e-12);
        EXPECT_NEAR(s.to.real(), 0.075, 1e-12);
        EXPECT_NEAR(std::fabs(s.to.imag() - s.from.imag()), 0.25, 1e-12);
    }
    EXPECT_TRUE(ContourSegments(grid, MismatchFigure::Pout, 20).empty());
    EXPECT_EQ(ContourLevels(0, 9, 2), (std::vector<double>{3, 6}));
    EXPECT_TRUE(ContourLevels(1, 1, 3).empty());
}

TEST(MismatchWindow, ReadsVswrListsAndRefusesWhatIsNoMismatch)
{
    EXPECT_EQ(ReadVswrList("2, 3"), (std::vector<double>{2, 3}));
    EXPECT_EQ(ReadVswrList(" 1.5;2.5  4 "), (std::vector<double>{1.5, 2.5, 4}));
    for (const char* bad : {"", "1", "0.5", "2, x", "inf"}) EXPECT_FALSE(ReadVswrList(bad)) << bad;
}

QImage Painted(const SmithChartContent& content, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    PaintSmithChart(painter, QRectF(QPointF(0, 0), size), content);
    return image;
}

// Whether a pixel within one of `at` has the colour, to a few levels of antialiasing.
bool Near(const QImage& image, QPointF at, const QColor& colour, int tolerance = 24)
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            const QColor c = image.pixelColor(static_cast<int>(std::lround(at.x())) + dx,
                                              static_cast<int>(std::lround(at.y())) + dy);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <=
                tolerance)
                return true;
        }
    return false;
}

TEST(MismatchWindow, TheChartDrawsTheVswrCirclesAndLoadsBeyondTheLimitRed)
{
    MismatchWindow window(nullptr);
    window.Follow(ExactDefault());
    const MismatchResult& r = window.Result();
    ASSERT_EQ(r.points.size(), 72u);
    const QSize size(900, 640);
    const QRectF area(QPointF(0, 0), size);

    const QImage plain = Painted({&r, MismatchFigure::Vpeak, std::nullopt}, size);
    // Midway between two loads, on each circle and off both.
    for (const double vswr : {2.0, 3.0})
        EXPECT_TRUE(Near(plain, ChartPoint(area, std::polar(ReflectionMagnitude(vswr), 5 * std::numbers::pi / 180)),
                         kVswrCircleColour))
            << vswr;
    EXPECT_FALSE(Near(plain, ChartPoint(area, std::polar(0.42, 5 * std::numbers::pi / 180)), kVswrCircleColour));
    // The unit circle's rim is at the square's edge: Γ = −1 on the left margin.
    EXPECT_NEAR(ChartPoint(area, -1).x(), 8, 1e-9);

    // A limit between the lowest and the highest peak: only the loads above it red.
    const double limit = r.points[*r.worst.highestVpeak].vpeak - 1;
    const QImage marked = Painted({&r, MismatchFigure::Vpeak, limit}, size);
    int red = 0;
    for (const MismatchPoint& p : r.points) {
        const bool beyond = p.vpeak > limit;
        const QColor at = marked.pixelColor(ChartPoint(area, p.gamma).toPoint());
        EXPECT_EQ(at == kBeyondLimitColour, beyond) << p.vswr << " " << p.phaseDegrees;
        EXPECT_NE(plain.pixelColor(ChartPoint(area, p.gamma).toPoint()), kBeyondLimitColour);
        red += beyond;
    }
    EXPECT_GE(red, 1);
    EXPECT_LT(red, 72);
}

TEST(MismatchWindow, TheWorstCaseTableIsTheEnginesAndTurnsRedBeyondTheLimit)
{
    MismatchWindow window(nullptr);
    const Circuit circuit = ExactDefault();
    window.Follow(circuit);
    auto* table = window.findChild<QTableWidget*>(kMismatchWorstTableName);
    ASSERT_NE(table, nullptr);
    const MismatchResult engine = AnalyseMismatch(circuit, MismatchSettings{});
    const MismatchPoint& highest = engine.points[*engine.worst.highestVpeak];
    EXPECT_EQ(table->item(0, 6)->text(), QString::number(highest.vpeak, 'g', 4));
    EXPECT_EQ(table->item(2, 4)->text(), QString::number(engine.points[*engine.worst.lowestPout].pout, 'g', 4));
    EXPECT_NE(table->item(0, 6)->foreground().color(), QColor(Qt::red));

    window.findChild<QDoubleSpinBox*>(kMismatchVpeakLimitName)->setValue(highest.vpeak - 1);
    EXPECT_EQ(table->item(0, 6)->foreground().color(), QColor(Qt::red));

    // One circle only, then a list it cannot read: no loads, and it says so.
    auto* vswrs = window.findChild<QLineEdit*>(kMismatchVswrName);
    vswrs->setText("2.5");
    EXPECT_EQ(window.Result().points.size(), 36u);
    EXPECT_NEAR(window.Result().points[0].vswr, 2.5, 0);
    vswrs->setText("2, one");
    EXPECT_TRUE(window.Result().points.empty());
    EXPECT_TRUE(table->item(0, 6)->text().isEmpty());
}

TEST(MismatchWindow, TheDesignScreensToolsMenuOpensItOnTheShownCircuit)
{
    DesignRecord design;
    StartupValues(design);
    NoCommands commands;
    DesignScreen screen(design, commands);
    auto* action = screen.findChild<QAction*>(kMismatchActionName);
    ASSERT_NE(action, nullptr);
    action->trigger();
    auto* window = screen.findChild<MismatchWindow*>(kMismatchWindowName);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Result().z0, ReferenceResistance(screen.ShownCircuit()));
    EXPECT_EQ(window->Result().points.size(), 72u);
}

}  // namespace
}  // namespace voltra
