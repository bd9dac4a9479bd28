// Where device files are found: the user's own folder and the one installed with the
// program; the list the `voltra devices` command prints, and the lookup of a device
// by name or by file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "files/device_file.h"

namespace voltra {

// $XDG_DATA_HOME/voltra/devices, by default ~/.local/share/voltra/devices; empty when
// neither variable names an absolute folder.
std::filesystem::path UserDeviceFolder();
// share/voltra/devices under the prefix the program was installed to.
std::filesystem::path InstalledDeviceFolder();
// The user's folder first, so a device the user keeps hides an installed one of the
// same name; then the installed folder.
std::vector<std::filesystem::path> DeviceFolders();

struct DeviceEntry {
    std::string name;
    std::filesystem::path file;
};

struct DeviceListing {
    // In name order, one entry a name.
    std::vector<DeviceEntry> devices;
    // One message for each *.json file that could not be read as a device.
    std::vector<std::string> problems;
};

// Reads every *.json file in the folders (a missing folder has none); of two devices
// with the same name the one in the earlier folder is listed.
DeviceListing ListDevices(const std::vector<std::filesystem::path>& folders);

// One name a line, each ended by a newline.
std::string DeviceNamesText(const DeviceListing& listing);

// `nameOrFile` names an existing file: that file is read. Otherwise it is a device's
// name in the folders, matched exactly, else without regard to ASCII case when only
// one device matches so.
DeviceRead FindDevice(const std::string& nameOrFile, const std::vector<std::filesystem::path>& folders);

}  // namespace voltra
