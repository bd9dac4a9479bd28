// Where every control of the design screen stands, in drawing units, and which of
// them take the screen's font size.
#pragma once

#include <QTransform>
#include <array>

class QWidget;

namespace voltra {

struct ControlPlacement {
    const char* name;
    int left;
    int top;
    int width;
    int height;
    bool screenFont;
};

// In the order the screen places them.
inline constexpr std::array<ControlPlacement, 27> kControlPlacements = {{
    {"cmdAbout", 15, 1500, 1400, 300, true},
    {"cmdSave", 3100, 7500, 1400, 300, true},
    {"cmdGet", 1500, 7500, 1400, 300, true},
    {"cmdPrint", 7900, 7500, 900, 300, true},
    {"cmdEnter", 1500, 6800, 9200, 300, true},
    {"cmdSpice", 6300, 7500, 900, 300, true},
    {"cmdExit", 9500, 7500, 900, 300, true},
    {"lblFrequency", 1500, 6000, 1200, 300, true},
    {"txtFrequency", 1500, 6300, 1000, 300, true},
    {"UpDown1", 2500, 6300, 300, 300, false},
    {"lblPower", 3100, 6000, 1200, 300, true},
    {"txtPower", 3100, 6300, 1000, 300, true},
    {"UpDown2", 4100, 6300, 300, 300, false},
    {"lblSupply", 4700, 6000, 1200, 300, true},
    {"txtSupply", 4700, 6300, 1000, 300, true},
    {"UpDown3", 5700, 6300, 300, 300, false},
    {"lblSaturation", 6300, 6000, 1200, 300, true},
    {"txtSaturation", 6300, 6300, 1000, 300, true},
    {"UpDown4", 7300, 6300, 300, 300, false},
    {"lblNetworkQ", 7900, 6000, 1200, 300, true},
    {"txtNetworkQ", 7900, 6300, 1000, 300, true},
    {"UpDown5", 8900, 6300, 300, 300, false},
    {"lblFalltime", 9500, 6000, 1200, 300, true},
    {"txtFalltime", 9500, 6300, 1000, 300, true},
    {"UpDown6", 10500, 6300, 300, 300, false},
    {"cmdLnetYes", 8000, 2100, 1000, 300, true},
    {"txtRnetwork", 9500, 4200, 900, 300, true},
}};

// Places the screen's controls through the drawing-unit transform and gives those
// that take it the screen's font size.
void PlaceControls(QWidget& screen, const QTransform& units, int fontPixels);

}  // namespace voltra
