// The exported schematic with the switch model is the circuit the verification runs:
// its symbols, wires and net labels, read as LTspice joins them, and its directives
// give the same elements between the same nodes with the same values as the netlist.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numeric>
#include <set>
#include <sstream>

#include "engine/design_options.h"
#include "files/spice_schematic.h"
#include "simulation/netlist.h"
#include "tests/calculated_design.h"

namespace voltra {
namespace {

namespace fs = std::filesystem;

// One two-or-more-terminal element: its nodes in order and everything after them,
// with a series resistance folded in (LTspice's Rser, or the netlist's R<name> on an
// inner node of its own).
struct Element {
    std::vector<std::string> nodes;
    std::string value;
    std::string rser;
};
using Elements = std::map<std::string, Element>;

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), {}};
}

// "C1 a b 1e-9" or "Bsw a b I=..." : name, two nodes, the rest as written.
std::pair<std::string, Element> ElementOf(const std::string& line)
{
    const std::vector<std::string> words = Words(line);
    std::string rest;
    for (std::size_t i = 3; i < words.size(); ++i) rest += (i > 3 ? " " : "") + words[i];
    Element element{{words.at(1), words.at(2)}, rest, {}};
    if (const std::size_t at = rest.find(" Rser="); at != std::string::npos) {
        element.value = rest.substr(0, at);
        element.rser = rest.substr(at + 6);
    }
    return {words[0], element};
}

Elements NetlistElements(const std::string& netlist)
{
    Elements elements;
    std::istringstream in(netlist);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '.') elements.insert(ElementOf(line));
    // R<name> from esr_<name> on: the named part's series resistance.
    for (auto it = elements.begin(); it != elements.end();) {
        const std::string owner = it->first.substr(1);
        const auto part = elements.find(owner);
        if (it->first[0] == 'R' && part != elements.end() && it->second.nodes[0] == "esr_" + owner) {
            part->second.nodes[1] = it->second.nodes[1];
            part->second.rser = it->second.value;
            it = elements.erase(it);
        } else {
            ++it;
        }
    }
    return elements;
}

// Pins of LTspice's standard symbols in their own coordinates, first pin first.
using Point = std::pair<int, int>;
const std::map<std::string, std::vector<Point>> kPins = {
    {"voltage", {{0, 16}, {0, 96}}}, {"res", {{16, 16}, {16, 96}}},
    {"cap", {{16, 0}, {16, 64}}},    {"ind", {{16, 16}, {16, 96}}}};

Point Oriented(Point p, const std::string& orientation)
{
    const auto [x, y] = p;
    if (orientation == "R0") return {x, y};
    if (orientation == "R90") return {-y, x};
    if (orientation == "R180") return {-x, -y};
    if (orientation == "R270") return {y, -x};
    if (orientation == "M0") return {-x, y};
    if (orientation == "M90") return {-y, -x};
    if (orientation == "M180") return {x, -y};
    if (orientation == "M270") return {y, x};
    ADD_FAILURE() << "orientation " << orientation;
    return p;
}

// The schematic as LTspice reads it: wires join at their ends, a label names the net
// it stands on, directives are netlist lines of their own.
class Schematic {
public:
    explicit Schematic(const std::string& text)
    {
        std::istringstream in(text);
        struct Symbol {
            std::string kind, orientation, name, value;
            Point at;
        };
        std::vector<Symbol> symbols;
        std::vector<std::pair<Point, std::string>> labels;
        std::vector<std::string> directives;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::vector<std::string> w = Words(line);
            if (w.empty()) continue;
            if (w[0] == "SYMBOL") symbols.push_back({w[1], w[4], {}, {}, {std::stoi(w[2]), std::stoi(w[3])}});
            if (w[0] == "SYMATTR" && w[1] == "InstName") symbols.back().name = w[2];
            if (w[0] == "SYMATTR" && w[1] == "Value") symbols.back().value = line.substr(line.find("Value ") + 6);
            if (w[0] == "WIRE") Join({std::stoi(w[1]), std::stoi(w[2])}, {std::stoi(w[3]), std::stoi(w[4])});
            if (w[0] == "FLAG") labels.push_back({{std::stoi(w[1]), std::stoi(w[2])}, w[3]});
            if (w[0] == "TEXT" && line.find(" !") != std::string::npos) directives.push_back(line.substr(line.find(" !") + 2));
        }
        for (const auto& [at, name] : labels) names_[Root(at)] = name;
        for (const Symbol& s : symbols) {
            Element element;
            for (const Point pin : kPins.at(s.kind)) {
                const Point p = Oriented(pin, s.orientation);
                element.nodes.push_back(NetAt({s.at.first + p.first, s.at.second + p.second}));
            }
            element.value = s.value;
            if (const std::size_t at = s.value.find(" Rser="); at != std::string::npos) {
                element.value = s.value.substr(0, at);
                element.rser = s.value.substr(at + 6);
            }
            elements.emplace(s.name, element);
        }
        for (const std::string& line : directives)
            if (line[0] != '.') elements.insert(ElementOf(line));
    }

    Elements elements;

private:
    Point Root(Point p)
    {
        if (!parent_.contains(p)) parent_[p] = p;
        while (parent_[p] != p) p = parent_[p] = parent_[parent_[p]];
        return p;
    }
    void Join(Point a, Point b) { parent_[Root(a)] = Root(b); }
    std::string NetAt(Point p)
    {
        const Point root = Root(p);
        if (names_.contains(root)) return names_[root];
        return "net" + std::to_string(root.first) + "_" + std::to_string(root.second);
    }

    std::map<Point, Point> parent_;
    std::map<Point, std::string> names_;
};

// Maps the schematic's nets onto the netlist's nodes from ground and the labelled
// drain outwards, part by part, and fails where a part lands elsewhere.
void ExpectSameCircuit(const Elements& drawn, const Elements& netlist)
{
    std::set<std::string> drawnNames, netlistNames;
    for (const auto& [name, e] : drawn) drawnNames.insert(name);
    for (const auto& [name, e] : netlist) netlistNames.insert(name);
    ASSERT_EQ(drawnNames, netlistNames);

    std::map<std::string, std::string> node = {{"0", "0"}};
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& [name, d] : drawn) {
            const Element& n = netlist.at(name);
            ASSERT_EQ(d.nodes.size(), n.nodes.size()) << name;
            // Directives name their nodes: the same names in both.
            const bool directive = name[0] == 'B' || name[0] == 'V' || name == "Chold" || name == "Rhold" ||
                                   name == "Coss" || name.starts_with("Dcoss");
            for (std::size_t i = 0; i < d.nodes.size(); ++i) {
                const std::string& other = d.nodes[1 - i];
                if (!node.contains(d.nodes[i])) {
                    if (directive) node[d.nodes[i]] = n.nodes[i], grew = true;
                    continue;
                }
                if (node.contains(other)) continue;
                // A two-terminal part: its other end is the netlist's other end.
                const std::string known = node[d.nodes[i]];
                const std::size_t j = n.nodes[0] == known ? 1 : 0;
                node[other] = n.nodes[j];
                grew = true;
            }
        }
    }
    std::set<std::string> targets;
    for (const auto& [from, to] : node) EXPECT_TRUE(targets.insert(to).second) << "two nets on node " << to;
    for (const auto& [name, d] : drawn) {
        SCOPED_TRACE(name);
        const Element& n = netlist.at(name);
        std::multiset<std::string> mapped, expected(n.nodes.begin(), n.nodes.end());
        for (const std::string& net : d.nodes) mapped.insert(node.contains(net) ? node[net] : "unconnected " + net);
        EXPECT_EQ(mapped, expected);
        EXPECT_EQ(d.value, n.value);
        EXPECT_EQ(d.rser, n.rser);
    }
}

std::string Exported(const Circuit& circuit)
{
    struct QuietSink : MessageSink {
        void ShowMessage(const std::string& text, const std::string&) override { ADD_FAILURE() << text; }
        void Beep() override {}
    } sink;
    const fs::path path = fs::temp_directory_path() / ("voltra-schematic-" + std::to_string(::getpid()) + ".asc");
    WriteSpiceSchematic(path.string(), circuit, sink);
    std::ifstream in(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), {}};
    fs::remove(path);
    return text;
}

// The simulator must run the values the screen shows: every single-precision value
// reads back from the netlist as itself (nine significant digits; six lose the last
// bits of a float such as 1/3).
TEST(NetlistNumbers, ReadBackAsTheSameSinglePrecisionValue)
{
    for (const float value : {1.0f / 3, 1.2345678e-9f, 4.7e-6f, std::nextafter(1e-6f, 1.0f), 12345.678f, 0.01f}) {
        const std::string text = NetlistNumber(value);
        EXPECT_EQ(static_cast<float>(std::strtod(text.c_str(), nullptr)), value) << text;
    }
}

TEST(SchematicWithTheSwitchModel, IsTheVerifiedCircuitInEveryLayoutWithCossAndLossyParts)
{
    const struct {
        const char* what;
        bool lnet;
        float rnetwork;
        DesignOptions options;
    } cases[] = {
        {"plain stage, ideal parts", false, 50, {.exact = true}},
        {"L-network up to 50 ohm, Coss and both Qs", true, 50,
         {.exact = true, .coss = 100e-12f, .inductorQ = 80, .capacitorQ = 500}},
        {"L-network down to 1 ohm, duty 0.4, inductor Q only", true, 1, {.exact = true, .duty = 0.4, .inductorQ = 200}},
        {"L-network up, the windings' own Qs", true, 50,
         {.exact = true, .inductorQ = 150, .windingQ = {400.0, 60.0, 90.0}, .capacitorQ = 500}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Circuit circuit = BuildCircuit(CalculatedDesign(kDefaultNetworkQ, c.lnet, c.rnetwork), c.options);
        ASSERT_TRUE(AllUsable(circuit));
        ASSERT_TRUE(circuit.switchModel);
        ExpectSameCircuit(Schematic(Exported(circuit)).elements, NetlistElements(RequestFor(circuit).circuit));
    }
}

// The Pi, T and tapped-C networks and the trap are drawn from the circuit's parts: each
// part between the nodes the verified netlist gives it, the tapped-C's leak included.
TEST(SchematicWithTheSwitchModel, IsTheVerifiedCircuitWithEachMatchingNetworkAndTheTrap)
{
    for (const float rnetwork : {50.0f, 2.0f})
        for (const NetworkKind kind : {NetworkKind::L, NetworkKind::Pi, NetworkKind::T, NetworkKind::TappedC})
            for (const bool trap : {false, true}) {
                if (kind == NetworkKind::L && !trap) continue;
                SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(kind) << ", trap " << trap << ", into "
                                                << rnetwork << " ohm");
                DesignOptions options{.exact = true, .inductorQ = 120, .capacitorQ = 600};
                options.network = kind;
                options.trap = trap;
                const Circuit circuit = BuildCircuit(CalculatedDesign(kDefaultNetworkQ, true, rnetwork), options);
                ASSERT_TRUE(AllUsable(circuit));
                ExpectSameCircuit(Schematic(Exported(circuit)).elements, NetlistElements(RequestFor(circuit).circuit));
            }
}

// The device's curve, a junction diode and its model, stands in the schematic file as
// in the verified netlist.
TEST(SchematicWithTheSwitchModel, CarriesTheDeviceCurveAsTheVerifiedJunction)
{
    Circuit circuit = BuildCircuit(CalculatedDesign(), DesignOptions{.exact = true});
    circuit.cossLaw = JunctionLaw{16.604e-12, 0.474, 0.283};
    const SimulationRequest request = RequestFor(circuit);
    const Elements netlist = NetlistElements(request.circuit);
    ASSERT_TRUE(netlist.contains("Dcoss"));
    const std::string exported = Exported(circuit);
    ExpectSameCircuit(Schematic(exported).elements, netlist);
    const std::size_t model = request.circuit.find(".model CossJunction D(");
    ASSERT_NE(model, std::string::npos);
    EXPECT_NE(exported.find(" !" + request.circuit.substr(model, request.circuit.find('\n', model) - model)),
              std::string::npos);
}

// The reader itself: a schematic whose choke lands on the wrong net is told apart.
TEST(SchematicWithTheSwitchModel, AMisplacedWireIsSeen)
{
    const Circuit circuit = BuildCircuit(CalculatedDesign(), DesignOptions{.exact = true});
    std::string text = Exported(circuit);
    const std::string wire = "WIRE 272 -144 272 -112";
    text.replace(text.find(wire), wire.size(), "WIRE 272 -144 448 64");
    const Elements netlist = NetlistElements(RequestFor(circuit).circuit);
    EXPECT_NONFATAL_FAILURE(ExpectSameCircuit(Schematic(text).elements, netlist), "L1");
}

}  // namespace
}  // namespace voltra
