// The switch's stresses against the device's ratings, with the margin a designer
// keeps, and the power its gate drive takes.
#pragma once

#include "engine/result_status.h"
#include "engine/transistor.h"

namespace voltra {

// The share of the drain voltage rating a design may use; 80 % is the usual
// derating of a MOSFET's V(BR)DSS for a repetitive peak (NASA EEE-INST-002, 2003,
// table 3, section B6 "Transistors": 75..80 % of the rated voltage).
inline constexpr double kDefaultVoltageDerating = 0.8;
// Above this share of the allowed value a stress is flagged as near its limit.
inline constexpr double kWarningShare = 0.9;

// Each returns the stress as its value: Invalid above the allowed value (the rating
// times the derating), Warning above 90 % of it, Valid below.
Result CheckDrainPeakVoltage(double peakVolts, const Transistor& device, double derating = kDefaultVoltageDerating);
// The peak against the pulsed rating IDM when the device gives one, else against
// the continuous rating; the RMS current against the continuous rating.
Result CheckDrainPeakCurrent(double peakAmps, const Transistor& device, double derating = 1);
Result CheckDrainRmsCurrent(double rmsAmps, const Transistor& device, double derating = 1);

// The power the driver spends charging and discharging the gate, Qg·Vgs·f: the
// charge Qg is delivered from the drive supply Vgs once a cycle and its energy is
// lost in the driver and the gate resistance (Erickson & Maksimović, "Fundamentals
// of Power Electronics", 2nd ed., 2001, section 4.3.3).
double GateDrivePower(double gateCharge, double driveVolts, double frequency);

}  // namespace voltra
