// The switch's temperature and standing texts, shared by the design screen and the sheet.
#include "print/switch_texts.h"

#include <algorithm>
#include <cmath>

#include "engine/figure_table.h"

namespace voltra {

std::string JunctionTemperatureText(const Result& tj)
{
    if (!std::isfinite(tj.value)) return std::string("Tj: ") + kInvalidMark;
    return "Tj: " + LabelText(FigureOf(FigureKey::Tj), tj);
}

std::vector<std::string> SwitchStandingReasons(const Circuit& c)
{
    std::vector<std::string> reasons;
    const auto note = [&](const Result& figure) {
        if (figure.status == Status::Valid || figure.reason.empty()) return;
        if (std::find(reasons.begin(), reasons.end(), figure.reason) == reasons.end()) reasons.push_back(figure.reason);
    };
    note(c.vpeak);
    note(c.ipeak);
    for (const PartStress& stress : c.stresses) {
        if (stress.role != PartRole::Switch) continue;
        note(stress.peakVoltage);
        note(stress.rmsCurrent);
    }
    if (c.tj) note(*c.tj);
    return reasons;
}

}  // namespace voltra
