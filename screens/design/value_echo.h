// What each entry box understood: the value in effect with its unit and prefix,
// shown quietly beside the box so a typed "ohm" read as milli, or a clamped fall
// time, is seen at once.
#pragma once

#include <QString>

#include "engine/design_record.h"

namespace voltra {

struct ValueEcho {
    QString text;     // "4 MHz", "50 mΩ", "100 µs"
    bool red;         // the value was replaced, or it does not recalculate the design
    QString toolTip;  // the range the value must lie in
};

// A target's echo from the value the box's text parsed to and the value stored.
ValueEcho TargetEcho(Target target, float entered, float stored);

// The network box's echo: the value in effect, red when the typed one lies outside
// the network resistances the L-network is calculated for.
ValueEcho RnetworkEcho(float entered, float inEffect);

}  // namespace voltra
