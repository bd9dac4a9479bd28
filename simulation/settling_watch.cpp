// The per-period change alone says little: a large choke or a high-Q network settles
// geometrically with a time constant of tens of periods, so a change of 0.1 % per
// period can still leave several per cent to come (a 358 kHz, Q 25 stage with an
// L-network read 3.9 % low that way), and ngspice's step-to-step noise makes the
// ratio of two successive one-period steps meaningless. So the watch compares changes
// over spans of a quarter of the run: over such spans the noise is negligible, a
// geometric tail shows its ratio ρ = r^span, and what is still to come is Aitken's
// d·ρ/(1 − ρ). A settling that rings rather than creeps is bounded by how far the
// power moved over the last span.
#include "simulation/settling_watch.h"

#include <algorithm>
#include <cmath>

namespace voltra {
namespace {

// The estimate must stay under half the promised change: the tail is not exactly
// geometric (two modes of the choke and the network mix in it).
constexpr double kEstimateMargin = 0.5;
// The shortest run the spans can judge: three points a quarter of the run apart.
constexpr std::size_t kFewestPeriods = 12;
constexpr std::size_t kSpansPerRun = 4;
// Changes below this fraction are ngspice's own noise between periods: nothing left
// to settle.
constexpr double kNoiseFloor = 1e-6;

// How far one power is still from its steady value, as a fraction of its last value.
double StillToGoOf(const std::vector<double>& power)
{
    const std::size_t n = power.size();
    if (n < kFewestPeriods) return std::numeric_limits<double>::infinity();
    const std::size_t span = n / kSpansPerRun;
    const double last = power[n - 1];
    const double scale = std::fabs(last);
    if (!(scale > 0)) return std::numeric_limits<double>::infinity();
    const double recent = power[n - 1 - span];
    const double earlier = power[n - 1 - 2 * span];
    const auto [low, high] = std::minmax_element(power.end() - static_cast<std::ptrdiff_t>(span) - 1, power.end());
    const double spread = (*high - *low) / scale;
    if (spread < kNoiseFloor) return spread;
    const double lastStep = last - recent;
    const double stepBefore = recent - earlier;
    const double ratio = lastStep / stepBefore;
    // Turning or ringing: the last span's excursion bounds what is left.
    if (!(ratio > 0)) return spread;
    // Not decaying, or not yet: nothing to say but "not steady".
    if (ratio >= 1) return std::numeric_limits<double>::infinity();
    return std::max(spread, std::fabs(lastStep) * ratio / (1 - ratio) / scale);
}

}  // namespace

void SettlingWatch::AddPeriod(double outputPower, double inputPower)
{
    if (!output_.empty())
        lastChange_ = std::max(std::fabs(outputPower - output_.back()) / std::fabs(outputPower),
                               std::fabs(inputPower - input_.back()) / std::fabs(inputPower));
    output_.push_back(outputPower);
    input_.push_back(inputPower);
}

double SettlingWatch::StillToGo() const { return std::max(StillToGoOf(output_), StillToGoOf(input_)); }

bool SettlingWatch::Steady() const { return StillToGo() < kEstimateMargin * kSteadyChange; }

}  // namespace voltra
