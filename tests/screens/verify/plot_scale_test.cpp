// The verification plot's axes: round ticks, and a turn-on impulse kept off the
// switch current's scale.
#include <gtest/gtest.h>

#include <cmath>

#include "screens/verify/plot_scale.h"
#include "screens/verify/verification_window.h"

namespace voltra {
namespace {

bool OneTwoFive(double step)
{
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    return std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 || std::fabs(mantissa - 5) < 1e-9;
}

TEST(PlotScale, AxesHoldTheirTracesOnWholeRoundSteps)
{
    // The start-up design's drain swing, a load swinging below ground, a switch current
    // of milliamperes, a time axis of two 4 MHz periods in nanoseconds.
    const struct { double low, high; AxisScale expected; } cases[] = {
        {0, 87.07, {0, 100, 20}},  {-18.4, 19.3, {-20, 20, 5}}, {-0.0012, 0.0061, {-0.002, 0.008, 0.002}},
        {0, 500, {0, 500, 100}},   {0, 1, {0, 1, 0.2}},       {-3.2, 87.4, {-20, 100, 20}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.low) + " to " + std::to_string(c.high));
        const AxisScale scale = RoundAxis(c.low, c.high);
        EXPECT_NEAR(scale.low, c.expected.low, 1e-12);
        EXPECT_NEAR(scale.high, c.expected.high, 1e-12);
        EXPECT_NEAR(scale.step, c.expected.step, 1e-12);
    }
    for (double high : {0.37, 3.3, 48.0, 123.0, 2.2e3, 9.99e5}) {
        const AxisScale scale = RoundAxis(-high / 7, high);
        EXPECT_TRUE(OneTwoFive(scale.step)) << scale.step;
        EXPECT_LE(scale.low, -high / 7);
        EXPECT_GE(scale.high, high);
        EXPECT_LE(std::round((scale.high - scale.low) / scale.step), 8);
        EXPECT_NEAR(std::remainder(scale.low, scale.step), 0, 1e-9 * scale.step) << "ticks on whole steps";
    }
}

// Two periods of a Class E switch current: a half sine while the switch is on, and
// optionally C1's discharge as a spike at each turn-on.
SimulationWaveforms SwitchTrace(double spike, double currentAtTurnOn = 0)
{
    constexpr double kPeriod = 250e-9;
    constexpr int kSamples = 2000;
    SimulationWaveforms w;
    for (int i = 0; i <= kSamples; ++i) {
        const double t = 2 * kPeriod * i / kSamples;
        const double phase = std::fmod(t, kPeriod) / kPeriod;
        const bool on = phase < 0.5;
        double current = on ? currentAtTurnOn + 6 * std::sin(M_PI * phase / 0.5) : 0;
        if (on && phase < 0.002) current += spike;
        w.time.push_back(t);
        w.switchCurrent.push_back(current);
        w.switchOn.push_back(on);
        w.drain.push_back(on ? 0 : 80 * std::sin(M_PI * (phase - 0.5) / 0.5));
        w.load.push_back(0);
    }
    w.turnOnTime = kPeriod;
    return w;
}

TEST(PlotScale, ATurnOnImpulseIsMarkedAndKeptOffTheCurrentScale)
{
    const CurrentScale spiked = SwitchCurrentScale(SwitchTrace(80));
    EXPECT_TRUE(spiked.impulse);
    EXPECT_NEAR(spiked.impulsePeak, 80, 0.5);
    EXPECT_LT(std::fmod(spiked.impulseTime, 250e-9), 2e-9) << "at a turn-on";
    EXPECT_NEAR(spiked.high, 6, 0.05) << "the scale is the switch current's own";

    const CurrentScale clean = SwitchCurrentScale(SwitchTrace(0));
    EXPECT_FALSE(clean.impulse);
    EXPECT_NEAR(clean.high, 6, 0.05);
    EXPECT_NEAR(clean.low, 0, 1e-9);

    // A switch that closes on a negative current is no impulse: the trace keeps it.
    const CurrentScale negative = SwitchCurrentScale(SwitchTrace(0, -1));
    EXPECT_FALSE(negative.impulse);
    EXPECT_NEAR(negative.low, -1, 0.01);
    // A spike within a fifth of the peak is part of the trace too.
    EXPECT_FALSE(SwitchCurrentScale(SwitchTrace(1)).impulse);
}

TEST(VerificationWindowSize, InProportionToTheScreen)
{
    const QSize fullHd = VerificationWindowSize(QSize(1920, 1040));
    const QSize uhd = VerificationWindowSize(QSize(3840, 2080));
    EXPECT_NEAR(fullHd.width(), 900, 5);
    EXPECT_NEAR(fullHd.height(), 700, 5);
    EXPECT_NEAR(uhd.width(), 2 * fullHd.width(), 1) << "a 4K screen gets a window of the same share";
    EXPECT_NEAR(uhd.height(), 2 * fullHd.height(), 1);
    EXPECT_EQ(VerificationWindowSize(QSize(800, 560)), QSize(640, 480)) << "never too small to read";
    EXPECT_EQ(VerificationWindowSize(QSize(600, 400)), QSize(600, 400)) << "never beyond the screen";
}

}  // namespace
}  // namespace voltra
