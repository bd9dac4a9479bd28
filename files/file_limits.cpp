// Resetting out-of-range targets read from a file, with a message for each.
#include "files/file_limits.h"

#include <string>

#include "units/format.h"
#include "units/number_text.h"

namespace voltra {

namespace {

constexpr float kFrequencyLow = 1000.0f;
constexpr const char* kFrequencyLowMessage = "Frequency has been reset to 1000 Hz";
constexpr float kFrequencyHigh = 1e10f;
constexpr const char* kFrequencyHighMessage = "Frequency has been reset to 10 GHz";

constexpr const char* kSaturationMessage = "Saturation voltage has been reset to ";
// The switch keeps at least half a volt of swing below the supply.
constexpr double kSupplyMargin = 0.5;

constexpr float kNetworkQHigh = 10000.0f;
constexpr const char* kNetworkQHighMessage = "Network Q has been reset to 10000";

// A negative fall time (zero passes) becomes a tenth of a nanosecond.
constexpr float kFalltimeNegativeBecomes = 1e-10f;
constexpr const char* kFalltimeNegativeMessage = "Falltime has been reset to 0.1 ns";
// The fall time must stay below a fifth of the period; a reset puts it just inside.
constexpr double kFalltimeMaxPeriods = 0.2;
constexpr double kFalltimeResetPeriods = 0.199;
constexpr const char* kFalltimeMessage = "Falltime has been reset to ";

void Reset(float& field, float value, const std::string& message, MessageSink& sink)
{
    field = value;
    sink.ShowMessage(message, kProgramTitle);
}

}  // namespace

void ValidateTargets(DesignRecord& d, const FileLimits& limits, MessageSink& sink)
{
    if (d.Frequency < kFrequencyLow) Reset(d.Frequency, kFrequencyLow, kFrequencyLowMessage, sink);
    if (d.Frequency > kFrequencyHigh) Reset(d.Frequency, kFrequencyHigh, kFrequencyHighMessage, sink);

    if (d.Supply < limits.supplyLow) Reset(d.Supply, limits.supplyLow, limits.supplyLowMessage, sink);
    if (d.Supply > limits.supplyHigh) Reset(d.Supply, limits.supplyHigh, limits.supplyHighMessage, sink);

    if (d.Saturation < limits.saturationLow)
        Reset(d.Saturation, limits.saturationLow, kSaturationMessage + GeneralNumberText(limits.saturationLow), sink);
    const float saturationHigh = static_cast<float>(d.Supply - kSupplyMargin);
    if (d.Saturation > saturationHigh)
        Reset(d.Saturation, saturationHigh, kSaturationMessage + GeneralNumberText(saturationHigh), sink);

    if (d.NetworkQ < limits.networkQLow) Reset(d.NetworkQ, limits.networkQLow, limits.networkQLowMessage, sink);
    if (d.NetworkQ > kNetworkQHigh) Reset(d.NetworkQ, kNetworkQHigh, kNetworkQHighMessage, sink);

    if (d.Falltime < 0.0f) Reset(d.Falltime, kFalltimeNegativeBecomes, kFalltimeNegativeMessage, sink);
    const float falltimeHigh = static_cast<float>(kFalltimeMaxPeriods / d.Frequency);
    if (d.Falltime > falltimeHigh) {
        const float falltime = static_cast<float>(kFalltimeResetPeriods / d.Frequency);
        Reset(d.Falltime, falltime, kFalltimeMessage + FormatSmall(falltime), sink);
    }
}

}  // namespace voltra
