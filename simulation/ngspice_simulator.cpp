// The transient runs in the caller's thread and pauses at a breakpoint after each
// period. That gives the steady-state check and the cancellation their moment
// without ngspice's background thread, whose fatal errors end the thread inside
// ngspice instead of returning to us.
#include "simulation/ngspice_simulator.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "engine/circuit.h"
#include "simulation/ngspice_session.h"
#include "simulation/period_measures.h"
#include "simulation/settling_watch.h"

namespace voltra {
namespace {

// The transient's last point may fall a little short of its stop time; a
// millionth of a period is nothing to the means over it.
constexpr double kPeriodEndTolerance = 1e-6;
// The transient pauses after each period halfway through the next on-time, where no
// source has a corner: a pause on a corner (the turn-on) now and then left ngspice a
// step too small to take.
constexpr double kPauseInOnTime = 0.5;
// Enough of ngspice's complaint for the user to see the cause, not a screenful.
constexpr std::size_t kComplaintLinesShown = 8;

constexpr const char* kTitleLine = "* Voltra design verification";
constexpr const char* kEndLine = ".end";

// ngspice names node voltages by their node and source currents <source>#branch.
struct Probe {
    const char* vector;
    std::vector<double> StageSamples::*column;
    double sign;
    const char* partName;
};
constexpr std::array<Probe, 6> kProbes = {{
    {"drain", &StageSamples::drain, 1.0, "node \"drain\""},
    {"load", &StageSamples::load, 1.0, "node \"load\""},
    {"vswitch#branch", &StageSamples::switchCurrent, 1.0, "sense source \"Vswitch\""},
    {"l1#branch", &StageSamples::chokeCurrent, 1.0, "feed choke \"L1\""},
    {"l2#branch", &StageSamples::seriesCurrent, 1.0, "series inductor \"L2\""},
    // A source's current flows into its positive terminal: the supply delivers -i.
    {"vbattery#branch", &StageSamples::supplyCurrent, -1.0, "supply \"Vbattery\""},
}};

// Shortest text that reads back as the same double, whatever the locale.
std::string Number(double value)
{
    std::array<char, 32> text{};
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), end);
}

bool Positive(double value) { return std::isfinite(value) && value > 0; }

std::string RequestProblem(const SimulationRequest& request)
{
    if (request.circuit.find_first_not_of(" \t\r\n") == std::string::npos) return "There is no circuit to simulate.";
    if (!Positive(request.frequency)) return "The simulation needs a frequency above zero.";
    if (!Positive(request.supply)) return "The simulation needs a supply voltage above zero.";
    if (!Positive(request.loadResistance)) return "The simulation needs a load resistance above zero.";
    if (!(request.duty > 0 && request.duty < 1)) return "The simulation needs a duty cycle between 0 and 1.";
    if (!(request.falltime >= 0 && request.falltime < (1 - request.duty) / request.frequency))
        return "The simulation cannot run this switch: the fall time is longer than its off-time.";
    if (!(request.shuntCapacitance >= 0)) return "The simulation needs the capacitance across the switch.";
    if (request.maxPeriods < 2) return "The simulation needs at least two periods to find a steady state.";
    return {};
}

std::vector<std::string> NetlistLines(const std::string& circuit)
{
    std::vector<std::string> lines = {kTitleLine};
    std::string_view rest(circuit);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.emplace_back(line);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    lines.emplace_back(kEndLine);
    return lines;
}

// When a run stops short because ngspice's time step collapsed, it is run once more
// with a conductance of 1e-12 S from every node to ground (ngspice's own gmin across
// its junctions, a million times below the smallest load). With the L-network's
// inductor first, Lseries and Lnetwork meet at a node nothing else touches, whose
// voltage is left to the ratio of their derivatives, and the trapezoidal rule let it
// ring at a switching edge until the step collapsed ("Timestep too small ... trouble
// with node lnet", 466 kHz, Q 34, duty 0.75, after 472 periods); the leak ties it
// down and moves no figure in its fourth digit. It is not the first try, because the
// same leak collapses the step of other stages that run clean without it (5 MHz,
// Q 41, duty 0.75, at the drain after 635 periods); a shunt capacitance of up to a
// picofarad cures neither.
constexpr const char* kNodeShuntOption = "option rshunt=1e12";

std::string SaveCommand()
{
    std::string command = "save";
    for (const Probe& probe : kProbes) command += std::string(" ") + probe.vector;
    return command;
}

std::string TranCommand(const SimulationRequest& request)
{
    const double period = 1.0 / request.frequency;
    const std::string step = Number(period / SimulationStepsPerPeriod(request.duty));
    return "tran " + step + " " + Number((request.maxPeriods + 1) * period) + " 0 " + step;
}

SimulationOutcome Failed(std::string message)
{
    SimulationOutcome outcome;
    outcome.error = std::move(message);
    return outcome;
}

SimulationOutcome Failed(std::string message, const std::vector<std::string>& complaints)
{
    for (std::size_t i = 0; i < complaints.size() && i < kComplaintLinesShown; ++i) message += "\n" + complaints[i];
    return Failed(std::move(message));
}

SimulationOutcome Cancelled()
{
    SimulationOutcome outcome = Failed("The simulation was cancelled.");
    outcome.cancelled = true;
    return outcome;
}

// Appends what ngspice computed since the last call; names the missing part
// when the circuit does not follow the conventions.
std::string ReadNewSamples(const NgspiceSession& ngspice, const NgspiceVector& time, StageSamples& samples,
                           int& read)
{
    for (const Probe& probe : kProbes) {
        const NgspiceVector vector = ngspice.Vector(probe.vector);
        if (vector.length != time.length) return probe.partName;
        std::vector<double>& column = samples.*probe.column;
        for (int i = read; i < vector.length; ++i) column.push_back(probe.sign * vector.data[i]);
    }
    samples.time.insert(samples.time.end(), time.data + read, time.data + time.length);
    read = time.length;
    return {};
}

// One run of the request; `stalled` says it stopped short in a period, the simulator
// having given up on the time step.
SimulationOutcome RunOnce(const SimulationRequest& request, std::stop_token cancel, bool withNodeShunt,
                          bool& stalled)
{
    stalled = false;
    NgspiceSession ngspice;
    if (!ngspice.LoadFailure().empty()) return Failed(ngspice.LoadFailure());
    if (cancel.stop_requested()) return Cancelled();
    if (!ngspice.LoadCircuit(NetlistLines(request.circuit))) {
        const char* what = ngspice.Fatal() ? "ngspice stopped with a fatal error on the circuit:"
                                           : "ngspice refused the circuit:";
        return Failed(what, ngspice.Complaints());
    }
    ngspice.Command(SaveCommand());
    if (withNodeShunt) ngspice.Command(kNodeShuntOption);

    const double period = 1.0 / request.frequency;
    StageSamples samples;
    SettlingWatch watch;
    SimulationFigures figures;
    int samplesRead = 0;
    while ((watch.Periods() < request.minPeriods || !watch.Steady()) && watch.Periods() < request.maxPeriods) {
        const int ending = watch.Periods() + 1;
        const double end = ending * period;
        const double pause = end + kPauseInOnTime * request.duty * period;
        ngspice.Command("delete all");
        ngspice.Command("stop when time > " + Number(pause));
        ngspice.Command(ending == 1 ? TranCommand(request) : "resume");
        if (ngspice.Fatal())
            return Failed("ngspice stopped with a fatal error during the simulation:", ngspice.Complaints());
        const NgspiceVector time = ngspice.Vector("time");
        if (time.length == 0) return Failed("The simulation could not start:", ngspice.Complaints());
        if (time.data[time.length - 1] < pause - kPeriodEndTolerance * period) {
            stalled = true;
            return Failed("The simulation failed in period " + std::to_string(ending) + ":", ngspice.Complaints());
        }
        if (const std::string missing = ReadNewSamples(ngspice, time, samples, samplesRead); !missing.empty())
            return Failed("The simulated circuit has no " + missing + ".");
        figures = MeasurePeriod(samples, end - period, request);
        watch.AddPeriod(figures.Pout, figures.Pin);
        samples.DropBefore(end - 2.0 * period);
        if (cancel.stop_requested()) return Cancelled();
    }

    SimulationResult result;
    result.figures = figures;
    result.figures.periods = watch.Periods();
    result.figures.steady = watch.Steady();
    result.figures.lastChange = watch.LastChange();
    result.waveforms = TwoPeriods(samples, (watch.Periods() - 2) * period, request);
    return {result, {}, false};
}

}  // namespace

SimulationOutcome NgspiceSimulator::Run(const SimulationRequest& request, std::stop_token cancel)
{
    if (const std::string problem = RequestProblem(request); !problem.empty()) return Failed(problem);
    if (cancel.stop_requested()) return Cancelled();
    bool stalled = false;
    SimulationOutcome outcome = RunOnce(request, cancel, false, stalled);
    if (!stalled || cancel.stop_requested()) return outcome;
    // The first failure is the one reported when the second try fails too.
    SimulationOutcome again = RunOnce(request, cancel, true, stalled);
    return again.result || again.cancelled ? again : outcome;
}

}  // namespace voltra
