// The tolerances window driven through its boxes and buttons on the start-up
// design: the yield it shows, the histograms' counts and marks, a run cancelled or
// overtaken by a new design.
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineSeries>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "engine/design_options.h"
#include "screens/object_names.h"
#include "screens/tolerance/tolerance_window.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

// Long enough on two cores that a cancel always lands mid-run.
constexpr int kLongRun = 5'000'000;
constexpr int kRunTimeout = 60'000;  // ms
// A stop is seen within one chunk of builds: far less than this.
constexpr int kStopTimeout = 10'000;  // ms

class ToleranceWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        design = CalculatedDesign();
        window.Follow(design, BuildCircuit(design, DesignOptions{}));
    }
    template <typename T>
    T* Find(const char* name) const
    {
        T* found = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void Set(const char* name, double value) const { Find<QDoubleSpinBox>(name)->setValue(value); }
    void SetCount(const char* name, int value) const { Find<QSpinBox>(name)->setValue(value); }
    void RunToEnd() const
    {
        QTest::mouseClick(Find<QPushButton>(kRunToleranceButtonName), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !window.Running(); }, kRunTimeout));
    }
    QChart* Chart(int figure) const { return Find<QChartView>(kHistogramChartNames[figure])->chart(); }
    // The bars' heights, read back off the stepped outline: two points per bin
    // between the two on the baseline.
    std::vector<int> Counts(int figure) const
    {
        std::vector<int> counts;
        for (QAbstractSeries* series : Chart(figure)->series())
            if (auto* bars = qobject_cast<QAreaSeries*>(series)) {
                const QList<QPointF> outline = bars->upperSeries()->points();
                for (qsizetype i = 1; i + 1 < outline.size(); i += 2) counts.push_back(static_cast<int>(outline[i].y()));
            }
        return counts;
    }
    std::vector<double> Marks(int figure) const
    {
        std::vector<double> at;
        for (QAbstractSeries* series : Chart(figure)->series())
            if (auto* line = qobject_cast<QLineSeries*>(series)) at.push_back(line->points().constFirst().x());
        std::sort(at.begin(), at.end());
        return at;
    }
    QString Yield() const { return Find<QLabel>(kYieldLabelName)->text(); }

    DesignRecord design;
    ToleranceWindow window{nullptr};
};

int Sum(const std::vector<int>& counts) { return std::accumulate(counts.begin(), counts.end(), 0); }

TEST(YieldTextTest, AllAndNoneOnlyWhenExactlySo)
{
    EXPECT_EQ(YieldText(10000, 10000), "100 %");
    EXPECT_EQ(YieldText(0, 10000), "0 %");
    EXPECT_EQ(YieldText(9996, 10000), "> 99.9 %");  // would round to 100.0
    EXPECT_EQ(YieldText(4, 10000), "< 0.1 %");      // would round to 0.0
    EXPECT_EQ(YieldText(9994, 10000), "99.9 %");
    EXPECT_EQ(YieldText(1, 3), "33.3 %");
}

TEST_F(ToleranceWindowTest, ZeroTolerancesBuildTheDesignEveryTimeAndAllWork)
{
    Set(kCapacitorToleranceBoxName, 0);
    Set(kInductorToleranceBoxName, 0);
    Set(kLoadToleranceBoxName, 0);
    SetCount(kSamplesBoxName, 300);
    RunToEnd();
    EXPECT_EQ(Yield(), "100 %");
    for (int figure = 0; figure < 4; ++figure) {
        const std::vector<int> counts = Counts(figure);
        ASSERT_FALSE(counts.empty()) << figure;
        // Every build alike: all of them in one bar.
        EXPECT_EQ(*std::max_element(counts.begin(), counts.end()), 300) << figure;
    }
    EXPECT_TRUE(Find<QPushButton>(kRunToleranceButtonName)->isEnabled());
    EXPECT_FALSE(Find<QProgressBar>(kToleranceProgressName)->isVisible());
}

TEST_F(ToleranceWindowTest, TheSameSeedBuildsTheSameHistogramsAnotherSeedOthers)
{
    SetCount(kSamplesBoxName, 2000);
    SetCount(kSeedBoxName, 7);
    RunToEnd();
    const QString firstYield = Yield();
    std::vector<std::vector<int>> first;
    for (int figure = 0; figure < 4; ++figure) first.push_back(Counts(figure));
    // Every build reaches a steady state here, so each histogram holds them all.
    for (const std::vector<int>& counts : first) EXPECT_EQ(Sum(counts), 2000);

    RunToEnd();
    EXPECT_EQ(Yield(), firstYield);
    for (int figure = 0; figure < 4; ++figure) EXPECT_EQ(Counts(figure), first[figure]) << figure;

    SetCount(kSeedBoxName, 8);
    RunToEnd();
    EXPECT_NE(Counts(0), first[0]);
}

TEST_F(ToleranceWindowTest, TheChartsMarkTheTargetAndTheLimitsTheRunJudgedBy)
{
    SetCount(kSamplesBoxName, 200);
    Set(kPowerBandBoxName, 20);
    Set(kTurnOnLimitBoxName, 15);
    Set(kEfficiencyFloorBoxName, 80);
    Find<QCheckBox>(kVpeakLimitCheckName)->setChecked(true);
    Set(kVpeakLimitBoxName, 47);
    RunToEnd();
    const double target = design.Power;
    const std::vector<double> power = Marks(0);
    ASSERT_EQ(power.size(), 3u);
    EXPECT_NEAR(power[0], 0.8 * target, 1e-9 * target);
    EXPECT_NEAR(power[1], target, 1e-9 * target);
    EXPECT_NEAR(power[2], 1.2 * target, 1e-9 * target);
    EXPECT_EQ(Marks(1), std::vector<double>{80.0});  // efficiency in %, as its axis
    EXPECT_EQ(Marks(2), (std::vector<double>{-15, 0, 15}));
    EXPECT_EQ(Marks(3), std::vector<double>{47.0});
    // The start-up design's drain peaks near 86 V: no build stays under 47 V.
    EXPECT_EQ(Yield(), "0 %");

    // A box changed after the run leaves the run's marks standing.
    Set(kPowerBandBoxName, 5);
    EXPECT_NEAR(Marks(0).back(), 1.2 * target, 1e-9 * target);
}

TEST_F(ToleranceWindowTest, CancelMidRunLeavesNoFiguresAndRunAgain)
{
    SetCount(kSamplesBoxName, 300);
    RunToEnd();
    ASSERT_FALSE(Yield().isEmpty());

    SetCount(kSamplesBoxName, kLongRun);
    auto* run = Find<QPushButton>(kRunToleranceButtonName);
    auto* cancel = Find<QPushButton>(kCancelToleranceButtonName);
    auto* progress = Find<QProgressBar>(kToleranceProgressName);
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_FALSE(run->isEnabled());
    EXPECT_TRUE(Yield().isEmpty());  // the last run's figures go as the new one starts
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->value() > 0; }, kRunTimeout));
    QTest::mouseClick(cancel, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window.Running(); }, kStopTimeout));
    EXPECT_LT(progress->value(), kLongRun);
    EXPECT_TRUE(run->isEnabled());
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_TRUE(Yield().isEmpty());
    for (int figure = 0; figure < 4; ++figure) EXPECT_TRUE(Chart(figure)->series().isEmpty()) << figure;

    SetCount(kSamplesBoxName, 100);
    RunToEnd();
    EXPECT_FALSE(Yield().isEmpty());
}

TEST_F(ToleranceWindowTest, ClosingTheWindowStopsTheRun)
{
    window.show();
    SetCount(kSamplesBoxName, kLongRun);
    auto* progress = Find<QProgressBar>(kToleranceProgressName);
    QTest::mouseClick(Find<QPushButton>(kRunToleranceButtonName), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->value() > 0; }, kRunTimeout));
    window.close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window.Running(); }, kStopTimeout));
    EXPECT_LT(progress->value(), kLongRun);
    EXPECT_TRUE(Yield().isEmpty());
}

TEST_F(ToleranceWindowTest, ANewDesignStopsTheRunAndItsResultNeverShows)
{
    SetCount(kSamplesBoxName, kLongRun);
    auto* progress = Find<QProgressBar>(kToleranceProgressName);
    QTest::mouseClick(Find<QPushButton>(kRunToleranceButtonName), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->value() > 0; }, kRunTimeout));
    DesignOptions rounded;
    rounded.series = ESeries::E24;
    window.Follow(design, BuildCircuit(design, rounded));
    EXPECT_FALSE(window.Running());
    EXPECT_TRUE(Find<QPushButton>(kRunToleranceButtonName)->isEnabled());
    QTest::qWait(300);  // the stopped run's last report arrives and must be dropped
    EXPECT_TRUE(Yield().isEmpty());
    for (int figure = 0; figure < 4; ++figure) EXPECT_TRUE(Chart(figure)->series().isEmpty()) << figure;
}

}  // namespace
}  // namespace voltra
