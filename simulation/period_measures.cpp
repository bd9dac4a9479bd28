// Means are trapezoidal, the rule ngspice integrates with, so the energy balance
// of the simulated circuit also holds in the measured figures.
#include "simulation/period_measures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstddef>
#include <numbers>
#include <optional>

#include "engine/circuit.h"

namespace voltra {
namespace {

// The drain voltage before turn-on is fitted over this many of the simulator's
// longest steps: narrow enough for a parabola to follow it, and as the steps shorten
// with the off-time, as narrow a part of a narrower drain pulse.
constexpr double kTurnOnFitSteps = 2;
// A parabola needs three points; the fit reaches further back for them if needed.
constexpr std::size_t kFitPoints = 3;

// Trapezoidal mean of value(i) over [start, end], with the ends interpolated
// between the samples that straddle them.
template <typename Value>
double MeanOver(const std::vector<double>& time, double start, double end, Value value)
{
    double area = 0;
    for (std::size_t i = 1; i < time.size(); ++i) {
        const double t0 = time[i - 1];
        const double t1 = time[i];
        const double from = std::max(t0, start);
        const double to = std::min(t1, end);
        if (to <= from) continue;
        const double v0 = value(i - 1);
        const double v1 = value(i);
        auto at = [&](double t) { return v0 + (v1 - v0) * (t - t0) / (t1 - t0); };
        area += 0.5 * (at(from) + at(to)) * (to - from);
    }
    return area / (end - start);
}

double MaxOver(const std::vector<double>& time, const std::vector<double>& value, double start, double end)
{
    double highest = -INFINITY;
    for (std::size_t i = 0; i < time.size(); ++i)
        if (time[i] >= start && time[i] <= end) highest = std::max(highest, value[i]);
    return highest;
}

// Points per period the load voltage is resampled at for its spectrum: the
// simulator's steps are at most T/200 and uneven, and linear interpolation on a grid
// twenty times finer keeps the trapezoidal waveform it integrated.
constexpr std::size_t kSpectrumPoints = 4096;

// |Vn| of the load voltage over [start, start + period] from the discrete Fourier
// transform of the resampled period at bins n = 1..kHarmonics: one whole period
// sampled N times puts each harmonic on its own bin with |Xn| = N·|Vn|/2 (A. V.
// Oppenheim and R. W. Schafer, "Discrete-Time Signal Processing", 3rd ed., 2010, ch. 8).
HarmonicAmplitudes LoadHarmonicsOver(const std::vector<double>& time, const std::vector<double>& value, double start,
                                     double period)
{
    std::array<std::complex<double>, kHarmonics> sums{};
    std::size_t i = 1;
    for (std::size_t k = 0; k < kSpectrumPoints; ++k) {
        const double phase = static_cast<double>(k) / kSpectrumPoints;
        const double t = start + phase * period;
        while (i + 1 < time.size() && time[i] < t) ++i;
        const double t0 = time[i - 1], t1 = time[i];
        const double v = t1 > t0 ? value[i - 1] + (value[i] - value[i - 1]) * (t - t0) / (t1 - t0) : value[i];
        const std::complex<double> turn = std::polar(1.0, -2 * std::numbers::pi * phase);
        std::complex<double> rotation = turn;
        for (std::size_t n = 0; n < kHarmonics; ++n) {
            sums[n] += v * rotation;
            rotation *= turn;
        }
    }
    HarmonicAmplitudes amplitudes{};
    for (std::size_t n = 0; n < kHarmonics; ++n) amplitudes[n] = 2 * std::abs(sums[n]) / kSpectrumPoints;
    return amplitudes;
}

// The first sample after the turn-on instant: the ones before it see the switch open.
std::size_t FirstSampleAfter(const std::vector<double>& time, double instant)
{
    return static_cast<std::size_t>(std::upper_bound(time.begin(), time.end(), instant) - time.begin());
}

struct ValueAndSlope {
    double value;  // V
    double slope;  // V/s
};

// Least-squares parabola through the drain voltage while the switch is still
// open, read at the turn-on instant: the samples after it already see the switch
// discharging C1 and would hide the residual.
ValueAndSlope DrainAtTurnOn(const StageSamples& s, double turnOn, double span)
{
    const std::size_t firstOn = FirstSampleAfter(s.time, turnOn);
    // Sums of x^k (k = 0..4) and of y x^k (k = 0..2), x in spans before turn-on.
    double sx[5] = {};
    double sy[3] = {};
    std::size_t used = 0;
    for (std::size_t j = firstOn; j-- > 0;) {
        const double x = (s.time[j] - turnOn) / span;
        if (x < -1 && used >= kFitPoints) break;
        double power = 1;
        for (int k = 0; k < 5; ++k, power *= x) {
            sx[k] += power;
            if (k < 3) sy[k] += s.drain[j] * power;
        }
        ++used;
    }
    if (used < kFitPoints) return {NAN, NAN};
    // Normal equations of y = c0 + c1 x + c2 x^2, by Cramer's rule.
    auto det3 = [](double a, double b, double c, double d, double e, double f, double g, double h, double i) {
        return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    };
    const double det = det3(sx[0], sx[1], sx[2], sx[1], sx[2], sx[3], sx[2], sx[3], sx[4]);
    const double c0 = det3(sy[0], sx[1], sx[2], sy[1], sx[2], sx[3], sy[2], sx[3], sx[4]) / det;
    const double c1 = det3(sx[0], sy[0], sx[2], sx[1], sy[1], sx[3], sx[2], sy[2], sx[4]) / det;
    return {c0, c1 / span};
}

}  // namespace

void StageSamples::DropBefore(double start)
{
    const auto firstKept = std::lower_bound(time.begin(), time.end(), start);
    if (firstKept == time.begin()) return;
    const auto dropped = (firstKept - time.begin()) - 1;
    for (std::vector<double>* column : {&time, &drain, &switchCurrent, &chokeCurrent, &seriesCurrent, &load,
                                        &supplyCurrent})
        column->erase(column->begin(), column->begin() + dropped);
}

SimulationFigures MeasurePeriod(const StageSamples& samples, double start, const SimulationRequest& request)
{
    const double period = 1.0 / request.frequency;
    const double end = start + period;
    SimulationFigures figures;
    figures.Pout = MeanOver(samples.time, start, end, [&](std::size_t i) {
        return samples.load[i] * samples.load[i] / request.loadResistance;
    });
    figures.Idc = MeanOver(samples.time, start, end, [&](std::size_t i) { return samples.supplyCurrent[i]; });
    figures.Pin = request.supply * figures.Idc;
    figures.Efficiency = figures.Pout / figures.Pin;
    figures.Vpeak = MaxOver(samples.time, samples.drain, start, end);

    // What the network drives into the drain node flows through the switch and the
    // shunt capacitance; the switch current beyond it is the capacitance discharging.
    const double onEnd = start + request.duty * period;
    figures.Ipeak = -INFINITY;
    figures.dischargePeak = 0;
    for (std::size_t i = 0; i < samples.time.size(); ++i) {
        if (samples.time[i] < start || samples.time[i] > end) continue;
        const double network = samples.chokeCurrent[i] - samples.seriesCurrent[i];
        const double current = samples.switchCurrent[i];
        figures.Ipeak = std::max(figures.Ipeak, std::min(current, network));
        if (samples.time[i] <= onEnd) figures.dischargePeak = std::max(figures.dischargePeak, current - network);
    }

    const double fitSpan = kTurnOnFitSteps * period / SimulationStepsPerPeriod(request.duty);
    const ValueAndSlope drain = DrainAtTurnOn(samples, start, fitSpan);
    figures.VturnOnPercent = 100.0 * drain.value / request.supply;
    const double omega = 2.0 * std::numbers::pi * request.frequency;
    figures.turnOnSlope = drain.slope / (omega * request.supply);
    figures.dischargeEnergy = 0.5 * request.shuntCapacitance * drain.value * drain.value;
    if (samples.time.size() >= 2) figures.loadHarmonics = LoadHarmonicsOver(samples.time, samples.load, start, period);
    return figures;
}

SimulationWaveforms TwoPeriods(const StageSamples& samples, double start, const SimulationRequest& request)
{
    const double period = 1.0 / request.frequency;
    const double end = start + 2.0 * period;
    SimulationWaveforms waves;
    for (std::size_t i = 0; i < samples.time.size(); ++i) {
        if (samples.time[i] < start || samples.time[i] > end) continue;
        const double sinceStart = samples.time[i] - start;
        waves.time.push_back(sinceStart);
        waves.drain.push_back(samples.drain[i]);
        waves.switchCurrent.push_back(samples.switchCurrent[i]);
        waves.load.push_back(samples.load[i]);
        const double phase = sinceStart - std::floor(sinceStart / period) * period;
        waves.switchOn.push_back(phase < request.duty * period);
    }
    waves.turnOnTime = period;
    return waves;
}

}  // namespace voltra
