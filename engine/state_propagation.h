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

    // The Taylor polynomial by Paterson and Stockmeyer's scheme (SIAM J. Comput. 2(1),
    // 1973): with S², S³ and S⁴ at hand, p(S) = B0 + S⁴(B1 + S⁴·B2), each Bk a sum of
    // those powers, in five products instead of twelve.
    static_assert(kTaylorTerms == 12, "the blocks below are laid out for twelve terms");
    const SquareMatrix<N> square = scaled * scaled;
    const std::array<SquareMatrix<N>, 5> powers = {SquareMatrix<N>::Identity(), scaled, square, square * scaled,
                                                   square * square};
    std::array<double, kTaylorTerms + 1> reciprocalFactorial{1.0};
    for (int k = 1; k <= kTaylorTerms; ++k) reciprocalFactorial[k] = reciprocalFactorial[k - 1] / k;
    auto block = [&](int first, int count) {
        SquareMatrix<N> sum;
        for (int k = 0; k < count; ++k)
            for (std::size_t i = 0; i < N * N; ++i) sum.entries[i] += reciprocalFactorial[first + k] * powers[k].entries[i];
        return sum;
    };
    SquareMatrix<N> inner = block(8, 5);
    inner = powers[4] * inner;
    const SquareMatrix<N> middle = block(4, 4);
    for (std::size_t i = 0; i < N * N; ++i) inner.entries[i] += middle.entries[i];
    p.transition = powers[4] * inner;
    const SquareMatrix<N> first = block(0, 4);
    for (std::size_t i = 0; i < N * N; ++i) p.transition.entries[i] += first.entries[i];

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
