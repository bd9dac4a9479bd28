// The sheet divides by Idc (Rdc) and by Ipeak (Ron) and prints every result; a zero
// divisor or a result the equations marked invalid stops the print with its reason.
#include "print/sheet_check.h"

#include <utility>
#include <vector>

#include "engine/equations.h"
#include "print/sheet_texts.h"

namespace voltra {

namespace {

// Every computed value the sheet prints, in the order it appears on the page.
std::vector<std::pair<const char*, float>> PrintedResults(const DesignRecord& d)
{
    std::vector<std::pair<const char*, float>> results = {
        {"C1", d.C1}, {"C2", d.C2}, {"Lseries", d.Lseries}};
    if (NetworkShown(d)) {
        results.insert(results.end(), {{"Lnetwork", d.Lnetwork}, {"Cnetwork", d.Cnetwork}});
        if (LayoutOf(d) == LnetworkLayout::SeriesLFirst) results.push_back({"Ltotal", Ltotal(d)});
    }
    results.insert(results.end(), {{"Rload", d.Rload},
                                   {"Idc", d.Idc},
                                   {"Rdc", Rdc(d)},
                                   {"Vpeak", d.Vpeak},
                                   {"Ipeak", d.Ipeak},
                                   {"Ron", Ron(d)}});
    return results;
}

}  // namespace

std::optional<std::string> SheetFault(const DesignRecord& design)
{
    if (design.Idc == 0) return "Division by zero: Idc is 0, so Rdc = Supply / Idc cannot be printed.";
    if (design.Ipeak == 0) return "Division by zero: Ipeak is 0, so Ron = Saturation / Ipeak cannot be printed.";
    for (const auto& [name, value] : PrintedResults(design))
        if (!IsValid(value))
            return std::string(name) +
                   " is not a valid number: its calculation divided by zero or left the single-precision "
                   "range. Change the design targets and print again.";
    return std::nullopt;
}

}  // namespace voltra
