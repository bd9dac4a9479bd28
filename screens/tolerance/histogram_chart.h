// One histogram of a tolerance run as a chart: the builds' counts as a stepped area
// over the figure's own axis, with the target and the limits a working build keeps
// drawn as vertical lines.
#pragma once

#include <QString>
#include <vector>

#include "engine/tolerance_analysis.h"

class QChart;

namespace voltra {

struct HistogramMark {
    double at;    // on the figure's axis, in the unit shown
    bool target;  // the target itself (green); otherwise a limit (red, dashed)
};

// `scale` turns the histogram's unit into the one shown (100 for a fraction in %).
// An empty histogram gives an empty chart with its title.
QChart* HistogramChart(const QString& title, const Histogram& histogram, double scale,
                       const std::vector<HistogramMark>& marks);

}  // namespace voltra
