#include "files/device_folders.h"

#include <algorithm>
#include <map>
#include <system_error>

#include "files/last_session_folder.h"

namespace voltra {

namespace {

constexpr const char* kDeviceExtension = ".json";
constexpr const char* kDevicesFolder = "devices";

// The device files of one folder in name order, so a listing is the same on every run.
std::vector<std::filesystem::path> DeviceFilesIn(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
        if (entry->path().extension() == kDeviceExtension && entry->is_regular_file(error))
            files.push_back(entry->path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

std::filesystem::path UserDeviceFolder()
{
    if (const auto data = UserDataFolder()) return *data / kDevicesFolder;
    return {};
}

std::filesystem::path InstalledDeviceFolder()
{
    return std::filesystem::path(VOLTRA_INSTALLED_DATA_DIR) / kDevicesFolder;
}

std::vector<std::filesystem::path> DeviceFolders()
{
    std::vector<std::filesystem::path> folders;
    if (auto user = UserDeviceFolder(); !user.empty()) folders.push_back(std::move(user));
    folders.push_back(InstalledDeviceFolder());
    return folders;
}

DeviceListing ListDevices(const std::vector<std::filesystem::path>& folders)
{
    DeviceListing listing;
    std::map<std::string, std::filesystem::path> byName;
    for (const auto& folder : folders)
        for (const auto& file : DeviceFilesIn(folder)) {
            const DeviceRead read = ReadDeviceFile(file);
            if (!read.device) {
                listing.problems.push_back(read.error);
                continue;
            }
            byName.try_emplace(read.device->name, file);
        }
    for (auto& [name, file] : byName) listing.devices.push_back({name, std::move(file)});
    return listing;
}

std::string DeviceNamesText(const DeviceListing& listing)
{
    std::string text;
    for (const DeviceEntry& entry : listing.devices) text += entry.name + "\n";
    return text;
}

DeviceRead FindDevice(const std::string& nameOrFile, const std::vector<std::filesystem::path>& folders)
{
    std::error_code error;
    if (!nameOrFile.empty() && std::filesystem::exists(nameOrFile, error)) return ReadDeviceFile(nameOrFile);
    const DeviceListing listing = ListDevices(folders);
    std::vector<const DeviceEntry*> alike;
    for (const DeviceEntry& entry : listing.devices) {
        if (entry.name == nameOrFile) return ReadDeviceFile(entry.file);
        if (SameNameIgnoringCase(entry.name, nameOrFile)) alike.push_back(&entry);
    }
    if (alike.size() == 1) return ReadDeviceFile(alike.front()->file);
    if (alike.size() > 1)
        return {std::nullopt,
                "\"" + nameOrFile + "\" matches several devices in different letter case; give the exact name."};
    return {std::nullopt, "No device file or installed device is called \"" + nameOrFile +
                              "\"; `voltra devices` lists the devices."};
}

}  // namespace voltra
