// The standing the circuit gives its figures at the edges of what the equations
// produce: a supply current no switch can carry, and efficiency rounded to 100 %.
#include <gtest/gtest.h>

#include "engine/circuit.h"
#include "engine/equations.h"

namespace voltra {
namespace {

DesignRecord Calculated(float supply, float saturation)
{
    DesignRecord d;
    StartupValues(d);
    d.Supply = supply;
    d.Saturation = saturation;
    FindAll(d);
    return d;
}

// Idc is the mean of the switch current plus the C1 current, never above the peak of
// the switch current: a design claiming more is questioned, both figures in red, but
// still shown. At 7 V of saturation on 10 V the fitted efficiency is 30 %, and the
// supply current it implies exceeds the fitted peak.
TEST(CircuitStanding, SupplyCurrentAboveThePeakIsQuestionedAndOnlyThen)
{
    const DesignRecord hot = Calculated(10, 7);
    ASSERT_GT(hot.Idc, hot.Ipeak);
    const Circuit questioned = BuildCircuit(hot);
    EXPECT_EQ(questioned.idc.status, Status::Warning);
    EXPECT_EQ(questioned.ipeak.status, Status::Warning);
    EXPECT_TRUE(AllUsable(questioned));

    const DesignRecord startup = Calculated(kDefaultSupply, kDefaultSaturation);
    ASSERT_LT(startup.Idc, startup.Ipeak);
    const Circuit plain = BuildCircuit(startup);
    EXPECT_EQ(plain.idc.status, Status::Valid);
    EXPECT_EQ(plain.ipeak.status, Status::Valid);
}

// The most nearly ideal corner the entry limits allow (50 kV supply, 1 mV saturation,
// 0.1 ns fall at 1 kHz) loses 2e-8 of the power: the efficiency rounds to exactly 1 in
// single precision and is a valid 100 %. Idc = Power / Supply then rounds either way,
// so the dissipation computed from it would sometimes be a few nanowatts below zero;
// shown, it must never be.
TEST(CircuitStanding, IdealCornerIsAHundredPerCentAndNeverANegativeLoss)
{
    for (const float power : {0.01f, 1.0f, 3.0f, 7.0f, 10.0f, 77.0f, 1000.0f, 12345.0f}) {
        SCOPED_TRACE(power);
        DesignRecord d;
        StartupValues(d);
        d.Frequency = kEntryLimits[static_cast<int>(Target::Frequency)].recalcLow;
        d.Supply = kEntryLimits[static_cast<int>(Target::Supply)].recalcHigh;
        d.Saturation = kEntryLimits[static_cast<int>(Target::Saturation)].recalcLow;
        d.Falltime = kEntryLimits[static_cast<int>(Target::Falltime)].recalcLow;
        d.Power = power;
        FindAll(d);
        const Circuit c = BuildCircuit(d);
        EXPECT_EQ(c.efficiency.value, 1.0f);
        EXPECT_EQ(c.efficiency.status, Status::Valid);
        EXPECT_TRUE(c.idc.Usable());
        if (c.dissipation.Usable()) {
            EXPECT_GE(c.dissipation.value, 0.0f);
        }
    }
}

// The closed form's gate holds the switch on for half a period and then lets it fall:
// a fall longer than the other half cannot be built, and no schematic may get a
// negative pulse width. That is the reason given, before what the fits then make of
// the efficiency; just inside the half period the efficiency's own range decides.
TEST(CircuitStanding, AFallLongerThanTheOffTimeMakesTheSupplyFiguresInvalid)
{
    DesignRecord d;
    StartupValues(d);
    d.Falltime = 1e-9f;
    d.Frequency = 300e6f;
    FindAll(d);
    EXPECT_TRUE(BuildCircuit(d).efficiency.Usable());
    d.Frequency = 499e6f;
    FindAll(d);
    EXPECT_EQ(BuildCircuit(d).efficiency.reason, "the fall-time and saturation losses put the drain efficiency outside 0 to 100 %");
    d.Frequency = 501e6f;
    FindAll(d);
    const Circuit unfit = BuildCircuit(d);
    for (const Result* figure : {&unfit.efficiency, &unfit.idc, &unfit.rdc, &unfit.dissipation}) {
        EXPECT_EQ(figure->status, Status::Invalid);
        EXPECT_EQ(figure->reason, "the fall time is longer than the switch's off-time");
    }
    EXPECT_FALSE(AllUsable(unfit));
}

}  // namespace
}  // namespace voltra
