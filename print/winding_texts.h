// The inductors' windings in words: the rows of the table the parts window shows and
// the compact lines the sheet prints, one per inductor.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/inductor_windings.h"
#include "print/loss_texts.h"

namespace voltra {

// What an air-core solenoid is called where a core's name would stand.
inline constexpr const char* kAirCore = "air";

inline constexpr std::array<const char*, 11> kWindingColumns = {
    "Part", "Value", "RMS current", "Core", "Turns", "Wire", "Diameter", "Length", "Q", "SRF / B", "Warnings"};
inline constexpr std::size_t kWindingCoreColumn = 3;

// "air" or the core's name.
std::string CoreCaption(const InductorWinding& winding);

// One row per winding, red where it carries a warning or could not be computed; the
// diameter is the solenoid's or the core's outer one, the length the solenoid's or
// the toroid's wire; the last but one cell the self-resonance of a solenoid or the
// flux density in a core at the RMS current.
std::vector<TableRow> WindingRows(const std::vector<InductorWinding>& windings);

}  // namespace voltra
