// The open transistor database (TDB) keeps one transistor as a JSON object in SI
// units: ratings at the top ("v_abs_max", "i_cont", "i_abs_max"), capacitance curves as
// {"t_j", "graph_v_c": [[V...], [C...]]}, and the switch's own data under "switch"
// ("t_j_max", "thermal_foster"."r_th_total", "channel" output curves
// {"t_j", "v_g", "graph_v_i": [[V...], [I...]]}, "r_channel_th" {"dataset_type": "t_r" or
// "t_factor", "r_channel_nominal", "graph_t_r": [[T...], [R or factor...]]},
// "charge_curve" {"graph_q_v": [[Q...], [V...]]}). RDS(on) and its rise come from
// "r_channel_th" when the file has it; otherwise RDS(on) is the slope of the channel
// curve at the highest gate voltage, and its rise the same slope at other temperatures.
#include "files/transistor_database_file.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <vector>

#include "engine/junction_fit.h"

namespace voltra {

namespace {

using nlohmann::json;

// Files are written by hand from digitised plots, and an axis scaled by 10^9 in the
// wrong direction happens; a gate charge or drive outside these bounds is no reading
// of a data sheet, and the device is taken without it.
constexpr double kLargestGateCharge = 10e-6;  // C
constexpr double kLowestDrive = 1;            // V
constexpr double kHighestDrive = 50;          // V

std::optional<double> Number(const json& object, const char* key)
{
    if (!object.is_object() || !object.contains(key) || !object[key].is_number()) return std::nullopt;
    const double value = object[key].get<double>();
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::string Text(const json& object, const char* key)
{
    if (!object.contains(key) || !object[key].is_string()) return {};
    return object[key].get<std::string>();
}

// A TDB graph [[x...], [y...]] as pairs; empty when it is not one.
std::vector<std::pair<double, double>> Graph(const json& entry, const char* key)
{
    std::vector<std::pair<double, double>> points;
    if (!entry.is_object() || !entry.contains(key)) return points;
    const json& graph = entry[key];
    if (!graph.is_array() || graph.size() != 2 || !graph[0].is_array() || !graph[1].is_array() ||
        graph[0].size() != graph[1].size())
        return points;
    for (std::size_t i = 0; i < graph[0].size(); ++i) {
        if (!graph[0][i].is_number() || !graph[1][i].is_number()) return {};
        points.emplace_back(graph[0][i].get<double>(), graph[1][i].get<double>());
    }
    return points;
}

// The entry of a curve list measured nearest 25 °C.
const json* NearestToReference(const json& list)
{
    const json* best = nullptr;
    double bestDistance = std::numeric_limits<double>::infinity();
    if (!list.is_array()) return best;
    for (const json& entry : list) {
        const auto tj = Number(entry, "t_j");
        if (!tj) continue;
        if (std::abs(*tj - kOnResistanceReferenceCelsius) < bestDistance) {
            bestDistance = std::abs(*tj - kOnResistanceReferenceCelsius);
            best = &entry;
        }
    }
    return best;
}

// The channel's resistance as the least-squares slope through the origin, V = R·I,
// over the curve's points up to the continuous current: the straight part of a fully
// enhanced channel, before self-heating in the pulsed measurement bends it.
std::optional<double> ChannelResistance(const std::vector<std::pair<double, double>>& curve, double upToAmps)
{
    double vi = 0, ii = 0;
    for (const auto& [volts, amps] : curve)
        if (amps > 0 && amps <= upToAmps) {
            vi += volts * amps;
            ii += amps * amps;
        }
    if (!(ii > 0) || !(vi > 0)) return std::nullopt;
    return vi / ii;
}

// RDS(on) per junction temperature, from each temperature's channel curve at the
// highest gate voltage measured at 25 °C (the fully enhanced channel).
std::map<double, double> OnResistances(const json& channels, double continuousAmps)
{
    std::map<double, double> byTemperature;
    if (!channels.is_array()) return byTemperature;
    std::optional<double> drive;
    for (const json& entry : channels)
        if (Number(entry, "t_j") == kOnResistanceReferenceCelsius) {
            const auto vg = Number(entry, "v_g");
            if (vg && (!drive || *vg > *drive)) drive = vg;
        }
    if (!drive) return byTemperature;
    for (const json& entry : channels) {
        const auto tj = Number(entry, "t_j");
        if (!tj || Number(entry, "v_g") != drive) continue;
        if (const auto r = ChannelResistance(Graph(entry, "graph_v_i"), continuousAmps)) byTemperature[*tj] = *r;
    }
    return byTemperature;
}

// RDS(on) against temperature from "r_channel_th": the entry for conduction (positive
// channel current) first; ohms at each temperature, or nothing when no entry serves.
std::map<double, double> OnResistanceCurve(const json& list)
{
    std::map<double, double> byTemperature;
    if (!list.is_array()) return byTemperature;
    const json* chosen = nullptr;
    for (const json& entry : list) {
        if (Graph(entry, "graph_t_r").size() < 2) continue;
        if (!chosen || (Number(entry, "i_channel").value_or(0) > 0 && !(Number(*chosen, "i_channel").value_or(0) > 0)))
            chosen = &entry;
    }
    if (!chosen) return byTemperature;
    const std::string type = Text(*chosen, "dataset_type");
    const double scale = type == "t_factor" ? Number(*chosen, "r_channel_nominal").value_or(0) : type == "t_r" ? 1 : 0;
    if (!(scale > 0)) return byTemperature;
    for (const auto& [celsius, value] : Graph(*chosen, "graph_t_r"))
        if (value > 0) byTemperature[celsius] = value * scale;
    if (byTemperature.size() < 2) byTemperature.clear();
    return byTemperature;
}

// RDS(on) and its rise from ohms by temperature: linear at 25 °C between the points
// either side (or along the nearest end segment).
void TakeOnResistance(const std::map<double, double>& byTemperature, Transistor& device)
{
    std::vector<TemperatureFactor> ohms;
    for (const auto& [celsius, r] : byTemperature) ohms.push_back({celsius, r});
    Transistor unit;
    unit.onResistance25 = 1;
    unit.onResistanceRise = ohms;
    const auto exact = byTemperature.find(kOnResistanceReferenceCelsius);
    const double at25 =
        exact != byTemperature.end() ? exact->second : OnResistanceAt(unit, kOnResistanceReferenceCelsius);
    if (!(at25 > 0)) return;
    device.onResistance25 = at25;
    device.onResistanceRise.clear();
    if (ohms.size() >= 2)
        for (const auto& [celsius, r] : ohms) device.onResistanceRise.push_back({celsius, r / at25});
}

}  // namespace

bool LooksLikeTransistorDatabase(const json& file)
{
    return file.is_object() && file.contains("v_abs_max") && file.contains("switch");
}

std::optional<Transistor> FromTransistorDatabase(const json& file, std::string& error)
{
    Transistor device;
    std::vector<std::string> missing;
    device.name = Text(file, "name");
    if (device.name.empty()) missing.push_back("\"name\"");
    device.manufacturer = Text(file, "manufacturer");
    device.datasheet = Text(file, "datasheet_hyperlink");
    if (const std::string version = Text(file, "datasheet_version"); !version.empty())
        device.datasheet += (device.datasheet.empty() ? "" : ", ") + version;

    const auto vmax = Number(file, "v_abs_max");
    const auto icont = Number(file, "i_cont");
    if (!vmax || *vmax <= 0) missing.push_back("\"v_abs_max\"");
    if (!icont || *icont <= 0) missing.push_back("\"i_cont\"");
    device.maxDrainVolts = vmax.value_or(0);
    device.continuousDrainAmps = icont.value_or(0);
    if (const auto ipulse = Number(file, "i_abs_max"); ipulse && *ipulse > 0) device.pulsedDrainAmps = ipulse;

    std::string fitProblem;
    if (const json* curve = file.contains("c_oss") ? NearestToReference(file["c_oss"]) : nullptr) {
        for (const auto& [volts, farads] : Graph(*curve, "graph_v_c")) device.cossTable.push_back({volts, farads});
        const JunctionFit fit = FitJunctionLaw(device.cossTable);
        if (fit.fitted) {
            device.coss = fit.law;
            device.cossFitWorstError = fit.worstRelativeError;
        } else {
            fitProblem = " (" + fit.reason + ")";
        }
    } else if (const auto fixed = Number(file, "c_oss_fix"); fixed && *fixed > 0) {
        device.coss = {*fixed, 1, 0};
    }
    if (!(device.coss.cj0 > 0)) missing.push_back("an output capacitance, \"c_oss\" or \"c_oss_fix\"" + fitProblem);

    const json& sw = file["switch"];
    if (sw.is_object()) {
        device.maxJunctionCelsius = Number(sw, "t_j_max");
        if (sw.contains("thermal_foster"))
            if (const auto rth = Number(sw["thermal_foster"], "r_th_total"); rth && *rth > 0)
                device.thetaJunctionCase = rth;
        if (sw.contains("r_channel_th")) TakeOnResistance(OnResistanceCurve(sw["r_channel_th"]), device);
        if (!(device.onResistance25 > 0) && sw.contains("channel")) {
            const std::map<double, double> ron = OnResistances(sw["channel"], device.continuousDrainAmps);
            if (ron.contains(kOnResistanceReferenceCelsius)) TakeOnResistance(ron, device);
        }
        if (sw.contains("charge_curve") && sw["charge_curve"].is_array() && !sw["charge_curve"].empty()) {
            const auto charge = Graph(sw["charge_curve"][0], "graph_q_v");
            if (!charge.empty() && charge.back().first > 0 && charge.back().first < kLargestGateCharge &&
                charge.back().second >= kLowestDrive && charge.back().second <= kHighestDrive) {
                device.gateCharge = charge.back().first;
                device.driveVolts = charge.back().second;
            }
        }
    }
    if (!(device.onResistance25 > 0))
        missing.push_back("an on-resistance, \"switch\".\"r_channel_th\" or an output curve at 25 °C in "
                          "\"switch\".\"channel\"");

    if (missing.empty()) return device;
    error = "this transistor-database file lacks ";
    for (std::size_t i = 0; i < missing.size(); ++i)
        error += (i == 0 ? "" : i + 1 == missing.size() ? " and " : ", ") + missing[i];
    error += ".";
    return std::nullopt;
}

}  // namespace voltra
