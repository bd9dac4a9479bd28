// The shared option table and the design it makes: each target as the design screen
// would take it from its box, except that a value the box would replace is refused.
#include "app/command_inputs.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <utility>

#include "engine/equations.h"
#include "engine/harmonic_limit.h"
#include "files/design_file.h"
#include "files/device_folders.h"
#include "files/file_text.h"
#include "files/value_lines.h"
#include "units/number_text.h"
#include "units/parse.h"
#include "units/whole_value.h"

namespace voltra {
namespace {

InputProblem Misuse(std::string why) { return {InputFault::Misused, std::move(why)}; }

struct TargetName {
    const char* flag;
    const char* words;  // as a sentence names it
    const char* unit;
};

// Indexed by Target.
constexpr std::array<TargetName, 6> kTargetNames = {{
    {"--frequency", "the frequency", "Hz"},
    {"--power", "the output power", "W"},
    {"--supply", "the supply voltage", "V"},
    {"--saturation", "the saturation voltage", "V"},
    {"--q", "the network Q", ""},
    {"--falltime", "the fall time", "s"},
}};

const TargetName& NameOf(Target target) { return kTargetNames[static_cast<int>(target)]; }

std::string WithUnit(double value, const char* unit)
{
    return GeneralNumberText(static_cast<float>(value)) + (unit[0] ? std::string(" ") + unit : "");
}

// The box keeps a value it does not clamp and recalculates one in its range: only
// such a value stands as written. The supply is checked against the saturation
// voltage once both are known.
InputProblem SetTarget(Target target, std::string_view text, CommandDesign& into)
{
    const TargetName& name = NameOf(target);
    const WholeValue read = ReadWholeValue(text, name.unit);
    if (!read.value) return Misuse(std::string(name.flag) + " " + read.problem + ".");
    const float value = *read.value;
    if (ClampEntry(target, value, -INFINITY) != value || !InRecalcRange(target, value)) {
        const EntryLimits& limits = kEntryLimits[static_cast<int>(target)];
        const double low = std::max(limits.below, limits.recalcLow);
        const double high = std::min(limits.above, limits.recalcHigh);
        return Misuse(std::string(name.flag) + " " + std::string(text) + ": " + name.words + " must lie from " +
                      WithUnit(low, name.unit) + " to " + WithUnit(high, name.unit) + ".");
    }
    TargetField(into.design, target) = value;
    return {};
}

template <Target target>
InputProblem ApplyTarget(std::string_view text, CommandDesign& into)
{
    return SetTarget(target, text, into);
}

InputProblem ApplyFile(std::string_view text, CommandDesign& into)
{
    std::string why = ReadDesignAsItStands(std::string(text), into.design);
    if (why.empty()) return {};
    return {InputFault::Failed, std::move(why)};
}

InputProblem ApplyNetwork(std::string_view text, CommandDesign& into)
{
    const WholeValue read = ReadWholeValue(text, "ohm");
    if (!read.value) return Misuse("--lnet " + read.problem + ".");
    if (!RnetworkAccepted(*read.value))
        return Misuse("--lnet " + std::string(text) + ": the network resistance must lie from " +
                      WithUnit(kRnetworkMin, "ohm") + " to " + WithUnit(kRnetworkMax, "ohm") + ".");
    into.rnetwork = *read.value;
    return {};
}

// The network's kind by the name the usage gives it.
InputProblem ApplyNetworkKind(std::string_view text, CommandDesign& into)
{
    std::string names;
    for (std::size_t i = 0; i < kNetworkKinds.size(); ++i) {
        if (text == kNetworkKinds[i].option) {
            into.options.network = kNetworkKinds[i].kind;
            return {};
        }
        names += (i == 0 ? "" : i + 1 == kNetworkKinds.size() ? " and " : ", ") + std::string(kNetworkKinds[i].option);
    }
    return Misuse("--network " + std::string(text) + ": the networks are " + names + ".");
}

InputProblem ApplyMatchingQ(std::string_view text, CommandDesign& into)
{
    const WholeValue read = ReadWholeValue(text, "");
    if (!read.value) return Misuse("--network-q " + read.problem + ".");
    if (!(*read.value > 0 && std::isfinite(*read.value)))
        return Misuse("--network-q " + std::string(text) + ": the network's loaded Q must be above 0.");
    into.options.matchingQ = *read.value;
    return {};
}

InputProblem ApplyTrap(std::string_view, CommandDesign& into)
{
    into.options.trap = true;
    return {};
}

InputProblem ApplyLimit(std::string_view text, CommandDesign& into)
{
    const WholeValue read = ReadWholeValue(text, "");
    if (!read.value) return Misuse("--limit-dbc " + read.problem + ".");
    // A limit is dB below the carrier: 43 and -43 ask the same.
    const double limit = std::fabs(*read.value);
    if (!(limit >= kLowestLimitDbc && limit <= kHighestLimitDbc))
        return Misuse("--limit-dbc " + std::string(text) + ": the limit must lie from " + SignificantText(kLowestLimitDbc) +
                      " to " + SignificantText(kHighestLimitDbc) + " dB below the carrier.");
    into.limitDbc = limit;
    return {};
}

InputProblem ApplyExact(std::string_view, CommandDesign& into)
{
    into.options.exact = true;
    return {};
}

InputProblem ApplyCoss(std::string_view text, CommandDesign& into)
{
    const WholeValue read = ReadWholeValue(text, "F");
    if (!read.value) return Misuse("--coss " + read.problem + ".");
    if (!(*read.value >= 0 && *read.value <= kLargestCoss))
        return Misuse("--coss " + std::string(text) + ": the switch's capacitance must lie from 0 to " +
                      WithUnit(kLargestCoss, "F") + ".");
    into.options.coss = *read.value;
    return {};
}

InputProblem ApplySeries(std::string_view text, CommandDesign& into)
{
    for (const auto& [name, series] : {std::pair{"E12", ESeries::E12}, {"E24", ESeries::E24}, {"E96", ESeries::E96}}) {
        if (text == name) {
            into.options.series = series;
            return {};
        }
    }
    return Misuse("--series " + std::string(text) + ": the standard series are E12, E24 and E96.");
}

InputProblem ApplyChoke(std::string_view text, CommandDesign& into)
{
    const WholeValue read = ReadWholeValue(text, "");
    if (!read.value) return Misuse("--choke " + read.problem + ".");
    if (!(*read.value > 0)) return Misuse("--choke " + std::string(text) + ": the choke factor must be above 0.");
    into.options.chokeFactor = *read.value;
    return {};
}

InputProblem ApplyDuty(std::string_view text, CommandDesign& into)
{
    const WholeValue read = ReadWholeValue(text, "");
    if (!read.value) return Misuse("--duty " + read.problem + ".");
    if (!(*read.value >= kMinDuty && *read.value <= kMaxDuty))
        return Misuse("--duty " + std::string(text) + ": the switch's on-time must lie from " +
                      SignificantText(static_cast<float>(kMinDuty)) + " to " +
                      SignificantText(static_cast<float>(kMaxDuty)) + " of the period.");
    into.options.duty = *read.value;
    return {};
}

// A quality factor above zero; there is no text for "lossless": leave the option out.
template <double DesignOptions::*Quality>
InputProblem ApplyQuality(std::string_view text, CommandDesign& into)
{
    const char* option = Quality == &DesignOptions::inductorQ ? "--inductor-q " : "--capacitor-q ";
    const WholeValue read = ReadWholeValue(text, "");
    if (!read.value) return Misuse(option + read.problem + ".");
    if (!(*read.value > 0)) return Misuse(option + std::string(text) + ": a quality factor must be above 0.");
    into.options.*Quality = *read.value;
    return {};
}

// A device by name in the user's and the installed folders, or by its file; its
// capacitance takes the place of --coss, so the two together are refused.
InputProblem ApplyDevice(std::string_view text, CommandDesign& into)
{
    if (into.options.coss != 0)
        return Misuse("--device " + std::string(text) +
                      ": the device gives the switch's capacitance; leave out --coss.");
    const DeviceRead read = FindDevice(std::string(text), DeviceFolders());
    if (read.device) {
        into.options.device = read.device;
        return {};
    }
    // A file that is there but no device is a failure, as a design file's is; a name
    // no folder holds is the caller's to correct.
    std::error_code error;
    const bool isFile = std::filesystem::exists(std::string(text), error);
    return {isFile ? InputFault::Failed : InputFault::Misused, "--device " + std::string(text) + ": " + read.error};
}

InputProblem ApplyDerating(std::string_view text, CommandDesign& into)
{
    const WholeValue read = ReadWholeValue(text, "%");
    if (!read.value) return Misuse("--derating " + read.problem + ".");
    if (!(*read.value > 0 && *read.value <= 100))
        return Misuse("--derating " + std::string(text) +
                      ": the share of the drain voltage rating must lie above 0 and up to 100 %.");
    into.options.derating = *read.value / 100.0;
    return {};
}

// A thermal resistance, zero (a part bolted straight on) or above; or the ambient.
template <double HeatSink::*Field>
InputProblem ApplyHeatPath(std::string_view text, CommandDesign& into)
{
    const bool ambient = Field == &HeatSink::ambientCelsius;
    const std::string option = Field == &HeatSink::thetaCaseSink ? "--theta-cs " : ambient ? "--ambient " : "--theta-sa ";
    const WholeValue read = ReadWholeValue(text, "");
    if (!read.value) return Misuse(option + read.problem + ".");
    if (ambient && !(*read.value >= kLowestAmbientCelsius && *read.value <= kHighestAmbientCelsius))
        return Misuse(option + std::string(text) + ": the ambient temperature must lie from " +
                      WithUnit(kLowestAmbientCelsius, "°C") + " to " + WithUnit(kHighestAmbientCelsius, "°C") + ".");
    if (!ambient && !(*read.value >= 0 && *read.value <= kLargestThermalResistance))
        return Misuse(option + std::string(text) + ": a thermal resistance must lie from 0 to " +
                      WithUnit(kLargestThermalResistance, "K/W") + ".");
    into.options.heatSink.*Field = *read.value;
    return {};
}

constexpr InputOption kInputOptions[] = {
    {"file", "DESIGN.VLT", "read the targets from a design file; targets given beside it replace its own", ApplyFile},
    {"frequency", "HZ", "operating frequency, 1k to 10G (start-up 4M)", ApplyTarget<Target::Frequency>},
    {"power", "W", "output power, 10m to 1M (start-up 50)", ApplyTarget<Target::Power>},
    {"supply", "V", "supply voltage, 1 to 50k and above the saturation voltage (start-up 24)",
     ApplyTarget<Target::Supply>},
    {"saturation", "V", "saturation voltage of the switch, 1m to 5k (start-up 1)", ApplyTarget<Target::Saturation>},
    {"q", "Q", "loaded Q of the output network, 1.8 to 10k (start-up 5)", ApplyTarget<Target::NetworkQ>},
    {"falltime", "S", "fall time of the switch, 100p to 100u (start-up 1n)", ApplyTarget<Target::Falltime>},
    {"lnet", "OHMS", "add the L-network to this resistance, 10m to 10k", ApplyNetwork},
    {"network", "l|pi|t|tapped-c", "with --lnet, the matching network's kind (default l)", ApplyNetworkKind},
    {"network-q", "Q", "with --network pi, t or tapped-c, the network's loaded Q, above its L-section's (default 5)",
     ApplyMatchingQ},
    {"notch", nullptr, "add a parallel trap tuned to the second harmonic after the series branch", ApplyTrap},
    {"limit-dbc", "DB",
     "with --lnet, choose the network, its Q and the trap that keep harmonics 2 to 10 at the load this far below the "
     "carrier with the least loss",
     ApplyLimit},
    {"exact", nullptr, "solve C1, C2 and Rload exactly instead of the closed-form fits", ApplyExact},
    {"coss", "F", "the switch's own output capacitance, part of C1, 0 to 1m", ApplyCoss},
    {"series", "E12|E24|E96", "round the reactive parts to this standard series", ApplySeries},
    {"choke", "N", "the feed choke as a multiple of Lseries (default 10)", ApplyChoke},
    {"duty", "D", "the switch's on-time as a fraction of the period for --exact, 0.25 to 0.75 (default 0.5)",
     ApplyDuty},
    {"inductor-q", "Q", "every inductor's quality factor; its series resistance is wL/Q (default lossless)",
     ApplyQuality<&DesignOptions::inductorQ>},
    {"capacitor-q", "Q", "every capacitor's quality factor; its series resistance is 1/(wCQ) (default lossless)",
     ApplyQuality<&DesignOptions::capacitorQ>},
    {"device", "NAME|FILE",
     "the switching transistor, by name (see voltra devices) or device file: its capacitance, ratings and "
     "junction temperature",
     ApplyDevice},
    {"derating", "PERCENT", "with --device, the share of the drain voltage rating the drain may reach (default 80)",
     ApplyDerating},
    {"theta-cs", "K/W", "with --device, case to heat sink thermal resistance (default 0.5)",
     ApplyHeatPath<&HeatSink::thetaCaseSink>},
    {"theta-sa", "K/W", "with --device, heat sink to air thermal resistance (default 5)",
     ApplyHeatPath<&HeatSink::thetaSinkAmbient>},
    {"ambient", "C", "with --device, the air temperature in degrees Celsius (default 25)",
     ApplyHeatPath<&HeatSink::ambientCelsius>},
};

std::string SystemReason(int error) { return std::strerror(error); }

}  // namespace

std::span<const InputOption> InputOptions() { return kInputOptions; }

std::string ReadDesignAsItStands(const std::string& path, DesignRecord& design)
{
    const std::string quoted = "the design file \"" + path + "\"";
    // The reader takes no shorter name, and would leave the design as it was.
    if (!IsUsablePath(path)) return "\"" + path + "\" is too short a name for a design file.";
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error) return "cannot read " + quoted + ": " + error.message() + ".";
    if (std::filesystem::is_directory(status)) return "cannot read " + quoted + ": " + SystemReason(EISDIR) + ".";
    if (!std::filesystem::is_regular_file(status)) return "cannot read " + quoted + ": it is not a regular file.";
    errno = 0;
    if (!std::ifstream(path)) return "cannot read " + quoted + ": " + SystemReason(errno ? errno : EACCES) + ".";

    DesignRecord scratch = design;
    switch (ReadValueLines(path, scratch)) {
    case ReadOutcome::Complete: break;
    case ReadOutcome::EndedEarly: return quoted + " ends before its six values: it is not a design file.";
    case ReadOutcome::TooLarge: return kDesignFileTooLarge;
    case ReadOutcome::Failed: return "cannot read " + quoted + ".";
    }

    // What the reader replaces it says, one sentence each, as it would in message boxes.
    struct Collecting : MessageSink {
        void ShowMessage(const std::string& text, const std::string&) override
        {
            said += (said.empty() ? "" : " ") + text + (text.ends_with('.') ? "" : ".");
        }
        void Beep() override {}
        std::string said;
    } reader;
    DesignRecord read = design;
    ReadDesignFile(path, read, reader);
    if (!reader.said.empty()) return quoted + " does not hold a usable design: " + reader.said;
    for (Target target : kTargets) {
        const float value = TargetField(read, target);
        if (ClampOnLoad(target, value) != value) {
            const TargetName& name = NameOf(target);
            const LoadLimits& limits = kLoadLimits[static_cast<int>(target)];
            return quoted + " holds " + name.words + " " + WithUnit(value, name.unit) + ", outside the " +
                   WithUnit(limits.low, name.unit) + " to " + WithUnit(limits.high, name.unit) +
                   " a design opens with.";
        }
    }
    for (Target target : kTargets) TargetField(design, target) = TargetField(read, target);
    return {};
}

PreparedDesign PrepareDesign(const std::vector<GivenOption>& given)
{
    PreparedDesign prepared;
    StartupValues(prepared.design.design);
    const auto note = [&prepared](const InputProblem& problem) {
        if (problem.fault == InputFault::None) return;
        prepared.problems.push_back(problem.why);
        if (prepared.fault != InputFault::Failed) prepared.fault = problem.fault;
    };
    for (const InputOption& option : kInputOptions)
        for (const GivenOption& one : given)
            if (one.option == &option) note(option.apply(one.text, prepared.design));
    if (prepared.fault != InputFault::None) return prepared;

    // The kind and its Q speak of the network that --lnet adds.
    const auto givenNamed = [&given](std::string_view name) {
        for (const GivenOption& one : given)
            if (one.option->name == name) return true;
        return false;
    };
    const DesignOptions& options = prepared.design.options;
    if (givenNamed("network") && !prepared.design.rnetwork)
        note(Misuse("--network needs --lnet OHMS, the resistance the network matches the stage to."));
    if (givenNamed("network-q") && options.network == NetworkKind::L)
        note(Misuse("--network-q sets the loaded Q of a Pi, T or tapped-C network: give --network pi, t or tapped-c."));
    if (givenNamed("limit-dbc") && !prepared.design.rnetwork)
        note(Misuse("--limit-dbc needs --lnet OHMS: the network it designs matches the stage to that resistance."));
    if (givenNamed("limit-dbc") && (givenNamed("network") || givenNamed("network-q") || givenNamed("notch")))
        note(Misuse("--limit-dbc chooses the network, its Q and the trap itself: leave out --network, --network-q "
                    "and --notch."));
    if (prepared.fault != InputFault::None) return prepared;

    DesignRecord& design = prepared.design.design;
    if (ClampEntry(Target::Supply, design.Supply, design.Saturation) != design.Supply)
        note(Misuse("the supply voltage (" + WithUnit(design.Supply, "V") +
                    ") must be above the saturation voltage (" + WithUnit(design.Saturation, "V") + ")."));
    if (prepared.fault != InputFault::None) return prepared;

    FindAll(design);
    design.LnetState = prepared.design.rnetwork.has_value();
    LnetworkWorking working;
    FindLnetwork(design, working, prepared.design.rnetwork.value_or(ParseValue(kRnetworkFirstText)));
    if (prepared.design.limitDbc) {
        const LimitDesign found = DesignToLimit(design, prepared.design.options, *prepared.design.limitDbc);
        if (!found.met) {
            note({InputFault::Failed, found.reason});
            return prepared;
        }
        prepared.design.options = found.options;
    }
    return prepared;
}

}  // namespace voltra
