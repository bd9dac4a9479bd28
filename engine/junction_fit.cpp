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

}  // namespace voltra
