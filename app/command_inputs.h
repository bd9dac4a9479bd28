// What the design commands read: the six targets, a design file and the design
// options, as one table of options that every command shares, and the calculated
// design they make.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/circuit.h"
#include "engine/design_options.h"
#include "engine/design_record.h"

namespace voltra {

// The design a command works on, calculated as the design screen calculates it.
struct CommandDesign {
    DesignRecord design;
    DesignOptions options;
    std::optional<float> rnetwork;  // ohm; given, the L-network is on
    // dB below the carrier; given, the network, its Q and the trap are the ones that
    // keep every harmonic 2 to 10 at the load below it with the least loss.
    std::optional<double> limitDbc;
};

// Misuse (a value that does not read or lies outside its limits) is the caller's to
// correct; a failure (a design file that does not read) is not.
enum class InputFault { None, Misused, Failed };

struct InputProblem {
    InputFault fault = InputFault::None;
    std::string why;  // a sentence, without the program's name
};

struct InputOption {
    const char* name;       // the long flag without its dashes
    const char* valueName;  // as the usage shows it; nullptr for a switch without a value
    const char* help;
    // Applies the option's text (empty for a switch) to the design.
    InputProblem (*apply)(std::string_view text, CommandDesign& into);
};

// In the order they are applied: the design file first, so the targets given beside
// it change what it holds.
std::span<const InputOption> InputOptions();

// The options as given on the command line, in any order.
struct GivenOption {
    const InputOption* option;
    std::string text;
};

struct PreparedDesign {
    CommandDesign design;
    InputFault fault = InputFault::None;  // the gravest of the problems
    std::vector<std::string> problems;
};

// Starts from the start-up design, applies the options in table order, checks the
// targets against each other and calculates the design (the equations, then the
// L-network where it is on).
PreparedDesign PrepareDesign(const std::vector<GivenOption>& given);

// A design file as it stands, or why it is no design: it cannot be read (with the
// system's reason), it ends before its six values, or the reader or the design
// screen's load limits would replace any of them.
std::string ReadDesignAsItStands(const std::string& path, DesignRecord& design);

}  // namespace voltra
