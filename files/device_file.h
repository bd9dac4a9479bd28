// Reading a transistor's description: Voltra's own small device file, which a user
// can write by hand (docs/devices.md), or a file of the open transistor database
// (TDB) that power-electronics tools exchange, where it carries the numbers needed.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/transistor.h"

namespace voltra {

// The value of "format" that marks Voltra's own device file.
inline constexpr const char* kDeviceFileFormat = "voltra-device";
inline constexpr int kDeviceFileVersion = 1;
// A transistor-database file can hold measured waveforms of several megabytes; more
// than this is no device file.
inline constexpr std::size_t kLargestDeviceFile = 64u << 20;

struct DeviceRead {
    std::optional<Transistor> device;
    // Why there is no device, naming the file: empty when `device` holds one.
    std::string error;
};

// `origin` names the text in the error messages (the file's path).
DeviceRead ParseDeviceText(std::string_view text, const std::string& origin);
DeviceRead ReadDeviceFile(const std::filesystem::path& file);

}  // namespace voltra
