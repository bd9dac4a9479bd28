// Sums and rows of the loss budget and the stress list, formatted with the program's
// engineering prefixes.
#include "print/loss_texts.h"

#include <cmath>
#include <cstring>

#include "units/format.h"

namespace voltra {
namespace {

// The solver's residuals leave picowatts where a cause is absent (a discharge where
// the switch closes at zero volts): below a millionth of the supply power a loss
// reads as none.
constexpr double kNegligibleShare = 1e-6;

// Below the prefixes' smallest row (picounits) a figure reads as zero.
constexpr double kSmallestShown = 1e-14;

std::string Quantity(double value, const char* unit)
{
    return (std::fabs(value) < kSmallestShown ? std::string("0 ") : FormatPrefixed(value)) + unit;
}

double SupplyPower(const Circuit& c) { return static_cast<double>(c.ValueOf(PartRole::Supply)) * c.idc.value; }

std::string Watts(double w, const Circuit& c)
{
    return Quantity(std::fabs(w) < kNegligibleShare * std::fabs(SupplyPower(c)) ? 0.0 : w, "W");
}

std::string Cell(const Result& r, const char* unit)
{
    return r.Usable() ? Quantity(r.value, unit) : std::string("invalid");
}

bool Same(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

}  // namespace

LossTotals TotalLosses(const Circuit& c)
{
    LossTotals t;
    for (const Loss& loss : c.losses) {
        if (!loss.watts.Usable()) t.usable = false;
        const double w = loss.watts.value;
        if (!loss.fromSupply) {
            t.gateDrive += w;
            continue;
        }
        if (Same(loss.cause, kConductionLoss))
            t.conduction += w;
        else if (Same(loss.cause, kFallLoss))
            t.fall += w;
        else if (Same(loss.cause, kDischargeLoss))
            t.discharge += w;
        else
            t.parts += w;
        t.total += w;
    }
    return t;
}

std::string DrainLossLine(const Circuit& c)
{
    if (c.losses.empty()) return {};
    const LossTotals t = TotalLosses(c);
    if (!t.usable) return "Losses: invalid";
    std::string line = "Losses " + Watts(t.total, c) + ": Ron " + Watts(t.conduction, c) + ", fall " +
                       Watts(t.fall, c) + ", C1 discharge " + Watts(t.discharge, c);
    if (std::isfinite(c.inductorQ) || std::isfinite(c.capacitorQ) || c.windingQ.Any()) line += ", parts " + Watts(t.parts, c);
    return line;
}

namespace {

// The gate drive's power as the lines write it; empty without a gate drive or a budget.
std::string GateDriveWatts(const Circuit& c)
{
    if (c.losses.empty()) return {};
    const LossTotals t = TotalLosses(c);
    return t.usable && t.gateDrive > 0 ? Watts(t.gateDrive, c) : std::string();
}

}  // namespace

std::string GateDriveLine(const Circuit& c)
{
    const std::string watts = GateDriveWatts(c);
    return watts.empty() ? watts : "Gate drive " + watts + ", from the driver";
}

std::string LossSummaryLine(const Circuit& c)
{
    const std::string watts = GateDriveWatts(c);
    return DrainLossLine(c) + (watts.empty() ? watts : "; gate drive " + watts + " from the driver");
}

std::vector<TableRow> LossRows(const Circuit& c)
{
    std::vector<TableRow> rows;
    const double pin = SupplyPower(c);
    const auto share = [&](double w) { return c.idc.Usable() && pin > 0 ? FormatPercent(w / pin) : std::string("-"); };
    for (const Loss& loss : c.losses) {
        // A lossless part has nothing to say in the table; the switch's causes always do.
        if (Same(loss.cause, kSeriesResistanceLoss) && loss.watts.status == Status::Valid && loss.watts.value == 0)
            continue;
        const std::string cause = loss.fromSupply ? std::string(loss.cause) : std::string(loss.cause) + " (driver)";
        rows.push_back({{loss.part, cause, loss.watts.Usable() ? Watts(loss.watts.value, c) : "invalid", loss.watts.Usable() ? share(loss.watts.value) : "-"},
                        loss.watts.status != Status::Valid});
    }
    const LossTotals t = TotalLosses(c);
    rows.push_back({{"All", "total", t.usable ? Watts(t.total, c) : "invalid", t.usable ? share(t.total) : "-"}, !t.usable});
    rows.push_back({{"Supply", "Pin - Pout", Cell(c.dissipation, "W"), c.dissipation.Usable() ? share(c.dissipation.value) : "-"},
                    c.dissipation.status != Status::Valid});
    return rows;
}

std::vector<TableRow> StressRows(const Circuit& c)
{
    std::vector<TableRow> rows;
    for (const PartStress& s : c.stresses) {
        const bool reactive = s.role == PartRole::Choke || s.role == PartRole::C1 || s.role == PartRole::C2 ||
                              s.role == PartRole::Lseries || s.role == PartRole::NetworkL ||
                              s.role == PartRole::NetworkC;
        const bool isSwitch = s.role == PartRole::Switch;
        rows.push_back({{s.part, Cell(s.peakVoltage, "V"), isSwitch ? Cell(c.ipeak, "A") : std::string("-"),
                         Cell(s.rmsCurrent, "A"), reactive ? Cell(s.reactivePower, "var") : std::string("-")},
                        s.peakVoltage.status != Status::Valid || s.rmsCurrent.status != Status::Valid ||
                            (isSwitch && c.ipeak.status != Status::Valid)});
    }
    return rows;
}

std::string ImpulseLine(const Circuit& c)
{
    if (c.stresses.empty()) return {};
    return "Switch peak with the C1 discharge at turn-on: " + Cell(c.dischargePeakCurrent, "A") + ", " +
           Cell(c.dischargeEnergy, "J") + " a period";
}

}  // namespace voltra
