#include "engine/ratings.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace voltra {

namespace {

std::string Number(double value, const char* unit)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.3g %s", value, unit);
    return text;
}

Result Check(double stress, double rating, double derating, const char* what, const char* unit)
{
    Result result{static_cast<float>(stress), Status::Valid, {}};
    if (!std::isfinite(stress) || !(rating > 0) || !(derating > 0 && derating <= 1)) {
        Invalidate(result, std::string("The ") + what + " cannot be checked against the device's rating.");
        return result;
    }
    const double allowed = rating * derating;
    const std::string limits = derating < 1 ? Number(allowed, unit) + " (" + Number(100 * derating, "%") +
                                                  " of the rated " + Number(rating, unit) + ")"
                                            : "the rated " + Number(rating, unit);
    const std::string stated = std::string("The ") + what + " of " + Number(stress, unit);
    if (stress > rating) {
        Invalidate(result, stated + " exceeds the device's rating of " + Number(rating, unit) + ".");
    } else if (stress > allowed) {
        Invalidate(result, stated + " exceeds the allowed " + limits + ".");
    } else if (stress > kWarningShare * allowed) {
        result.status = Status::Warning;
        result.reason = stated + " is within 10 % of the allowed " + limits + ".";
    }
    return result;
}

}  // namespace

Result CheckDrainPeakVoltage(double peakVolts, const Transistor& device, double derating)
{
    return Check(peakVolts, device.maxDrainVolts, derating, "peak drain voltage", "V");
}

Result CheckDrainPeakCurrent(double peakAmps, const Transistor& device, double derating)
{
    return Check(peakAmps, device.pulsedDrainAmps.value_or(device.continuousDrainAmps), derating,
                 "peak drain current", "A");
}

Result CheckDrainRmsCurrent(double rmsAmps, const Transistor& device, double derating)
{
    return Check(rmsAmps, device.continuousDrainAmps, derating, "RMS drain current", "A");
}

double GateDrivePower(double gateCharge, double driveVolts, double frequency)
{
    return gateCharge * driveVolts * frequency;
}

}  // namespace voltra
