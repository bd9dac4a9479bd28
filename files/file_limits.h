// The checks a design read from a file passes before it is used: each target out of
// its range is reset, and the user is told which value became what, one message each.
#pragma once

#include "engine/design_record.h"
#include "engine/message_sink.h"

namespace voltra {

// The bounds in which the two readers differ. The last-session file held a design
// the program itself accepted, so it gets the wider entry ranges; a design file may
// come from anywhere and must land inside the range the equations were fitted for.
struct FileLimits {
    float supplyLow;
    const char* supplyLowMessage;
    float supplyHigh;
    const char* supplyHighMessage;
    float saturationLow;
    float networkQLow;
    const char* networkQLowMessage;
};

inline constexpr FileLimits kLastSessionLimits = {
    1.0f,     "Supply voltage has been reset to 1 volt",
    50000.0f, "Supply voltage has been reset to 50000 volts",
    0.001f,
    1.8f,     "Network Q has been reset to 1.8",
};

inline constexpr FileLimits kDesignFileLimits = {
    2.0f,     "Supply voltage has been reset to 2 volts",
    10000.0f, "Supply voltage has been reset to 10000 volts",
    0.1f,
    1.0f,     "Network Q has been reset to 1",
};

// Runs the ten tests in their fixed order, each on the values the earlier ones left:
// frequency low and high, supply low and high, saturation low and against the
// supply, Q low and high, fall time negative and against the period. Power is not
// checked.
void ValidateTargets(DesignRecord& design, const FileLimits& limits, MessageSink& sink);

}  // namespace voltra
