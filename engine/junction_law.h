// The voltage-dependent output capacitance of a transistor as a junction law,
// C(V) = Cj0 / (1 + V/Vj)^m, with the charge and stored energy it implies in closed form.
#pragma once

namespace voltra {

// The depletion capacitance of a junction (Sze & Ng, "Physics of Semiconductor
// Devices", 3rd ed., 2007, ch. 2: m = 1/2 for an abrupt junction, 1/3 for a linearly
// graded one; the SPICE diode's CJO, VJ and M are the same three numbers). m = 0 is
// a fixed capacitance.
struct JunctionLaw {
    double cj0 = 0;  // F, the capacitance at 0 V
    double vj = 1;   // V, the built-in potential
    double m = 0;    // grading exponent
    bool operator==(const JunctionLaw&) const = default;
};

// The ideal Class E stage's peak drain voltage over the supply at duty 0.5 (F. H. Raab,
// "Idealized Operation of the Class E Tuned Power Amplifier", IEEE Trans. CAS-24(12),
// 1977, table I: 3.562): the swing over which a curve's charge-equivalent capacitance
// stands for the whole curve before a waveform is solved.
inline constexpr double kDrainPeakOverSupply = 3.562;

// All four are defined for v > -vj (a reverse-biased junction, v the drain-source
// voltage); below that the law has no meaning and they return NaN.
double Capacitance(const JunctionLaw& law, double v);

// Q(V) = ∫0..V C dv = Cj0·Vj·((1 + V/Vj)^(1-m) - 1)/(1 - m), and Cj0·Vj·ln(1 + V/Vj)
// at m = 1; coulomb.
double Charge(const JunctionLaw& law, double v);

// E(V) = ∫0..V v·C dv, joule; with u = 1 + v/Vj it is
// Cj0·Vj²·[(U^(2-m) - 1)/(2-m) - (U^(1-m) - 1)/(1-m)], each bracket → ln U at its pole.
double StoredEnergy(const JunctionLaw& law, double v);

// The fixed capacitances that take the same charge (Q/V, the "time-related" Co(tr) of
// data sheets) and store the same energy (2E/V², the "energy-related" Co(er)) when
// charged from 0 to V; both equal Cj0 as V → 0.
double ChargeEquivalentCapacitance(const JunctionLaw& law, double v);
double EnergyEquivalentCapacitance(const JunctionLaw& law, double v);

// The SPICE diode's forward-bias coefficient FC at its default: beyond a forward bias
// of FC·Vj the depletion law is replaced by its tangent line.
inline constexpr double kForwardBiasCoefficient = 0.5;

// The junction capacitance as the SPICE2/SPICE3 diode model has it (P. Antognetti and
// G. Massobrio, "Semiconductor Device Modeling with SPICE", 2nd ed., 1993, ch. 1): the
// law for a forward bias Vd = −v below FC·Vj, and beyond it the linear extension
// Cj0/(1 − FC)^(1+m) · (1 − FC·(1 + m) + m·Vd/Vj), which stays finite where the drain
// swings below ground. Continuous with its slope at Vd = FC·Vj; defined for every v.
double JunctionCapacitance(const JunctionLaw& law, double v);

// ∫0..V v·C dv of that capacitance: StoredEnergy down to the joint, the line's cubic
// beyond it; joule, defined for every v.
double JunctionStoredEnergy(const JunctionLaw& law, double v);

}  // namespace voltra
