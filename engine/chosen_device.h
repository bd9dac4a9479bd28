// What a chosen transistor adds to a design: the single output capacitance the
// closed-form design takes off C1, its stresses against its ratings with margin, the
// power its gate drive takes, and its junction temperature on the user's heat sink.
#pragma once

#include "engine/circuit.h"
#include "engine/ratings.h"
#include "engine/thermal.h"
#include "engine/transistor.h"

namespace voltra {

// The device's capacitance as one number: the charge-equivalent capacitance Q(V)/V
// over the swing from 0 to the Class E peak at this supply, the charge C1 gives up
// and takes back each period. The exact solver may take the whole curve instead.
float SingleCossOf(const Transistor& device, double supply);

struct DeviceConditions {
    double derating = kDefaultVoltageDerating;  // share of V(BR)DSS the drain may reach
    HeatSink sink;
};

// A junction law that misses the device's Coss table by more than this somewhere over
// the table leaves the C1 it sets in question: the curve the design takes is not quite
// the device's.
inline constexpr double kLargestTrustedFitError = 0.03;

// Marks Vpeak, Ipeak and the switch's RMS current against the device's ratings, adds
// the gate drive to the loss budget when the device gives Qg and Vgs, and solves the
// junction temperature into circuit.tj when the device gives RθJC, TJ max and the
// RDS(on) rise; questions C1 when the law fits the device's Coss table worse than
// kLargestTrustedFitError. The circuit must be analysed for the RMS current, the budget and the
// temperature; otherwise those stay out and Tj is invalid with the reason.
void ApplyDevice(Circuit& circuit, const Transistor& device, const DeviceConditions& conditions);

}  // namespace voltra
