// Voltra's own device file: one JSON object, SI units except where a data sheet's
// usual unit (pF, nC) makes a hand-written file easier to check against it. Every
// field is checked; an unknown one is refused, as it is most likely a misspelt one.
#include "files/device_file.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "engine/junction_fit.h"
#include "files/regular_file.h"
#include "files/transistor_database_file.h"

namespace voltra {

namespace {

using nlohmann::json;

constexpr double kPico = 1e-12;
constexpr double kNano = 1e-9;

// A field's fault, thrown inside the reader and caught once with the file's name.
struct FieldError {
    std::string message;
};

[[noreturn]] void Fail(std::string message) { throw FieldError{std::move(message)}; }

const std::set<std::string> kKnownFields = {
    "format", "version", "name", "manufacturer", "datasheet", "comment", "sources",
    "drain_voltage_max_V", "drain_current_continuous_A", "drain_current_pulsed_A",
    "on_resistance_25C_ohm", "on_resistance_rise", "output_capacitance",
    "gate_charge_nC", "gate_drive_V", "thermal_resistance_junction_case_K_per_W", "junction_temperature_max_C"};

void RefuseUnknown(const json& object, const std::set<std::string>& known, const std::string& where)
{
    for (const auto& [key, value] : object.items())
        if (!known.contains(key)) Fail("unknown field \"" + key + "\"" + where + ".");
}

double NumberIn(const json& value, const std::string& name)
{
    if (!value.is_number()) Fail("\"" + name + "\" must be a number.");
    const double number = value.get<double>();
    if (!std::isfinite(number)) Fail("\"" + name + "\" must be a finite number.");
    return number;
}

double Positive(const json& value, const std::string& name)
{
    const double number = NumberIn(value, name);
    if (number <= 0) Fail("\"" + name + "\" must be greater than zero.");
    return number;
}

std::optional<double> OptionalPositive(const json& object, const std::string& name)
{
    if (!object.contains(name)) return std::nullopt;
    return Positive(object[name], name);
}

double RequiredPositive(const json& object, const std::string& name)
{
    if (!object.contains(name)) Fail("the required field \"" + name + "\" is missing.");
    return Positive(object[name], name);
}

std::string OptionalText(const json& object, const std::string& name)
{
    if (!object.contains(name)) return {};
    if (!object[name].is_string()) Fail("\"" + name + "\" must be text.");
    return object[name].get<std::string>();
}

// [[x, y], ...] with at least `fewest` pairs.
std::vector<std::pair<double, double>> Pairs(const json& value, const std::string& name, std::size_t fewest)
{
    if (!value.is_array() || value.size() < fewest)
        Fail("\"" + name + "\" must be a list of at least " + std::to_string(fewest) + " [x, y] pairs.");
    std::vector<std::pair<double, double>> pairs;
    for (const json& pair : value) {
        if (!pair.is_array() || pair.size() != 2) Fail("each entry of \"" + name + "\" must be a pair [x, y].");
        pairs.emplace_back(NumberIn(pair[0], name), NumberIn(pair[1], name));
    }
    return pairs;
}

void ReadRise(const json& rise, Transistor& device)
{
    if (!rise.is_object() || rise.size() != 1 || !(rise.contains("per_kelvin") || rise.contains("normalised")))
        Fail("\"on_resistance_rise\" must hold either \"per_kelvin\" or \"normalised\".");
    if (rise.contains("per_kelvin")) {
        device.onResistanceRise = StraightRise(NumberIn(rise["per_kelvin"], "per_kelvin"));
        return;
    }
    for (const auto& [celsius, factor] : Pairs(rise["normalised"], "normalised", 2)) {
        if (factor <= 0) Fail("the factors of \"normalised\" must be greater than zero.");
        device.onResistanceRise.push_back({celsius, factor});
    }
    std::sort(device.onResistanceRise.begin(), device.onResistanceRise.end(),
              [](const TemperatureFactor& a, const TemperatureFactor& b) { return a.celsius < b.celsius; });
    for (std::size_t i = 1; i < device.onResistanceRise.size(); ++i)
        if (device.onResistanceRise[i].celsius == device.onResistanceRise[i - 1].celsius)
            Fail("\"normalised\" gives two factors for one temperature.");
}

void ReadCapacitance(const json& coss, Transistor& device)
{
    if (!coss.is_object() || coss.size() != 1 ||
        !(coss.contains("points_V_pF") || coss.contains("junction_law") || coss.contains("effective_pF")))
        Fail("\"output_capacitance\" must hold one of \"points_V_pF\", \"junction_law\" and \"effective_pF\".");
    if (coss.contains("effective_pF")) {
        const json& effective = coss["effective_pF"];
        if (!effective.is_object()) Fail("\"effective_pF\" must hold \"at_V\", \"coss\", \"co_er\" and \"co_tr\".");
        RefuseUnknown(effective, {"at_V", "coss", "co_er", "co_tr"}, " in \"effective_pF\"");
        const double volts = RequiredPositive(effective, "at_V");
        const double cossAtVolts = RequiredPositive(effective, "coss") * kPico;
        const double energyRelated = RequiredPositive(effective, "co_er") * kPico;
        const double chargeRelated = RequiredPositive(effective, "co_tr") * kPico;
        const JunctionFit fit = LawFromEffectiveCapacitances(volts, cossAtVolts, energyRelated, chargeRelated);
        if (!fit.fitted) Fail(fit.reason);
        device.coss = fit.law;
        return;
    }
    if (coss.contains("junction_law")) {
        const json& law = coss["junction_law"];
        if (!law.is_object()) Fail("\"junction_law\" must hold \"cj0_pF\", \"vj_V\" and \"m\".");
        RefuseUnknown(law, {"cj0_pF", "vj_V", "m"}, " in \"junction_law\"");
        device.coss.cj0 = RequiredPositive(law, "cj0_pF") * kPico;
        device.coss.vj = RequiredPositive(law, "vj_V");
        if (!law.contains("m")) Fail("the required field \"m\" is missing.");
        device.coss.m = NumberIn(law["m"], "m");
        if (device.coss.m < 0) Fail("\"m\" must not be negative.");
        return;
    }
    for (const auto& [volts, picofarads] : Pairs(coss["points_V_pF"], "points_V_pF", 3))
        device.cossTable.push_back({volts, picofarads * kPico});
    const JunctionFit fit = FitJunctionLaw(device.cossTable);
    if (!fit.fitted) Fail(fit.reason);
    device.coss = fit.law;
    device.cossFitWorstError = fit.worstRelativeError;
}

Transistor FromVoltraFile(const json& file)
{
    RefuseUnknown(file, kKnownFields, "");
    if (!file.contains("version") || !file["version"].is_number_integer() ||
        file["version"].get<int>() != kDeviceFileVersion)
        Fail("this device file's version is not one this program reads (it reads version " +
             std::to_string(kDeviceFileVersion) + ").");
    Transistor device;
    device.name = OptionalText(file, "name");
    if (device.name.empty()) Fail("the required field \"name\" is missing or empty.");
    device.manufacturer = OptionalText(file, "manufacturer");
    device.datasheet = OptionalText(file, "datasheet");
    OptionalText(file, "comment");
    if (file.contains("sources") && !file["sources"].is_object())
        Fail("\"sources\" must be an object naming where each number comes from.");

    device.maxDrainVolts = RequiredPositive(file, "drain_voltage_max_V");
    device.continuousDrainAmps = RequiredPositive(file, "drain_current_continuous_A");
    device.pulsedDrainAmps = OptionalPositive(file, "drain_current_pulsed_A");
    device.onResistance25 = RequiredPositive(file, "on_resistance_25C_ohm");
    if (file.contains("on_resistance_rise")) ReadRise(file["on_resistance_rise"], device);
    if (!file.contains("output_capacitance")) Fail("the required field \"output_capacitance\" is missing.");
    ReadCapacitance(file["output_capacitance"], device);

    const auto charge = OptionalPositive(file, "gate_charge_nC");
    device.driveVolts = OptionalPositive(file, "gate_drive_V");
    if (charge.has_value() != device.driveVolts.has_value())
        Fail("\"gate_charge_nC\" and \"gate_drive_V\" go together: the charge is quoted at a drive voltage.");
    if (charge) device.gateCharge = *charge * kNano;
    device.thetaJunctionCase = OptionalPositive(file, "thermal_resistance_junction_case_K_per_W");
    if (file.contains("junction_temperature_max_C"))
        device.maxJunctionCelsius = NumberIn(file["junction_temperature_max_C"], "junction_temperature_max_C");
    return device;
}

}  // namespace

DeviceRead ParseDeviceText(std::string_view text, const std::string& origin)
{
    DeviceRead read;
    const json file = json::parse(text.begin(), text.end(), nullptr, false);
    if (file.is_discarded()) {
        read.error = origin + ": not a JSON file.";
        return read;
    }
    if (!file.is_object()) {
        read.error = origin + ": not a device file (a JSON object is expected).";
        return read;
    }
    try {
        if (file.contains("format")) {
            if (file["format"] != kDeviceFileFormat)
                Fail("\"format\" must be \"" + std::string(kDeviceFileFormat) + "\".");
            read.device = FromVoltraFile(file);
        } else if (LooksLikeTransistorDatabase(file)) {
            std::string missing;
            read.device = FromTransistorDatabase(file, missing);
            if (!read.device) Fail(missing);
        } else {
            Fail("neither a Voltra device file (it has no \"format\": \"" + std::string(kDeviceFileFormat) +
                 "\") nor a transistor-database file.");
        }
    } catch (const FieldError& fault) {
        read.device.reset();
        read.error = origin + ": " + fault.message;
    } catch (const json::exception&) {
        read.device.reset();
        read.error = origin + ": a field has the wrong kind of value.";
    }
    return read;
}

DeviceRead ReadDeviceFile(const std::filesystem::path& file)
{
    const FileContents contents = ReadRegularFile(file.string(), kLargestDeviceFile);
    if (contents.outcome == FileRead::Unreadable) return {std::nullopt, file.string() + ": cannot be read."};
    if (contents.outcome == FileRead::TooLarge)
        return {std::nullopt, file.string() + ": larger than 64 MB; it cannot be a device file."};
    return ParseDeviceText(contents.bytes, file.string());
}

}  // namespace voltra
