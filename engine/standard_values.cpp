// The series tables, one decade each, and the decade-aware nearest-value search.
#include "engine/standard_values.h"

#include <array>
#include <cmath>
#include <span>

namespace voltra {
namespace {

constexpr std::array<double, 12> kE12 = {1.0, 1.2, 1.5, 1.8, 2.2, 2.7, 3.3, 3.9, 4.7, 5.6, 6.8, 8.2};

constexpr std::array<double, 24> kE24 = {1.0, 1.1, 1.2, 1.3, 1.5, 1.6, 1.8, 2.0, 2.2, 2.4, 2.7, 3.0,
                                         3.3, 3.6, 3.9, 4.3, 4.7, 5.1, 5.6, 6.2, 6.8, 7.5, 8.2, 9.1};

constexpr std::array<double, 96> kE96 = {
    1.00, 1.02, 1.05, 1.07, 1.10, 1.13, 1.15, 1.18, 1.21, 1.24, 1.27, 1.30, 1.33, 1.37, 1.40, 1.43,
    1.47, 1.50, 1.54, 1.58, 1.62, 1.65, 1.69, 1.74, 1.78, 1.82, 1.87, 1.91, 1.96, 2.00, 2.05, 2.10,
    2.15, 2.21, 2.26, 2.32, 2.37, 2.43, 2.49, 2.55, 2.61, 2.67, 2.74, 2.80, 2.87, 2.94, 3.01, 3.09,
    3.16, 3.24, 3.32, 3.40, 3.48, 3.57, 3.65, 3.74, 3.83, 3.92, 4.02, 4.12, 4.22, 4.32, 4.42, 4.53,
    4.64, 4.75, 4.87, 4.99, 5.11, 5.23, 5.36, 5.49, 5.62, 5.76, 5.90, 6.04, 6.19, 6.34, 6.49, 6.65,
    6.81, 6.98, 7.15, 7.32, 7.50, 7.68, 7.87, 8.06, 8.25, 8.45, 8.66, 8.87, 9.09, 9.31, 9.53, 9.76};

std::span<const double> Table(ESeries series)
{
    switch (series) {
    case ESeries::E12: return kE12;
    case ESeries::E24: return kE24;
    case ESeries::E96: break;
    }
    return kE96;
}

}  // namespace

double RoundToSeries(double value, ESeries series)
{
    if (!std::isfinite(value) || !(value > 0)) return NAN;
    // The decade from log10 can be one off for values a rounding error from a power of
    // ten; the mantissa check puts it right.
    double decade = std::pow(10.0, std::floor(std::log10(value)));
    if (value / decade >= 10) decade *= 10;
    if (value / decade < 1) decade /= 10;
    const double mantissa = value / decade;

    // Ascending, then the next decade's first value; the strict comparison keeps the
    // lower of two equally near values.
    double best = 0;
    double bestDistance = INFINITY;
    auto consider = [&](double standard) {
        const double distance = std::fabs(std::log(standard / mantissa));
        if (distance < bestDistance) {
            best = standard;
            bestDistance = distance;
        }
    };
    for (double standard : Table(series)) consider(standard);
    consider(10);
    return best * decade;
}

std::vector<double> StandardValuesNear(double value, ESeries series)
{
    std::vector<double> values;
    if (!std::isfinite(value) || !(value > 0)) return values;
    const int decade = static_cast<int>(std::floor(std::log10(value)));
    for (int d = decade - 2; d <= decade + 2; ++d) {
        const double scale = std::pow(10.0, d);
        for (double standard : Table(series)) values.push_back(standard * scale);
    }
    return values;
}

const char* SeriesName(ESeries series)
{
    switch (series) {
    case ESeries::E12: return "E12";
    case ESeries::E24: return "E24";
    case ESeries::E96: break;
    }
    return "E96";
}

}  // namespace voltra
