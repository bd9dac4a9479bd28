// The preferred-number series parts are sold in (IEC 60063), and rounding a computed
// part value to the nearest one of them.
#pragma once

#include <vector>

namespace voltra {

enum class ESeries { E12, E24, E96 };

// "E12", "E24" or "E96", as the parts are ordered by.
const char* SeriesName(ESeries series);

// The standard value nearest to value by ratio (distance in log), so that 1.05 rounds
// the same way in every decade and a value just below a decade can round up into the
// next (9.6 → 10 in E24). A value exactly at the geometric mean of two neighbours
// rounds down. NaN for a value that is not positive and finite.
double RoundToSeries(double value, ESeries series);

// The standard values of the series from a hundredth to a hundred times value, in
// ascending order: the neighbourhood a search for parts around it looks in. Empty
// for a value that is not positive and finite.
std::vector<double> StandardValuesNear(double value, ESeries series);

}  // namespace voltra
