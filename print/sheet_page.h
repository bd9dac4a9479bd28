// Paints the one-page design sheet (schematic, values, design targets and footer) on
// any QPainter: a printer page, a PDF, an image or a recording device.
#pragma once

#include <QDateTime>

#include "engine/circuit.h"
#include "engine/design_record.h"
#include "engine/inductor_windings.h"

class QPainter;

namespace voltra {

// Page units of the sheet: portrait, origin at the top-left of the printable area.
inline constexpr int kSheetWidth = 12000;
inline constexpr int kSheetHeight = 18000;

// Paints on a painter already begun on its device. The page units are mapped with one
// uniform scale so that the whole 12000 x 18000 page fits the device, circles stay round
// and the 10 pt and 6 pt texts keep their true size on paper. The design must have
// passed SheetFault: nothing here can fail. The windings, when given, are printed under
// the loss and stress tables.
void PaintDesignSheet(QPainter& page, const DesignRecord& design, const Circuit& circuit,
                      const std::vector<InductorWinding>& windings, const QDateTime& printedAt);

}  // namespace voltra
