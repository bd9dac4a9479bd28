// Closed-form Class E design (switch with shunt capacitor C1, RF choke, series
// Lseries-C2 network into Rload) and the lossless low-pass L-network. Every
// expression runs in double from single-precision fields and is stored as single;
// the constants are the fitted coefficients exactly as published for the design.
#include "engine/equations.h"

#include <cmath>

#include "engine/matching_networks.h"
#include "engine/single.h"

namespace voltra {

namespace {

// Two pi as the Class E fits were made with; the L-network uses Pi + Pi instead.
constexpr double kTwoPi = 6.28318;

double Squared(double x) { return std::pow(x, 2.0); }

}  // namespace

bool IsValid(float result) { return std::isfinite(result); }

void FindLoad(DesignRecord& d)
{
    const double Q = d.NetworkQ;
    const double difference = static_cast<double>(d.Supply) - d.Saturation;
    const double s = Squared(difference) / d.Power * 0.576801;
    const double k = ((1.0000086 - 0.414395 / Q) - 0.577501 / (Q * Q)) + 0.205967 / (Q * Q * Q);
    d.Rload = StoreSingle(s * k);
}

void FindLseries(DesignRecord& d)
{
    d.Lseries = StoreSingle(static_cast<double>(d.Rload) * d.NetworkQ / (d.Frequency * kTwoPi));
}

void FindC1(DesignRecord& d)
{
    const double Q = d.NetworkQ;
    const double k = (0.91424 / Q + 0.99886) - 1.03175 / (Q * Q);
    d.C1 = StoreSingle(k * (1.0 / (d.Frequency * 34.2219 * d.Rload)));
}

void FindC2(DesignRecord& d)
{
    const double Q = d.NetworkQ;
    d.C2 = StoreSingle((1.0 / (d.Frequency * kTwoPi * d.Rload)) * (1.0 / (Q - 0.104823)) *
                 (1.01468 / (Q - 1.7879) + 1.00121));
}

void FindVpeak(DesignRecord& d) { d.Vpeak = StoreSingle(d.Supply * 3.562 - d.Saturation * 2.562); }

void FindIpeak(DesignRecord& d)
{
    const double Q = d.NetworkQ;
    const double k = 1.0 - 1.0 / (Q + Q);
    d.Ipeak = StoreSingle((k * 1.862 + 1.0) * d.Power / (d.Supply * 0.9));
}

void FindEfficiency(DesignRecord& d)
{
    const double Q = d.NetworkQ;
    // a: the fall time as a fraction of the period, widened by the network Q.
    const float a = StoreSingle((0.82 / Q + 1.0) * d.Frequency * d.Falltime);
    const float b = StoreSingle(Squared(a * kTwoPi) / 6.0);
    const float r = StoreSingle(static_cast<double>(d.Saturation) / d.Supply);
    const float c = StoreSingle((a + 1.0) - Squared(a * kTwoPi) / 6.0);
    const float dn = StoreSingle(1.0 - Squared(a * kTwoPi) / 12.0);
    d.Efficiency = StoreSingle(((1.0 - b) - static_cast<double>(c) * r) / dn);
    d.Idc = StoreSingle(d.Power / (static_cast<double>(d.Efficiency) * d.Supply));
}

void FindAll(DesignRecord& d)
{
    FindLoad(d);
    FindLseries(d);
    FindC1(d);
    FindC2(d);
    FindVpeak(d);
    FindIpeak(d);
    FindEfficiency(d);
}

void FindLnetwork(DesignRecord& d, LnetworkWorking& w, float rnetwork)
{
    d.Rnetwork = ClampRnetwork(rnetwork);

    if (d.Rload < d.Rnetwork) {
        w.Rlow = d.Rload;
        w.Rhigh = d.Rnetwork;
    } else if (d.Rload > d.Rnetwork) {
        w.Rlow = d.Rnetwork;
        w.Rhigh = d.Rload;
    } else {
        // Equal (or an invalid Rload): nothing to transform, the last network stays.
        return;
    }
    w.Xseries = StoreSingle(LSectionFor(w.Rlow, w.Rhigh).series);
    w.Xshunt = StoreSingle(LSectionShunt(w.Rlow, w.Rhigh, w.Xseries));
    const double twoPi = static_cast<double>(d.Pi) + d.Pi;
    d.Lnetwork = StoreSingle(w.Xseries / (twoPi * d.Frequency));
    d.Cnetwork = StoreSingle(1.0 / (twoPi * d.Frequency * w.Xshunt));
}

float Rdc(const DesignRecord& d) { return StoreSingle(static_cast<double>(d.Supply) / d.Idc); }

float Ron(const DesignRecord& d) { return StoreSingle(static_cast<double>(d.Saturation) / d.Ipeak); }

float Ltotal(const DesignRecord& d) { return StoreSingle(static_cast<double>(d.Lseries) + d.Lnetwork); }

}  // namespace voltra
