// Result texts of the design screen, in the order they are written.
#include "screens/design/schematic_labels.h"

#include <string>

#include "engine/equations.h"
#include "units/format.h"

namespace voltra {

namespace {

using Formatter = std::string (*)(double);

struct Anchor {
    double x;
    double y;
};

// Fixed anchors, in drawing units.
constexpr Anchor kLseries = {6400, 2500};
constexpr Anchor kC1 = {5500, 4000};
constexpr Anchor kC2 = {5800, 3300};
constexpr Anchor kLnetworkAfterShuntC = {8000, 3200};
constexpr Anchor kLnetworkAfterSeriesL = {7300, 3200};
constexpr Anchor kCnetworkAfterShuntC = {7800, 4000};
constexpr Anchor kCnetworkAfterSeriesL = {7300, 4000};
constexpr Anchor kSupply = {4100, 800};
constexpr Anchor kIdc = {4100, 1100};
constexpr Anchor kRdc = {2300, 1100};
constexpr Anchor kVpeak = {4100, 2700};
constexpr Anchor kIpeak = {2300, 3200};
constexpr Anchor kRfc = {3500, 1800};
constexpr Anchor kDrain = {4050, 3350};
constexpr Anchor kSource = {4050, 4500};
constexpr Anchor kGate = {3150, 4100};
// Anchors that follow the end of the chain.
constexpr double kLoadLabelRight = 500;
constexpr double kLoadCaptionY = 3600;
constexpr double kLoadValueY = 3900;
constexpr double kLtotalLeft = -2600;
constexpr double kLtotalY = 2100;

class Writer {
public:
    explicit Writer(std::vector<SchematicLabel>& labels) : labels_(labels) {}

    void Text(Anchor at, AnchorColour colour, const char* text)
    {
        labels_.push_back({QPointF(at.x, at.y), colour, QString::fromLatin1(text), false});
    }

    // prefix, the value's text, unit and closing; a failed value shows the invalid
    // mark instead of its text and unit, in red.
    void Value(Anchor at, AnchorColour colour, float value, Formatter format, const char* prefix = "",
               const char* unit = "", const char* closing = "", bool warning = false)
    {
        std::string text = prefix;
        const bool valid = IsValid(value);
        if (valid) {
            text += format(value);
            text += unit;
        } else {
            text += kInvalidMark;
        }
        text += closing;
        labels_.push_back({QPointF(at.x, at.y), colour, QString::fromStdString(text), warning || !valid});
    }

private:
    std::vector<SchematicLabel>& labels_;
};

}  // namespace

std::vector<SchematicLabel> SchematicLabels(const DesignRecord& d, int schematicX)
{
    std::vector<SchematicLabel> labels;
    Writer write(labels);
    const bool network = d.LnetState == 1;
    const LnetworkLayout layout = LayoutOf(d);
    const Anchor loadCaption = {schematicX + kLoadLabelRight, kLoadCaptionY};
    const Anchor loadValue = {schematicX + kLoadLabelRight, kLoadValueY};

    write.Value(kLseries, AnchorColour::ButtonFace, d.Lseries, FormatInductance);
    write.Value(kC1, AnchorColour::ButtonFace, d.C1, FormatCapacitance);
    write.Value(kC2, AnchorColour::ButtonFace, d.C2, FormatCapacitance);
    // With Rload equal to Rnetwork no network is drawn, and the parts kept from the
    // previous design would label nothing.
    if (network && layout != LnetworkLayout::Equal) {
        const bool seriesLFirst = layout == LnetworkLayout::SeriesLFirst;
        write.Value(seriesLFirst ? kLnetworkAfterSeriesL : kLnetworkAfterShuntC, AnchorColour::White, d.Lnetwork,
                    FormatInductance);
        write.Value(seriesLFirst ? kCnetworkAfterSeriesL : kCnetworkAfterShuntC, AnchorColour::White, d.Cnetwork,
                    FormatCapacitance);
    }
    write.Text(loadCaption, AnchorColour::White, "Rload:");
    if (network)
        write.Value(loadValue, AnchorColour::White, d.Rnetwork, FormatResistance);
    else
        write.Value(loadValue, AnchorColour::ButtonFace, d.Rload, FormatResistance, "", "ohms");
    write.Value(kSupply, AnchorColour::White, d.Supply, FormatPrefixed, "Vsupply: ", "V");
    // A negative supply current, or one above the switch's peak, means the fall-time
    // losses have taken the design outside anything a real stage can do.
    write.Value(kIdc, AnchorColour::White, d.Idc, FormatPrefixed, "Idc: ", "A", "", d.Idc < 0 || d.Idc > d.Ipeak);
    // With no supply current at all (only an efficiency past the single range gives
    // one) the DC resistance is not a figure anyone could use, so Rdc() fails and the
    // invalid mark stands in its place.
    write.Value(kRdc, AnchorColour::White, Rdc(d), FormatPrefixed, "( Rdc: ", "ohms", " )", d.Idc < 0);
    write.Value(kVpeak, AnchorColour::ButtonFace, d.Vpeak, FormatPrefixed, "Vpeak: ", "V");
    write.Value(kIpeak, AnchorColour::ButtonFace, d.Ipeak, FormatPrefixed, "Drain Ipeak: ", "A", "", d.Ipeak < d.Idc);
    write.Text(kRfc, AnchorColour::White, "RFC");
    write.Text(kDrain, AnchorColour::ButtonFace, "DRAIN");
    write.Text(kSource, AnchorColour::ButtonFace, "SOURCE");
    write.Text(kGate, AnchorColour::ButtonFace, "GATE");
    if (network && layout == LnetworkLayout::SeriesLFirst)
        write.Value({schematicX + kLtotalLeft, kLtotalY}, AnchorColour::White, Ltotal(d), FormatInductance,
                    "Ltotal: ");
    return labels;
}

}  // namespace voltra
