// Exact Fourier coefficients of the stage's voltages from its piecewise-linear
// solution: each switch interval's integral of a row times the state against
// e^{−jnθ} in closed form from the interval's state matrix, with no sampling; and the
// harmonics as amplitudes and as decibels below the fundamental.
#pragma once

#include <array>
#include <cmath>
#include <complex>
#include <cstddef>
#include <string>
#include <vector>

#include "engine/small_matrix.h"
#include "engine/state_propagation.h"

namespace voltra {

// Harmonics 1 to kHarmonics, index n − 1.
inline constexpr std::size_t kHarmonics = 10;

// ∫ v(θ) e^{−jnθ} dθ over one period of a waveform v, n = 1..kHarmonics.
using FourierSums = std::array<std::complex<double>, kHarmonics>;
// Amplitudes |Vn| of v(θ) = V0 + Σ |Vn| cos(nθ + φn), n = 1..kHarmonics.
using HarmonicAmplitudes = std::array<double, kHarmonics>;

// |Vn| = |∫0^2π v e^{−jnθ} dθ| / π, the trigonometric series' amplitude.
HarmonicAmplitudes AmplitudesOf(const FourierSums& sums);

// A harmonic this far below the fundamental, or an absent fundamental, reads as this:
// a finite figure for a null the arithmetic cannot tell from zero.
inline constexpr double kDeepestHarmonicDbc = -200;

// 20·log10(|Vn| / |V1|), never below kDeepestHarmonicDbc.
double HarmonicDbc(double amplitude, double fundamental);

// One harmonic of the load voltage, n ≥ 2, in dB relative to the fundamental.
struct Harmonic {
    int n = 0;
    double dBc = 0;
    bool operator==(const Harmonic&) const = default;
};

// Harmonics 2 to kHarmonics of a waveform relative to its fundamental.
std::vector<Harmonic> HarmonicsBelowFundamental(const HarmonicAmplitudes& amplitudes);

// "2nd", "3rd", "11th": the harmonic's order as English writes it.
std::string HarmonicOrdinal(int n);

// "Worst harmonic: 2nd at -31.2 dBc", the highest of them; empty when there are none.
std::string WorstHarmonicText(const std::vector<Harmonic>& harmonics);

// The shifted system H − jnI of an upper Hessenberg H is solved in O(M²); a pivot
// this small beside the matrix's norm means jn is (nearly) an eigenvalue of the
// interval, a lossless resonance at the harmonic, where the solve would return noise.
inline constexpr double kResonantPivot = 1e-9;

namespace detail {

using Complex = std::complex<double>;

// Householder reduction to upper Hessenberg form, A = Q H Qᵀ (G. H. Golub and C. F.
// Van Loan, "Matrix Computations", 4th ed., 2013, Algorithm 7.4.2).
template <std::size_t M>
struct Hessenberg {
    SquareMatrix<M> h;
    SquareMatrix<M> q;
};

template <std::size_t M>
Hessenberg<M> ReducedToHessenberg(const SquareMatrix<M>& a)
{
    Hessenberg<M> r{a, SquareMatrix<M>::Identity()};
    SquareMatrix<M>& h = r.h;
    SquareMatrix<M>& q = r.q;
    for (std::size_t k = 0; k + 2 < M; ++k) {
        std::array<double, M> v{};
        double norm = 0;
        for (std::size_t i = k + 1; i < M; ++i) norm += h(i, k) * h(i, k);
        norm = std::sqrt(norm);
        if (norm == 0) continue;
        const double alpha = h(k + 1, k) > 0 ? -norm : norm;
        for (std::size_t i = k + 1; i < M; ++i) v[i] = h(i, k);
        v[k + 1] -= alpha;
        double vv = 0;
        for (std::size_t i = k + 1; i < M; ++i) vv += v[i] * v[i];
        if (vv == 0) continue;
        const double beta = 2 / vv;
        // H ← (I − βvvᵀ) H (I − βvvᵀ), Q ← Q (I − βvvᵀ).
        for (std::size_t j = 0; j < M; ++j) {
            double s = 0;
            for (std::size_t i = k + 1; i < M; ++i) s += v[i] * h(i, j);
            s *= beta;
            for (std::size_t i = k + 1; i < M; ++i) h(i, j) -= s * v[i];
        }
        for (std::size_t i = 0; i < M; ++i) {
            double s = 0, t = 0;
            for (std::size_t j = k + 1; j < M; ++j) {
                s += h(i, j) * v[j];
                t += q(i, j) * v[j];
            }
            s *= beta;
            t *= beta;
            for (std::size_t j = k + 1; j < M; ++j) {
                h(i, j) -= s * v[j];
                q(i, j) -= t * v[j];
            }
        }
        for (std::size_t i = k + 2; i < M; ++i) h(i, k) = 0;
    }
    return r;
}

// Solves (H − jnI) x = b for upper Hessenberg H by elimination with partial pivoting
// between neighbouring rows; false when a pivot falls below kResonantPivot·‖H − jnI‖.
// The complex arithmetic is written out on real and imaginary parts: std::complex's
// products guard against infinities in a library call each, which costs more here
// than the solve itself.
template <std::size_t M>
bool SolveShifted(const SquareMatrix<M>& h, double n, std::array<Complex, M>& b)
{
    std::array<double, M * M> re = h.entries, im{};
    double norm = n;
    for (double x : re) norm = std::fmax(norm, std::fabs(x));
    for (std::size_t i = 0; i < M; ++i) im[i * M + i] = -n;
    std::array<double, M> bre, bim;
    for (std::size_t i = 0; i < M; ++i) {
        bre[i] = b[i].real();
        bim[i] = b[i].imag();
    }
    const double smallest = kResonantPivot * norm;
    const double smallestSquared = smallest * smallest;
    for (std::size_t k = 0; k + 1 < M; ++k) {
        const std::size_t row = k * M, next = (k + 1) * M;
        const double pivotSquared = re[row + k] * re[row + k] + im[row + k] * im[row + k];
        if (re[next + k] * re[next + k] + im[next + k] * im[next + k] > pivotSquared) {
            for (std::size_t j = k; j < M; ++j) {
                std::swap(re[row + j], re[next + j]);
                std::swap(im[row + j], im[next + j]);
            }
            std::swap(bre[k], bre[k + 1]);
            std::swap(bim[k], bim[k + 1]);
        }
        const double pr = re[row + k], pi = im[row + k];
        const double magnitude = pr * pr + pi * pi;
        if (!(magnitude > smallestSquared)) return false;
        // factor = next[k] / row[k]
        const double fr = (re[next + k] * pr + im[next + k] * pi) / magnitude;
        const double fi = (im[next + k] * pr - re[next + k] * pi) / magnitude;
        for (std::size_t j = k + 1; j < M; ++j) {
            re[next + j] -= fr * re[row + j] - fi * im[row + j];
            im[next + j] -= fr * im[row + j] + fi * re[row + j];
        }
        bre[k + 1] -= fr * bre[k] - fi * bim[k];
        bim[k + 1] -= fr * bim[k] + fi * bre[k];
    }
    for (std::size_t i = M; i-- > 0;) {
        double sr = bre[i], si = bim[i];
        for (std::size_t j = i + 1; j < M; ++j) {
            sr -= re[i * M + j] * bre[j] - im[i * M + j] * bim[j];
            si -= re[i * M + j] * bim[j] + im[i * M + j] * bre[j];
        }
        const double dr = re[i * M + i], di = im[i * M + i];
        const double magnitude = dr * dr + di * di;
        if (!(magnitude > smallestSquared)) return false;
        bre[i] = (sr * dr + si * di) / magnitude;
        bim[i] = (si * dr - sr * di) / magnitude;
    }
    for (std::size_t i = 0; i < M; ++i) b[i] = Complex(bre[i], bim[i]);
    return true;
}

// The integral at a resonant harmonic, exactly from a larger linear system (the
// augmentation of C. F. Van Loan, "Computing integrals involving the matrix
// exponential", IEEE Trans. Automatic Control 23(3), 1978): with p = z cos nθ and
// q = z sin nθ, dp/dθ = A p − n q and dq/dθ = A q + n p, and the rows' integrals of
// r·p and r·q ride along as states; one exponential of that system over the span.
template <std::size_t M, std::size_t Rows>
std::array<Complex, Rows> ResonantIntegral(const SquareMatrix<M>& a, const Vector<M>& start, double span,
                                           double n, const std::array<Vector<M>, Rows>& rows)
{
    constexpr std::size_t N = 2 * M + 2 * Rows;
    SquareMatrix<N> big;
    for (std::size_t i = 0; i < M; ++i) {
        for (std::size_t j = 0; j < M; ++j) {
            big(i, j) = a(i, j);
            big(M + i, M + j) = a(i, j);
        }
        big(i, M + i) = -n;
        big(M + i, i) = n;
    }
    for (std::size_t r = 0; r < Rows; ++r)
        for (std::size_t j = 0; j < M; ++j) {
            big(2 * M + r, j) = rows[r][j];
            big(2 * M + Rows + r, M + j) = rows[r][j];
        }
    const SquareMatrix<N> transition = Propagate(big, span, std::array<SquareMatrix<N>, 0>{}).transition;
    Vector<N> x{};
    for (std::size_t j = 0; j < M; ++j) x[j] = start[j];
    const Vector<N> end = transition * x;
    std::array<Complex, Rows> out;
    for (std::size_t r = 0; r < Rows; ++r) out[r] = Complex(end[2 * M + r], -end[2 * M + Rows + r]);
    return out;
}

}  // namespace detail

// Adds one interval's share of the Fourier sums of `Rows` waveforms r·z. The interval
// runs from the angle startAngle for `span` radians, its state z(θ) = e^{Aθ}·start,
// ending at `end` = e^{A·span}·start (its transition's product, already at hand). Then
// ∫0^τ r·z e^{−jn(θa+θ)} dθ = e^{−jnθa} r·(A − jnI)⁻¹(e^{−jnτ}·end − start); with
// A = Q H Qᵀ reduced once, each n costs one O(M²) solve of H − jnI (A. J. Laub,
// "Efficient multivariable frequency response computations", IEEE Trans. Automatic
// Control 26(2), 1981). A resonance of the interval at a harmonic takes the exact
// augmented exponential instead.
template <std::size_t M, std::size_t Rows>
void AddIntervalFourierSums(const SquareMatrix<M>& a, const Vector<M>& start, const Vector<M>& end,
                            double startAngle, double span, const std::array<Vector<M>, Rows>& rows,
                            std::array<FourierSums, Rows>& sums)
{
    using detail::Complex;
    const detail::Hessenberg<M> reduced = detail::ReducedToHessenberg(a);
    // Qᵀ·start, Qᵀ·end and each r·Q, so the solve stays in the Hessenberg basis.
    Vector<M> startH{}, endH{};
    std::array<Vector<M>, Rows> rowsH{};
    for (std::size_t j = 0; j < M; ++j)
        for (std::size_t i = 0; i < M; ++i) {
            startH[j] += reduced.q(i, j) * start[i];
            endH[j] += reduced.q(i, j) * end[i];
            for (std::size_t r = 0; r < Rows; ++r) rowsH[r][j] += rows[r][i] * reduced.q(i, j);
        }
    for (std::size_t k = 0; k < kHarmonics; ++k) {
        const double n = static_cast<double>(k + 1);
        const Complex atEnd = std::polar(1.0, -n * span);
        const Complex atStart = std::polar(1.0, -n * startAngle);
        std::array<Complex, M> x;
        for (std::size_t j = 0; j < M; ++j)
            x[j] = Complex(atEnd.real() * endH[j] - startH[j], atEnd.imag() * endH[j]);
        if (detail::SolveShifted(reduced.h, n, x)) {
            for (std::size_t r = 0; r < Rows; ++r) {
                double sr = 0, si = 0;
                for (std::size_t j = 0; j < M; ++j) {
                    sr += rowsH[r][j] * x[j].real();
                    si += rowsH[r][j] * x[j].imag();
                }
                sums[r][k] += Complex(atStart.real() * sr - atStart.imag() * si,
                                      atStart.real() * si + atStart.imag() * sr);
            }
        } else {
            const std::array<Complex, Rows> exact = detail::ResonantIntegral(a, start, span, n, rows);
            for (std::size_t r = 0; r < Rows; ++r) sums[r][k] += atStart * exact[r];
        }
    }
}

}  // namespace voltra
