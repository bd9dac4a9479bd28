// The builds are independent: each thread takes a contiguous range of sample indices
// and writes only its own entries.
#include "engine/tolerance_analysis.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>

#include "engine/design_options.h"
#include "engine/part_values.h"
#include "engine/portable_random.h"

namespace voltra {
namespace {

// Random numbers per sample: one slot for every part role, whether the circuit has
// the part or not, so adding the network moves no other part's draw.
constexpr std::uint64_t kSlotsPerSample = 9;
// Builds between looks at the stop token and reports of progress.
constexpr int kChunk = 64;

double ToleranceOf(const PartTolerances& tolerances, PartKind kind)
{
    switch (kind) {
    case PartKind::Capacitor: return tolerances.capacitor;
    case PartKind::Inductor: return tolerances.inductor;
    case PartKind::Resistor: break;
    }
    return tolerances.resistor;
}

BuildFigures Judge(const StageFigures& f, double targetPower, const YieldCriteria& criteria)
{
    BuildFigures build;
    build.valid = f.valid;
    if (!f.valid) return build;
    build.pout = f.pout;
    build.efficiency = f.efficiency;
    build.turnOnVoltage = f.turnOnVoltage;
    build.vpeak = f.vpeak;
    build.works = std::abs(f.pout - targetPower) <= criteria.powerBand * targetPower &&
                  std::abs(f.turnOnVoltage) <= criteria.turnOnLimit && f.efficiency >= criteria.efficiencyFloor &&
                  (!criteria.vpeakLimit || f.vpeak <= *criteria.vpeakLimit);
    return build;
}

Histogram HistogramOf(const std::vector<BuildFigures>& builds, double BuildFigures::*figure, int bins)
{
    Histogram h;
    bool any = false;
    for (const BuildFigures& b : builds) {
        if (!b.valid) continue;
        const double x = b.*figure;
        h.low = any ? std::min(h.low, x) : x;
        h.high = any ? std::max(h.high, x) : x;
        any = true;
    }
    if (!any) return h;
    h.counts.assign(static_cast<std::size_t>(std::max(bins, 1)), 0);
    const double width = (h.high - h.low) / static_cast<double>(h.counts.size());
    for (const BuildFigures& b : builds) {
        if (!b.valid) continue;
        std::size_t bin = width > 0 ? static_cast<std::size_t>((b.*figure - h.low) / width) : 0;
        ++h.counts[std::min(bin, h.counts.size() - 1)];
    }
    return h;
}

}  // namespace

ToleranceResult AnalyseTolerances(const Circuit& circuit, double targetPower, const ToleranceSettings& settings,
                                  std::stop_token stop, const ToleranceProgress& progress)
{
    ToleranceResult result;
    const ClassEStage nominal = StageOf(circuit);
    result.nominal = AnalyseStage(nominal);
    const int total = std::max(settings.samples, 0);
    result.builds.resize(static_cast<std::size_t>(total));

    struct Drawn {
        PartRole role;
        double tolerance;
        std::uint64_t slot;
    };
    std::vector<Drawn> drawn;
    for (const TrimmablePart& part : TrimmableParts(circuit))
        drawn.push_back({part.role, ToleranceOf(settings.tolerances, part.kind), static_cast<std::uint64_t>(part.role)});

    const auto analyse = [&](int i) {
        ClassEStage stage = nominal;
        for (const Drawn& d : drawn) {
            const double u = UniformAt(settings.seed, static_cast<std::uint64_t>(i) * kSlotsPerSample + d.slot);
            ScalePart(stage, d.role, 1 + d.tolerance * (2 * u - 1));
        }
        result.builds[static_cast<std::size_t>(i)] = Judge(AnalyseStage(stage), targetPower, settings.criteria);
    };

    std::atomic<int> done{0};
    std::atomic<bool> stopped{false};
    std::mutex reporting;
    int reported = 0;
    const auto work = [&](int begin, int end) {
        for (int chunk = begin; chunk < end; chunk += kChunk) {
            if (stop.stop_requested()) {
                stopped = true;
                return;
            }
            const int last = std::min(chunk + kChunk, end);
            for (int i = chunk; i < last; ++i) analyse(i);
            const int now = done += last - chunk;
            if (progress) {
                // Two threads may reach the lock in the other order: the count never goes back.
                const std::scoped_lock lock(reporting);
                if (now > reported) {
                    reported = now;
                    progress(now, total);
                }
            }
        }
    };

    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const int threads = std::clamp(static_cast<int>(settings.threads ? settings.threads : cores), 1, std::max(total, 1));
    {
        std::vector<std::jthread> workers;
        for (int t = 1; t < threads; ++t)
            workers.emplace_back(work, total * t / threads, total * (t + 1) / threads);
        work(0, total / threads);
    }
    if (stopped) {
        result.cancelled = true;
        result.builds.clear();
        return result;
    }

    for (const BuildFigures& b : result.builds) {
        result.working += b.works;
        result.invalid += !b.valid;
    }
    result.yield = total ? static_cast<double>(result.working) / total : 0;
    result.pout = HistogramOf(result.builds, &BuildFigures::pout, settings.bins);
    result.efficiency = HistogramOf(result.builds, &BuildFigures::efficiency, settings.bins);
    result.turnOnVoltage = HistogramOf(result.builds, &BuildFigures::turnOnVoltage, settings.bins);
    result.vpeak = HistogramOf(result.builds, &BuildFigures::vpeak, settings.bins);
    return result;
}

}  // namespace voltra
