// Design options through the circuit they build: off is a no-op; exact, Coss and E-series do what they say.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>

#include "engine/design_options.h"
#include "engine/equations.h"
#include "tests/calculated_design.h"
#include "units/format.h"

namespace voltra {
namespace {

float Value(const Circuit& c, PartRole role) { return c.Get(role).value.value; }

TEST(DesignOptions, NoneChosenIsTheClosedFormCircuitBitForBit)
{
    for (const bool lnet : {false, true}) {
        const DesignRecord d = CalculatedDesign(kDefaultNetworkQ, lnet);
        const Circuit plain = BuildCircuit(d), optioned = BuildCircuit(d, DesignOptions{});
        ASSERT_EQ(plain.parts.size(), optioned.parts.size());
        for (std::size_t i = 0; i < plain.parts.size(); ++i)
            EXPECT_EQ(plain.parts[i].value.value, optioned.parts[i].value.value) << plain.parts[i].name;
        EXPECT_EQ(plain.idc.value, optioned.idc.value);
        EXPECT_FALSE(optioned.exact || optioned.analysed);
    }
}

TEST(DesignOptions, ExactMeetsThePowerAndTheSwitchingConditionOnTheCircuit)
{
    for (const bool lnet : {false, true}) {
        SCOPED_TRACE(lnet);
        const DesignRecord d = CalculatedDesign(kDefaultNetworkQ, lnet);
        const Circuit c = BuildCircuit(d, DesignOptions{.exact = true});
        ASSERT_TRUE(AllUsable(c));
        EXPECT_TRUE(c.exact && c.analysed);
        EXPECT_NEAR(c.pout.value, d.Power, 1e-3 * d.Power);
        EXPECT_NEAR(c.turnOnPercent.value, 0, 0.01);
        // A finite choke at Q 5: some per cent from the fits, not more.
        EXPECT_NEAR(c.rload.value, d.Rload, 0.15 * d.Rload);
        EXPECT_NE(c.rload.value, d.Rload);
        EXPECT_NEAR(Value(c, PartRole::C1), d.C1, 0.15 * d.C1);
        // Ron drops the saturation voltage at the solved peak current, not the fits' one.
        EXPECT_NEAR(Value(c, PartRole::Switch) * c.ipeak.value, d.Saturation, 1e-5 * d.Saturation);
        EXPECT_GT(std::fabs(Value(c, PartRole::Switch) / BuildCircuit(d).Get(PartRole::Switch).value.value - 1), 0.01);
        EXPECT_EQ(Value(c, PartRole::Choke), static_cast<float>(kDefaultChokeFactor * Value(c, PartRole::Lseries)));
    }
}

TEST(DesignOptions, CossComesOffC1AndBoundsTheFrequency)
{
    const DesignRecord d = CalculatedDesign();
    for (const bool exact : {false, true}) {
        SCOPED_TRACE(exact);
        const Circuit without = BuildCircuit(d, DesignOptions{.exact = exact, .coss = 1e-18f});
        const float needed = Value(without, PartRole::C1);
        const Circuit with = BuildCircuit(d, DesignOptions{.exact = exact, .coss = 0.5e-9f});
        EXPECT_NEAR(Value(with, PartRole::C1), needed - 0.5e-9, 1e-15);
        EXPECT_TRUE(std::isnan(with.cossLimitFrequency));

        // More than C1 itself: no Class E at 4 MHz, but below 4 MHz * C1 / Coss.
        const Circuit over = BuildCircuit(d, DesignOptions{.exact = exact, .coss = 2e-9f});
        EXPECT_EQ(over.Get(PartRole::C1).value.status, Status::Invalid);
        EXPECT_NE(over.Get(PartRole::C1).value.reason.find("output capacitance"), std::string::npos);
        EXPECT_NE(over.Get(PartRole::C1).value.reason.find("Class E only below " + FormatLarge(over.cossLimitFrequency).substr(1) + "Hz"),
                  std::string::npos)
            << over.Get(PartRole::C1).value.reason;
        EXPECT_FALSE(AllUsable(over));
        EXPECT_NEAR(over.cossLimitFrequency, 4e6 * needed / 2e-9, 1);
        // At that frequency the same switch just fits.
        DesignRecord slower = d;
        slower.Frequency = over.cossLimitFrequency * 0.99f;
        FindAll(slower);
        EXPECT_TRUE(BuildCircuit(slower, DesignOptions{.exact = exact, .coss = 2e-9f}).Get(PartRole::C1).value.Usable());
    }
    // Exactly the C1 needed: no external capacitor is left, and a C1 of zero is no part.
    const Circuit equal = BuildCircuit(d, DesignOptions{.coss = Value(BuildCircuit(d), PartRole::C1)});
    EXPECT_EQ(equal.Get(PartRole::C1).value.status, Status::Invalid);
    EXPECT_FALSE(AllUsable(equal));
}

TEST(DesignOptions, StandardValuesOnlyAndTheirOwnFigures)
{
    for (const ESeries series : {ESeries::E12, ESeries::E24, ESeries::E96}) {
        const DesignRecord d = CalculatedDesign(kDefaultNetworkQ, true);
        const Circuit c = BuildCircuit(d, DesignOptions{.exact = true, .series = series});
        ASSERT_TRUE(c.analysed);
        for (PartRole role : {PartRole::C1, PartRole::C2, PartRole::Lseries, PartRole::NetworkL, PartRole::NetworkC}) {
            const float value = Value(c, role);
            EXPECT_EQ(value, static_cast<float>(RoundToSeries(value, series))) << static_cast<int>(role);
        }
        // Rounded parts detune the stage a little: power and ZVS are what they give.
        EXPECT_NEAR(c.pout.value, d.Power, 0.3 * d.Power);
        EXPECT_NE(c.pout.value, d.Power);
        EXPECT_GT(c.efficiency.value, 0.5f);
    }
}

// A choke of a tenth of Lseries at Q 1.8: no Class E tuning grows out of the choke-fed
// design that far (a solve from the closed form once landed on 3.5 % efficiency).
TEST(DesignOptions, NoExactSolutionIsReportedNotANumber)
{
    const Circuit c = BuildCircuit(CalculatedDesign(1.8f), DesignOptions{.exact = true, .chokeFactor = 0.1});
    EXPECT_FALSE(AllUsable(c));
    for (PartRole role : {PartRole::C1, PartRole::C2, PartRole::Lseries}) {
        EXPECT_EQ(c.Get(role).value.status, Status::Invalid);
        EXPECT_EQ(c.Get(role).value.reason.rfind("there is no exact Class E solution: ", 0), 0u);
    }
    EXPECT_EQ(c.rload.status, Status::Invalid);
    EXPECT_FALSE(c.analysed);
    EXPECT_TRUE(c.losses.empty());
    // A choke equal to Lseries is the finite-feed Class E: solved, and believable.
    const Circuit finite = BuildCircuit(CalculatedDesign(1.8f), DesignOptions{.exact = true, .chokeFactor = 1});
    ASSERT_TRUE(AllUsable(finite));
    EXPECT_GT(finite.efficiency.value, 0.9f);
}

// Rounded parts are analysed with the switch's capacitance across them again: the
// external C1 alone would be a stage far off tune.
TEST(DesignOptions, RoundedPartsAreAnalysedWithCossAcrossC1)
{
    const DesignRecord d = CalculatedDesign();
    const Circuit exact = BuildCircuit(d, DesignOptions{.exact = true});
    const float coss = 0.5f * exact.Get(PartRole::C1).value.value;
    const Circuit c = BuildCircuit(d, DesignOptions{.exact = true, .coss = coss, .series = ESeries::E96});
    ASSERT_TRUE(c.analysed && AllUsable(c));
    EXPECT_NEAR(c.Get(PartRole::C1).value.value, coss, 0.02 * coss);
    // E96 moves each part by at most 1 %: the stage stays near Class E.
    EXPECT_LT(std::fabs(c.turnOnPercent.value), 5);
    EXPECT_NEAR(c.pout.value, d.Power, 0.05 * d.Power);
    EXPECT_EQ(c.pout.status, Status::Valid);
}

const PartStress& StressOf(const Circuit& c, PartRole role)
{
    for (const PartStress& s : c.stresses)
        if (s.role == role) return s;
    ADD_FAILURE() << "no stress for role " << static_cast<int>(role);
    return c.stresses.front();
}

// With ideal parts the drain sees the same capacitance whether the switch brings
// half of it: the external C1 then carries its share of the current, and of the
// reactive power, exactly or rounded.
TEST(DesignOptions, TheSwitchsCapacitanceTakesItsShareOfC1sStress)
{
    const DesignRecord d = CalculatedDesign();
    const float coss = 0.5f * Value(BuildCircuit(d, DesignOptions{.exact = true}), PartRole::C1);
    for (const std::optional<ESeries> series : {std::optional<ESeries>{}, std::optional<ESeries>{ESeries::E96}}) {
        SCOPED_TRACE(series.has_value());
        const Circuit without = BuildCircuit(d, DesignOptions{.exact = true, .series = series});
        const Circuit with = BuildCircuit(d, DesignOptions{.exact = true, .coss = coss, .series = series});
        ASSERT_TRUE(with.analysed && AllUsable(with) && without.analysed && AllUsable(without));
        const double share = Value(with, PartRole::C1) / (Value(with, PartRole::C1) + static_cast<double>(coss));
        const PartStress& alone = StressOf(without, PartRole::C1);
        const PartStress& shared = StressOf(with, PartRole::C1);
        EXPECT_NEAR(shared.rmsCurrent.value, share * alone.rmsCurrent.value, 0.03 * share * alone.rmsCurrent.value);
        EXPECT_NEAR(shared.reactivePower.value, share * alone.reactivePower.value,
                    0.03 * share * alone.reactivePower.value);
        EXPECT_NEAR(shared.peakVoltage.value, alone.peakVoltage.value, 0.03 * alone.peakVoltage.value);
    }
}

// The analysed dissipation is what the supply gives and the load does not take, and
// the resistance the supply sees is its voltage over the analysed current.
TEST(DesignOptions, AnalysedDissipationIsSupplyPowerLessOutputPower)
{
    const DesignRecord d = CalculatedDesign(kDefaultNetworkQ, true);
    for (const DesignOptions& o : {DesignOptions{.exact = true}, DesignOptions{.series = ESeries::E24},
                                   DesignOptions{.exact = true, .series = ESeries::E12, .inductorQ = 100}}) {
        const Circuit c = BuildCircuit(d, o);
        ASSERT_TRUE(c.analysed);
        const double pin = c.ValueOf(PartRole::Supply) * static_cast<double>(c.idc.value);
        EXPECT_GT(c.dissipation.value, 0);
        EXPECT_NEAR(c.dissipation.value, pin - c.pout.value, 1e-4 * pin);
        EXPECT_NEAR(c.dissipation.value, c.pout.value * (1 / c.efficiency.value - 1), 1e-3 * c.dissipation.value);
        EXPECT_NEAR(c.rdc.value * c.idc.value, c.ValueOf(PartRole::Supply), 1e-5 * c.ValueOf(PartRole::Supply));
    }
}

// An unusable circuit is never rounded and analysed: its invalid parts and figures
// stay invalid, with nothing "analysed" about them.
TEST(DesignOptions, AnUnusableCircuitIsNotRoundedIntoAValidOne)
{
    const DesignRecord d = CalculatedDesign();
    // Coss above the C1 the design needs.
    const Circuit coss = BuildCircuit(d, DesignOptions{.coss = 2e-9f, .series = ESeries::E24});
    EXPECT_FALSE(coss.analysed);
    EXPECT_FALSE(AllUsable(coss));
    EXPECT_EQ(coss.Get(PartRole::C1).value.status, Status::Invalid);
    EXPECT_TRUE(coss.losses.empty());

    // 13.56 MHz, 300 W from 12 V with a 24 V switch: no design, rounded or not.
    DesignRecord bad = d;
    bad.Frequency = 13.56e6f;
    bad.Power = 300;
    bad.Supply = 12;
    bad.Saturation = 24;
    FindAll(bad);
    ASSERT_FALSE(AllUsable(BuildCircuit(bad)));
    for (const DesignOptions& o : {DesignOptions{.series = ESeries::E24}, DesignOptions{.exact = true, .series = ESeries::E24},
                                   DesignOptions{.exact = true}}) {
        const Circuit c = BuildCircuit(bad, o);
        EXPECT_FALSE(AllUsable(c));
        EXPECT_FALSE(c.analysed && c.efficiency.Usable());
        EXPECT_FALSE(c.efficiency.Usable());
        EXPECT_FALSE(c.efficiency.reason.empty());
    }
}

// Rounding that detunes the stage beyond a tolerance is said so: the figures that
// miss are questioned with the reason, and the circuit still stands to be simulated.
TEST(DesignOptions, RoundedCircuitMissingTheTargetsIsQuestioned)
{
    const DesignRecord d = CalculatedDesign();  // E12 at 4 MHz, Q 5: +66 % power, drain at 150 %
    const Circuit miss = BuildCircuit(d, DesignOptions{.series = ESeries::E12});
    ASSERT_TRUE(miss.analysed);
    EXPECT_GT(std::fabs(miss.pout.value / d.Power - 1), kTargetPowerMiss);
    EXPECT_EQ(miss.pout.status, Status::Warning);
    EXPECT_NE(miss.pout.reason.find("target power"), std::string::npos);
    EXPECT_EQ(miss.turnOnPercent.status, Status::Warning);
    EXPECT_NE(miss.turnOnPercent.reason.find("% of the supply"), std::string::npos);
    EXPECT_EQ(miss.efficiency.status, Status::Warning);
    EXPECT_TRUE(AllUsable(miss));
    // Each reason once, power first, for the sheet, the file and the verification.
    const std::vector<std::string> reasons = QuestionedReasons(miss);
    ASSERT_EQ(reasons.size(), 2u);
    EXPECT_EQ(reasons[0], miss.efficiency.reason);
    EXPECT_EQ(reasons[1], miss.turnOnPercent.reason);
    // Closing on charge: the impulse is reported apart, Ipeak is the network's current.
    EXPECT_GT(miss.dischargeEnergy.value, 0);
    EXPECT_LT(miss.ipeak.value, 0.5f * miss.dischargePeakCurrent.value);

    DesignRecord near = d;  // at 13.56 MHz the same series lands within both bounds
    near.Frequency = 13.56e6f;
    FindAll(near);
    const Circuit hit = BuildCircuit(near, DesignOptions{.series = ESeries::E12});
    ASSERT_TRUE(hit.analysed);
    EXPECT_LE(std::fabs(hit.pout.value / near.Power - 1), kTargetPowerMiss);
    EXPECT_LE(std::fabs(hit.turnOnPercent.value), kTurnOnMissPercent);
    EXPECT_EQ(hit.pout.status, Status::Valid);
    EXPECT_EQ(hit.turnOnPercent.status, Status::Valid);
    EXPECT_EQ(hit.efficiency.status, Status::Valid);
}

// Ltotal stands for Lseries and the network inductor: with standard values, for the
// two rounded parts.
TEST(DesignOptions, LtotalIsTheSumOfTheRoundedInductors)
{
    for (const float rnetwork : {50.0f, 2.0f})
        for (const bool exact : {false, true}) {
            const DesignRecord d = CalculatedDesign(kDefaultNetworkQ, true, rnetwork);
            const Circuit c = BuildCircuit(d, DesignOptions{.exact = exact, .series = ESeries::E12});
            const float sum = static_cast<float>(static_cast<double>(Value(c, PartRole::Lseries)) +
                                                 Value(c, PartRole::NetworkL));
            EXPECT_EQ(c.ltotal.value, sum) << rnetwork << " " << exact;
            EXPECT_NE(c.ltotal.value, BuildCircuit(d).ltotal.value) << rnetwork << " " << exact;
        }
}

// The circuit carries the switch model the exact design was solved with.
TEST(DesignOptions, ExactCircuitCarriesItsSwitchModel)
{
    const DesignRecord d = CalculatedDesign();
    const DesignOptions o{.exact = true, .coss = 0.3e-9f, .duty = 0.4, .inductorQ = 120, .capacitorQ = 900};
    const Circuit c = BuildCircuit(d, o);
    ASSERT_TRUE(AllUsable(c));
    EXPECT_TRUE(c.switchModel);
    EXPECT_EQ(c.duty, 0.4);
    EXPECT_EQ(c.coss, 0.3e-9f);
    EXPECT_EQ(c.inductorQ, 120);
    EXPECT_EQ(c.capacitorQ, 900);
    EXPECT_NEAR(FallStart(c), 0.4 / d.Frequency, 1e-15);
    EXPECT_TRUE(FallFits(c));
    Circuit late = c;  // the off-time is 60 % of the period
    late.falltime = 0.59f / d.Frequency;
    EXPECT_TRUE(FallFits(late));
    late.falltime = 0.61f / d.Frequency;
    EXPECT_FALSE(FallFits(late));
    EXPECT_NEAR(SeriesResistance(PartRole::Lseries, Value(c, PartRole::Lseries), c),
                2 * std::numbers::pi * d.Frequency * Value(c, PartRole::Lseries) / 120, 1e-9);
    EXPECT_EQ(SeriesResistance(PartRole::Switch, 1, c), 0);
    EXPECT_NEAR(c.turnOnPercent.value, 0, 1e-3);
    const Circuit plain = BuildCircuit(d, DesignOptions{.series = ESeries::E24});
    EXPECT_FALSE(plain.switchModel);
    EXPECT_EQ(plain.duty, kDefaultDuty);
    EXPECT_EQ(SeriesResistance(PartRole::C2, Value(plain, PartRole::C2), plain), 0);
}

// A fall longer than the off-time makes the exact design invalid, with that reason.
TEST(DesignOptions, AFallThatDoesNotFitIsInvalid)
{
    DesignRecord d = CalculatedDesign();
    d.Falltime = 0.6f / d.Frequency;
    FindAll(d);
    const Circuit c = BuildCircuit(d, DesignOptions{.exact = true});
    EXPECT_FALSE(AllUsable(c));
    EXPECT_NE(c.Get(PartRole::C1).value.reason.find("off-time"), std::string::npos) << c.Get(PartRole::C1).value.reason;
}

}  // namespace
}  // namespace voltra
