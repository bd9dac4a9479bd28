// First and stepped texts of the entry boxes.
#include "screens/design/entry_texts.h"

#include "units/format.h"
#include "units/number_text.h"

namespace voltra {

// Falltime reads in seconds when the screen opens; a stepped fall time carries only
// its prefix letter, and both read back to the same value.
static constexpr const char* kSecondsUnit = "s";

std::string LoadText(Target target, float value)
{
    switch (target) {
    case Target::NetworkQ: return FormatResistance(value);
    case Target::Falltime: return FormatSmall(value) + kSecondsUnit;
    case Target::Frequency:
    case Target::Power:
    case Target::Supply:
    case Target::Saturation: break;
    }
    return GeneralNumberText(value);
}

std::string RnetworkLoadText(float rnetwork)
{
    if (rnetwork <= 0) return kRnetworkFirstText;
    // Written like a frequency number: a space for the absent sign and no zero
    // before the point, but every significant digit kept so the box reads back
    // exactly the resistance the network was designed for.
    return LeadingSpaceText(rnetwork);
}

std::string StepText(Target target, float value)
{
    switch (target) {
    case Target::Frequency: return FormatLarge(value);
    case Target::Falltime: return FormatSmall(value);
    case Target::Power:
    case Target::Supply:
    case Target::Saturation:
    case Target::NetworkQ: break;
    }
    return FormatPrefixed(value);
}

}  // namespace voltra
