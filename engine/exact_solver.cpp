// Newton's method with Broyden's Jacobian update and a halving line search on the
// normalised stage; the solution is then built in SI parts and analysed in full.
#include "engine/exact_solver.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "engine/equations.h"
#include "engine/small_matrix.h"

namespace voltra {
namespace {

constexpr int kMaxIterations = 40;
// On the drain voltage at turn-on (in supplies), its slope (in ω · supply) and the
// logarithm of the power ratio: far below anything a part tolerance can reach.
constexpr double kTolerance = 1e-10;
// The residuals are exact to about 1e-13, so this step gives a Jacobian good to 1e-6.
constexpr double kDifferenceStep = 1e-7;
constexpr int kMaxHalvings = 12;
// Where the stage resistance and Rnetwork differ by less than this fraction the
// L-network has nothing to transform and is left out; its parts tend to zero there.
constexpr double kSameResistance = 1e-9;

// Newton's unknowns, each finite wherever the physics is: ωC1R; the normalised C2
// reactance 1/(ωC2R), which passes smoothly through zero where C2 grows without bound
// at the lowest usable Q; and ln R, since the output power goes as 1/R.
constexpr std::size_t kC1 = 0;
constexpr std::size_t kC2 = 1;
constexpr std::size_t kLogR = 2;
using Unknowns = Vector<3>;

struct Lnetwork {
    StageNetwork layout = StageNetwork::None;
    double series = 0;  // ohm, reactance of the series inductor
    double shunt = 0;   // ohm, reactance of the shunt capacitor
};

// The lossless low-pass L-section that turns Rnetwork into the stage resistance at
// the switching frequency.
Lnetwork LnetworkFor(const ExactTargets& t, double rload)
{
    if (!t.lnetwork || std::fabs(rload - t.rnetwork) <= kSameResistance * t.rnetwork) return {};
    const double low = std::min(rload, t.rnetwork);
    const double high = std::max(rload, t.rnetwork);
    const double series = std::sqrt(low * high - low * low);
    return {rload < t.rnetwork ? StageNetwork::SeriesLFirst : StageNetwork::ShuntCFirst, series, low * high / series};
}

NormalisedStage Normalise(const ExactTargets& t, const Unknowns& u)
{
    const double r = std::exp(u[kLogR]);
    const Lnetwork network = LnetworkFor(t, r);
    NormalisedStage n;
    n.lseries = t.networkQ;
    n.choke = t.chokeFactor * t.networkQ;
    n.c1 = 1 / u[kC1];
    n.c2 = u[kC2];
    n.ron = t.ron / r;
    n.network = network.layout;
    n.lnetwork = network.series / r;
    n.cnetwork = network.shunt / r;
    n.load = t.lnetwork ? t.rnetwork / r : 1.0;
    return n;
}

std::optional<Vector<3>> Residual(const ExactTargets& t, const Unknowns& u)
{
    if (!(u[kC1] > 0) || !std::isfinite(u[kC2]) || !std::isfinite(u[kLogR])) return std::nullopt;
    const SteadyState s = SolveSteadyState(Normalise(t, u), SteadyStateDetail::TurnOn);
    if (!s.solved || !(s.loadPower > 0)) return std::nullopt;
    const double power = s.loadPower * t.supply * t.supply / std::exp(u[kLogR]);
    Vector<3> f = {s.turnOnVoltage, s.turnOnSlope, std::log(power / t.power)};
    for (double x : f)
        if (!std::isfinite(x)) return std::nullopt;
    return f;
}

double Norm(const Vector<3>& f) { return std::max({std::fabs(f[0]), std::fabs(f[1]), std::fabs(f[2])}); }

bool Positive(double x) { return std::isfinite(x) && x > 0; }

ExactSolution Failure(std::string reason, int iterations = 0)
{
    ExactSolution s;
    s.reason = std::move(reason);
    s.iterations = iterations;
    return s;
}

ClassEStage BuildStage(const ExactTargets& t, const Unknowns& u)
{
    const double omega = 2 * std::numbers::pi * t.frequency;
    const double r = std::exp(u[kLogR]);
    const Lnetwork network = LnetworkFor(t, r);
    ClassEStage st;
    st.frequency = t.frequency;
    st.supply = t.supply;
    st.ron = t.ron;
    st.lseries = t.networkQ * r / omega;
    st.lchoke = t.chokeFactor * st.lseries;
    st.c1 = u[kC1] / (omega * r);
    st.c2 = 1 / (u[kC2] * omega * r);
    st.network = network.layout;
    if (network.layout != StageNetwork::None) {
        st.lnetwork = network.series / omega;
        st.cnetwork = 1 / (omega * network.shunt);
    }
    st.load = t.lnetwork ? t.rnetwork : r;
    return st;
}

}  // namespace

ExactSolution SolveExact(const ExactTargets& t, const ExactStart& start)
{
    for (double target : {t.frequency, t.power, t.supply, t.ron, t.networkQ, t.chokeFactor})
        if (!Positive(target)) return Failure("The targets, Ron and the choke factor must be positive.");
    if (t.lnetwork && !Positive(t.rnetwork)) return Failure("The network resistance must be positive.");
    if (!(t.minC1 >= 0)) return Failure("The switch's own capacitance cannot be negative.");
    if (!Positive(start.rload) || !Positive(start.c1) || !Positive(start.c2))
        return Failure("The closed-form design has no valid load, C1 and C2 to start from.");

    const double omega = 2 * std::numbers::pi * t.frequency;
    Unknowns u = {omega * start.c1 * start.rload, 1 / (omega * start.c2 * start.rload), std::log(start.rload)};
    std::optional<Vector<3>> f = Residual(t, u);
    if (!f) return Failure("The closed-form design cannot be analysed as a start.");

    // Broyden's update keeps the Jacobian current at one analysis per step; a step that
    // fails to shrink the residuals first earns a fresh finite-difference Jacobian, and
    // only a failure with a fresh one ends the search.
    SquareMatrix<3> jacobian;
    auto differenceJacobian = [&]() {
        for (std::size_t j = 0; j < 3; ++j) {
            Unknowns shifted = u;
            const double step = kDifferenceStep * (1 + std::fabs(u[j]));
            shifted[j] += step;
            const std::optional<Vector<3>> g = Residual(t, shifted);
            if (!g) return false;
            for (std::size_t i = 0; i < 3; ++i) jacobian(i, j) = ((*g)[i] - (*f)[i]) / step;
        }
        return true;
    };
    if (!differenceJacobian()) return Failure("The stage cannot be analysed near the closed-form design.");
    bool fresh = true;

    int iteration = 0;
    for (; Norm(*f) > kTolerance; ++iteration) {
        if (iteration == kMaxIterations)
            return Failure("Newton's method did not converge in " + std::to_string(kMaxIterations) + " steps.",
                           iteration);
        SquareMatrix<3> factors = jacobian;
        Vector<3> direction = {-(*f)[0], -(*f)[1], -(*f)[2]};
        const bool solvable = SolveInPlace(factors, direction);

        // Halve the step until the worst residual shrinks; C1 must stay positive on the way.
        double fraction = 1;
        std::optional<Vector<3>> accepted;
        Unknowns trial{};
        for (int h = 0; solvable && h <= kMaxHalvings && !accepted; ++h, fraction /= 2) {
            for (std::size_t i = 0; i < 3; ++i) trial[i] = u[i] + fraction * direction[i];
            const std::optional<Vector<3>> g = Residual(t, trial);
            if (g && Norm(*g) < Norm(*f)) accepted = g;
        }
        if (!accepted) {
            if (!fresh) {
                if (!differenceJacobian())
                    return Failure("Newton's method left the designs the stage can be analysed at: no Class E "
                                   "tuning found for these targets.",
                                   iteration);
                fresh = true;
                continue;
            }
            if (!solvable)
                return Failure("C1, C2 and the load no longer move the turn-on state: no Class E tuning.", iteration);
            if (u[kC1] + direction[kC1] <= 0)
                return Failure("C1 would have to be zero or negative: no Class E tuning for these targets.",
                               iteration);
            return Failure("Newton's method stalled: no Class E tuning found for these targets.", iteration);
        }

        Vector<3> moved;
        Vector<3> change;
        for (std::size_t i = 0; i < 3; ++i) {
            moved[i] = trial[i] - u[i];
            change[i] = (*accepted)[i] - (*f)[i];
        }
        const Vector<3> predicted = jacobian * moved;
        const double length = moved[0] * moved[0] + moved[1] * moved[1] + moved[2] * moved[2];
        for (std::size_t i = 0; i < 3; ++i)
            for (std::size_t j = 0; j < 3; ++j) jacobian(i, j) += (change[i] - predicted[i]) * moved[j] / length;
        fresh = false;
        u = trial;
        f = accepted;
    }

    if (!(u[kC2] > 0))
        return Failure("C2 would have to be negative: the loaded Q is too low for Class E with this choke.",
                       iteration);
    ExactSolution s;
    s.iterations = iteration;
    s.rload = std::exp(u[kLogR]);
    s.stage = BuildStage(t, u);
    s.figures = AnalyseStage(s.stage);
    if (!s.figures.valid) return Failure(s.figures.reason, iteration);
    if (s.stage.c1 < t.minC1)
        return Failure("The switch's own capacitance is larger than the C1 Class E needs here.", iteration);
    s.valid = true;
    return s;
}

double HighestFrequencyForCoss(const ExactTargets& targets, const ExactStart& start, double coss)
{
    // With Ron, Q, the choke factor and Rnetwork held, the normalised problem has no
    // frequency in it: R and ωC1R come out the same at every frequency, and C1 goes
    // exactly as 1/f. One solve gives the frequency where C1 falls to coss.
    ExactTargets free = targets;
    free.minC1 = 0;
    const ExactSolution s = SolveExact(free, start);
    if (!s.valid || !(coss > 0)) return NAN;
    return targets.frequency * s.stage.c1 / coss;
}

ExactTargets ExactTargetsOf(const DesignRecord& design, double chokeFactor)
{
    ExactTargets t;
    t.frequency = design.Frequency;
    t.power = design.Power;
    t.supply = design.Supply;
    t.ron = Ron(design);
    t.networkQ = design.NetworkQ;
    t.chokeFactor = chokeFactor;
    t.lnetwork = design.LnetState;
    t.rnetwork = design.Rnetwork;
    return t;
}

ExactStart ClosedFormStart(const DesignRecord& design) { return {design.Rload, design.C1, design.C2}; }

}  // namespace voltra
