// Decides before anything is drawn whether the design can go on paper: every value
// the sheet prints must be a number, so a failed page is never started.
#pragma once

#include <optional>
#include <string>

#include "engine/circuit.h"
#include "engine/design_record.h"

namespace voltra {

// The description of the first value the sheet cannot print, or nothing when the
// whole sheet can be printed.
std::optional<std::string> SheetFault(const DesignRecord& design, const Circuit& circuit);

}  // namespace voltra
