// Each cell's corners in counter-clockwise order from the lowest Γ; an edge with its
// ends on either side of the level holds one crossing.
#include "screens/mismatch/contours.h"

#include <array>

namespace voltra {

std::vector<ContourSegment> ContourSegments(const MismatchGrid& grid, MismatchFigure figure, double level)
{
    std::vector<ContourSegment> segments;
    for (int row = 0; row + 1 < grid.size; ++row)
        for (int column = 0; column + 1 < grid.size; ++column) {
            const std::array<const MismatchPoint*, 4> corner = {&grid.At(column, row), &grid.At(column + 1, row),
                                                               &grid.At(column + 1, row + 1), &grid.At(column, row + 1)};
            bool complete = true;
            std::array<double, 4> value{};
            for (std::size_t k = 0; k < 4; ++k) {
                complete = complete && corner[k]->valid;
                value[k] = FigureOf(*corner[k], figure);
            }
            if (!complete) continue;
            // Crossings on the bottom, right, top and left edges, in that order.
            std::array<Reflection, 4> at{};
            std::array<bool, 4> crossed{};
            int crossings = 0;
            for (std::size_t k = 0; k < 4; ++k) {
                const std::size_t next = (k + 1) % 4;
                const bool above = value[k] > level, nextAbove = value[next] > level;
                if (above == nextAbove) continue;
                const double t = (level - value[k]) / (value[next] - value[k]);
                at[k] = corner[k]->gamma + t * (corner[next]->gamma - corner[k]->gamma);
                crossed[k] = true;
                ++crossings;
            }
            if (crossings == 2) {
                std::array<Reflection, 2> ends{};
                std::size_t n = 0;
                for (std::size_t k = 0; k < 4; ++k)
                    if (crossed[k]) ends[n++] = at[k];
                segments.push_back({ends[0], ends[1]});
            } else if (crossings == 4) {
                // A saddle: the centre on the first corner's side joins it to the
                // opposite corner, and the lines cut off the other two.
                const double centre = (value[0] + value[1] + value[2] + value[3]) / 4;
                if ((centre > level) == (value[0] > level)) {
                    segments.push_back({at[0], at[1]});
                    segments.push_back({at[2], at[3]});
                } else {
                    segments.push_back({at[3], at[0]});
                    segments.push_back({at[1], at[2]});
                }
            }
        }
    return segments;
}

std::vector<double> ContourLevels(double low, double high, int count)
{
    std::vector<double> levels;
    if (!(high > low) || count < 1) return levels;
    for (int i = 1; i <= count; ++i) levels.push_back(low + (high - low) * i / (count + 1));
    return levels;
}

}  // namespace voltra
