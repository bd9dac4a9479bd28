// The harmonics of the solved waveform: the ideal stage's drain voltage against its
// closed form and the published figures, the series resonator's filtering against the
// branch impedance at each harmonic, a resonance at a harmonic, a junction law that is
// a fixed capacitance, and the figures as the circuit and its text carry them.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <complex>
#include <numbers>

#include "engine/design_options.h"
#include "engine/exact_solver.h"
#include "engine/harmonics.h"
#include "engine/stage_analysis.h"
#include "engine/steady_state.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

constexpr double kPi = std::numbers::pi;

// The ideal stage at duty 0.5 (Raab, "Idealized operation of the class E tuned power
// amplifier", IEEE Trans. CAS-24(12), 1977, in our normalisation): with the
// load as reference, ωC1·R = 8/(π(π² + 4)) and the branch's excess reactance
// X/R = π(π² − 4)/16; the series branch ωL = Q·R with C2 taking up the rest.
NormalisedStage IdealStage(double q)
{
    NormalisedStage s;
    s.choke = 1e5;
    s.c1 = kPi * (kPi * kPi + 4) / 8;
    s.lseries = q;
    s.c2 = q - kPi * (kPi * kPi - 4) / 16;
    s.ron = 1e-6;
    s.load = 1;
    s.duty = 0.5;
    return s;
}

// The ideal drain voltage over one period in supplies, switch closed for θ < π and
// open after: v = π(θ − 3π/2 − (π/2)cos θ − sin θ) (Raab 1977; the transcription in
// published-class-e.md §7), and its |Vn| by composite Simpson quadrature.
double IdealDrainHarmonic(int n)
{
    constexpr int kPanels = 20000;
    const double h = kPi / kPanels;
    std::complex<double> sum = 0;
    for (int i = 0; i <= kPanels; ++i) {
        const double theta = kPi + i * h;
        const double v = kPi * (theta - 1.5 * kPi - 0.5 * kPi * std::cos(theta) - std::sin(theta));
        const double weight = (i == 0 || i == kPanels) ? 1 : (i % 2 ? 4 : 2);
        sum += weight * v * std::polar(1.0, -n * theta);
    }
    return std::abs(sum * h / 3.0) / kPi;
}

TEST(StageHarmonics, IdealDrainVoltageMatchesItsClosedFormAndThePublishedFigures)
{
    // |Vn|/Vdd, n = 1…5, computed from Raab's waveform (published-class-e.md §7).
    constexpr double kPublished[] = {1.6389, 0.8477, 0.2222, 0.1432, 0.0800};
    const SteadyState s = SolveSteadyState(IdealStage(1e4), SteadyStateDetail::Full);
    ASSERT_TRUE(s.solved);
    for (int n = 1; n <= 5; ++n) {
        EXPECT_NEAR(IdealDrainHarmonic(n) / kPublished[n - 1], 1, 1e-3) << n;
        EXPECT_NEAR(s.drainHarmonics[n - 1] / kPublished[n - 1], 1, 0.01) << n;
    }
    // The weaker ones too: a phase error in one interval shows there first.
    for (int n = 6; n <= static_cast<int>(kHarmonics); ++n)
        EXPECT_NEAR(s.drainHarmonics[n - 1], IdealDrainHarmonic(n), 0.01 * IdealDrainHarmonic(2)) << n;
    // The load sees the fundamental alone, 4/√(π² + 4) of the supply (Raab 1977).
    EXPECT_NEAR(s.loadHarmonics[0], 4 / std::sqrt(kPi * kPi + 4), 1e-3);
    EXPECT_LT(s.loadHarmonics[1], 1e-3 * s.loadHarmonics[0]);
}

// Without a network the load current is the drain voltage over the series branch,
// harmonic by harmonic: |V_load,n| = |V_drain,n|·R / |R + rL + rC + j(nωL − 1/(nωC2))|.
// That ties the two waveforms' integrals together in every interval, the fall's and
// a duty other than one half included.
TEST(StageHarmonics, SeriesResonatorFiltersTheDrainVoltageByItsImpedanceAtEachHarmonic)
{
    struct Case {
        double q, duty, fall, inductorLoss, capacitorLoss;
    };
    for (const Case c : {Case{20, 0.5, 0, 0, 0}, Case{5, 0.4, 0.3, 0.01, 0.002}, Case{10, 0.6, 0.1, 0.005, 0}}) {
        NormalisedStage stage = IdealStage(c.q);
        stage.choke = 30;
        stage.ron = 0.02;
        stage.duty = c.duty;
        stage.fall = c.fall;
        stage.inductorLoss = c.inductorLoss;
        stage.capacitorLoss = c.capacitorLoss;
        const SteadyState s = SolveSteadyState(stage, SteadyStateDetail::Full);
        ASSERT_TRUE(s.solved) << c.q;
        const double resistance = 1 + stage.lseries * c.inductorLoss + stage.c2 * c.capacitorLoss;
        for (std::size_t k = 0; k < kHarmonics; ++k) {
            const double n = static_cast<double>(k + 1);
            const double branch = std::abs(std::complex<double>(resistance, n * stage.lseries - stage.c2 / n));
            EXPECT_NEAR(s.loadHarmonics[k] / (s.drainHarmonics[k] / branch), 1, 1e-6) << c.q << " n " << n;
        }
    }
}

// The series resonator alone at loaded Q 20 leaves the 2nd harmonic about 32 dB down
// (published-class-e.md §7: 32 dB simulated in ngspice); above Q ≈ 10 its attenuation
// grows as Q, 6 dB per doubling, since the branch's reactance at 2f is about 1.5·Q·R.
TEST(StageHarmonics, SecondHarmonicAtTheLoadFallsAsTheResonatorsQRises)
{
    double previous = 0;
    for (double q : {5.0, 10.0, 20.0, 40.0, 80.0}) {
        const SteadyState s = SolveSteadyState(IdealStage(q), SteadyStateDetail::Full);
        ASSERT_TRUE(s.solved) << q;
        const double second = HarmonicDbc(s.loadHarmonics[1], s.loadHarmonics[0]);
        if (q == 20.0) {
            EXPECT_GT(second, -34);
            EXPECT_LT(second, -30);
        }
        if (q > 5) {
            EXPECT_LT(second, previous) << q;
        }
        if (q > 20) {
            EXPECT_NEAR(second - previous, -20 * std::log10(2.0), 0.5) << q;
        }
        previous = second;
    }
}

// The start-up design at loaded Q 20 into its own load, the series resonator alone,
// designed exactly as the screen does; the closed-form circuit is no analysis.
TEST(StageHarmonics, AnalysedCircuitCarriesHarmonicsTwoToTenAndItsWorstAsText)
{
    const DesignRecord d = CalculatedDesign(20, false, 0);
    EXPECT_TRUE(BuildCircuit(d, DesignOptions{}).harmonics.empty());
    DesignOptions exact;
    exact.exact = true;
    Circuit c = BuildCircuit(d, exact);
    ASSERT_TRUE(c.analysed);
    const StageFigures f = AnalyseStage(StageOf(c));
    ASSERT_TRUE(f.valid) << f.reason;
    ASSERT_EQ(c.harmonics.size(), kHarmonics - 1);
    for (std::size_t i = 0; i < c.harmonics.size(); ++i) {
        EXPECT_EQ(c.harmonics[i].n, static_cast<int>(i + 2));
        EXPECT_NEAR(c.harmonics[i].dBc, 20 * std::log10(f.loadHarmonics[i + 1] / f.loadHarmonics[0]), 1e-3);
    }
    EXPECT_GT(c.harmonics[0].dBc, -36);
    EXPECT_LT(c.harmonics[0].dBc, -28);
    const std::string text = WorstHarmonicText(c.harmonics);
    ASSERT_TRUE(text.starts_with("Worst harmonic: 2nd at ")) << text;
    double level = 0;
    std::from_chars(text.data() + 23, text.data() + text.size(), level);
    EXPECT_NEAR(level, c.harmonics[0].dBc, 0.05) << text;
    EXPECT_TRUE(text.ends_with(" dBc")) << text;

    StageFigures failed;
    failed.reason = "no steady state";
    TakeFigures(c, failed);
    EXPECT_TRUE(c.harmonics.empty());
    EXPECT_EQ(WorstHarmonicText(c.harmonics), "");
}

TEST(HarmonicLevels, DeepOrMissingHarmonicsStayFiniteAndOrdinalsReadAsEnglish)
{
    EXPECT_DOUBLE_EQ(HarmonicDbc(0.1, 1), -20);
    EXPECT_DOUBLE_EQ(HarmonicDbc(0, 1), kDeepestHarmonicDbc);
    EXPECT_DOUBLE_EQ(HarmonicDbc(1e-30, 1), kDeepestHarmonicDbc);
    EXPECT_DOUBLE_EQ(HarmonicDbc(1, 0), kDeepestHarmonicDbc);
    EXPECT_DOUBLE_EQ(HarmonicDbc(NAN, 1), kDeepestHarmonicDbc);
    EXPECT_EQ(WorstHarmonicText({{2, -50}, {3, -41.26}, {4, -60}}), "Worst harmonic: 3rd at -41.3 dBc");
    EXPECT_EQ(WorstHarmonicText({{2, -50}, {11, -40}}), "Worst harmonic: 11th at -40.0 dBc");
    EXPECT_EQ(WorstHarmonicText({{21, -45}, {5, -60}}), "Worst harmonic: 21st at -45.0 dBc");
}

// A lossless resonator of natural frequency w0 driven by a step, z = (x, y, 1):
// dx/dθ = w0·y, dy/dθ = −w0·x + 1, whose solution is
// x = 1/w0 + (x0 − 1/w0)cos w0θ + y0 sin w0θ, y = y0 cos w0θ − (x0 − 1/w0) sin w0θ.
SquareMatrix<3> Resonator(double w0)
{
    SquareMatrix<3> a;
    a(0, 1) = w0;
    a(1, 0) = -w0;
    a(1, 2) = 1;
    return a;
}

std::array<FourierSums, 2> ResonatorSums(double w0, const Vector<3>& start, double startAngle, double span)
{
    const SquareMatrix<3> a = Resonator(w0);
    const Vector<3> end = Propagate(a, span, std::array<SquareMatrix<3>, 0>{}).transition * start;
    std::array<FourierSums, 2> sums{};
    AddIntervalFourierSums(a, start, end, startAngle, span, std::array{Vector<3>{1, 0, 0}, Vector<3>{0.5, -2, 0.25}},
                           sums);
    return sums;
}

TEST(IntervalFourierSums, ResonanceAtAHarmonicGivesWhatTheSolveGivesJustOffIt)
{
    const Vector<3> start{0.3, -0.7, 1};
    const double startAngle = 1.1, span = 4.0;
    for (double w0 : {2.0, 5.0}) {
        const auto resonant = ResonatorSums(w0, start, startAngle, span);
        const auto near = ResonatorSums(w0 * (1 + 1e-7), start, startAngle, span);
        // The closed-form solution by Simpson's rule, for the first row.
        constexpr int kPanels = 4000;
        const double h = span / kPanels;
        FourierSums simpson{};
        for (int i = 0; i <= kPanels; ++i) {
            const double theta = i * h;
            const double x = 1 / w0 + (start[0] - 1 / w0) * std::cos(w0 * theta) + start[1] * std::sin(w0 * theta);
            const double weight = (i == 0 || i == kPanels) ? 1 : (i % 2 ? 4 : 2);
            for (std::size_t k = 0; k < kHarmonics; ++k)
                simpson[k] += weight * h / 3 * x * std::polar(1.0, -(k + 1.0) * (startAngle + theta));
        }
        for (std::size_t k = 0; k < kHarmonics; ++k) {
            for (std::size_t r = 0; r < 2; ++r)
                EXPECT_LT(std::abs(resonant[r][k] - near[r][k]), 1e-5 * (1 + std::abs(near[r][k])))
                    << w0 << " n " << k + 1 << " row " << r;
            EXPECT_LT(std::abs(resonant[0][k] - simpson[k]), 1e-8) << w0 << " n " << k + 1;
        }
    }
}

// A junction law of grading exponent zero is a fixed capacitance: the integrated
// Fourier sums must then be the closed-form ones, fall or none.
TEST(StageHarmonics, FlatJunctionLawReproducesTheLinearHarmonics)
{
    for (double fall : {0.0, 0.2}) {
        NormalisedStage linear = IdealStage(5);
        linear.choke = 20;
        linear.ron = 0.05;
        linear.fall = fall;
        linear.capacitorLoss = 0.005;
        linear.coss = 0.5 / linear.c1;
        NormalisedStage flat = linear;
        flat.cossLaw = JunctionLaw{linear.coss, 0.1, 0};
        const SteadyState a = SolveSteadyState(linear, SteadyStateDetail::Full);
        const SteadyState b = SolveSteadyState(flat, SteadyStateDetail::Full);
        ASSERT_TRUE(a.solved && b.solved) << fall;
        for (std::size_t k = 0; k < kHarmonics; ++k) {
            EXPECT_NEAR(b.drainHarmonics[k] / a.drainHarmonics[k], 1, 1e-6) << fall << " n " << k + 1;
            EXPECT_NEAR(b.loadHarmonics[k] / a.loadHarmonics[k], 1, 1e-6) << fall << " n " << k + 1;
        }
    }
}

}  // namespace
}  // namespace voltra
