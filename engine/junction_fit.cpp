#include "engine/junction_fit.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

namespace voltra {

namespace {

constexpr int kFewestVoltages = 3;
// The lowest built-in potential a fit may take. A table that starts well above 0 V
// cannot tell a small Vj from a pure power law C ∝ V^-m, and a vanishing Vj would
// send C(0) without bound; a real junction's potential is a few tenths of a volt
// or more (silicon's is about 0.7 V), so 10 mV bounds the extrapolation to 0 V.
constexpr double kLowestVj = 0.01;
// The starting scan of Vj runs from that floor to this multiple of the table's
// highest voltage, one point per step in ln Vj; it only has to land in the right valley.
constexpr double kScanHighest = 1e2;
constexpr int kScanSteps = 80;
// Levenberg–Marquardt (Madsen, Nielsen & Tingleff, "Methods for non-linear least
// squares problems", 2nd ed., 2004, algorithm 3.16): damping start, limits, stop.
constexpr int kMostIterations = 200;
constexpr double kFirstDamping = 1e-3;
constexpr double kStepTolerance = 1e-13;
constexpr double kGradientTolerance = 1e-15;

struct Sample {
    double v;
    double logC;
};

// Residuals ln C_law(v) - ln C_table and their Jacobian in (ln Cj0, ln Vj, m).
void Evaluate(const std::vector<Sample>& samples, const Eigen::Vector3d& p, Eigen::VectorXd& r, Eigen::MatrixXd& j)
{
    const double vj = std::exp(p[1]);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double x = samples[i].v / vj;
        r[i] = p[0] - p[2] * std::log1p(x) - samples[i].logC;
        j(i, 0) = 1;
        j(i, 1) = p[2] * x / (1 + x);
        j(i, 2) = -std::log1p(x);
    }
}

// For a fixed Vj, ln C = ln Cj0 - m·ln(1 + V/Vj) is linear in (ln Cj0, m).
Eigen::Vector3d BestForVj(const std::vector<Sample>& samples, double logVj, double& sumOfSquares)
{
    const double vj = std::exp(logVj);
    Eigen::MatrixXd a(samples.size(), 2);
    Eigen::VectorXd b(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        a(i, 0) = 1;
        a(i, 1) = -std::log1p(samples[i].v / vj);
        b[i] = samples[i].logC;
    }
    const Eigen::Vector2d x = a.colPivHouseholderQr().solve(b);
    sumOfSquares = (a * x - b).squaredNorm();
    return {x[0], logVj, x[1]};
}

Eigen::Vector3d LevenbergMarquardt(const std::vector<Sample>& samples, Eigen::Vector3d p)
{
    const Eigen::Index n = static_cast<Eigen::Index>(samples.size());
    Eigen::VectorXd r(n), rTry(n);
    Eigen::MatrixXd j(n, 3), jTry(n, 3);
    Evaluate(samples, p, r, j);
    Eigen::Matrix3d a = j.transpose() * j;
    Eigen::Vector3d g = j.transpose() * r;
    double mu = kFirstDamping * a.diagonal().maxCoeff();
    double nu = 2;
    for (int k = 0; k < kMostIterations && g.lpNorm<Eigen::Infinity>() > kGradientTolerance; ++k) {
        const Eigen::Vector3d step = (a + mu * Eigen::Matrix3d::Identity()).ldlt().solve(-g);
        if (step.norm() <= kStepTolerance * (p.norm() + kStepTolerance)) break;
        const Eigen::Vector3d pTry = p + step;
        Evaluate(samples, pTry, rTry, jTry);
        const double predicted = step.dot(mu * step - g);
        const double gain = (r.squaredNorm() - rTry.squaredNorm()) / predicted;
        if (predicted > 0 && gain > 0 && rTry.allFinite()) {
            p = pTry;
            r = rTry;
            j = jTry;
            a = j.transpose() * j;
            g = j.transpose() * r;
            mu *= std::max(1.0 / 3, 1 - std::pow(2 * gain - 1, 3));
            nu = 2;
        } else {
            mu *= nu;
            nu *= 2;
        }
    }
    return p;
}

// Solving for the effective capacitances: a grid over the grading exponent and
// ln(V/Vj) to land near the root, then Newton's method on the two ratios.
constexpr double kLargestGrading = 4;
constexpr int kGradingSteps = 100;
constexpr double kLogRatioLowest = -5;  // V/Vj = e^-5: almost no bias, all three equal
constexpr double kLogRatioHighest = 20;
constexpr int kLogRatioSteps = 100;
constexpr int kNewtonSteps = 50;
constexpr double kRatioTolerance = 1e-12;
constexpr double kDerivativeStep = 1e-7;

// ln(Co(tr)/C(V)) and ln(Co(er)/C(V)) of a law with grading m at V = x·Vj.
Eigen::Vector2d LogRatios(double m, double logX)
{
    const JunctionLaw unit{1, 1, m};
    const double x = std::exp(logX);
    const double c = Capacitance(unit, x);
    return {std::log(ChargeEquivalentCapacitance(unit, x) / c), std::log(EnergyEquivalentCapacitance(unit, x) / c)};
}

JunctionFit Failed(std::string reason)
{
    JunctionFit fit;
    fit.reason = std::move(reason);
    return fit;
}

}  // namespace

JunctionFit FitJunctionLaw(std::span<const CapacitancePoint> points)
{
    std::vector<Sample> samples;
    std::set<double> voltages;
    for (const CapacitancePoint& point : points) {
        if (!std::isfinite(point.volts) || !std::isfinite(point.farads))
            return Failed("A capacitance point is not a number.");
        if (point.volts < 0) return Failed("A capacitance point lies below 0 V; the table must start at 0 V or above.");
        if (point.farads <= 0) return Failed("A capacitance point is not positive.");
        samples.push_back({point.volts, std::log(point.farads)});
        voltages.insert(point.volts);
    }
    if (static_cast<int>(voltages.size()) < kFewestVoltages)
        return Failed("The capacitance table needs points at three or more different voltages.");

    const double lowestLog = std::log(kLowestVj);
    const double highestLog = std::log(std::max(*voltages.rbegin(), kLowestVj) * kScanHighest);
    Eigen::Vector3d best;
    double bestSquares = std::numeric_limits<double>::infinity();
    for (int step = 0; step <= kScanSteps; ++step) {
        const double logVj = lowestLog + (highestLog - lowestLog) * step / kScanSteps;
        double squares = 0;
        const Eigen::Vector3d p = BestForVj(samples, logVj, squares);
        if (squares < bestSquares) {
            bestSquares = squares;
            best = p;
        }
    }
    Eigen::Vector3d p = LevenbergMarquardt(samples, best);
    if (!(p[1] >= lowestLog)) {
        double squares = 0;
        p = BestForVj(samples, lowestLog, squares);
    }

    JunctionFit fit;
    fit.law = {std::exp(p[0]), std::exp(p[1]), p[2]};
    if (!std::isfinite(fit.law.cj0) || !std::isfinite(fit.law.vj) || !std::isfinite(fit.law.m))
        return Failed("The capacitance table could not be fitted by a junction law.");
    if (fit.law.m < 0)
        return Failed("The capacitance rises with voltage in the table; a junction law cannot follow it.");
    for (const CapacitancePoint& point : points)
        fit.worstRelativeError =
            std::max(fit.worstRelativeError, std::abs(Capacitance(fit.law, point.volts) / point.farads - 1));
    fit.fitted = true;
    return fit;
}

JunctionFit LawFromEffectiveCapacitances(double volts, double coss, double energyRelated, double chargeRelated)
{
    for (const double value : {volts, coss, energyRelated, chargeRelated})
        if (!std::isfinite(value) || !(value > 0))
            return Failed("The voltage and the three capacitances must be numbers greater than zero.");
    if (!(coss < energyRelated && energyRelated < chargeRelated))
        return Failed("A falling capacitance has Coss < Co(er) < Co(tr) at the same voltage; these numbers do not.");
    const Eigen::Vector2d target{std::log(chargeRelated / coss), std::log(energyRelated / coss)};

    Eigen::Vector2d p{0, 0};  // grading m, ln(V/Vj)
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i <= kGradingSteps; ++i)
        for (int j = 0; j <= kLogRatioSteps; ++j) {
            const Eigen::Vector2d q{kLargestGrading * i / kGradingSteps,
                                    kLogRatioLowest + (kLogRatioHighest - kLogRatioLowest) * j / kLogRatioSteps};
            const double miss = (LogRatios(q[0], q[1]) - target).squaredNorm();
            if (miss < best) {
                best = miss;
                p = q;
            }
        }
    for (int k = 0; k < kNewtonSteps; ++k) {
        const Eigen::Vector2d r = LogRatios(p[0], p[1]) - target;
        if (r.lpNorm<Eigen::Infinity>() < kRatioTolerance) break;
        Eigen::Matrix2d j;
        for (int c = 0; c < 2; ++c) {
            Eigen::Vector2d step = Eigen::Vector2d::Zero();
            step[c] = kDerivativeStep;
            j.col(c) = (LogRatios(p[0] + step[0], p[1] + step[1]) - LogRatios(p[0] - step[0], p[1] - step[1])) /
                       (2 * kDerivativeStep);
        }
        const Eigen::Vector2d next = p - j.partialPivLu().solve(r);
        if (!next.allFinite()) break;
        p = next;
    }
    const Eigen::Vector2d miss = LogRatios(p[0], p[1]) - target;
    if (!miss.allFinite() || miss.lpNorm<Eigen::Infinity>() > 1e-9 || p[0] < 0)
        return Failed("No junction law has these three capacitances at one voltage.");

    JunctionFit fit;
    fit.law.m = p[0];
    fit.law.vj = volts / std::exp(p[1]);
    fit.law.cj0 = coss * std::pow(1 + std::exp(p[1]), p[0]);
    fit.worstRelativeError = std::expm1(miss.lpNorm<Eigen::Infinity>());
    fit.fitted = true;
    return fit;
}

}  // namespace voltra
