// Schematic text in the simulator's format: element lines on its 16-unit grid, the
// fixed wiring, and the parts whose values and places follow the design.
#include "files/spice_schematic.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "engine/program_texts.h"
#include "files/file_text.h"
#include "files/reported_write.h"
#include "files/spice_switch.h"
#include "engine/switch_model.h"
#include "units/format.h"
#include "units/number_text.h"
#include "engine/single.h"

namespace voltra {

namespace {

struct GridPoint {
    std::int16_t x;
    std::int16_t y;
};

constexpr GridPoint kChokeAt = {256, -240};
constexpr GridPoint kSwitchAt = {272, 80};
constexpr GridPoint kC1At = {432, -48};
constexpr GridPoint kC2At = {592, -128};
constexpr GridPoint kLseriesAt = {640, -96};
constexpr GridPoint kPlainLoadAt = {784, -80};

// Where the L-network's parts and the load stand in each of its two layouts.
struct LnetworkPlaces {
    GridPoint inductor;
    GridPoint capacitor;
    GridPoint load;
};
constexpr LnetworkPlaces kSeriesLFirstPlaces = {{784, -96}, {944, -48}, {992, -80}};
constexpr LnetworkPlaces kShuntCFirstPlaces = {{816, -96}, {800, -48}, {944, -80}};

// Gate drive 0 to 12 V; the switch turns on above 3.5 V with no hysteresis.
constexpr const char* kPulseStart = "SYMATTR Value PULSE (0 12 0 ";
constexpr std::int16_t kGeneratorResistance = 10;
constexpr const char* kSwitchModelStart = "TEXT 0 280 Left 2 !.model MySwitch SW(Ron=";
constexpr const char* kSwitchModelRoff = " Roff=";
constexpr const char* kSwitchModelEnd = " Vt=3.5 Vh=0)";
// Simulate 1000 periods, keep the last 200, step at most 1/200 of a period.
constexpr double kSimulatedPeriods = 1000.0;
constexpr double kRecordedPeriods = 200.0;
constexpr const char* kTranStart = "TEXT 0 312 Left 2 !.TRAN 0 ";
constexpr const char* kGeneratorNote = "TEXT 0 376 Left 2 ;Voltra - ";
constexpr const char* kLtotalNote = "TEXT 656 -184 Left 2 ;L total = ";
// With the switch model, its directives stand where the generator and the switch
// were drawn, and a net label names the drain where the choke meets C1.
constexpr int kDirectivesTop = 280;
constexpr int kDirectiveSpacing = 32;
constexpr const char* kSwitchNote =
    " Left 2 ;Switch: Ron for the on-time, channel current falling linearly over the fall time, then open";
constexpr GridPoint kDrainAt = {272, -112};

constexpr std::array<const char*, 3> kBatteryHead = {
    "SYMBOL voltage 0 -240 R0", "WINDOW 123 24 132 Left 0", "SYMATTR InstName Vbattery"};
constexpr std::array<const char*, 3> kGeneratorHead = {
    "SYMBOL voltage  0 64 R0", "WINDOW 123 24 132 Left 0", "SYMATTR InstName Vgen"};
constexpr std::array<const char*, 4> kGeneratorResistorHead = {
    "SYMBOL res 160  -16 R90", "WINDOW 0 0 56 Vbottom 0", "WINDOW 3 32 56 Vtop 0", "SYMATTR InstName RGen"};
constexpr std::array<const char*, 9> kSwitchLines = {
    "WINDOW 0 12 104 Left 0", "WINDOW 3 17 11 Left 0", "SYMATTR InstName S1",
    "SYMATTR Value MySwitch", "WIRE 192 0 224 0",      "WIRE 192 48 224 48",
    "WIRE 192 48 192 112",    "FLAG 192 112 0",        "WIRE 272 -80 272 -16"};
constexpr const char* kGroundReturnWire = "WIRE 0 160 0 208";
// The fixed wiring of the supply, the choke, C1 and C2, without the switch and the
// generator: the schematic of the switch model.
constexpr std::array<const char*, 12> kPassiveWiring = {
    "WIRE 0 -96 0 -144",      "FLAG 0 -96 0",           "WIRE 0 -224 0 -272",     "WIRE 0 -272 272 -272",
    "WIRE 272 -272 272 -224", "WIRE 272 -144 272 -112", "WIRE 272 -112 448 -112", "WIRE 448 -112 448 -48",
    "WIRE 448 16 448 64",     "FLAG 448 64 0",          "WIRE 448 -112 528 -112", "WIRE 592 -112 656 -112"};
constexpr std::array<const char*, 19> kFixedWiring = {
    "FLAG 0 208 0",          "WIRE 0 80 0 0",          "WIRE 0 0 64 0",          "WIRE 144 0 192 0",
    "WIRE 272 64 272 112",   "FLAG 272 112 0",         "WIRE 0 -96 0 -144",      "FLAG 0 -96 0",
    "WIRE 0 -224 0 -272",    "WIRE 0 -272 272 -272",   "WIRE 272 -272 272 -224", "WIRE 272 -144 272 -112",
    "WIRE 272 -112 272 -80", "WIRE 272 -112 448 -112", "WIRE 448 -112 448 -48",  "WIRE 448 16 448 64",
    "FLAG 448 64 0",         "WIRE 448 -112 528 -112", "WIRE 592 -112 656 -112"};
constexpr std::array<const char*, 4> kPlainLoadWiring = {
    "WIRE 736 -112 800 -112", "WIRE 800 -112 800 -64", "WIRE 800 16 800 64", "FLAG 800 64 0"};
constexpr const char* kLnetworkDivider = "LINE Normal 768 96 768 -144 2";
constexpr std::array<const char*, 9> kSeriesLFirstWiring = {
    "WIRE 736 -112 800 -112", "WIRE 928 -112 928 -48",  "WIRE 928 16 928 64",
    "FLAG 928 64 0",          "WIRE 880 -112 928 -112", "WIRE 928 -112 1008 -112",
    "WIRE 1008 -112 1008 -64", "WIRE 1008 16 1008 64",  "FLAG 1008 64 0"};
// The wire from L2 to L3 passes C3's lead at x = 784; it is split there, because a
// schematic reader joins a lead only to the end of a wire, never to its middle.
constexpr std::array<const char*, 9> kShuntCFirstWiring = {
    "WIRE 736 -112 784 -112", "WIRE 784 -112 832 -112", "WIRE 784 -112 784 -48",
    "WIRE 784 16 784 64",     "FLAG 784 64 0",          "WIRE 912 -112 960 -112",
    "WIRE 960 -112 960 -64",  "WIRE 960 16 960 64",     "FLAG 960 64 0"};


// Below the formatters' smallest rows a value would be written empty, and the
// simulator would read an open circuit: such values go with SPICE's own suffix.
constexpr double kSmallestPicofarads = 1e-14;
constexpr double kSmallestNanohenries = 1e-10;

std::string Scaled(double value, double unit, const char* suffix) { return SignificantText(value / unit) + suffix; }

template <std::size_t N>
void AppendLines(std::string& file, const std::array<const char*, N>& lines)
{
    for (const char* line : lines) AppendLine(file, line);
}

// A coordinate in the schematic's header form: sign or space, digits, one space.
std::string PrintForm(std::int16_t n)
{
    return (n < 0 ? "-" : " ") + std::to_string(std::abs(static_cast<int>(n))) + " ";
}

// SPICE reads a trailing "F" as femto, so whole farads go without it ("4.7", not
// "4.7F"); "mF", "uF" and the like keep their letters, which it reads as meant.
std::string SpiceCapacitance(double farads)
{
    if (std::fabs(farads) < kSmallestPicofarads) return Scaled(farads, 1e-15, "f");
    std::string text = FormatCapacitance(farads);
    if (text.size() >= 2 && text.back() == 'F' && std::isdigit(static_cast<unsigned char>(text[text.size() - 2])))
        text.pop_back();
    return text;
}

void WriteHeader(std::string& file, std::string_view kind, GridPoint at, std::string_view orientation)
{
    AppendLine(file, "SYMBOL " + std::string(kind) + " " + PrintForm(at.x) + PrintForm(at.y) + std::string(orientation));
}

void WriteNameAndValue(std::string& file, std::string_view name, std::string_view value)
{
    AppendLine(file, "SYMATTR InstName " + std::string(name));
    AppendLine(file, "SYMATTR Value " + std::string(value));
}

std::string SpiceInductance(double henries)
{
    if (std::fabs(henries) < kSmallestNanohenries) return Scaled(henries, 1e-12, "p");
    return FormatInductance(henries);
}

// A part's value as the file writes it. With the switch model the values go in full
// (the circuit the solver solved, not its rounded display) with the part's
// quality-factor resistance as LTspice's Rser instance parameter; otherwise in the
// formatters' short form.
std::string PartText(const Circuit& circuit, PartRole role, std::string (*shortForm)(double))
{
    const double value = circuit.ValueOf(role);
    if (!circuit.switchModel) return shortForm(value);
    std::string text = SpiceNumber(value);
    if (const double rser = SeriesResistance(role, value, circuit); rser > 0) text += " Rser=" + SpiceNumber(rser);
    return text;
}

void WriteInductorH(std::string& file, GridPoint at, std::string_view suffix, const std::string& value)
{
    WriteHeader(file, "ind", at, "R270");
    AppendLine(file, "WINDOW 0 32 56 Vtop 0");
    AppendLine(file, "WINDOW 3 5 56 Vbottom 0");
    WriteNameAndValue(file, "L" + std::string(suffix), value);
}

void WriteInductorV(std::string& file, GridPoint at, std::string_view suffix, const std::string& value)
{
    WriteHeader(file, "ind", at, "R0");
    WriteNameAndValue(file, "L" + std::string(suffix), value);
}

void WriteCapacitorH(std::string& file, GridPoint at, std::string_view suffix, const std::string& value)
{
    WriteHeader(file, "cap", at, "R90");
    AppendLine(file, "WINDOW 0 0 32 Vbottom 0");
    AppendLine(file, "WINDOW 3 32 32 Vtop 0");
    WriteNameAndValue(file, "C" + std::string(suffix), value);
}

void WriteCapacitorV(std::string& file, GridPoint at, std::string_view suffix, const std::string& value)
{
    WriteHeader(file, "cap", at, "R0");
    WriteNameAndValue(file, "C" + std::string(suffix), value);
}

// The mirrored shunt capacitor of the L-network, with the total series inductance
// noted beside it. Its labels move to its left only when it stands first, next to L2.
void WriteNetworkCapacitor(std::string& file, const Circuit& circuit, GridPoint at)
{
    WriteHeader(file, "cap", at, "M0");
    if (circuit.network == NetworkLayout::ShuntCFirst) {
        AppendLine(file, "WINDOW 0 4 6 Right 2");
        AppendLine(file, "WINDOW 3 4 56 Right 2");
    }
    WriteNameAndValue(file, "C3", PartText(circuit, PartRole::NetworkC, SpiceCapacitance));
    AppendLine(file, kLtotalNote + SpiceInductance(circuit.ltotal.value));
}

void WriteLoad(std::string& file, const Circuit& circuit, GridPoint at)
{
    WriteHeader(file, "res", at, "R0");
    WriteNameAndValue(file, "RLoad", PartText(circuit, PartRole::Load, SignificantText));
}

void WriteBattery(std::string& file, const Circuit& circuit)
{
    AppendLines(file, kBatteryHead);
    AppendLine(file, "SYMATTR Value " + PartText(circuit, PartRole::Supply, FormatResistance));
}

// The transient directive and the program's note under it.
void WriteTransient(std::string& file, const Circuit& circuit, std::string_view start, std::string_view note)
{
    const float period = circuit.period.value;
    AppendLine(file, std::string(start) + FormatSmall(StoreSingle(kSimulatedPeriods / circuit.frequency)) + " " +
                         FormatSmall(StoreSingle(kRecordedPeriods / circuit.frequency)) + " " +
                         FormatSmall(StoreSingle(period / SimulationStepsPerPeriod(circuit.duty))) + " startup");
    AppendLine(file, std::string(note) + kWebAddress);
}

void WriteGenerator(std::string& file, const Circuit& circuit)
{
    const float period = circuit.period.value;
    const std::string fall = FormatSmall(circuit.falltime);
    const double pulseWidth = static_cast<double>(period) * 0.5 - circuit.falltime;
    AppendLines(file, kGeneratorHead);
    AppendLine(file, kPulseStart + fall + " " + fall + " " + FormatSmall(pulseWidth) + " " + FormatSmall(period) + ")");
    AppendLines(file, kGeneratorResistorHead);
    AppendLine(file, "SYMATTR Value" + PrintForm(kGeneratorResistance));
    AppendLine(file, kSwitchModelStart + LeadingSpaceText(circuit.ValueOf(PartRole::Switch)) + kSwitchModelRoff +
                         SignificantText(circuit.roff) + kSwitchModelEnd);
    WriteTransient(file, circuit, kTranStart, kGeneratorNote);
}

// The switch model's lines as directives, one TEXT line each under a note of what
// they are, and the transient below them; the drain's net label ties them to the
// drawn circuit.
void WriteSwitchModel(std::string& file, const Circuit& circuit)
{
    const std::vector<std::string> lines = SwitchModelLines(circuit);
    int y = kDirectivesTop;
    AppendLine(file, "TEXT 0 " + std::to_string(y) + kSwitchNote);
    for (const std::string& line : lines) {
        y += kDirectiveSpacing;
        AppendLine(file, "TEXT 0 " + std::to_string(y) + " Left 2 !" + line);
    }
    y += kDirectiveSpacing;
    const std::string tran = "TEXT 0 " + std::to_string(y) + " Left 2 !.TRAN 0 ";
    y += kDirectiveSpacing;
    WriteTransient(file, circuit, tran, "TEXT 0 " + std::to_string(y) + " Left 2 ;Voltra - ");
    AppendLine(file, "FLAG " + std::to_string(kDrainAt.x) + " " + std::to_string(kDrainAt.y) + " " +
                         circuit.Get(PartRole::Switch).from);
}

void WriteSwitch(std::string& file)
{
    WriteHeader(file, "sw", kSwitchAt, "M180");
    AppendLines(file, kSwitchLines);
}

void WriteLoadSide(std::string& file, const Circuit& circuit)
{
    const std::string inductor = PartText(circuit, PartRole::NetworkL, SpiceInductance);
    // The newer kinds are drawn by walking the parts, below; these keep the places
    // their files have always had.
    switch (circuit.network) {
    default: break;
    case NetworkLayout::None: WriteLoad(file, circuit, kPlainLoadAt); break;
    case NetworkLayout::SeriesLFirst:
        WriteInductorH(file, kSeriesLFirstPlaces.inductor, "3", inductor);
        WriteNetworkCapacitor(file, circuit, kSeriesLFirstPlaces.capacitor);
        WriteLoad(file, circuit, kSeriesLFirstPlaces.load);
        break;
    case NetworkLayout::ShuntCFirst:
        WriteNetworkCapacitor(file, circuit, kShuntCFirstPlaces.capacitor);
        WriteInductorH(file, kShuntCFirstPlaces.inductor, "3", inductor);
        WriteLoad(file, circuit, kShuntCFirstPlaces.load);
        break;
    }
}

// The Pi, T and tapped-C networks and the trap, drawn by walking the circuit's parts
// after L2: a series part on the top rail, a shunt part from the rail down to ground,
// the trap's capacitor on a rail of its own above its inductor. Each symbol's place
// follows from where its pins must stand, from the table of pin offsets below.
constexpr int kRailY = -112;
constexpr int kTrapRailY = -176;
constexpr int kGroundY = 64;
constexpr int kLeadGap = 32;    // from the last junction to a series part's first pin
constexpr int kShuntGap = 48;   // from the last junction to a shunt part's lead
constexpr int kTrapSpan = 112;  // the trap's two junctions apart
constexpr int kShuntDrop = 64;  // from the rail down to a shunt part's top pin

// A symbol by its shape and placement, and where its pins stand from its origin.
struct Placement {
    const char* kind;
    const char* orientation;
    GridPoint first;   // the near pin (series) or the top pin (shunt)
    GridPoint second;
};
constexpr Placement kSeriesInductor = {"ind", "R270", {16, -16}, {96, -16}};
constexpr Placement kSeriesCapacitor = {"cap", "R90", {-64, 16}, {0, 16}};
constexpr Placement kSeriesResistor = {"res", "R90", {-96, 16}, {-16, 16}};
constexpr Placement kShuntInductor = {"ind", "R0", {16, 16}, {16, 96}};
constexpr Placement kShuntCapacitor = {"cap", "R0", {16, 0}, {16, 64}};
constexpr Placement kShuntResistor = {"res", "R0", {16, 16}, {16, 96}};

const Placement& PlacementOf(PartShape shape, bool shunt)
{
    switch (shape) {
    case PartShape::Inductor: return shunt ? kShuntInductor : kSeriesInductor;
    case PartShape::Capacitor: return shunt ? kShuntCapacitor : kSeriesCapacitor;
    case PartShape::Source:
    case PartShape::Switch:
    case PartShape::Resistor: break;
    }
    return shunt ? kShuntResistor : kSeriesResistor;
}

void Wire(std::string& file, int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2) return;
    AppendLine(file, "WIRE " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
                         std::to_string(y2));
}

// A symbol whose first pin stands at (x, y).
void Place(std::string& file, const Placement& p, int x, int y, const std::string& name, const std::string& value)
{
    WriteHeader(file, p.kind, {static_cast<std::int16_t>(x - p.first.x), static_cast<std::int16_t>(y - p.first.y)},
                p.orientation);
    WriteNameAndValue(file, name, value);
}

std::string ValueText(const Circuit& circuit, const Part& part)
{
    switch (part.shape) {
    case PartShape::Inductor: return PartText(circuit, part.role, SpiceInductance);
    case PartShape::Capacitor: return PartText(circuit, part.role, SpiceCapacitance);
    case PartShape::Source:
    case PartShape::Switch:
    case PartShape::Resistor: break;
    }
    return PartText(circuit, part.role, SignificantText);
}

// A series part from the rail's junction at x to a new one, returned; with a leak, the
// leak's resistor on the rail above it.
int WriteSeries(std::string& file, const Circuit& circuit, const Part& part, int x)
{
    const Placement& p = PlacementOf(part.shape, false);
    const int near = x + kLeadGap;
    const int far = near + (p.second.x - p.first.x);
    const int end = far + kLeadGap;
    Wire(file, x, kRailY, near, kRailY);
    Place(file, p, near, kRailY, part.name, ValueText(circuit, part));
    Wire(file, far, kRailY, end, kRailY);
    if (const double leak = LeakResistance(part.role, part.value.value, circuit); std::isfinite(leak)) {
        const int width = kSeriesResistor.second.x - kSeriesResistor.first.x;
        const int left = x + (end - x - width) / 2;
        Wire(file, x, kRailY, x, kTrapRailY);
        Wire(file, x, kTrapRailY, left, kTrapRailY);
        Place(file, kSeriesResistor, left, kTrapRailY, "R" + std::string(part.name) + "leak", SpiceNumber(leak));
        Wire(file, left + width, kTrapRailY, end, kTrapRailY);
        Wire(file, end, kTrapRailY, end, kRailY);
    }
    return end;
}

// A shunt part from the rail beyond x down to ground; the rail's junction, returned.
int WriteShunt(std::string& file, const Circuit& circuit, const Part& part, int x)
{
    const Placement& p = PlacementOf(part.shape, true);
    const int at = x + kShuntGap;
    const int top = kRailY + kShuntDrop;
    Wire(file, x, kRailY, at, kRailY);
    Wire(file, at, kRailY, at, top);
    Place(file, p, at, top, part.name, ValueText(circuit, part));
    Wire(file, at, top + (p.second.y - p.first.y), at, kGroundY);
    AppendLine(file, "FLAG " + std::to_string(at) + " " + std::to_string(kGroundY) + " 0");
    return at;
}

// The trap's inductor on the rail and its capacitor above, between two junctions.
int WriteTrap(std::string& file, const Circuit& circuit, const Part& inductor, const Part& capacitor, int x)
{
    const int a = x + kLeadGap;
    const int b = a + kTrapSpan;
    Wire(file, x, kRailY, a, kRailY);
    const int lWidth = kSeriesInductor.second.x - kSeriesInductor.first.x;
    const int lLeft = a + (kTrapSpan - lWidth) / 2;
    Wire(file, a, kRailY, lLeft, kRailY);
    Place(file, kSeriesInductor, lLeft, kRailY, inductor.name, ValueText(circuit, inductor));
    Wire(file, lLeft + lWidth, kRailY, b, kRailY);
    const int cWidth = kSeriesCapacitor.second.x - kSeriesCapacitor.first.x;
    const int cLeft = a + (kTrapSpan - cWidth) / 2;
    Wire(file, a, kRailY, a, kTrapRailY);
    Wire(file, a, kTrapRailY, cLeft, kTrapRailY);
    Place(file, kSeriesCapacitor, cLeft, kTrapRailY, capacitor.name, ValueText(circuit, capacitor));
    Wire(file, cLeft + cWidth, kTrapRailY, b, kTrapRailY);
    Wire(file, b, kTrapRailY, b, kRailY);
    return b;
}

// Everything after L2, in the circuit's own order, from L2's far pin.
void WriteWalkedLoadSide(std::string& file, const Circuit& circuit)
{
    constexpr int kLseriesEnd = 736;
    int x = kLseriesEnd;
    bool after = false;
    for (std::size_t i = 0; i < circuit.parts.size(); ++i) {
        const Part& part = circuit.parts[i];
        if (part.role == PartRole::Lseries) {
            after = true;
            continue;
        }
        if (!after) continue;
        if (part.role == PartRole::TrapL && i + 1 < circuit.parts.size()) {
            x = WriteTrap(file, circuit, part, circuit.parts[++i], x);
            continue;
        }
        x = std::string_view(part.to) == "0" ? WriteShunt(file, circuit, part, x) : WriteSeries(file, circuit, part, x);
    }
}

bool WalksLoadSide(const Circuit& circuit)
{
    return BeyondLNetwork(circuit.network, circuit.Has(PartRole::TrapL));
}

void WriteLoadWiring(std::string& file, const Circuit& circuit)
{
    if (circuit.network == NetworkLayout::None) {
        AppendLines(file, kPlainLoadWiring);
        return;
    }
    AppendLine(file, kLnetworkDivider);
    if (circuit.network == NetworkLayout::SeriesLFirst)
        AppendLines(file, kSeriesLFirstWiring);
    else
        AppendLines(file, kShuntCFirstWiring);
}

// A circuit whose figures are questioned (standard values that miss the targets) is
// still the one the engineer chose to build and simulate; the file says why beside
// it, in a comment above the drawing. Nothing is added to an unquestioned design.
constexpr std::int16_t kQuestionedNoteY = -336;
constexpr int kQuestionedNoteStep = 32;

void WriteQuestionedNote(std::string& file, const Circuit& circuit)
{
    int y = kQuestionedNoteY;
    for (const std::string& reason : QuestionedReasons(circuit)) {
        AppendLine(file, "TEXT 0 " + std::to_string(y) + " Left 2 ;Questioned: " + reason);
        y -= kQuestionedNoteStep;
    }
}

}  // namespace

bool CheckSpiceExportable(const Circuit& circuit, MessageSink& sink)
{
    const bool fits = FallFits(circuit);
    if (fits && AllUsable(circuit)) return true;
    sink.Beep();
    sink.ShowMessage(fits ? kSpiceInvalidDesign : kSpiceFallTooLong, kProgramTitle);
    return false;
}

void WriteSpiceSchematic(const std::string& path, const Circuit& circuit, MessageSink& sink)
{
    if (!IsUsablePath(path)) return;
    if (!CheckSpiceExportable(circuit, sink)) return;
    std::string file;
    WriteBattery(file, circuit);
    if (circuit.switchModel)
        WriteSwitchModel(file, circuit);
    else
        WriteGenerator(file, circuit);
    WriteInductorV(file, kChokeAt, "1", PartText(circuit, PartRole::Choke, SpiceInductance));
    if (!circuit.switchModel) WriteSwitch(file);
    WriteCapacitorV(file, kC1At, "1", PartText(circuit, PartRole::C1, SpiceCapacitance));
    WriteCapacitorH(file, kC2At, "2", PartText(circuit, PartRole::C2, SpiceCapacitance));
    WriteInductorH(file, kLseriesAt, "2", PartText(circuit, PartRole::Lseries, SpiceInductance));
    if (!WalksLoadSide(circuit)) WriteLoadSide(file, circuit);
    if (circuit.switchModel) {
        AppendLines(file, kPassiveWiring);
    } else {
        AppendLine(file, kGroundReturnWire);
        AppendLines(file, kFixedWiring);
    }
    if (WalksLoadSide(circuit))
        WriteWalkedLoadSide(file, circuit);
    else
        WriteLoadWiring(file, circuit);
    WriteQuestionedNote(file, circuit);
    WriteAndReport(path, file, kSpiceNotWritten, sink);
}

}  // namespace voltra
