// The Monte Carlo of the circuit as built: its generator against the reference
// SplitMix64, results that do not depend on the thread count, the limits of zero
// tolerance and of a criterion no build meets, and its progress and cancellation.
#include "engine/tolerance_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "engine/design_options.h"
#include "engine/portable_random.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

Circuit ExactDefault() { return BuildCircuit(CalculatedDesign(), DesignOptions{.exact = true}); }

// The first outputs of S. Vigna's splitmix64.c seeded with 0, and of the same stream
// further on: the generator is the reference one, not a look-alike that would give
// other builds on another machine.
TEST(PortableRandom, IsTheReferenceSplitMix64AndUniformOnTheUnitInterval)
{
    EXPECT_EQ(SplitMix64At(0, 0), 0xE220A8397B1DCDAFull);
    EXPECT_EQ(SplitMix64At(0, 1), 0x6E789E6AA1B965F4ull);
    EXPECT_EQ(SplitMix64At(0, 2), 0x06C45D188009454Full);
    // Seeding with s is starting s/gamma positions further on.
    EXPECT_EQ(SplitMix64At(kSplitMixGamma, 0), SplitMix64At(0, 1));

    double sum = 0, low = 1, high = 0;
    int below = 0;
    constexpr int kDraws = 200000;
    for (int i = 0; i < kDraws; ++i) {
        const double u = UniformAt(7, static_cast<std::uint64_t>(i));
        sum += u;
        low = std::min(low, u);
        high = std::max(high, u);
        below += u < 0.25;
    }
    EXPECT_GE(low, 0.0);
    EXPECT_LT(high, 1.0);
    // Mean 1/2 and P(u < 1/4) = 1/4, each within about five standard errors.
    EXPECT_NEAR(sum / kDraws, 0.5, 0.0035);
    EXPECT_NEAR(static_cast<double>(below) / kDraws, 0.25, 0.005);
    EXPECT_GT(low, 0.0);
    EXPECT_GT(high, 0.999);
}

void ExpectSameHistogram(const Histogram& a, const Histogram& b)
{
    EXPECT_EQ(a.low, b.low);
    EXPECT_EQ(a.high, b.high);
    EXPECT_EQ(a.counts, b.counts);
}

TEST(ToleranceAnalysis, TheSameSeedGivesTheSameBuildsWhateverTheThreadCount)
{
    const Circuit circuit = ExactDefault();
    ToleranceSettings settings{.samples = 999, .seed = 42};
    std::vector<ToleranceResult> runs;
    for (unsigned threads : {1u, 2u, 3u}) {
        settings.threads = threads;
        runs.push_back(AnalyseTolerances(circuit, kDefaultPower, settings));
    }
    const ToleranceResult& first = runs[0];
    ASSERT_EQ(first.builds.size(), 999u);
    EXPECT_GT(first.yield, 0.0);
    EXPECT_LT(first.yield, 1.0);
    for (const ToleranceResult& run : runs) {
        EXPECT_EQ(run.working, first.working);
        EXPECT_EQ(run.yield, first.yield);
        ExpectSameHistogram(run.pout, first.pout);
        ExpectSameHistogram(run.efficiency, first.efficiency);
        ExpectSameHistogram(run.turnOnVoltage, first.turnOnVoltage);
        ExpectSameHistogram(run.vpeak, first.vpeak);
        for (std::size_t i = 0; i < run.builds.size(); ++i) ASSERT_EQ(run.builds[i].pout, first.builds[i].pout) << i;
    }
    // Another seed, other builds.
    settings.seed = 43;
    const ToleranceResult other = AnalyseTolerances(circuit, kDefaultPower, settings);
    EXPECT_NE(other.builds[0].pout, first.builds[0].pout);
    EXPECT_NE(other.pout.counts, first.pout.counts);
}

TEST(ToleranceAnalysis, ZeroTolerancesBuildTheNominalCircuitEveryTime)
{
    const Circuit circuit = ExactDefault();
    const ToleranceSettings settings{.tolerances = {0, 0, 0}, .samples = 200};
    const ToleranceResult run = AnalyseTolerances(circuit, kDefaultPower, settings);
    ASSERT_TRUE(run.nominal.valid);
    EXPECT_EQ(run.yield, 1.0);
    EXPECT_EQ(run.working, 200);
    for (const BuildFigures& b : run.builds) {
        ASSERT_TRUE(b.valid);
        EXPECT_EQ(b.pout, run.nominal.pout);
        EXPECT_EQ(b.efficiency, run.nominal.efficiency);
        EXPECT_EQ(b.turnOnVoltage, run.nominal.turnOnVoltage);
        EXPECT_EQ(b.vpeak, run.nominal.vpeak);
    }
    // One value: every build in the first bin of a range of width zero.
    EXPECT_EQ(run.pout.low, run.nominal.pout);
    EXPECT_EQ(run.pout.high, run.nominal.pout);
    EXPECT_EQ(run.pout.counts.front(), 200);
}

// A wider band of the parts that tune the stage leaves fewer builds at ZVS and on power.
TEST(ToleranceAnalysis, TolerancesThatDetuneTheStageLowerTheYield)
{
    const Circuit circuit = ExactDefault();
    double previous = 1.0;
    for (double tolerance : {0.05, 0.10, 0.20, 0.30}) {
        const ToleranceSettings settings{.tolerances = {tolerance, tolerance, 0}, .samples = 2000};
        const ToleranceResult run = AnalyseTolerances(circuit, kDefaultPower, settings);
        EXPECT_LT(run.yield, previous) << tolerance;
        previous = run.yield;
    }
    EXPECT_LT(previous, 0.5);
    // The load alone off by ±10 % moves Pout by up to about ±10 %: some builds miss.
    const ToleranceSettings load{.tolerances = {0, 0, 0.10}, .samples = 2000};
    const ToleranceResult run = AnalyseTolerances(circuit, kDefaultPower, load);
    EXPECT_LT(run.yield, 1.0);
    EXPECT_GT(run.pout.high - run.pout.low, 0.05 * kDefaultPower);
}

TEST(ToleranceAnalysis, EveryCriterionCanFailABuildOnItsOwn)
{
    const Circuit circuit = ExactDefault();
    ToleranceSettings settings{.tolerances = {0, 0, 0}, .samples = 10};
    const double vpeak = AnalyseTolerances(circuit, kDefaultPower, settings).nominal.vpeak;
    const double efficiency = AnalyseTolerances(circuit, kDefaultPower, settings).nominal.efficiency;

    settings.criteria.vpeakLimit = vpeak * 0.999;
    EXPECT_EQ(AnalyseTolerances(circuit, kDefaultPower, settings).yield, 0.0);
    settings.criteria.vpeakLimit = vpeak * 1.001;
    EXPECT_EQ(AnalyseTolerances(circuit, kDefaultPower, settings).yield, 1.0);

    settings.criteria = {};
    settings.criteria.efficiencyFloor = efficiency + 0.001;
    EXPECT_EQ(AnalyseTolerances(circuit, kDefaultPower, settings).yield, 0.0);

    settings.criteria = {};
    EXPECT_EQ(AnalyseTolerances(circuit, kDefaultPower * 1.12, settings).yield, 0.0);
    EXPECT_EQ(AnalyseTolerances(circuit, kDefaultPower * 1.08, settings).yield, 1.0);
    settings.criteria.powerBand = 0.15;
    EXPECT_EQ(AnalyseTolerances(circuit, kDefaultPower * 1.12, settings).yield, 1.0);

    // The closed-form design misses ZVS by a few % of the supply: a tight limit fails it.
    const Circuit closedForm = BuildCircuit(CalculatedDesign(), DesignOptions{});
    settings.criteria = {};
    const double turnOn = std::abs(AnalyseTolerances(closedForm, kDefaultPower, settings).nominal.turnOnVoltage);
    ASSERT_GT(turnOn, 0.1);
    settings.criteria.turnOnLimit = turnOn * 0.99;
    EXPECT_EQ(AnalyseTolerances(closedForm, kDefaultPower, settings).yield, 0.0);
    settings.criteria.turnOnLimit = turnOn * 1.01;
    EXPECT_EQ(AnalyseTolerances(closedForm, kDefaultPower, settings).yield, 1.0);
}

TEST(ToleranceAnalysis, HistogramsCountEveryBuildBetweenTheLowestAndTheHighest)
{
    const ToleranceResult run = AnalyseTolerances(ExactDefault(), kDefaultPower, {.samples = 500, .bins = 12});
    for (const auto& [histogram, figure] : {std::pair{&run.pout, &BuildFigures::pout},
                                            std::pair{&run.efficiency, &BuildFigures::efficiency},
                                            std::pair{&run.turnOnVoltage, &BuildFigures::turnOnVoltage},
                                            std::pair{&run.vpeak, &BuildFigures::vpeak}}) {
        ASSERT_EQ(histogram->counts.size(), 12u);
        EXPECT_EQ(std::accumulate(histogram->counts.begin(), histogram->counts.end(), 0), 500 - run.invalid);
        const auto [low, high] = std::minmax_element(run.builds.begin(), run.builds.end(),
                                                     [figure](const BuildFigures& a, const BuildFigures& b) {
                                                         return a.*figure < b.*figure;
                                                     });
        EXPECT_EQ(histogram->low, (*low).*figure);
        EXPECT_EQ(histogram->high, (*high).*figure);
        // The extremes fall in the outer bins.
        EXPECT_GT(histogram->counts.front(), 0);
        EXPECT_GT(histogram->counts.back(), 0);
    }
}

TEST(ToleranceAnalysis, ReportsProgressToTheTotalAndStopsWhenAsked)
{
    const Circuit circuit = ExactDefault();
    std::vector<int> seen;
    const ToleranceResult run = AnalyseTolerances(circuit, kDefaultPower, {.samples = 300, .threads = 2}, {},
                                                  [&seen](int done, int total) {
                                                      EXPECT_EQ(total, 300);
                                                      seen.push_back(done);
                                                  });
    EXPECT_FALSE(run.cancelled);
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 300);

    std::stop_source stop;
    const ToleranceResult stopped = AnalyseTolerances(circuit, kDefaultPower, {.samples = 100000, .threads = 2},
                                                      stop.get_token(), [&stop](int done, int) {
                                                          if (done >= 256) stop.request_stop();
                                                      });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.builds.empty());
    EXPECT_EQ(stopped.yield, 0.0);
}

}  // namespace
}  // namespace voltra
