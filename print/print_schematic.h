// The "Print" command: one page with the schematic, its values, the design targets
// and a footer, on the printer the user chooses.
#pragma once

#include <functional>

#include "engine/circuit.h"
#include "engine/design_record.h"
#include "engine/inductor_windings.h"
#include "engine/message_sink.h"
#include "print/print_dialog_provider.h"

class QPainter;

namespace voltra {

inline constexpr const char* kPrinterErrorTitle = "Printer Error";

// Prints the design as it stands; nothing is recalculated. A design with a value the
// sheet cannot print or a printer that fails each end the command with one message
// titled "Printer Error"; a cancelled dialog ends it silently. No partial page is sent
// and no file is left. A second page, when one is given, is painted after the sheet
// on the same printer.
using ExtraPage = std::function<void(QPainter& page)>;
void PrintSchematic(const DesignRecord& design, const Circuit& circuit, const std::vector<InductorWinding>& windings,
                    PrintDialogProvider& dialog,
                    MessageSink& messages, const ExtraPage& extraPage = {});

}  // namespace voltra
