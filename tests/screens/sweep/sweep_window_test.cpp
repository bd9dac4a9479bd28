// The sweep window driven through its boxes: the points it plots against the
// engine's sweep, gaps where there is no steady state, a range it cannot read, and
// the range texts it writes read back as the values they stand for.
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include "engine/design_options.h"
#include "screens/object_names.h"
#include "screens/sweep/sweep_window.h"
#include "tests/calculated_design.h"
#include "units/whole_value.h"

namespace voltra {
namespace {

class SweepWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        design = CalculatedDesign();
        circuit = BuildCircuit(design, DesignOptions{});
        window.Follow(circuit);
    }
    template <typename T>
    T* Find(const char* name) const
    {
        T* found = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void Sweep(const QString& quantity, const QString& from, const QString& to, int steps) const
    {
        Find<QComboBox>(kSweepQuantityBoxName)->setCurrentText(quantity);
        Find<QLineEdit>(kSweepFromBoxName)->setText(from);
        Find<QLineEdit>(kSweepToBoxName)->setText(to);
        Find<QSpinBox>(kSweepStepsBoxName)->setValue(steps);
        QTest::mouseClick(Find<QPushButton>(kSweepButtonName), Qt::LeftButton);
    }
    // The points of every line of the trace, gaps between lines.
    std::vector<QList<QPointF>> Runs(const char* chart, const QString& trace) const
    {
        std::vector<QList<QPointF>> runs;
        for (QAbstractSeries* series : Find<QChartView>(chart)->chart()->series())
            if (series->name() == trace) runs.push_back(static_cast<QLineSeries*>(series)->points());
        return runs;
    }
    qsizetype Points(const char* chart, const QString& trace) const
    {
        qsizetype points = 0;
        for (const QList<QPointF>& run : Runs(chart, trace)) points += run.size();
        return points;
    }
    QString Status() const { return Find<QLabel>(kSweepStatusName)->text(); }

    DesignRecord design;
    Circuit circuit;
    SweepWindow window{nullptr};
};

TEST(PrefixedTextTest, ReadsBackAsTheValueAcrossThePrefixes)
{
    const struct {
        double value;
        const char* unit;
        const char* text;
    } cases[] = {{3.8e6, "Hz", "3.8 MHz"}, {30e-9, "s", "30 ns"}, {12, "V", "12 V"}, {0.5, "V", "500 mV"},
                 {1.234e-9, "F", "1.234 nF"}, {47e-12, "F", "47 pF"}, {2.2e-6, "H", "2.2 uH"}, {50, "ohm", "50 ohm"}};
    for (const auto& c : cases) {
        const QString text = PrefixedText(c.value, QLatin1String(c.unit));
        EXPECT_EQ(text, QLatin1String(c.text));
        const WholeValue read = ReadWholeValue(text.toStdString(), c.unit);
        ASSERT_TRUE(read.value) << c.text << ": " << read.problem;
        EXPECT_NEAR(*read.value, c.value, 1e-6 * c.value) << c.text;
    }
}

TEST_F(SweepWindowTest, AsManyPointsAsStepsFromTheFirstValueToTheLast)
{
    for (const int steps : {2, 41}) {
        Sweep(QStringLiteral("frequency"), QStringLiteral("3.8 MHz"), QStringLiteral("4.2 MHz"), steps);
        EXPECT_EQ(Points(kSweepPowerChartName, QStringLiteral("Pout, W")), steps);
        EXPECT_EQ(Points(kSweepPowerChartName, QStringLiteral("Efficiency, %")), steps);
        EXPECT_EQ(Points(kSweepVoltageChartName, QStringLiteral("Vpeak, V")), steps);
        const std::vector<QList<QPointF>> runs = Runs(kSweepPowerChartName, QStringLiteral("Pout, W"));
        ASSERT_EQ(runs.size(), 1u);
        // The axis in MHz, as the range was typed.
        EXPECT_NEAR(runs[0].constFirst().x(), 3.8, 1e-6);
        EXPECT_NEAR(runs[0].constLast().x(), 4.2, 1e-6);
    }
}

TEST_F(SweepWindowTest, ThePlotIsTheEnginesSweepOfTheCircuitShown)
{
    DesignOptions rounded;
    rounded.series = ESeries::E24;
    circuit = BuildCircuit(design, rounded);
    window.Follow(circuit);
    const double c2 = circuit.ValueOf(PartRole::C2);
    const QString from = PrefixedText(0.8 * c2, "F"), to = PrefixedText(1.2 * c2, "F");
    Sweep(QStringLiteral("C2"), from, to, 5);
    const SweepResult expected = SweepCircuit(circuit, "C2", *ReadWholeValue(from.toStdString(), "F").value,
                                              *ReadWholeValue(to.toStdString(), "F").value, 5);
    const std::vector<QList<QPointF>> power = Runs(kSweepPowerChartName, QStringLiteral("Pout, W"));
    const std::vector<QList<QPointF>> efficiency = Runs(kSweepPowerChartName, QStringLiteral("Efficiency, %"));
    const std::vector<QList<QPointF>> turnOn =
        Runs(kSweepVoltageChartName, QStringLiteral("Turn-on, % of the supply"));
    ASSERT_EQ(power.size(), 1u);
    ASSERT_EQ(power[0].size(), 5);
    for (int i = 0; i < 5; ++i) {
        const SweepPoint& p = expected.points[static_cast<std::size_t>(i)];
        ASSERT_TRUE(p.valid);
        EXPECT_DOUBLE_EQ(power[0][i].y(), p.pout);
        EXPECT_DOUBLE_EQ(efficiency[0][i].y(), 100 * p.efficiency);
        EXPECT_DOUBLE_EQ(turnOn[0][i].y(), p.turnOnVoltage);
    }
}

TEST_F(SweepWindowTest, PointsWithoutASteadyStateAreGapsNotLines)
{
    // The fall outgrows the switch's off-time towards the end of the range.
    const double period = 1.0 / circuit.frequency;
    const int steps = 21;
    Sweep(QStringLiteral("falltime"), PrefixedText(0.01 * period, "s"), PrefixedText(0.9 * period, "s"), steps);
    const SweepResult expected =
        SweepCircuit(circuit, "falltime", *ReadWholeValue(PrefixedText(0.01 * period, "s").toStdString(), "s").value,
                     *ReadWholeValue(PrefixedText(0.9 * period, "s").toStdString(), "s").value, steps);
    int valid = 0;
    for (const SweepPoint& p : expected.points) valid += p.valid;
    ASSERT_GT(valid, 0);
    ASSERT_LT(valid, steps);
    EXPECT_EQ(Points(kSweepPowerChartName, QStringLiteral("Pout, W")), valid);
    // No line spans a point that has no steady state.
    for (const QList<QPointF>& run : Runs(kSweepPowerChartName, QStringLiteral("Pout, W")))
        for (qsizetype i = 1; i < run.size(); ++i) EXPECT_LT(run[i].x() - run[i - 1].x(), 1.5 * (run[1].x() - run[0].x()));
    EXPECT_TRUE(Status().contains(QStringLiteral("gaps"))) << Status().toStdString();
}

TEST_F(SweepWindowTest, ARangeItCannotReadSaysWhyAndKeepsThePlot)
{
    Sweep(QStringLiteral("supply"), QStringLiteral("20 V"), QStringLiteral("28 V"), 9);
    ASSERT_EQ(Points(kSweepPowerChartName, QStringLiteral("Pout, W")), 9);
    Sweep(QStringLiteral("supply"), QStringLiteral("twenty"), QStringLiteral("28 V"), 9);
    EXPECT_TRUE(Status().startsWith(QStringLiteral("From: "))) << Status().toStdString();
    Sweep(QStringLiteral("supply"), QStringLiteral("20 V"), QStringLiteral("0"), 9);
    EXPECT_EQ(Status(), QStringLiteral("To: a swept value must be above 0."));
    EXPECT_EQ(Points(kSweepPowerChartName, QStringLiteral("Pout, W")), 9);
}

TEST_F(SweepWindowTest, ANewDesignIsSweptAgainOverTheSameRange)
{
    Sweep(QStringLiteral("supply"), QStringLiteral("20 V"), QStringLiteral("28 V"), 9);
    const qreal before = Runs(kSweepPowerChartName, QStringLiteral("Pout, W"))[0][4].y();
    DesignOptions rounded;
    rounded.series = ESeries::E12;
    window.Follow(BuildCircuit(design, rounded));
    EXPECT_EQ(Find<QComboBox>(kSweepQuantityBoxName)->currentText(), QStringLiteral("supply"));
    EXPECT_EQ(Find<QLineEdit>(kSweepFromBoxName)->text(), QStringLiteral("20 V"));
    const std::vector<QList<QPointF>> after = Runs(kSweepPowerChartName, QStringLiteral("Pout, W"));
    ASSERT_EQ(after.size(), 1u);
    ASSERT_EQ(after[0].size(), 9);
    EXPECT_NE(after[0][4].y(), before);
}

}  // namespace
}  // namespace voltra
