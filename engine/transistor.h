// What a design needs to know of its switching transistor: ratings, on-resistance
// and its rise with temperature, the voltage-dependent output capacitance, gate
// charge and the thermal data, as read from a device file (files/device_file.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/junction_fit.h"
#include "engine/junction_law.h"

namespace voltra {

// On-resistance at `celsius` over the one at 25 °C: the data sheet's "normalised
// on-resistance against junction temperature" figure read as points, or the two
// temperatures its table quotes. Points rather than one coefficient because the
// curve of a silicon device bends upward (its electron mobility falls faster than
// 1/T, Sze & Ng, "Physics of Semiconductor Devices", 3rd ed., 2007, ch. 1, on
// lattice scattering), which one coefficient cannot follow over 25..150 °C; a
// coefficient α is kept as the straight line through (25 °C, 1) and (125 °C, 1 + 100·α).
// The temperature RDS(on) is quoted at and the rise is normalised to.
inline constexpr double kOnResistanceReferenceCelsius = 25;

struct TemperatureFactor {
    double celsius = 0;
    double factor = 1;
    bool operator==(const TemperatureFactor&) const = default;
};

struct Transistor {
    std::string name;
    std::string manufacturer;
    // The maker's document the numbers come from, as the file names it.
    std::string datasheet;

    double maxDrainVolts = 0;        // V, V(BR)DSS or VDS max
    double continuousDrainAmps = 0;  // A, ID
    std::optional<double> pulsedDrainAmps;  // A, IDM

    double onResistance25 = 0;  // ohm, RDS(on) at 25 °C
    // Sorted by temperature, two or more; empty when the file gives no rise.
    std::vector<TemperatureFactor> onResistanceRise;

    // The law the design uses; fitted to `cossTable` when the file gives a table,
    // then with the fit's worst deviation from it.
    JunctionLaw coss;
    std::vector<CapacitancePoint> cossTable;
    double cossFitWorstError = 0;

    std::optional<double> gateCharge;  // C, total Qg at the drive voltage
    std::optional<double> driveVolts;  // V, the gate drive Qg is quoted at
    std::optional<double> thetaJunctionCase;   // K/W
    std::optional<double> maxJunctionCelsius;  // °C
    bool operator==(const Transistor&) const = default;
};

// RDS(on) at `celsius`: linear between the rise's points and along its end segments
// beyond them; RDS(on) at 25 °C when the device gives no rise.
double OnResistanceAt(const Transistor& device, double celsius);

// The factor as a function of temperature for a coefficient per kelvin.
std::vector<TemperatureFactor> StraightRise(double perKelvin);

}  // namespace voltra
