// The texts the design screen writes into its entry boxes: the first texts of a
// load and the texts an arrow step leaves behind.
#pragma once

#include <string>

#include "engine/design_record.h"

namespace voltra {

// What the load writes into a target's box after clamping it to the load limits.
std::string LoadText(Target target, float value);

// What the load writes into the network-resistance box: "50" while no network
// resistance has been chosen yet, otherwise the value with a leading space.
std::string RnetworkLoadText(float rnetwork);

// What an arrow step writes into a target's box.
std::string StepText(Target target, float value);

}  // namespace voltra
