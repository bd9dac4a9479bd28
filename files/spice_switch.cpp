// The switch as behavioural sources (B elements with V() expressions and PULSE
// sources, common to both simulators). One 1 V pulse marks the on-window, a second one
// holds 1 through it and then falls linearly over the fall time; a track-and-hold
// node (a capacitor tied to the channel current by one siemens while the switch is
// on, 1 V standing for 1 A) follows the current and keeps it through the fall:
//
//   on:    i = v(drain) / Ron
//   fall:  i = I0 · ramp, I0 the held current at D·T, ramp from 1 to 0 over tf
//   open:  i = 0
//
// This is the turn-off behind N. O. Sokal's fall-time loss estimate ("Class-E RF
// Power Amplifiers", QEX Jan/Feb 2001, Eq 2): the channel current falls linearly while
// the network current charges the shunt capacitance.
#include "files/spice_switch.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "engine/switch_model.h"

namespace voltra {
namespace {

// The pulses' edges, as a fraction of the period: sharp against every time constant
// of the stage, yet a time step ngspice and LTspice take without trouble.
constexpr double kEdgeFraction = 1e-4;
// The hold follows the channel current with this time constant, as a fraction of the
// period: it lags a sinusoid by ωτ, and holds the turn-off current to 4e-4 of its
// value (measured at 100 kHz, Q 20). A much shorter one is stiff against the
// 1/200-period step, and the trapezoidal rule leaves any disturbance of the hold (a
// pause of the transient is one) ringing for periods; cancelling the lag with ddt()
// instead fails the same way, as ngspice's ddt() loses its history at a pause.
constexpr double kHoldFraction = 1e-4;
// Gives the hold node a path to ground for the operating point, and no leak a period
// would notice (1e12 ohm against the hold's picofarads lasts many milliseconds).
constexpr double kHoldLeak = 1e12;
// The switch's own capacitance as a diode from ground to the drain whose depletion
// capacitance is the device's junction law: CJO, VJ and M are its three numbers
// (Massobrio & Antognetti, "Semiconductor Device Modeling with SPICE", 2nd ed., 1993,
// ch. 1, the junction capacitance), FC left at both simulators' default 0.5. The
// saturation current is so small that the diode conducts nothing a design would notice
// (1e-30 A · e^(1.5 V / 26 mV) is 1e-5 A at 1.5 V forward), so it is the curve alone,
// not a body diode.
constexpr const char* kCossJunctionModel = "CossJunction";
constexpr double kCossSaturationCurrent = 1e-30;
// ngspice takes no junction potential above 2 V (a VJ of 2.2, 3 or 6.5 V charges as
// 2 V does, measured with ngspice 39), while a fitted power device's Vj can be several
// volts. N equal junctions in series share the voltage equally and take the same
// charge, so N of Vj/N and N·Cj0 each are the law itself; each keeps its Vj at or below
// this.
constexpr double kLargestJunctionPotential = 1.0;

// The diodes from ground to the drain, and their model.
void AddCossJunction(std::vector<std::string>& lines, const JunctionLaw& law, const std::string& drain)
{
    const int count = std::max(1, static_cast<int>(std::ceil(law.vj / kLargestJunctionPotential)));
    std::string below = "0";
    for (int k = 1; k <= count; ++k) {
        const std::string above = k == count ? drain : "cossj" + std::to_string(k);
        const std::string name = count == 1 ? "Dcoss" : "Dcoss" + std::to_string(k);
        lines.push_back(name + " " + below + " " + above + " " + kCossJunctionModel);
        below = above;
    }
    lines.push_back(std::string(".model ") + kCossJunctionModel + " D(IS=" + SpiceNumber(kCossSaturationCurrent) +
                    " CJO=" + SpiceNumber(count * law.cj0) + " VJ=" + SpiceNumber(law.vj / count) +
                    " M=" + SpiceNumber(law.m) + ")");
}

}  // namespace

std::string SpiceNumber(double value)
{
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::general, 9).ptr;
    return std::string(text.data(), end);
}

std::vector<std::string> SwitchModelLines(const Circuit& c)
{
    const Part& sw = c.Get(PartRole::Switch);
    const std::string drain = sw.from;
    const std::string ron = SpiceNumber(sw.value.value);
    const double period = 1.0 / static_cast<double>(c.frequency);
    const double edge = kEdgeFraction * period;
    const double onTime = FallStart(c);
    const double fall = std::max(static_cast<double>(c.falltime), 2 * edge);
    const std::string n = SpiceNumber(period);
    const std::string e = SpiceNumber(edge);
    const double hold = kHoldFraction * period;
    // The channel voltage: the sense source holds the source lead at ground.
    const std::string vds = "V(" + drain + "," + kSwitchSourceNode + ")";

    std::vector<std::string> lines = {
        std::string("Vswitch ") + kSwitchSourceNode + " 0 0",
        // 1 from 0 to D·T and one edge beyond, where the hold has caught the current at
        // D·T through its lag; the edges start at 0 and at D·T + edge/2.
        "Von son 0 PULSE(0 1 0 " + e + " " + e + " " + SpiceNumber(onTime - 0.5 * edge) + " " + n + ")",
        // 0 until the on-window has risen, so a stale hold adds nothing at turn-on; 1
        // from there to D·T; then down to 0 over the fall time. No corner of this pulse
        // meets one of the other: two corners a rounding error apart force a time step
        // too small for the simulator.
        "Vramp sramp 0 PULSE(0 1 " + SpiceNumber(2 * edge) + " " + e + " " + SpiceNumber(fall) + " " +
            SpiceNumber(onTime - 3 * edge) + " " + n + ")",
        "Bhold shold 0 I=V(son)*(V(shold)-" + vds + "/" + ron + ")",
        "Chold shold 0 " + SpiceNumber(hold),
        "Rhold shold 0 " + SpiceNumber(kHoldLeak),
        std::string("B") + sw.name + " " + drain + " " + kSwitchSourceNode + " I=V(son)*" + vds + "/" + ron +
            "+(1-V(son))*V(sramp)*V(shold)",
    };
    if (c.cossLaw) {
        AddCossJunction(lines, *c.cossLaw, drain);
    } else if (c.coss > 0) {
        lines.push_back("Coss " + drain + " 0 " + SpiceNumber(c.coss));
    }
    return lines;
}

}  // namespace voltra
