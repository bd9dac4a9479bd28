// The design screen's commands that reach beyond it (files, LTspice, printing, the
// about and exit screens, the user guide), injected so the screen can be driven without dialogs.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace voltra {

struct Circuit;
struct DesignRecord;

class DesignCommands {
public:
    virtual ~DesignCommands() = default;
    virtual void Get() = 0;
    // Asks for a file, proposing the one in use, and writes the design to it.
    virtual void Save() = 0;
    // Writes to the file in use without asking; with none yet, as Save.
    virtual void SaveInPlace() = 0;
    virtual void Spice() = 0;
    // Simulates the design on screen in a window that follows every new calculation.
    virtual void Verify() = 0;
    // A cycle has drawn a new design: the screen says which, for it may still be
    // loading and not yet the screen the program holds.
    virtual void Recalculated(const DesignRecord&, const Circuit&) {}
    virtual void Print() = 0;
    virtual void About() = 0;
    // Opens the user guide in the desktop's viewer.
    virtual void UserGuide() = 0;
    // Also asked when the user closes the window from its frame: leaving the design
    // screen always goes through the same confirmation.
    virtual void Exit() = 0;
    // The folders whose transistors the "Switch" choice lists, read as the screen opens.
    virtual std::vector<std::filesystem::path> TransistorFolders() const = 0;
    // Tells the user of a fault the screen met beyond its own boxes, such as a device
    // file that cannot be read.
    virtual void Report(const std::string& text) = 0;
};

}  // namespace voltra
