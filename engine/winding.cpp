#include "engine/winding.h"

#include <cmath>
#include <numbers>

namespace voltra {

namespace {

constexpr double kMu0 = 4e-7 * std::numbers::pi;  // H/m, to 1 part in 10^9 of CODATA 2018
constexpr double kMetresPerInch = 0.0254;
constexpr double kMicrohenry = 1e-6;
constexpr double kPicofarad = 1e-12;
constexpr double kMetresPerCentimetre = 0.01;
constexpr double kAwgBaseDiameter = 0.127e-3;  // m, AWG 36
constexpr int kThickestGauge = 0;
constexpr int kThinnestGauge = 40;
// Wheeler's stated range of 1 % accuracy: length above 0.8 radius.
constexpr double kWheelerShortestOverRadius = 0.8;

double Pi() { return std::numbers::pi; }

}  // namespace

double AwgDiameter(int gauge)
{
    return kAwgBaseDiameter * std::pow(92.0, (36.0 - gauge) / 39.0);
}

int GaugeForCurrent(double rmsAmps, double ampsPerSquareMetre)
{
    for (int gauge = kThinnestGauge; gauge > kThickestGauge; --gauge) {
        const double d = AwgDiameter(gauge);
        if (Pi() * d * d / 4 * ampsPerSquareMetre >= rmsAmps) return gauge;
    }
    return kThickestGauge;
}

double SkinDepth(double frequency)
{
    return std::sqrt(kCopperResistivity / (Pi() * frequency * kMu0));
}

double WireResistance(double length, double diameter, double frequency)
{
    const double delta = SkinDepth(frequency);
    const double area = delta < diameter / 2 ? Pi() * delta * (diameter - delta) : Pi() * diameter * diameter / 4;
    return kCopperResistivity * length / area;
}

double WheelerInductance(double turns, double diameter, double length)
{
    const double r = diameter / 2 / kMetresPerInch;
    const double l = length / kMetresPerInch;
    return r * r * turns * turns / (9 * r + 10 * l) * kMicrohenry;
}

double CurrentSheetInductance(double turns, double diameter, double length)
{
    const double r = diameter / 2;
    const double k2 = 4 * r * r / (4 * r * r + length * length);
    const double k = std::sqrt(k2);
    const double kp2 = 1 - k2;
    const double bigK = std::comp_ellint_1(k);
    const double bigE = std::comp_ellint_2(k);
    const double nagaoka = 4 / (3 * Pi() * std::sqrt(kp2)) * (kp2 / k2 * (bigK - bigE) + bigE - k);
    return kMu0 * Pi() * r * r * turns * turns / length * nagaoka;
}

double MedhurstCapacitance(double diameter, double length)
{
    const double x = length / diameter;
    const double dCm = diameter / kMetresPerCentimetre;
    return dCm * (0.1126 * x + 0.08 + 0.27 / std::sqrt(x)) * kPicofarad;
}

AirCoil DesignAirCoil(double inductance, double rmsAmps, double frequency, double diameter, double pitchOverWire)
{
    AirCoil coil;
    coil.diameter = diameter;
    coil.gauge = GaugeForCurrent(rmsAmps);
    coil.wireDiameter = AwgDiameter(coil.gauge);
    const double r = diameter / 2 / kMetresPerInch;
    const double p = pitchOverWire * coil.wireDiameter / kMetresPerInch;
    const double l = inductance / kMicrohenry;
    coil.turns = (10 * p * l + std::sqrt(100 * p * p * l * l + 36 * r * r * r * l)) / (2 * r * r);
    coil.length = coil.turns * p * kMetresPerInch;
    coil.wireLength = coil.turns * Pi() * diameter;
    coil.resistance = WireResistance(coil.wireLength, coil.wireDiameter, frequency);
    coil.q = 2 * Pi() * frequency * inductance / coil.resistance;
    coil.selfCapacitance = MedhurstCapacitance(diameter, coil.length);
    coil.selfResonance = 1 / (2 * Pi() * std::sqrt(inductance * coil.selfCapacitance));
    coil.withinWheelerRange = coil.length > kWheelerShortestOverRadius * diameter / 2;
    return coil;
}

Toroid DesignToroid(double inductance, double rmsAmps, double frequency, const ToroidCore& core)
{
    Toroid toroid;
    toroid.turns = std::sqrt(inductance / core.inductanceFactor);
    toroid.gauge = GaugeForCurrent(rmsAmps);
    toroid.wireDiameter = AwgDiameter(toroid.gauge);
    // Each turn wraps the core's section: twice its radial width and twice its height,
    // with the wire's own thickness at the four corners.
    const double perTurn = (core.outerDiameter - core.innerDiameter) + 2 * core.height + 4 * toroid.wireDiameter;
    toroid.wireLength = toroid.turns * perTurn;
    toroid.resistance = WireResistance(toroid.wireLength, toroid.wireDiameter, frequency);
    toroid.fluxDensity = inductance * rmsAmps / (toroid.turns * core.area);
    toroid.fitsOneLayer = Pi() * (core.innerDiameter - toroid.wireDiameter) >= toroid.turns * toroid.wireDiameter;
    return toroid;
}

}  // namespace voltra
