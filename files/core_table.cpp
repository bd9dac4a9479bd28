// {"format": "voltra-cores", "version": 1, "cores": [{"name", "material", "catalogue",
// "al_nH_per_turn2", "od_mm", "id_mm", "height_mm", "ae_mm2", "le_mm"}, ...]}: the
// catalogue's own units, so each line can be checked against its page.
#include "files/core_table.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <set>

#include "files/device_folders.h"
#include "files/regular_file.h"

namespace voltra {

namespace {

using nlohmann::json;

constexpr double kNano = 1e-9;
constexpr double kMilli = 1e-3;
constexpr int kCoreTableVersion = 1;

const std::set<std::string> kCoreFields = {"name", "material", "catalogue", "al_nH_per_turn2", "od_mm",
                                           "id_mm", "height_mm", "ae_mm2", "le_mm"};
const char* const kDimensionFields[] = {"al_nH_per_turn2", "od_mm", "id_mm", "height_mm", "ae_mm2", "le_mm"};

// The reason a core's entry is refused, or empty.
std::string Check(const json& core)
{
    if (!core.is_object()) return "each core must be an object.";
    for (const auto& [key, value] : core.items())
        if (!kCoreFields.contains(key)) return "unknown field \"" + key + "\" in a core.";
    if (!core.contains("name") || !core["name"].is_string() || core["name"].get<std::string>().empty())
        return "a core has no name.";
    const std::string name = core["name"].get<std::string>();
    for (const char* field : kDimensionFields)
        if (!core.contains(field) || !core[field].is_number() || !(core[field].get<double>() > 0) ||
            !std::isfinite(core[field].get<double>()))
            return "core " + name + ": \"" + field + "\" must be a number greater than zero.";
    if (!(core["id_mm"].get<double>() < core["od_mm"].get<double>()))
        return "core " + name + ": the inner diameter must be smaller than the outer.";
    return {};
}

}  // namespace

std::filesystem::path InstalledCoreTable()
{
    return std::filesystem::path(VOLTRA_INSTALLED_DATA_DIR) / "cores.json";
}

std::filesystem::path UserCoreTable()
{
    const std::filesystem::path devices = UserDeviceFolder();
    if (devices.empty()) return {};
    return devices.parent_path() / "cores.json";
}

CoreTable ParseCoreTable(std::string_view text, const std::string& origin)
{
    CoreTable table;
    const json file = json::parse(text.begin(), text.end(), nullptr, false);
    if (file.is_discarded() || !file.is_object() || !file.contains("format") || file["format"] != kCoreTableFormat ||
        !file.contains("version") || file["version"] != kCoreTableVersion || !file.contains("cores") ||
        !file["cores"].is_array()) {
        table.error = origin + ": not a core table of this program's version.";
        return table;
    }
    for (const json& core : file["cores"]) {
        if (const std::string problem = Check(core); !problem.empty()) {
            table.cores.clear();
            table.error = origin + ": " + problem;
            return table;
        }
        ToroidCore c;
        c.name = core["name"].get<std::string>();
        if (core.contains("material") && core["material"].is_string()) c.material = core["material"].get<std::string>();
        c.inductanceFactor = core["al_nH_per_turn2"].get<double>() * kNano;
        c.outerDiameter = core["od_mm"].get<double>() * kMilli;
        c.innerDiameter = core["id_mm"].get<double>() * kMilli;
        c.height = core["height_mm"].get<double>() * kMilli;
        c.area = core["ae_mm2"].get<double>() * kMilli * kMilli;
        c.pathLength = core["le_mm"].get<double>() * kMilli;
        table.cores.push_back(std::move(c));
    }
    return table;
}

CoreTable ReadCoreTable(const std::filesystem::path& file)
{
    const FileContents contents = ReadRegularFile(file.string(), kLargestCoreTable);
    if (contents.outcome != FileRead::Read) return {{}, file.string() + ": cannot be read."};
    return ParseCoreTable(contents.bytes, file.string());
}

CoreTable AvailableCores()
{
    CoreTable available;
    for (const std::filesystem::path& file : {UserCoreTable(), InstalledCoreTable()}) {
        std::error_code absent;
        if (file.empty() || !std::filesystem::exists(file, absent)) continue;
        CoreTable table = ReadCoreTable(file);
        if (!table.error.empty()) {
            available.error += (available.error.empty() ? "" : "\n") + table.error;
            continue;
        }
        for (ToroidCore& core : table.cores)
            if (std::none_of(available.cores.begin(), available.cores.end(),
                             [&](const ToroidCore& held) { return held.name == core.name; }))
                available.cores.push_back(std::move(core));
    }
    return available;
}

}  // namespace voltra
