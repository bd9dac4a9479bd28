// The switch's stresses against its ratings at the edges of each band, and the gate
// drive's power.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/ratings.h"

namespace voltra {
namespace {

Transistor Device(bool pulsed)
{
    Transistor device;
    device.maxDrainVolts = 100;
    device.continuousDrainAmps = 4;
    if (pulsed) device.pulsedDrainAmps = 16;
    return device;
}

TEST(Ratings, DrainVoltageBandsAtTheDeratedLimit)
{
    // 80 % of 100 V allows 80 V; a warning above 90 % of that, 72 V.
    struct Case {
        double volts;
        Status status;
    };
    for (const Case c : {Case{71.9, Status::Valid}, Case{72.1, Status::Warning}, Case{80, Status::Warning},
                         Case{80.1, Status::Invalid}, Case{100.1, Status::Invalid}}) {
        const Result r = CheckDrainPeakVoltage(c.volts, Device(true));
        EXPECT_EQ(r.status, c.status) << c.volts << " V: " << r.reason;
        EXPECT_FLOAT_EQ(r.value, static_cast<float>(c.volts));
        EXPECT_EQ(r.reason.empty(), c.status == Status::Valid) << c.volts;
    }
    // Beyond the derated limit and beyond the rating itself are told apart.
    EXPECT_NE(CheckDrainPeakVoltage(90, Device(true)).reason.find("80 %"), std::string::npos);
    EXPECT_NE(CheckDrainPeakVoltage(101, Device(true)).reason.find("rating of 100 V"), std::string::npos);
    // A designer's own derating: 90 % of 100 V admits 85 V.
    EXPECT_EQ(CheckDrainPeakVoltage(85, Device(true), 0.9).status, Status::Warning);
    EXPECT_EQ(CheckDrainPeakVoltage(85, Device(true)).status, Status::Invalid);
}

TEST(Ratings, PeakCurrentAgainstThePulsedRatingWhenGiven)
{
    EXPECT_EQ(CheckDrainPeakCurrent(10, Device(true)).status, Status::Valid);
    EXPECT_EQ(CheckDrainPeakCurrent(15, Device(true)).status, Status::Warning);
    EXPECT_EQ(CheckDrainPeakCurrent(16.5, Device(true)).status, Status::Invalid);
    // Without IDM the continuous rating is all the device promises.
    EXPECT_EQ(CheckDrainPeakCurrent(10, Device(false)).status, Status::Invalid);
    EXPECT_EQ(CheckDrainPeakCurrent(3.5, Device(false)).status, Status::Valid);
}

TEST(Ratings, RmsCurrentAgainstTheContinuousRating)
{
    EXPECT_EQ(CheckDrainRmsCurrent(3.6, Device(true)).status, Status::Valid);
    EXPECT_EQ(CheckDrainRmsCurrent(3.7, Device(true)).status, Status::Warning);
    EXPECT_EQ(CheckDrainRmsCurrent(4.01, Device(true)).status, Status::Invalid);
}

TEST(Ratings, NothingToCheckAgainstIsInvalidNotValid)
{
    Transistor unrated = Device(true);
    unrated.maxDrainVolts = 0;
    EXPECT_EQ(CheckDrainPeakVoltage(10, unrated).status, Status::Invalid);
    EXPECT_EQ(CheckDrainPeakVoltage(std::nan(""), Device(true)).status, Status::Invalid);
    EXPECT_EQ(CheckDrainPeakVoltage(10, Device(true), 0).status, Status::Invalid);
    EXPECT_EQ(CheckDrainPeakVoltage(10, Device(true), 1.2).status, Status::Invalid);
}

TEST(Ratings, GateDrivePowerIsChargeTimesDriveTimesFrequency)
{
    // 10 nC at 10 V, 13.56 MHz: 1.356 W.
    EXPECT_NEAR(GateDrivePower(10e-9, 10, 13.56e6), 1.356, 1e-12);
}

}  // namespace
}  // namespace voltra
