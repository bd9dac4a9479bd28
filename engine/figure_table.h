// Every figure of the circuit model that a medium shows, once: its name in the reports,
// its caption, unit and number format, where it is shown and where the circuit holds
// it. The screen, the sheet, the verification and the command line all read it.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "engine/circuit.h"

namespace voltra {

enum class FigureKey {
    C1, C2, Lseries, Lnetwork, Cnetwork, Lnetwork2, Cnetwork2, Ltotal, Ltrap, Ctrap,
    Rload, Idc, Rdc, Vpeak, Ipeak, Ron, Efficiency, Dissipation, Choke, Period, Tj,
    Pout, VturnOnPercent, Pin, Vsupply
};

// Where a figure stands; one may stand in several.
enum FigureMedium : unsigned {
    kInReports = 1u << 0,       // the command line's text, CSV and JSON figure lists
    kOnScreen = 1u << 1,        // a label of the design screen
    kOnSheet = 1u << 2,         // a text of the printed sheet
    kInVerification = 1u << 3,  // a row of the comparison with the simulation
    // Not a medium: an invalid value of it stops the export, the print and the search
    // for standard parts, as the design itself does not stand.
    kStopsExport = 1u << 4,
};

struct FigureRow {
    FigureKey key;
    const char* name;     // in the reports and the verification: "Idc"
    const char* caption;  // in an engineer's words: "Supply current"
    const char* unit;     // SI, as the reports give it; "" for a fraction
    std::string (*format)(double);  // the number as the schematic and the sheet write it
    const char* labelUnit;          // what those labels write after the number
    unsigned shown;                 // FigureMedium bits
    // The value and its standing; Status::NotComputed where the circuit has none.
    Result (*of)(const Circuit&);
};

// In the order the reports list them.
std::span<const FigureRow> Figures();
const FigureRow& FigureOf(FigureKey key);

// The figures of the circuit standing in `medium` (any of its bits), computed ones
// only, in the table's order.
struct ShownFigure {
    const FigureRow* row;
    Result result;
};
std::vector<ShownFigure> FiguresIn(const Circuit& circuit, unsigned medium);

// The label's number and unit ("2.083 A", "36.5%"), or kInvalidMark for a result
// that must not be shown as a number.
inline constexpr const char* kInvalidMark = "invalid";
std::string LabelText(const FigureRow& row, const Result& result);
std::string LabelText(const Circuit& circuit, FigureKey key);

// A part's value as the schematic and the sheet write it beside the symbol: by its
// kind, inductance, capacitance or resistance.
std::string PartValueText(const Part& part);

}  // namespace voltra
