// State equations of the stage in each switch state, the periodic solve, exact
// averages from quadratic-form integrals, and peaks from the exact solution sampled
// on a fine grid.
#include "engine/steady_state.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <numbers>

#include "engine/small_matrix.h"
#include "engine/state_propagation.h"

namespace voltra {
namespace {

constexpr double kHalfPeriod = std::numbers::pi;  // radians of the switching frequency
constexpr double kPeriod = 2 * kHalfPeriod;

// Sampling steps per half period for the peaks. With a parabola through the highest
// sample and its neighbours the peak of a waveform made of the first few harmonics
// is found to about (π/128)³ of the peak, far inside 0.1 %.
constexpr std::size_t kSamplesPerHalf = 128;

// State order: choke current, drain voltage, C2 voltage, series-branch current, the
// network's states, and last the constant 1, which carries the supply into the
// equations and turns linear integrals such as the supply current into quadratic forms.
constexpr std::size_t kChoke = 0;
constexpr std::size_t kDrain = 1;
constexpr std::size_t kC2 = 2;
constexpr std::size_t kSeries = 3;
constexpr std::size_t kNetworkC = 4;  // Cnetwork voltage
constexpr std::size_t kNetworkL = 5;  // Lnetwork current, when it is not in the series branch

// Four circuit states, one or two more for the network, and the constant.
template <StageNetwork Network>
constexpr std::size_t kStates = Network == StageNetwork::None ? 5 : Network == StageNetwork::SeriesLFirst ? 6 : 7;

template <StageNetwork Network, std::size_t M = kStates<Network>>
SquareMatrix<M> StateMatrix(const NormalisedStage& s, bool switchClosed)
{
    constexpr std::size_t one = M - 1;
    SquareMatrix<M> a;
    a(kChoke, one) = 1 / s.choke;
    a(kChoke, kDrain) = -1 / s.choke;
    a(kDrain, kChoke) = s.c1;
    a(kDrain, kSeries) = -s.c1;
    if (switchClosed) a(kDrain, kDrain) = -s.c1 / s.ron;
    a(kC2, kSeries) = s.c2;
    if constexpr (Network == StageNetwork::None) {
        a(kSeries, kDrain) = 1 / s.lseries;
        a(kSeries, kC2) = -1 / s.lseries;
        a(kSeries, kSeries) = -s.load / s.lseries;
    } else if constexpr (Network == StageNetwork::SeriesLFirst) {
        // Lnetwork carries the series-branch current: one inductor with Lseries.
        const double inductance = s.lseries + s.lnetwork;
        a(kSeries, kDrain) = 1 / inductance;
        a(kSeries, kC2) = -1 / inductance;
        a(kSeries, kNetworkC) = -1 / inductance;
        a(kNetworkC, kSeries) = s.cnetwork;
        a(kNetworkC, kNetworkC) = -s.cnetwork / s.load;
    } else {
        a(kSeries, kDrain) = 1 / s.lseries;
        a(kSeries, kC2) = -1 / s.lseries;
        a(kSeries, kNetworkC) = -1 / s.lseries;
        a(kNetworkC, kSeries) = s.cnetwork;
        a(kNetworkC, kNetworkL) = -s.cnetwork;
        a(kNetworkL, kNetworkC) = 1 / s.lnetwork;
        a(kNetworkL, kNetworkL) = -s.load / s.lnetwork;
    }
    return a;
}

template <StageNetwork Network, std::size_t M = kStates<Network>>
SquareMatrix<M> LoadPowerWeight(const NormalisedStage& s)
{
    SquareMatrix<M> w;
    if constexpr (Network == StageNetwork::None)
        w(kSeries, kSeries) = s.load;
    else if constexpr (Network == StageNetwork::SeriesLFirst)
        w(kNetworkC, kNetworkC) = 1 / s.load;
    else
        w(kNetworkL, kNetworkL) = s.load;
    return w;
}

// ∫ choke current · 1 dθ: the supply current.
template <std::size_t M>
SquareMatrix<M> SupplyCurrentWeight()
{
    SquareMatrix<M> w;
    w(kChoke, M - 1) = 0.5;
    w(M - 1, kChoke) = 0.5;
    return w;
}

template <std::size_t M>
SquareMatrix<M> SwitchLossWeight(const NormalisedStage& s)
{
    SquareMatrix<M> w;
    w(kDrain, kDrain) = 1 / s.ron;
    return w;
}

// The highest of the samples, lifted to the vertex of the parabola through it and its
// neighbours when it lies inside the interval (at an end the waveform is cut by a
// switching edge, and the sample itself is the peak).
template <std::size_t K>
double RefinedPeak(const std::array<double, K>& samples)
{
    const auto highest = std::max_element(samples.begin(), samples.end());
    const std::size_t k = static_cast<std::size_t>(highest - samples.begin());
    if (k == 0 || k + 1 == K) return samples[k];
    const double curvature = samples[k - 1] - 2 * samples[k] + samples[k + 1];
    if (!(curvature < 0)) return samples[k];
    const double tilt = samples[k + 1] - samples[k - 1];
    return samples[k] - tilt * tilt / (8 * curvature);
}

template <StageNetwork Network, std::size_t M>
void FindPeaks(const NormalisedStage& s, const Vector<M>& atTurnOn, const Vector<M>& atTurnOff, SteadyState& result)
{
    constexpr double kStep = kHalfPeriod / kSamplesPerHalf;
    const std::array<SquareMatrix<M>, 0> none{};
    const SquareMatrix<M> closedStep = Propagate(StateMatrix<Network>(s, true), kStep, none).transition;
    const SquareMatrix<M> openStep = Propagate(StateMatrix<Network>(s, false), kStep, none).transition;

    std::array<double, kSamplesPerHalf + 1> switchCurrent;
    std::array<double, kSamplesPerHalf + 1> drainClosed;
    std::array<double, kSamplesPerHalf + 1> drainOpen;
    Vector<M> z = atTurnOn;
    for (std::size_t k = 0; k <= kSamplesPerHalf; ++k) {
        drainClosed[k] = z[kDrain];
        switchCurrent[k] = z[kDrain] / s.ron;
        z = closedStep * z;
    }
    z = atTurnOff;
    for (std::size_t k = 0; k <= kSamplesPerHalf; ++k) {
        drainOpen[k] = z[kDrain];
        z = openStep * z;
    }
    const double highestClosed = *std::max_element(drainClosed.begin(), drainClosed.end());
    result.peakDrainVoltage = std::max(RefinedPeak(drainOpen), highestClosed);
    result.peakSwitchCurrent = RefinedPeak(switchCurrent);
}

// Weights of the closed half: load power, supply current and, in full detail, the
// loss in Ron; the open half needs no loss weight.
template <StageNetwork Network, std::size_t M, std::size_t ClosedWeights, std::size_t OpenWeights>
SteadyState Summarise(const NormalisedStage& s, const Propagation<M, ClosedWeights>& closed,
                      const Propagation<M, OpenWeights>& open)
{
    constexpr std::size_t n = M - 1;  // circuit states; the constant is last
    constexpr std::size_t one = M - 1;

    // Periodicity: the state at turn-on comes back after one period, z0 = P z0, with
    // the constant staying 1.
    const SquareMatrix<M> period = open.transition * closed.transition;
    SquareMatrix<n> lhs;
    Vector<n> start;
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) lhs(i, j) = (i == j ? 1.0 : 0.0) - period(i, j);
        start[i] = period(i, one);
    }
    SteadyState result;
    if (!SolveInPlace(lhs, start)) return result;

    Vector<M> atTurnOn{};
    for (std::size_t i = 0; i < n; ++i) atTurnOn[i] = start[i];
    atTurnOn[one] = 1;
    const Vector<M> atTurnOff = closed.transition * atTurnOn;
    auto mean = [&](std::size_t weight) {
        return (QuadraticForm(closed.integrals[weight], atTurnOn) + QuadraticForm(open.integrals[weight], atTurnOff)) /
               kPeriod;
    };

    result.solved = true;
    result.turnOnVoltage = atTurnOn[kDrain];
    result.turnOnSlope = s.c1 * (atTurnOn[kChoke] - atTurnOn[kSeries]);
    result.loadPower = mean(0);
    if constexpr (ClosedWeights == 3) {
        result.supplyCurrent = mean(1);
        result.switchLoss = QuadraticForm(closed.integrals[2], atTurnOn) / kPeriod;
        FindPeaks<Network>(s, atTurnOn, atTurnOff, result);
    }
    return result;
}

template <StageNetwork Network>
SteadyState Solve(const NormalisedStage& s, SteadyStateDetail detail)
{
    constexpr std::size_t m = kStates<Network>;
    const SquareMatrix<m> closed = StateMatrix<Network>(s, true);
    const SquareMatrix<m> open = StateMatrix<Network>(s, false);
    const SquareMatrix<m> load = LoadPowerWeight<Network>(s);
    if (detail == SteadyStateDetail::TurnOn)
        return Summarise<Network>(s, Propagate(closed, kHalfPeriod, std::array{load}),
                                  Propagate(open, kHalfPeriod, std::array{load}));
    const SquareMatrix<m> supply = SupplyCurrentWeight<m>();
    return Summarise<Network>(s, Propagate(closed, kHalfPeriod, std::array{load, supply, SwitchLossWeight<m>(s)}),
                              Propagate(open, kHalfPeriod, std::array{load, supply}));
}

}  // namespace

SteadyState SolveSteadyState(const NormalisedStage& stage, SteadyStateDetail detail)
{
    switch (stage.network) {
    case StageNetwork::None: return Solve<StageNetwork::None>(stage, detail);
    case StageNetwork::SeriesLFirst: return Solve<StageNetwork::SeriesLFirst>(stage, detail);
    case StageNetwork::ShuntCFirst: break;
    }
    return Solve<StageNetwork::ShuntCFirst>(stage, detail);
}

}  // namespace voltra
