// Where every control of the design screen stands, in drawing units, and which of
// them take the screen's font size.
#pragma once

#include <QTransform>
#include <array>
#include "screens/object_names.h"

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
inline constexpr std::array<ControlPlacement, 65> kControlPlacements = {{
    {kAboutButtonName, 15, 1500, 1400, 300, true},
    {kSaveButtonName, 3100, 7500, 1400, 300, true},
    {kGetButtonName, 1500, 7500, 1400, 300, true},
    {kPrintButtonName, 7900, 7500, 900, 300, true},
    {kEnterButtonName, 1500, 6800, 9200, 300, true},
    {kSpiceButtonName, 6300, 7500, 900, 300, true},
    // Verification sits beside the export it checks, where the hidden Save leaves room.
    {kVerifyButtonName, 5200, 7500, 900, 300, true},
    {kExitButtonName, 9500, 7500, 900, 300, true},
    {kFrequencyLabelName, 1500, 6000, 1200, 300, true},
    {kFrequencyBoxName, 1500, 6300, 1000, 300, true},
    {kFrequencyArrowsName, 2500, 6300, 300, 300, false},
    {kPowerLabelName, 3100, 6000, 1200, 300, true},
    {kPowerBoxName, 3100, 6300, 1000, 300, true},
    {kPowerArrowsName, 4100, 6300, 300, 300, false},
    {kSupplyLabelName, 4700, 6000, 1200, 300, true},
    {kSupplyBoxName, 4700, 6300, 1000, 300, true},
    {kSupplyArrowsName, 5700, 6300, 300, 300, false},
    {kSaturationLabelName, 6300, 6000, 1200, 300, true},
    {kSaturationBoxName, 6300, 6300, 1000, 300, true},
    {kSaturationArrowsName, 7300, 6300, 300, 300, false},
    {kNetworkQLabelName, 7900, 6000, 1200, 300, true},
    {kNetworkQBoxName, 7900, 6300, 1000, 300, true},
    {kNetworkQArrowsName, 8900, 6300, 300, 300, false},
    {kFalltimeLabelName, 9500, 6000, 1200, 300, true},
    {kFalltimeBoxName, 9500, 6300, 1000, 300, true},
    {kFalltimeArrowsName, 10500, 6300, 300, 300, false},
    {kLnetButtonName, 8000, 2100, 1000, 300, true},
    // The options past the fits stand over the load side, which is empty up there.
    {kExactButtonName, 9100, 2100, 1000, 300, true},
    // The windings' own Qs in place of the one inductor Q: a choice of the same row as
    // Exact, which it changes alike.
    {kWindingQButtonName, 10200, 2100, 1000, 300, true},
    {kCossLabelName, 8000, 1300, 1000, 300, true},
    {kCossBoxName, 9100, 1300, 1000, 300, true},
    {kSeriesLabelName, 8000, 1700, 1000, 300, true},
    {kSeriesBoxName, 9100, 1700, 1000, 300, true},
    // The switch's duty and the parts' quality factors, which shape the exact design
    // and its losses, stand above them.
    {kDutyLabelName, 8000, 900, 1000, 300, true},
    {kDutyBoxName, 9100, 900, 1000, 300, true},
    {kInductorQLabelName, 8000, 500, 1000, 300, true},
    {kInductorQBoxName, 9100, 500, 1000, 300, true},
    {kCapacitorQLabelName, 8000, 100, 1000, 300, true},
    {kCapacitorQBoxName, 9100, 100, 1000, 300, true},
    // The transistor beside the Coss it replaces; its voltage derating under it, and
    // above it the heat path from its case up to the air.
    {kSwitchLabelName, 10200, 1300, 600, 300, true},
    {kSwitchBoxName, 10800, 1300, 1150, 300, true},
    {kDeratingLabelName, 10200, 1700, 1000, 300, true},
    {kDeratingBoxName, 11200, 1700, 750, 300, true},
    {kThetaCaseSinkLabelName, 10200, 900, 1000, 300, true},
    {kThetaCaseSinkBoxName, 11200, 900, 750, 300, true},
    {kThetaSinkAmbientLabelName, 10200, 500, 1000, 300, true},
    {kThetaSinkAmbientBoxName, 11200, 500, 750, 300, true},
    {kAmbientLabelName, 10200, 100, 1000, 300, true},
    {kAmbientBoxName, 11200, 100, 750, 300, true},
    // The output network's choices, with the L-network, in the left column under About,
    // clear of the gate drive.
    {kNetworkKindLabelName, 15, 2100, 1400, 300, true},
    {kNetworkKindBoxName, 15, 2400, 1400, 300, true},
    {kMatchingQLabelName, 15, 2800, 1400, 300, true},
    {kMatchingQBoxName, 15, 3100, 1400, 300, true},
    {kTrapButtonName, 15, 3500, 1400, 300, true},
    {kLimitLabelName, 15, 3900, 1400, 300, true},
    {kLimitBoxName, 15, 4200, 1400, 300, true},
    {kMeetLimitButtonName, 15, 4600, 1400, 300, true},
    // Right of the load of the seed layouts; PlaceBesideLoad follows a longer network.
    {kRnetworkBoxName, 9500, 4200, 900, 300, true},
    // Each echo stands under its box, in the box's column.
    {kFrequencyEchoName, 1500, 6600, 1300, 200, true},
    {kPowerEchoName, 3100, 6600, 1300, 200, true},
    {kSupplyEchoName, 4700, 6600, 1300, 200, true},
    {kSaturationEchoName, 6300, 6600, 1300, 200, true},
    {kNetworkQEchoName, 7900, 6600, 1300, 200, true},
    {kFalltimeEchoName, 9500, 6600, 1300, 200, true},
    {kRnetworkEchoName, 9500, 4500, 1300, 200, true},
}};

// Places the screen's controls through the drawing-unit transform and gives those
// that take it the screen's font: the largest size, up to `largestFontPixels`, at
// which every caption, button text and box text fits its place. Returns that size,
// for the schematic's labels to match.
int PlaceControls(QWidget& screen, const QTransform& units, int largestFontPixels);

// The Rnetwork box and its echo this far right of the load resistor standing at loadX,
// never left of their place in the table and always inside the drawing: where the seed
// layouts put them, and as far right as a longer network moves the load.
inline constexpr int kRnetworkRightOfLoad = 500;
void PlaceBesideLoad(QWidget& box, QWidget& echo, int loadX, const QTransform& units);

}  // namespace voltra
