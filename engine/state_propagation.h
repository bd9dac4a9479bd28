// Exact propagation of a linear state equation dz/dθ = A z across one interval h:
// the transition matrix exp(A h) and, for quadratic weights Q, the matrices
// W = ∫0^h exp(Aᵀs) Q exp(A s) ds, so that ∫ zᵀQz dθ = z0ᵀ W z0 with no sampling.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>

#include "engine/small_matrix.h"

namespace voltra {

template <std::size_t N, std::size_t Weights>
struct Propagation {
    SquareMatrix<N> transition;
    std::array<SquareMatrix<N>, Weights> integrals;
};

// Taylor series on a step short enough that twelve terms reach double precision
// (0.25^13/13! < 1e-17), then doubling back up to h. Van Loan's block exponential
// would be shorter to write, but it needs exp(-Aᵀh): with the switch closed, C1
// discharges through Ron in picoseconds and that factor overflows long before h.
// Doubling only ever multiplies decaying factors: W(2t) = W(t) + Φ(t)ᵀ W(t) Φ(t).
// Each weight must be symmetric.
template <std::size_t N, std::size_t Weights>
Propagation<N, Weights> Propagate(const SquareMatrix<N>& a, double h,
                                  const std::array<SquareMatrix<N>, Weights>& weights)
{
    constexpr double kScaledNorm = 0.25;
    constexpr int kTaylorTerms = 12;

    Propagation<N, Weights> p;
    const double norm = NormOne(a) * h;
    if (!std::isfinite(norm)) {
        // A part at zero or beyond double range: no propagation, and NaN says so.
        p.transition.entries.fill(NAN);
        return p;
    }
    int doublings = 0;
    if (norm > kScaledNorm) doublings = static_cast<int>(std::ceil(std::log2(norm / kScaledNorm)));
    const double step = std::ldexp(h, -doublings);

    SquareMatrix<N> scaled = a;
    for (double& x : scaled.entries) x *= step;

    p.transition = SquareMatrix<N>::Identity();
    SquareMatrix<N> term = p.transition;
    for (int k = 1; k <= kTaylorTerms; ++k) {
        term = term * scaled;
        const double reciprocal = 1.0 / k;
        for (std::size_t i = 0; i < N * N; ++i) {
            term.entries[i] *= reciprocal;
            p.transition.entries[i] += term.entries[i];
        }
    }

    // W(step) = step · Σ L^k(Q) / (k+1)!, with L(X) = Sᵀ X + X S for the scaled S;
    // every L^k(Q) stays symmetric, so one product per term suffices.
    for (std::size_t w = 0; w < Weights; ++w) {
        SquareMatrix<N> power = weights[w];
        SquareMatrix<N>& integral = p.integrals[w];
        integral = power;
        double factorial = 1;
        for (int k = 1; k <= kTaylorTerms; ++k) {
            const SquareMatrix<N> half = power * scaled;
            for (std::size_t i = 0; i < N; ++i)
                for (std::size_t j = 0; j < N; ++j) power(i, j) = half(i, j) + half(j, i);
            factorial *= k + 1;
            const double reciprocal = 1.0 / factorial;
            for (std::size_t i = 0; i < N * N; ++i) integral.entries[i] += power.entries[i] * reciprocal;
        }
        for (double& x : integral.entries) x *= step;
    }

    for (int d = 0; d < doublings; ++d) {
        const SquareMatrix<N> transposed = Transposed(p.transition);
        for (SquareMatrix<N>& integral : p.integrals) {
            const SquareMatrix<N> carried = transposed * (integral * p.transition);
            for (std::size_t i = 0; i < N * N; ++i) integral.entries[i] += carried.entries[i];
        }
        p.transition = p.transition * p.transition;
    }
    return p;
}

}  // namespace voltra
