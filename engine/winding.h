// Inductors a builder can wind: an air-core single-layer solenoid, or turns on a
// toroidal core of known inductance factor, with the wire for the current they carry.
#pragma once

#include <string>

namespace voltra {

// Copper at 20 °C, the International Annealed Copper Standard (IEC 60028:1925):
// 1/58 Ω·mm²/m.
inline constexpr double kCopperResistivity = 1.0 / 58e6;  // Ω·m
// Current density the wire is sized for: the conservative end of the usual 3..5 A/mm²
// for windings in still air, applied to the whole copper section (the heat is made
// in the skin, but leaves through the whole wire and its enamel).
inline constexpr double kWireCurrentDensity = 3e6;  // A/m²
// A single-layer RF coil with the turns one wire diameter apart: Medhurst's (1947)
// measured resistance factors put the best Q of a spaced winding about there.
inline constexpr double kDefaultPitchOverWire = 2;

// American Wire Gauge: d = 0.127 mm · 92^((36 - n)/39) (ASTM B258, the gauge's definition).
double AwgDiameter(int gauge);
// The thinnest gauge, 0 to 40, whose copper carries `rmsAmps` at the current density;
// 0 when even AWG 0 is too thin.
int GaugeForCurrent(double rmsAmps, double ampsPerSquareMetre = kWireCurrentDensity);

// δ = sqrt(ρ/(π·f·µ0)) in copper (Ramo, Whinnery & Van Duzer, "Fields and Waves in
// Communication Electronics", 3rd ed., 1994, ch. 3, skin effect); metre.
double SkinDepth(double frequency);
// An isolated round wire's resistance with the current in a skin of depth δ: the
// annulus π·δ·(d - δ) while δ < d/2, the whole section below that frequency: the
// usual approximation of the Bessel-function solution for d ≫ δ (Terman, "Radio
// Engineers' Handbook", 1943, section 2, skin effect). The neighbouring turns'
// proximity effect is left out; ohm.
double WireResistance(double length, double diameter, double frequency);

// Wheeler's long-coil formula, L[µH] = r²N²/(9r + 10l), r and l in inches (H. A.
// Wheeler, "Simple Inductance Formulas for Radio Coils", Proc. IRE 16(10), Oct. 1928,
// pp. 1398–1400, eq. 1; within 1 % for l > 0.8·r). SI in and out: henry from metres,
// `diameter` between the centres of the wire.
double WheelerInductance(double turns, double diameter, double length);
// The exact current-sheet inductance µ0·π·r²·N²/l · K(2r/l), Nagaoka's coefficient K
// from complete elliptic integrals (Nagaoka, J. Coll. Sci. Tokyo 27(6), 1909; in the
// form of Grover, "Inductance Calculations", 1946, ch. 16); the reference Wheeler's
// formula approximates.
double CurrentSheetInductance(double turns, double diameter, double length);

// Medhurst's self-capacitance of a single-layer solenoid, C = D·(0.1126·l/D + 0.08 +
// 0.27/sqrt(l/D)) pF with D in cm (R. G. Medhurst, "H.F. Resistance and
// Self-Capacitance of Single-Layer Solenoids", Wireless Engineer 24, Feb. 1947,
// pp. 35–43 and Mar. 1947, pp. 80–92, the empirical fit to his measured table); farad.
double MedhurstCapacitance(double diameter, double length);

struct AirCoil {
    double turns = 0;       // for the inductance asked, not rounded
    double diameter = 0;    // m, between wire centres
    double length = 0;      // m, turns × pitch
    int gauge = 0;          // AWG
    double wireDiameter = 0;  // m, bare copper
    double wireLength = 0;    // m, in the winding, without leads
    double resistance = 0;    // ohm, at the frequency
    double q = 0;             // ωL/R: the wire's skin loss only, so an upper estimate
    double selfCapacitance = 0;    // F
    double selfResonance = 0;      // Hz
    // l > 0.8·r, where Wheeler's formula is within 1 %.
    bool withinWheelerRange = false;
};

// The solenoid of `inductance` on a former giving winding `diameter`, wound with the
// gauge for `rmsAmps` at `pitchOverWire` wire diameters per turn; inductance,
// frequency and diameter must be greater than zero. Turns from Wheeler's
// formula solved for N with l = N·p: r²N² - 10·p·L·N - 9·r·L = 0 (inches, µH).
AirCoil DesignAirCoil(double inductance, double rmsAmps, double frequency, double diameter,
                      double pitchOverWire = kDefaultPitchOverWire);

// A toroidal core as its maker's catalogue lists it.
struct ToroidCore {
    std::string name;      // the catalogue's part number
    std::string material;  // e.g. "2" (powdered iron, red) or "43" (NiZn ferrite)
    double inductanceFactor = 0;  // H per turn², AL
    double outerDiameter = 0;     // m
    double innerDiameter = 0;     // m
    double height = 0;            // m
    double area = 0;              // m², effective cross-section Ae
    double pathLength = 0;        // m, effective magnetic path le
};

struct Toroid {
    double turns = 0;  // sqrt(L/AL), not rounded
    int gauge = 0;
    double wireDiameter = 0;  // m
    double wireLength = 0;    // m, in the winding
    double resistance = 0;    // ohm, the wire's, at the frequency
    // B = L·I/(N·Ae) at the RMS current (Faraday: N·Φ = L·I); tesla.
    double fluxDensity = 0;
    // The turns fit side by side on the inner circumference, π·(ID - d) ≥ N·d.
    bool fitsOneLayer = false;
};

// Inductance and frequency greater than zero, a core as ReadCoreTable checks it.
Toroid DesignToroid(double inductance, double rmsAmps, double frequency, const ToroidCore& core);

}  // namespace voltra
