// Fixed-size dense matrices for the state equations of the switched stage: a handful
// of states, so plain arrays the compiler can unroll beat any general library.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

namespace voltra {

template <std::size_t N>
using Vector = std::array<double, N>;

template <std::size_t N>
struct SquareMatrix {
    std::array<double, N * N> entries{};

    double& operator()(std::size_t row, std::size_t column) { return entries[row * N + column]; }
    double operator()(std::size_t row, std::size_t column) const { return entries[row * N + column]; }

    static SquareMatrix Identity()
    {
        SquareMatrix m;
        for (std::size_t i = 0; i < N; ++i) m(i, i) = 1.0;
        return m;
    }
};

template <std::size_t N>
SquareMatrix<N> operator*(const SquareMatrix<N>& a, const SquareMatrix<N>& b)
{
    SquareMatrix<N> c;
    for (std::size_t i = 0; i < N; ++i) {
        double row[N] = {};
#pragma GCC unroll 8
        for (std::size_t k = 0; k < N; ++k) {
            const double aik = a(i, k);
#pragma GCC unroll 8
            for (std::size_t j = 0; j < N; ++j) row[j] += aik * b(k, j);
        }
#pragma GCC unroll 8
        for (std::size_t j = 0; j < N; ++j) c(i, j) = row[j];
    }
    return c;
}

template <std::size_t N>
Vector<N> operator*(const SquareMatrix<N>& a, const Vector<N>& x)
{
    Vector<N> y{};
#pragma GCC unroll 8
    for (std::size_t i = 0; i < N; ++i)
#pragma GCC unroll 8
        for (std::size_t j = 0; j < N; ++j) y[i] += a(i, j) * x[j];
    return y;
}

template <std::size_t N>
SquareMatrix<N> Transposed(const SquareMatrix<N>& a)
{
    SquareMatrix<N> t;
#pragma GCC unroll 8
    for (std::size_t i = 0; i < N; ++i)
#pragma GCC unroll 8
        for (std::size_t j = 0; j < N; ++j) t(j, i) = a(i, j);
    return t;
}

// x^T W x
template <std::size_t N>
double QuadraticForm(const SquareMatrix<N>& w, const Vector<N>& x)
{
    double sum = 0;
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = 0; j < N; ++j) sum += x[i] * w(i, j) * x[j];
    return sum;
}

// Largest column sum: the norm that decides how far an exponential must be scaled.
template <std::size_t N>
double NormOne(const SquareMatrix<N>& a)
{
    double largest = 0;
    for (std::size_t j = 0; j < N; ++j) {
        double column = 0;
        for (std::size_t i = 0; i < N; ++i) column += std::fabs(a(i, j));
        largest = std::fmax(largest, column);
    }
    return largest;
}

// Solves a x = b in place by Gaussian elimination with partial pivoting; false when
// a is singular to working precision (the answer is then meaningless).
template <std::size_t N>
bool SolveInPlace(SquareMatrix<N>& a, Vector<N>& b)
{
    const double scale = NormOne(a);
    for (std::size_t col = 0; col < N; ++col) {
        std::size_t pivot = col;
        for (std::size_t r = col + 1; r < N; ++r)
            if (std::fabs(a(r, col)) > std::fabs(a(pivot, col))) pivot = r;
        if (!(std::fabs(a(pivot, col)) > 1e-14 * scale)) return false;
        if (pivot != col) {
            for (std::size_t j = 0; j < N; ++j) std::swap(a(col, j), a(pivot, j));
            std::swap(b[col], b[pivot]);
        }
        for (std::size_t r = col + 1; r < N; ++r) {
            const double factor = a(r, col) / a(col, col);
            for (std::size_t j = col; j < N; ++j) a(r, j) -= factor * a(col, j);
            b[r] -= factor * b[col];
        }
    }
    for (std::size_t i = N; i-- > 0;) {
        double sum = b[i];
        for (std::size_t j = i + 1; j < N; ++j) sum -= a(i, j) * b[j];
        b[i] = sum / a(i, i);
    }
    return true;
}

}  // namespace voltra
