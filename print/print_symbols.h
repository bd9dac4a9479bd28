// Circuit symbols of the printed schematic, drawn in page units (12000 across,
// y downwards) relative to a drawing cursor that the caller moves along the signal line.
#pragma once

#include <cstdint>

#include "engine/design_record.h"

class QPainter;

namespace voltra {

// Each routine draws with the painter's current pen. Only PrintSeriesC, PrintSeriesL and
// PrintParallelLC move the cursor (past the part they drew); none changes Y.
void PrintGenerator(QPainter& page, std::int16_t& X, std::int16_t& Y);  // gate-drive pulse
void PrintFET(QPainter& page, std::int16_t& X, std::int16_t& Y);        // the switch
// The RF choke above the drain, and the drain node line to the right.
void PrintVerticalL(QPainter& page, const DesignRecord& design, std::int16_t& X, std::int16_t& Y);
void PrintShuntC(QPainter& page, std::int16_t& X, std::int16_t& Y);   // caller adds 800 after it
void PrintSeriesC(QPainter& page, std::int16_t& X, std::int16_t& Y);  // X += 600
void PrintSeriesL(QPainter& page, std::int16_t& X, std::int16_t& Y);  // X += 900
void PrintLoad(QPainter& page, std::int16_t& X, std::int16_t& Y);     // load resistor to ground
void PrintShuntL(QPainter& page, std::int16_t& X, std::int16_t& Y);      // caller adds 800 after it
void PrintParallelLC(QPainter& page, std::int16_t& X, std::int16_t& Y);  // a trap in the line, X += 900
// The ground line from under the switch to the load resistor standing at X.
void PrintGround(QPainter& page, std::int16_t& X, std::int16_t& Y);

}  // namespace voltra
