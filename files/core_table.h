// The installed table of toroidal cores a builder can buy (data/cores.json): each
// core's inductance factor and dimensions from its maker's catalogue.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/winding.h"

namespace voltra {

inline constexpr const char* kCoreTableFormat = "voltra-cores";
inline constexpr std::size_t kLargestCoreTable = 1u << 20;

struct CoreTable {
    std::vector<ToroidCore> cores;
    // Why the table could not be read, naming the file; empty when it was.
    std::string error;
};

// share/voltra/cores.json under the prefix the program was installed to.
std::filesystem::path InstalledCoreTable();
// cores.json in the user's data folder ($XDG_DATA_HOME/voltra, by default
// ~/.local/share/voltra), for the cores a user adds; empty when there is no such folder.
std::filesystem::path UserCoreTable();

CoreTable ParseCoreTable(std::string_view text, const std::string& origin);
CoreTable ReadCoreTable(const std::filesystem::path& file);

// The cores a builder can choose: the user's table first, then the installed one's
// cores of names the user's does not hold. A table that is not there is no fault; one
// that does not read is left out, its reason in `error` (one line per table).
CoreTable AvailableCores();

}  // namespace voltra
