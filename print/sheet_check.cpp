// The sheet divides by Idc (Rdc) and by Ipeak (Ron) and prints every result; a zero
// divisor or a result the circuit model marked invalid stops the print with its reason.
#include "print/sheet_check.h"

#include "engine/circuit.h"

namespace voltra {

std::optional<std::string> SheetFault(const DesignRecord& design, const Circuit& circuit)
{
    if (design.Idc == 0) return "Division by zero: Idc is 0, so Rdc = Supply / Idc cannot be printed.";
    if (design.Ipeak == 0) return "Division by zero: Ipeak is 0, so Ron = Saturation / Ipeak cannot be printed.";
    for (const auto& [name, result] : circuit.NamedResults())
        if (!result.Usable())
            return std::string(name) + " is not valid: " + AsSentence(result.reason) +
                   " Change the design targets and print again.";
    return std::nullopt;
}

}  // namespace voltra
