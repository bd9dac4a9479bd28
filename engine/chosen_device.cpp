#include "engine/chosen_device.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "engine/junction_law.h"
#include "engine/ratings.h"
#include "engine/single.h"

namespace voltra {
namespace {

// Keeps the graver of a figure's own standing and its rating's: a figure already
// invalid keeps its reason, one the rating refuses becomes invalid, a warning is only
// added to a figure that stood valid.
void Merge(Result& figure, const Result& rated)
{
    if (rated.status == Status::Invalid)
        Invalidate(figure, rated.reason);
    else if (rated.status == Status::Warning && figure.status == Status::Valid)
        figure = {figure.value, Status::Warning, rated.reason};
}

const PartStress* SwitchStress(const Circuit& c)
{
    for (const PartStress& s : c.stresses)
        if (s.role == PartRole::Switch) return &s;
    return nullptr;
}

// A device file may leave out RθJC, TJ max and the RDS(on) rise; then there is no
// temperature to show, and no reason to refuse the design's other figures.
bool HasThermalData(const Transistor& device)
{
    return device.thetaJunctionCase && device.maxJunctionCelsius && device.onResistanceRise.size() >= 2;
}

Result Invalid(std::string reason) { return {0, Status::Invalid, std::move(reason)}; }

// The heat the junction carries: conduction at the device's RDS(on)(Tj), the fall and
// the C1 discharge. The gate charge's energy is spent in the driver's output stage and
// the gate resistance, mostly outside the die, so the gate drive is left out of it.
std::optional<Result> JunctionCelsius(const Circuit& c, const Transistor& device, const HeatSink& sink)
{
    if (!HasThermalData(device)) return std::nullopt;
    const PartStress* stress = SwitchStress(c);
    if (!stress || !stress->rmsCurrent.Usable())
        return Invalid("the junction temperature needs the switch's losses of a circuit that stands");
    double fixed = 0;
    double conduction = NAN;
    for (const Loss& loss : c.losses) {
        const std::string_view part = loss.part, cause = loss.cause;
        if (part != c.Get(PartRole::Switch).name || !loss.fromSupply) continue;
        if (!loss.watts.Usable()) return Invalid(loss.watts.reason);
        if (cause == kConductionLoss)
            conduction = loss.watts.value;
        else
            fixed += loss.watts.value;
    }
    // The conduction loss goes as RDS(on) at the circuit's currents: the current whose
    // square times the circuit's Ron is the budget's line, not the switch's whole RMS
    // current, which also flows through the fall (a loss of its own).
    const double ron = c.ValueOf(PartRole::Switch);
    const double amps = std::isfinite(conduction) && ron > 0 ? std::sqrt(conduction / ron) : stress->rmsCurrent.value;
    const JunctionTemperature t = SolveJunctionTemperature(device, sink, ConductionPlusFixed(amps, fixed));
    return Result{StoreSingle(t.celsius), t.status, t.reason};
}

}  // namespace

float SingleCossOf(const Transistor& device, double supply)
{
    return StoreSingle(ChargeEquivalentCapacitance(device.coss, kDrainPeakOverSupply * supply));
}

void ApplyDevice(Circuit& c, const Transistor& device, const DeviceConditions& conditions)
{
    if (c.vpeak.Usable()) Merge(c.vpeak, CheckDrainPeakVoltage(c.vpeak.value, device, conditions.derating));
    if (c.ipeak.Usable()) Merge(c.ipeak, CheckDrainPeakCurrent(c.ipeak.value, device));
    for (PartStress& s : c.stresses) {
        if (s.role != PartRole::Switch) continue;
        Merge(s.peakVoltage, CheckDrainPeakVoltage(s.peakVoltage.value, device, conditions.derating));
        if (s.rmsCurrent.Usable()) Merge(s.rmsCurrent, CheckDrainRmsCurrent(s.rmsCurrent.value, device));
    }
    if (c.analysed && device.gateCharge && device.driveVolts)
        c.losses.push_back({c.Get(PartRole::Switch).name, kGateDriveLoss,
                            {StoreSingle(GateDrivePower(*device.gateCharge, *device.driveVolts, c.frequency)),
                             Status::Valid,
                             {}},
                            false});
    c.tj = JunctionCelsius(c, device, conditions.sink);
    if (device.cossFitWorstError > kLargestTrustedFitError && c.Has(PartRole::C1))
        Merge(c.Get(PartRole::C1).value,
              {0, Status::Warning,
               "the junction law follows the device's Coss table only to within " +
                   std::to_string(static_cast<int>(std::lround(100 * device.cossFitWorstError))) +
                   " %, so the C1 it leaves beside the device may be off: check the drain at turn-on in Verify"});
}

}  // namespace voltra
