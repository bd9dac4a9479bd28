// Newton's method with Broyden's Jacobian update and a halving line search on the
// normalised stage; the solution is then built in SI parts and analysed in full.
#include "engine/exact_solver.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "engine/equations.h"
#include "engine/junction_law.h"
#include "engine/matching_networks.h"
#include "engine/small_matrix.h"
#include "engine/switch_model.h"

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
// Ron settles when a further solve moves it by less than this fraction, as a part
// tolerance never could; the peak current moves with Ron by about Ron/Rload, so a
// handful of solves reach it.
constexpr double kRonTolerance = 1e-6;
constexpr int kMaxRonSteps = 12;
// The closed-form Ron is some per cent from the solved one: the first solve with it
// need not be tighter than this.
constexpr double kFirstRonTolerance = 1e-4;
// Choke-factor steps of the continuation, in natural logarithms.
constexpr double kContinuationStep = 0.5;
constexpr double kSmallestContinuationStep = 1e-3;

// Newton's unknowns, each finite wherever the physics is: ωC1R; the normalised C2
// reactance 1/(ωC2R), which passes smoothly through zero where C2 grows without bound
// at the lowest usable Q; and ln R, since the output power goes as 1/R.
constexpr std::size_t kC1 = 0;
constexpr std::size_t kC2 = 1;
constexpr std::size_t kLogR = 2;
using Unknowns = Vector<3>;

// The lossless network that turns Rnetwork into the stage resistance at the switching
// frequency: the low-pass L-section, or the Pi, T or tapped-C at the matching Q.
NetworkReactances NetworkFor(const ExactTargets& t, double rload)
{
    if (!t.lnetwork) return {};
    // Resistances this close need no L-section; the other kinds keep their Q's match.
    if (t.networkKind == NetworkKind::L && std::fabs(rload - t.rnetwork) <= kSameResistance * t.rnetwork) return {};
    return MatchingNetwork(t.networkKind, rload, t.rnetwork, t.matchingQ);
}

// The stage of the unknowns, with the network NetworkFor gives for their load.
NormalisedStage Normalise(const ExactTargets& t, const Unknowns& u, const NetworkReactances& network)
{
    const double r = std::exp(u[kLogR]);
    const double omega = 2 * std::numbers::pi * t.frequency;
    NormalisedStage n;
    n.lseries = t.networkQ;
    n.choke = t.chokeFactor * t.networkQ;
    n.c1 = 1 / u[kC1];
    n.coss = omega * t.coss * r;
    n.c2 = u[kC2];
    n.ron = t.ron / r;
    n.network = network.layout;
    n.lnetwork = network.lnetwork / r;
    n.cnetwork = network.cnetwork / r;
    n.lnetwork2 = network.lnetwork2 / r;
    n.cnetwork2 = network.cnetwork2 / r;
    if (t.trap) {
        // Tuned to 2f on each step's own load, as the closed form tunes it.
        const TrapReactances trap = TrapFor(r);
        n.trap = true;
        n.ltrap = trap.inductor / r;
        n.ctrap = trap.capacitor / r;
    }
    n.load = t.lnetwork ? t.rnetwork / r : 1.0;
    n.duty = t.duty;
    n.fall = omega * t.falltime;
    n.inductorLoss = std::isinf(t.inductorQ) ? 0.0 : 1 / t.inductorQ;
    n.capacitorLoss = std::isinf(t.capacitorQ) ? 0.0 : 1 / t.capacitorQ;
    n.chokeLoss = LossFactorOf(t.ownQ.choke);
    n.lseriesLoss = LossFactorOf(t.ownQ.lseries);
    n.lnetworkLoss = LossFactorOf(t.ownQ.lnetwork);
    if (t.cossLaw) n.cossLaw = JunctionLaw{n.coss, t.cossLaw->vj / t.supply, t.cossLaw->m};
    return n;
}

std::optional<Vector<3>> Residual(const ExactTargets& t, const Unknowns& u, ShootingMemory* memory)
{
    if (!(u[kC1] > 0) || !std::isfinite(u[kC2]) || !std::isfinite(u[kLogR])) return std::nullopt;
    const NetworkReactances network = NetworkFor(t, std::exp(u[kLogR]));
    if (!network.refusal.empty()) return std::nullopt;
    const SteadyState s = SolveSteadyState(Normalise(t, u, network), SteadyStateDetail::TurnOn, memory);
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
    const NetworkReactances network = NetworkFor(t, r);
    ClassEStage st;
    st.frequency = t.frequency;
    st.supply = t.supply;
    st.ron = t.ron;
    st.lseries = t.networkQ * r / omega;
    st.lchoke = t.chokeFactor * st.lseries;
    st.c1 = u[kC1] / (omega * r);
    st.coss = t.coss;
    st.cossLaw = t.cossLaw;
    st.c2 = 1 / (u[kC2] * omega * r);
    st.network = network.layout;
    if (network.layout != NetworkLayout::None) {
        st.lnetwork = network.lnetwork / omega;
        st.cnetwork = 1 / (omega * network.cnetwork);
    }
    if (UsesLnetwork2(network.layout)) st.lnetwork2 = network.lnetwork2 / omega;
    if (UsesCnetwork2(network.layout)) st.cnetwork2 = 1 / (omega * network.cnetwork2);
    if (t.trap) {
        const TrapReactances trap = TrapFor(r);
        st.trap = true;
        st.ltrap = trap.inductor / omega;
        st.ctrap = 1 / (omega * trap.capacitor);
    }
    st.load = t.lnetwork ? t.rnetwork : r;
    st.duty = t.duty;
    st.falltime = t.falltime;
    st.inductorQ = t.inductorQ;
    st.ownQ = t.ownQ;
    st.capacitorQ = t.capacitorQ;
    return st;
}

// Newton's method from u for fixed Ron and choke factor; the unknowns where the
// residuals vanish, or the reason there are none.
struct Newton {
    bool converged = false;
    std::string reason;
    Unknowns u{};
    int iterations = 0;
};

// A Jacobian from an earlier solve of nearly the same targets saves the finite
// differences of the first step.
Newton SolveUnknowns(const ExactTargets& t, Unknowns u, std::optional<SquareMatrix<3>>* carried = nullptr,
                     double tolerance = kTolerance, ShootingMemory* memory = nullptr)
{
    Newton result;
    std::optional<Vector<3>> f = Residual(t, u, memory);
    if (!f) {
        result.reason = "The closed-form design cannot be analysed as a start.";
        return result;
    }

    // Broyden's update keeps the Jacobian current at one analysis per step; a step that
    // fails to shrink the residuals first earns a fresh finite-difference Jacobian, and
    // only a failure with a fresh one ends the search.
    SquareMatrix<3> jacobian;
    auto differenceJacobian = [&]() {
        for (std::size_t j = 0; j < 3; ++j) {
            Unknowns shifted = u;
            const double step = kDifferenceStep * (1 + std::fabs(u[j]));
            shifted[j] += step;
            const std::optional<Vector<3>> g = Residual(t, shifted, memory);
            if (!g) return false;
            for (std::size_t i = 0; i < 3; ++i) jacobian(i, j) = ((*g)[i] - (*f)[i]) / step;
        }
        return true;
    };
    auto fail = [&](std::string reason) {
        result.reason = std::move(reason);
        return result;
    };
    bool fresh = !(carried && *carried);
    if (!fresh)
        jacobian = **carried;
    else if (!differenceJacobian())
        return fail("The stage cannot be analysed near the closed-form design.");

    int& iteration = result.iterations;
    for (; Norm(*f) > tolerance; ++iteration) {
        if (iteration == kMaxIterations)
            return fail("Newton's method did not converge in " + std::to_string(kMaxIterations) + " steps.");
        SquareMatrix<3> factors = jacobian;
        Vector<3> direction = {-(*f)[0], -(*f)[1], -(*f)[2]};
        const bool solvable = SolveInPlace(factors, direction);

        // Halve the step until the worst residual shrinks; C1 must stay positive on the way.
        double fraction = 1;
        std::optional<Vector<3>> accepted;
        Unknowns trial{};
        for (int h = 0; solvable && h <= kMaxHalvings && !accepted; ++h, fraction /= 2) {
            for (std::size_t i = 0; i < 3; ++i) trial[i] = u[i] + fraction * direction[i];
            const std::optional<Vector<3>> g = Residual(t, trial, memory);
            if (g && Norm(*g) < Norm(*f)) accepted = g;
        }
        if (!accepted) {
            if (!fresh) {
                if (!differenceJacobian())
                    return fail("Newton's method left the designs the stage can be analysed at: no Class E "
                                "tuning found for these targets.");
                fresh = true;
                continue;
            }
            if (!solvable) return fail("C1, C2 and the load no longer move the turn-on state: no Class E tuning.");
            if (u[kC1] + direction[kC1] <= 0)
                return fail("C1 would have to be zero or negative: no Class E tuning for these targets.");
            return fail("Newton's method stalled: no Class E tuning found for these targets.");
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
    result.converged = true;
    result.u = u;
    if (carried) *carried = jacobian;
    return result;
}

// From the choke-fed design at kContinuationChokeFactor down to a smaller choke in
// steps of the choke factor, each solve starting from the last solution, the step
// shortened where a solve fails: the branch that continues the closed-form design.
Newton Continue(ExactTargets t, Unknowns u, ShootingMemory* memory)
{
    const double target = t.chokeFactor;
    t.chokeFactor = kContinuationChokeFactor;
    Newton at = SolveUnknowns(t, u, nullptr, kTolerance, memory);
    if (!at.converged) return at;
    int iterations = at.iterations;
    double logStep = kContinuationStep;
    double logFactor = std::log(kContinuationChokeFactor);
    const double logTarget = std::log(target);
    while (logFactor > logTarget) {
        const double next = std::max(logTarget, logFactor - logStep);
        t.chokeFactor = std::exp(next);
        Newton step = SolveUnknowns(t, at.u, nullptr, kTolerance, memory);
        iterations += step.iterations;
        if (step.converged) {
            at = step;
            logFactor = next;
            logStep = std::min(kContinuationStep, 2 * logStep);
        } else if ((logStep /= 4) < kSmallestContinuationStep) {
            step.reason = "no Class E tuning continues the choke-fed design down to a choke of " +
                          std::to_string(target) + " times Lseries (it ends near " +
                          std::to_string(std::exp(logFactor)) + ").";
            step.iterations = iterations;
            return step;
        }
    }
    at.iterations = iterations;
    return at;
}

// The ideal stage (RF choke, sinusoidal output current, lossless switch) at duty D,
// after F. H. Raab, "Idealized operation of the class E tuned power amplifier", IEEE
// Trans. CAS-24(12), 1977: with the switch open over y = 2π(1 − D), the capacitor
// current Idc + Im·sin(θ + φ) charges C1 from zero, and ZVS and zero slope at the end
// of the off-time ask y + a(cos φ − cos(y + φ)) = 0 and 1 + a·sin(y + φ) = 0, a = Im/Idc.
// Then P·R/Vdd² = 2/a² and ωC1R = [y²/2 + a(y cos φ − sin(y + φ) + sin φ)]/(π a²).
// Newton's method follows the solution from D = 0.5 (a = −√(1 + π²/4), tan φ = −2/π)
// in small duty steps.
struct IdealDesign {
    double powerFactor = 0;  // P·R/Vdd²
    double c1 = 0;           // ωC1R
};

IdealDesign IdealAtDuty(double duty)
{
    constexpr double kPi = std::numbers::pi;
    constexpr int kDutySteps = 16;
    constexpr int kNewtonSteps = 30;
    double a = -std::sqrt(1 + kPi * kPi / 4);
    double phi = std::atan(-2 / kPi);
    double y = kPi;
    for (int step = 1; step <= kDutySteps; ++step) {
        y = 2 * kPi * (1 - (0.5 + (duty - 0.5) * step / kDutySteps));
        for (int k = 0; k < kNewtonSteps; ++k) {
            const double f1 = y + a * (std::cos(phi) - std::cos(y + phi));
            const double f2 = 1 + a * std::sin(y + phi);
            const double j11 = std::cos(phi) - std::cos(y + phi), j12 = a * (std::sin(y + phi) - std::sin(phi));
            const double j21 = std::sin(y + phi), j22 = a * std::cos(y + phi);
            const double det = j11 * j22 - j12 * j21;
            a -= (f1 * j22 - f2 * j12) / det;
            phi -= (j11 * f2 - j21 * f1) / det;
        }
    }
    const double g = y * y / 2 + a * (y * std::cos(phi) - std::sin(y + phi) + std::sin(phi));
    return {2 / (a * a), g / (kPi * a * a)};
}

// The closed form is for a half-period on-time: at another duty its load and C1 scale
// as the ideal stage's do.
ExactStart AtDuty(ExactStart start, double duty)
{
    if (duty == kDefaultDuty) return start;
    const IdealDesign half = IdealAtDuty(kDefaultDuty), at = IdealAtDuty(duty);
    const double load = at.powerFactor / half.powerFactor;
    start.rload *= load;
    start.c1 *= at.c1 / half.c1 / load;
    start.c2 /= load;
    return start;
}

// Why a converged solution is not to be believed, or empty.
std::string Implausible(const ExactTargets& t, const ExactStart& start, const ExactSolution& s)
{
    const ClassEStage& st = s.stage;
    for (double part : {st.lchoke, st.c1, st.lseries, st.c2, st.ron})
        if (!Positive(part)) return "a part of the solution is not a positive, finite value.";
    if (st.network != NetworkLayout::None && !(Positive(st.lnetwork) && Positive(st.cnetwork)))
        return "a part of the solution's L-network is not a positive, finite value.";
    if ((UsesLnetwork2(st.network) && !Positive(st.lnetwork2)) ||
        (UsesCnetwork2(st.network) && !Positive(st.cnetwork2)) ||
        (st.trap && !(Positive(st.ltrap) && Positive(st.ctrap))))
        return "a part of the solution's network is not a positive, finite value.";
    if (!(s.rload < kLoadFactor * start.rload && s.rload > start.rload / kLoadFactor))
        return "its load of " + std::to_string(s.rload) + " ohm is far from the " + std::to_string(start.rload) +
               " ohm of the closed-form design.";
    if (start.efficiency > 0) {
        // Sokal's Eq 1: the series branch's part resistances take their share of the load's.
        const double lseriesQ = t.ownQ.lseries.value_or(t.inductorQ);
        const double shares = 1 + (std::isinf(lseriesQ) ? 0.0 : t.networkQ / lseriesQ) +
                              (std::isinf(t.capacitorQ) ? 0.0 : t.networkQ / t.capacitorQ);
        const double floor = kEfficiencyShare * start.efficiency / shares;
        if (!(s.figures.efficiency >= floor))
            return "its efficiency of " + std::to_string(100 * s.figures.efficiency) +
                   " % is implausibly far below the closed-form estimate.";
    }
    return {};
}


// The unknowns and Ron Class E converges to, before the stage is checked: its C1 may
// still be below the switch's own capacitance. A failure's reason when there are none.
struct Converged {
    ExactTargets working;  // with Ron as solved
    Unknowns u{};
    ExactStart start;      // the duty-scaled closed form Newton started from
    int iterations = 0;
    ExactSolution failure;
    bool ok = false;
};

Converged SolveClassE(const ExactTargets& given, const ExactStart& closedFormStart)
{
    Converged result;
    auto failed = [&result](ExactSolution f) {
        result.failure = std::move(f);
        return result;
    };
    // With a law, its Cj0 is the switch's part of C1 the equations are built on.
    ExactTargets t = given;
    if (t.cossLaw) t.coss = t.cossLaw->cj0;
    for (double target : {t.frequency, t.power, t.supply, t.ron, t.networkQ, t.chokeFactor})
        if (!Positive(target)) return failed(Failure("The targets, Ron and the choke factor must be positive."));
    if (t.lnetwork && !Positive(t.rnetwork)) return failed(Failure("The network resistance must be positive."));
    if (!(t.coss >= 0)) return failed(Failure("The switch's own capacitance cannot be negative."));
    if (!(t.duty >= kMinDuty && t.duty <= kMaxDuty)) return failed(Failure("The duty must lie between 25 % and 75 %."));
    if (!(t.falltime >= 0)) return failed(Failure("The fall time cannot be negative."));
    if (!(t.falltime < (1 - t.duty) / t.frequency)) return failed(Failure("The fall time is longer than the switch's off-time."));
    if (!(t.inductorQ > 0 && t.capacitorQ > 0 && t.ownQ.Positive()))
        return failed(Failure("The parts' quality factors must be positive."));
    if (const std::string refusal = NetworkFor(t, closedFormStart.rload).refusal; !refusal.empty())
        return failed(Failure(refusal + "."));
    ExactStart start = AtDuty(closedFormStart, t.duty);
    ExactStart fromClosedForm = closedFormStart;
    if (!Positive(start.rload) || !Positive(start.c1) || !Positive(start.c2))
        return failed(Failure("The closed-form design has no valid load, C1 and C2 to start from."));
    if (t.cossLaw) {
        // The closed form's C1 is all the drain needs; the curve's Cj0, which the total
        // is counted from, can be more than that. Newton starts where the external part
        // is the closed form's C1 less the charge the curve takes up to the ideal peak.
        const double shift = t.cossLaw->cj0 - ChargeEquivalentCapacitance(*t.cossLaw, kDrainPeakOverSupply * t.supply);
        start.c1 += shift;
        fromClosedForm.c1 += shift;
    }

    const double omega = 2 * std::numbers::pi * t.frequency;
    auto unknownsOf = [omega](const ExactStart& at) {
        return Unknowns{omega * at.c1 * at.rload, 1 / (omega * at.c2 * at.rload), std::log(at.rload)};
    };
    const Unknowns scaled = unknownsOf(start);
    const Unknowns closedForm = unknownsOf(fromClosedForm);
    Unknowns u = scaled;

    // Ron is the saturation voltage over the peak current of the solution it gives:
    // a fixed point, reached in a few solves since the peak current hardly moves with
    // Ron (by about Ron/Rload of itself), each starting from the last solution and
    // its Jacobian.
    ExactTargets working = t;
    // Every solve of the stage with a curve starts from the last one's turn-on state.
    ShootingMemory shooting;
    ShootingMemory* const memory = t.cossLaw ? &shooting : nullptr;
    int iterations = 0;
    std::optional<SquareMatrix<3>> jacobian;
    // The secant through the last two (Ron, Ron it gives) pairs, after one plain step;
    // each solve only as tight as Ron is already known, the last one fully.
    double previousRon = NAN, previousGap = NAN;
    // The first solve only to the closeness the closed-form Ron deserves.
    double tolerance = t.saturation > 0 ? kFirstRonTolerance : kTolerance;
    for (int outer = 0;; ++outer) {
        Newton n = outer == 0 && working.chokeFactor < kContinuationChokeFactor
                       ? Continue(working, u, memory)
                       : SolveUnknowns(working, u, &jacobian, tolerance, memory);
        // A warm start can sit where the L-network just vanishes (its reactances go as
        // the square root of the resistance step there); from a cold start it converges.
        // From the other start: the closed form as it is where the duty-scaled one fails.
        if (!n.converged) {
            const Unknowns from = outer > 0 ? scaled : closedForm;
            const Newton other = outer == 0 && working.chokeFactor < kContinuationChokeFactor
                                     ? Continue(working, from, memory)
                                     : SolveUnknowns(working, from, nullptr, tolerance, memory);
            if (other.converged) n = other;
        }
        iterations += n.iterations;
        if (!n.converged) return failed(Failure(n.reason, iterations));
        u = n.u;
        if (!(u[kC2] > 0))
            return failed(Failure("C2 would have to be negative: the loaded Q is too low for Class E with this choke.",
                           iterations));
        if (!(t.saturation > 0)) break;
        const SteadyState peaks = SolveSteadyState(Normalise(working, u, NetworkFor(working, std::exp(u[kLogR]))),
                                                 SteadyStateDetail::SwitchPeak, memory);
        const double given = t.saturation / (peaks.peakNetworkCurrent * t.supply / std::exp(u[kLogR]));
        if (!peaks.solved || !Positive(given)) return failed(Failure("The solved peak current gives no on-resistance.", iterations));
        const double gap = given - working.ron;
        if (std::fabs(gap) <= kRonTolerance * given) {
            // Ron has settled: the solve it gives, to full precision.
            working.ron = given;
            if (tolerance > kTolerance) {
                const Newton polished = SolveUnknowns(working, u, &jacobian, kTolerance, memory);
                iterations += polished.iterations;
                if (!polished.converged) return failed(Failure(polished.reason, iterations));
                u = polished.u;
            }
            break;
        }
        if (outer + 1 == kMaxRonSteps) return failed(Failure("Ron and the peak current it gives did not settle.", iterations));
        double next = given;
        if (std::isfinite(previousGap) && gap != previousGap) {
            const double secant = working.ron - gap * (working.ron - previousRon) / (gap - previousGap);
            if (Positive(secant)) next = secant;
        }
        previousRon = working.ron;
        previousGap = gap;
        tolerance = std::max(kTolerance, std::min(1e-3, 1e-2 * std::fabs(next - working.ron) / next));
        working.ron = next;
    }
    result.working = working;
    result.u = u;
    result.start = start;
    result.iterations = iterations;
    result.ok = true;
    return result;
}

}  // namespace

ExactSolution SolveExact(const ExactTargets& given, const ExactStart& closedFormStart)
{
    const Converged c = SolveClassE(given, closedFormStart);
    if (!c.ok) return c.failure;
    const int iterations = c.iterations;
    ExactSolution s;
    s.stage = BuildStage(c.working, c.u);
    if (s.stage.c1 < c.working.coss)
        return Failure("The switch's own capacitance is larger than the C1 Class E needs here.", iterations);
    s.figures = AnalyseStage(s.stage);
    if (!s.figures.valid) return Failure(s.figures.reason, iterations);
    s.iterations = iterations;
    s.rload = std::exp(c.u[kLogR]);
    const std::string doubt = Implausible(c.working, c.start, s);
    if (!doubt.empty()) return Failure("The solution found is not believable: " + doubt, iterations);
    s.valid = true;
    return s;
}

double HighestFrequencyForCoss(const ExactTargets& targets, const ExactStart& start, double coss)
{
    // With Ron, Q, the choke factor and Rnetwork held, the normalised problem has no
    // frequency in it: R and ωC1R come out the same at every frequency, and C1 goes
    // exactly as 1/f. One solve gives the frequency where C1 falls to coss.
    ExactTargets free = targets;
    free.coss = 0;
    const ExactSolution s = SolveExact(free, start);
    if (!s.valid || !(coss > 0)) return NAN;
    return targets.frequency * s.stage.c1 / coss;
}

double HighestFrequencyForCurve(const ExactTargets& targets, const ExactStart& start, const JunctionLaw& law)
{
    ExactTargets free = targets;
    free.coss = 0;
    free.cossLaw.reset();
    const ExactSolution reference = SolveExact(free, start);
    if (!reference.valid || !(law.cj0 > 0)) return NAN;
    const double f0 = targets.frequency;
    // The external C1 times the frequency, as a share of what the ideal switch needs:
    // with one fixed capacitance it falls linearly in f to zero at the limit, and the
    // curve bends it only a little, so the secant needs few solves.
    auto excess = [&](double f) -> double {
        ExactTargets at = targets;
        at.frequency = f;
        at.coss = law.cj0;
        at.cossLaw = law;
        ExactStart from = start;
        from.c1 *= f0 / f;
        from.c2 *= f0 / f;
        const Converged c = SolveClassE(at, from);
        if (!c.ok) return NAN;
        return f * (BuildStage(c.working, c.u).c1 - law.cj0) / (f0 * reference.stage.c1);
    };
    // The first guess: one capacitance taking the curve's charge up to the ideal peak.
    const double equivalent = ChargeEquivalentCapacitance(law, kDrainPeakOverSupply * targets.supply);
    double fa = f0 * reference.stage.c1 / equivalent;
    double fb = fa * (1 + kLimitSecantStep);
    double ea = excess(fa), eb = excess(fb);
    for (int step = 0; step < kLimitSecantSteps; ++step) {
        if (!std::isfinite(ea) || !std::isfinite(eb) || ea == eb) return NAN;
        const double next = fb - eb * (fb - fa) / (eb - ea);
        if (!(next > 0)) return NAN;
        if (std::fabs(next - fb) <= kLimitTolerance * next) return next;
        fa = fb;
        ea = eb;
        fb = next;
        eb = excess(fb);
    }
    return NAN;
}

ExactTargets ExactTargetsOf(const DesignRecord& design, double chokeFactor)
{
    ExactTargets t;
    t.frequency = design.Frequency;
    t.power = design.Power;
    t.supply = design.Supply;
    t.ron = Ron(design);
    t.saturation = design.Saturation;
    t.falltime = design.Falltime;
    t.networkQ = design.NetworkQ;
    t.chokeFactor = chokeFactor;
    t.lnetwork = design.LnetState;
    t.rnetwork = design.Rnetwork;
    return t;
}

ExactStart ClosedFormStart(const DesignRecord& design)
{
    return {design.Rload, design.C1, design.C2, design.Efficiency};
}

}  // namespace voltra
