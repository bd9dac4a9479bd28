// Lines of constant value over the mismatch grid, by marching squares: what the
// load-pull picture draws over the Smith chart.
#pragma once

#include <vector>

#include "engine/load_mismatch.h"

namespace voltra {

// One straight piece of a contour, its ends in the plane of Γ.
struct ContourSegment {
    Reflection from, to;
};

// The pieces of the line where the figure equals `level`, from every grid cell whose
// four corners have a steady state; the crossing on each cell edge linearly
// interpolated (W. E. Lorensen, H. E. Cline, "Marching Cubes", SIGGRAPH 1987, in two
// dimensions), a saddle resolved by the mean of the four corners.
std::vector<ContourSegment> ContourSegments(const MismatchGrid& grid, MismatchFigure figure, double level);

// `count` levels evenly inside low..high, neither end among them.
std::vector<double> ContourLevels(double low, double high, int count);

}  // namespace voltra
