// Formats each winding's figures with the program's engineering prefixes.
#include "print/winding_texts.h"

#include <cmath>
#include <cstdio>

#include "units/format.h"

namespace voltra {
namespace {

std::string WithUnit(double value, const char* unit)
{
    if (!std::isfinite(value)) return "-";
    const std::string number = FormatPrefixed(static_cast<float>(value));
    return (number.empty() ? std::string("0 ") : number) + unit;
}

// Turns as wound are whole, but the figure says how far from the value the nearest
// whole count is: one decimal, as the command line writes it.
std::string Decimals(double value, const char* format)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Joined(const std::vector<std::string>& sentences)
{
    std::string text;
    for (const std::string& s : sentences) text += (text.empty() ? "" : " ") + s;
    return text;
}

}  // namespace

std::string CoreCaption(const InductorWinding& w) { return w.core.empty() ? std::string(kAirCore) : w.core; }

std::vector<TableRow> WindingRows(const std::vector<InductorWinding>& windings)
{
    std::vector<TableRow> rows;
    for (const InductorWinding& w : windings) {
        TableRow row{{w.part, WithUnit(w.inductance, "H"), WithUnit(w.rmsCurrent, "A"), CoreCaption(w)},
                     !w.computed || !w.warnings.empty()};
        if (w.computed) {
            for (std::string cell : {Decimals(w.turns, "%.1f"), "AWG " + std::to_string(w.gauge),
                                     WithUnit(w.diameter, "m"), WithUnit(w.length, "m"), Decimals(w.q, "%.0f"),
                                     w.core.empty() ? WithUnit(w.selfResonance, "Hz") : WithUnit(w.fluxDensity, "T")})
                row.cells.push_back(std::move(cell));
        } else {
            row.cells.insert(row.cells.end(), 6, "-");
        }
        row.cells.push_back(Joined(w.warnings));
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace voltra
