// The figures of one period and the steady-state watch, on samples whose answers are
// known in closed form: a drain voltage that is a parabola before turn-on, a discharge
// spike on top of the network current, and power sequences that settle as a
// geometric tail or ring.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "simulation/period_measures.h"
#include "simulation/settling_watch.h"

namespace voltra {
namespace {

constexpr double kFrequency = 1e6;
constexpr double kPeriod = 1 / kFrequency;
constexpr double kSupply = 20;

SimulationRequest Request()
{
    SimulationRequest request;
    request.frequency = kFrequency;
    request.supply = kSupply;
    request.loadResistance = 10;
    request.duty = 0.5;
    request.shuntCapacitance = 1e-9;
    return request;
}

// Two periods sampled every 1/400 of a period, from -T to T, the measured period
// starting at the turn-on at 0. Before it the drain follows a + b·t + c·t² and the
// load holds 10 V; from 0 the switch carries the network current, and at the first
// sample after turn-on the shunt capacitance's discharge adds `spike`.
StageSamples Samples(double a, double b, double c, double network, double spike)
{
    StageSamples s;
    for (int i = -400; i <= 400; ++i) {
        const double t = i * kPeriod / 400;
        const bool on = i >= 0 && i <= 200;
        s.time.push_back(t);
        s.drain.push_back(t <= 0 ? a + b * t + c * t * t : 0.1);
        // The network draws back from the drain while the switch is open.
        s.chokeCurrent.push_back((on ? network : -network) + 1);
        s.seriesCurrent.push_back(1);
        s.switchCurrent.push_back(on ? network + (i == 1 ? spike : 0) : 0);
        s.load.push_back(10);
        s.supplyCurrent.push_back(0.5);
    }
    return s;
}

// A load voltage of known harmonics, phases of their own, at the simulator's uneven
// steps (between T/500 and T/200) and beyond the measured period on both sides: each
// amplitude comes back from its own bin, a missing harmonic as nothing, and the
// neighbouring periods leak nothing into the measured one. What is left is the linear
// interpolation between steps: about (ωh)²/8 of the fundamental, spread over the bins.
TEST(PeriodMeasures, LoadHarmonicsAreTheAmplitudesOfTheMeasuredPeriod)
{
    constexpr double kAmplitudes[kHarmonics] = {12, 0.4, 0.05, 0, 3e-3, 0, 1e-3, 0, 0, 2e-4};
    const double omega = 2 * std::numbers::pi * kFrequency;
    StageSamples s;
    const double start = 0.3 * kPeriod;
    for (double t = start - 0.7 * kPeriod; t < start + 1.6 * kPeriod;) {
        double v = 1.5;
        for (std::size_t k = 0; k < kHarmonics; ++k) v += kAmplitudes[k] * std::cos((k + 1) * omega * t + 0.3 * k);
        for (std::vector<double>* column : {&s.drain, &s.switchCurrent, &s.chokeCurrent, &s.seriesCurrent,
                                            &s.supplyCurrent})
            column->push_back(0);
        s.time.push_back(t);
        s.load.push_back(v);
        t += kPeriod * (std::fmod(s.time.size() * 0.618, 1.0) < 0.5 ? 1 / 500.0 : 1 / 200.0);
    }
    const SimulationFigures f = MeasurePeriod(s, start, Request());
    for (std::size_t k = 0; k < kHarmonics; ++k)
        EXPECT_NEAR(f.loadHarmonics[k], kAmplitudes[k], 1e-5 * kAmplitudes[0] + 2e-3 * kAmplitudes[k]) << k + 1;
}

TEST(PeriodMeasures, TurnOnVoltageAndSlopeAreTheDrainsAtTheTurnOnInstant)
{
    // 3 V (15 % of the supply) falling at 2 V/ns, bending up.
    const double a = 3, b = -2e9, c = 4e17;
    const SimulationFigures f = MeasurePeriod(Samples(a, b, c, 5, 0), 0, Request());
    EXPECT_NEAR(f.VturnOnPercent, 15.0, 1e-6);
    // dv/d(ωt) over the supply.
    EXPECT_NEAR(f.turnOnSlope, b / (2 * std::numbers::pi * kFrequency * kSupply), 1e-6);
    EXPECT_NEAR(f.dischargeEnergy, 0.5 * 1e-9 * a * a, 1e-15);
    EXPECT_NEAR(f.Pout, 10.0, 1e-9);
    EXPECT_NEAR(f.Pin, kSupply * 0.5, 1e-9);
}

// At duty 0.75 the drain pulse is half as wide and the simulator steps T/800: the
// turn-on voltage comes from the last two of those steps. Here the drain is a parabola
// there and, earlier, bends away as the narrow pulse does: a fit over the T/100 that
// suits duty 0.5 would read that bend into the turn-on voltage.
TEST(PeriodMeasures, AtDutyThreeQuartersTheTurnOnVoltageIsReadFromTheNarrowerPulsesEnd)
{
    const double a = 0.4, b = -1e7, c = 1e15;  // 2 % of the supply, bending up
    const double bendFrom = -kPeriod / 400;
    const double bend = 2 / std::pow(0.0075 * kPeriod, 3);  // 2 V down at -T/100
    StageSamples s;
    for (int i = -800; i <= 800; ++i) {
        const double t = i * kPeriod / 800;
        const double before = a + b * t + c * t * t + (t < bendFrom ? bend * std::pow(t - bendFrom, 3) : 0);
        s.time.push_back(t);
        s.drain.push_back(t <= 0 ? before : 0.01);
        s.chokeCurrent.push_back(1);
        s.seriesCurrent.push_back(0);
        s.switchCurrent.push_back(i >= 0 && i <= 600 ? 1 : 0);
        s.load.push_back(10);
        s.supplyCurrent.push_back(0.5);
    }
    SimulationRequest request = Request();
    request.duty = 0.75;
    const SimulationFigures f = MeasurePeriod(s, 0, request);
    EXPECT_NEAR(f.VturnOnPercent, 100 * a / kSupply, 1e-6);
    EXPECT_NEAR(f.turnOnSlope, b / (2 * std::numbers::pi * kFrequency * kSupply), 1e-6);
}

TEST(PeriodMeasures, WithoutSamplesBeforeTheTurnOnItsFiguresAreUnknown)
{
    StageSamples s = Samples(1, 0, 0, 5, 0);
    s.DropBefore(0.0);
    s.DropBefore(kPeriod / 100);
    const SimulationFigures f = MeasurePeriod(s, kPeriod / 100, Request());
    EXPECT_TRUE(std::isnan(f.VturnOnPercent));
    EXPECT_TRUE(std::isnan(f.turnOnSlope));
}

// A supply current rising straight through the period has the mean of its value at
// mid-period, here from a period that starts and ends between two samples.
TEST(PeriodMeasures, MeansAreExactForStraightLinesBetweenTheSamples)
{
    StageSamples s = Samples(0, 0, 0, 5, 0);
    for (std::size_t i = 0; i < s.time.size(); ++i) s.supplyCurrent[i] = 1 + s.time[i] / kPeriod;
    const double start = -0.7 * kPeriod + 1e-12;
    const SimulationFigures f = MeasurePeriod(s, start, Request());
    const double mean = 1 + (start / kPeriod + 0.5);
    EXPECT_NEAR(f.Idc, mean, 1e-9);
    EXPECT_NEAR(f.Pin, kSupply * mean, 1e-8);
    EXPECT_NEAR(f.Efficiency, 10.0 / (kSupply * mean), 1e-9);
}

// The spike is the shunt capacitance emptying into the switch: the switch's peak is
// the network's current, and the spike is reported apart.
TEST(PeriodMeasures, SwitchPeakLeavesOutTheDischargeAndReportsItApart)
{
    const SimulationFigures f = MeasurePeriod(Samples(3, 0, 0, 5, 40), 0, Request());
    EXPECT_DOUBLE_EQ(f.Ipeak, 5.0);
    EXPECT_DOUBLE_EQ(f.dischargePeak, 40.0);
    const SimulationFigures clean = MeasurePeriod(Samples(0, 0, 0, 5, 0), 0, Request());
    EXPECT_DOUBLE_EQ(clean.Ipeak, 5.0);
    EXPECT_DOUBLE_EQ(clean.dischargePeak, 0.0);
}

// The period's mean needs the sample before its start, which its first
// interval interpolates from; nothing earlier is needed.
TEST(StageSamples, DropBeforeKeepsExactlyTheSampleBeforeTheStart)
{
    StageSamples s = Samples(0, 0, 0, 5, 0);
    const double start = 0.3 * kPeriod + 1e-12;  // between two samples
    const std::size_t before = s.time.size();
    s.DropBefore(start);
    ASSERT_EQ(s.time.size(), before - 520);
    EXPECT_LT(s.time[0], start);
    EXPECT_GT(s.time[1], start);
    for (const std::vector<double>* column :
         {&s.drain, &s.switchCurrent, &s.chokeCurrent, &s.seriesCurrent, &s.load, &s.supplyCurrent})
        EXPECT_EQ(column->size(), s.time.size());
    // A start on a sample keeps the one before it as well.
    s.DropBefore(s.time[5]);
    EXPECT_EQ(s.time.size(), before - 520 - 4);
}

// A tail that settles by 4 % a period moves 0.1 % a period long before it is within
// 0.2 % of its end, and one of 0.5 % a period moves less than 0.1 % over a dozen
// periods while 5 % is still to come: the watch waits for the end, whichever power
// it is in.
TEST(SettlingWatch, WaitsForAGeometricTailInEitherPower)
{
    const struct {
        double amplitude;
        double ratio;  // per period
    } tails[] = {{0.5, 0.96}, {0.05, 0.995}};
    for (const auto& tail : tails)
        for (const bool inOutput : {true, false}) {
            SCOPED_TRACE(testing::Message() << (inOutput ? "output" : "input") << " power settling by " << tail.ratio);
            SettlingWatch watch;
            const double final = 78.5;
            int steadyAt = 0;
            for (int k = 0; k < 5000 && steadyAt == 0; ++k) {
                const double settling = final * (1 - tail.amplitude * std::pow(tail.ratio, k));
                watch.AddPeriod(inOutput ? settling : final, inOutput ? final : settling);
                if (watch.Steady()) steadyAt = k;
            }
            ASSERT_GT(steadyAt, 0);
            EXPECT_LT(tail.amplitude * std::pow(tail.ratio, steadyAt), SettlingWatch::kSteadyChange);
            // Yet not long after: each needless period costs the user time.
            const double needed = std::log(SettlingWatch::kSteadyChange / tail.amplitude) / std::log(tail.ratio);
            EXPECT_LT(steadyAt, 2.5 * needed);
        }
}

TEST(SettlingWatch, RingingPowerIsSteadyOnlyOnceItsSwingIsSmall)
{
    SettlingWatch watch;
    int steadyAt = 0;
    for (int k = 0; k < 2000 && steadyAt == 0; ++k) {
        const double ring = 0.3 * std::pow(0.97, k) * std::cos(0.4 * k);
        watch.AddPeriod(50 * (1 + ring), 52 * (1 + 0.5 * ring));
        if (watch.Steady()) steadyAt = k;
    }
    ASSERT_GT(steadyAt, 0);
    EXPECT_LT(0.3 * std::pow(0.97, steadyAt), SettlingWatch::kSteadyChange);
}

TEST(SettlingWatch, ConstantPowersAreSteadyAfterTheShortestRunItJudges)
{
    SettlingWatch watch;
    for (int k = 0; k < 11; ++k) watch.AddPeriod(10, 11);
    EXPECT_FALSE(watch.Steady());
    watch.AddPeriod(10, 11);
    EXPECT_TRUE(watch.Steady());
    EXPECT_EQ(watch.LastChange(), 0.0);
}

// A power creeping up ever faster has no steady value to be near, however small its
// steps still are: less than 0.1 % over the last quarter of the run when the watch
// first judges it.
TEST(SettlingWatch, APowerStillGrowingFasterIsNeverSteady)
{
    for (const bool inOutput : {true, false}) {
        SCOPED_TRACE(inOutput ? "output" : "input");
        SettlingWatch watch;
        for (int k = 0; k < 16; ++k) {
            const double growing = 10 * (1 + 1e-5 * k * k);
            watch.AddPeriod(inOutput ? growing : 10, inOutput ? 11 : growing);
            EXPECT_FALSE(watch.Steady()) << k;
        }
    }
}

// The change reported with the result is the larger of the two powers' last steps,
// whichever power it is in.
TEST(SettlingWatch, LastChangeIsTheLargerOfTheTwoPowersSteps)
{
    SettlingWatch watch;
    EXPECT_TRUE(std::isnan(watch.LastChange()));
    watch.AddPeriod(10, 20);
    watch.AddPeriod(10.1, 20);  // output 1 %
    EXPECT_NEAR(watch.LastChange(), 0.1 / 10.1, 1e-12);
    watch.AddPeriod(10.1, 20.4);  // input 2 %
    EXPECT_NEAR(watch.LastChange(), 0.4 / 20.4, 1e-12);
    watch.AddPeriod(10.2, 20.6);  // both: the output's step is the larger
    EXPECT_NEAR(watch.LastChange(), 0.1 / 10.2, 1e-12);
}

}  // namespace
}  // namespace voltra
