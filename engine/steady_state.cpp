// State equations of the stage in each switch interval, the periodic solve, exact
// averages from quadratic-form integrals, and peaks from the exact solution sampled
// on a fine grid.
//
// The switch: Ron from turn-on (θ = 0) to the fall start 2πD; then the channel
// current falls linearly from its value at turn-off to zero over the fall angle ω·tf
// (the turn-off model of N. O. Sokal, "Class-E RF Power Amplifiers", QEX Jan/Feb 2001,
// behind his fall-time loss (2πA)²/12); then open until the period ends. The fall
// stays linear and time-invariant with two more states: the held turn-off current h
// (dh/dθ = 0, set at the fall start) and a ramp s (ds/dθ = h/(ω·tf), zero at the fall
// start), the channel current being h − s.
#include "engine/steady_state.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <optional>
#include <stdexcept>
#include <vector>

#include <boost/numeric/odeint.hpp>

#include "engine/harmonics.h"
#include "engine/small_matrix.h"
#include "engine/state_propagation.h"

namespace voltra {
namespace {

constexpr double kPeriod = 2 * std::numbers::pi;  // radians of the switching frequency

// Samples per period for the peaks, and across the fall. With a parabola through the
// highest sample and its neighbours the peak of a waveform made of the first few
// harmonics is found to about (π/128)³ of the peak, far inside 0.1 %.
constexpr std::size_t kSamplesPerPeriod = 256;
constexpr std::size_t kFallSamples = 32;

// An external C1 this small beside Coss (as a fraction of the whole) is no part:
// the drain capacitance is then the switch's own alone.
constexpr double kNoExternalC1 = 1e-12;

enum Interval { kOn, kFall, kOpen, kIntervals };

// Where each state sits. The choke current, the voltage of the drain capacitance
// (external C1 when it has a series resistance, else all of it), the C2 voltage and
// the series-branch current always; the rest where the circuit has them; the
// constant 1 last, which carries the supply into the equations and turns linear
// integrals such as the supply current into quadratic forms.
struct Layout {
    std::size_t choke = 0;
    std::size_t cap = 1;
    std::size_t c2 = 2;
    std::size_t series = 3;
    int drain = -1;     // the drain voltage across Coss, when C1's resistance separates them
    int networkC = -1;  // Cnetwork voltage
    int networkL = -1;  // Lnetwork current, when it is not in the series branch
    int loadX = -1;     // the load's series capacitor voltage, or its series inductor's
                        // current where the L-network's shunt capacitor stands before it
    int networkL2 = -1; // the T's load-side inductor current
    int networkC2 = -1; // the Pi's load-side or the tapped-C's Cb voltage
    int trapL = -1;     // the trap's inductor current
    int trapC = -1;     // the trap's capacitor voltage
    int held = -1;      // the fall's held turn-off current
    int ramp = -1;      // the fall's ramp
    std::size_t one = 4;
    std::size_t size = 5;
};

// The networks beyond the L-section, and any network with the trap, are solved as a
// ladder (see Ladder below); the L-section alone keeps its own equations.
bool OnLadder(const NormalisedStage& s)
{
    return BeyondLNetwork(s.network, s.trap);
}

// One part of the ladder between the series branch and the load resistor, in signal order.
enum class Rung { SeriesL, SeriesC, ShuntL, ShuntC, Trap, Load };

struct RungPart {
    Rung rung;
    int part;            // StagePart, or −1 for the load's own reactance
    double x = 0;        // ωL or 1/(ωC); the trap's inductor
    double xc = 0;       // the trap's capacitor
    double leak = INFINITY;  // resistance across a series capacitor
    int* state = nullptr;    // the Layout field that holds its state
    int* second = nullptr;   // the trap's capacitor state
};

constexpr std::size_t kMaxRungs = 7;

struct Rungs {
    std::array<RungPart, kMaxRungs> at{};
    std::size_t count = 0;
    void Add(RungPart r) { at[count++] = r; }
};

// The ladder of the stage, its states pointing into `l`.
Rungs RungsOf(const NormalisedStage& s, Layout& l)
{
    auto part = [](StagePart p) { return static_cast<int>(p); };
    Rungs r;
    if (s.trap) r.Add({Rung::Trap, part(StagePart::TrapL), s.ltrap, s.ctrap, INFINITY, &l.trapL, &l.trapC});
    const RungPart lnet = {Rung::SeriesL, part(StagePart::NetworkL), s.lnetwork, 0, INFINITY, &l.networkL};
    const RungPart cnet = {Rung::ShuntC, part(StagePart::NetworkC), s.cnetwork, 0, INFINITY, &l.networkC};
    const RungPart cnet2 = {Rung::ShuntC, part(StagePart::NetworkC2), s.cnetwork2, 0, INFINITY, &l.networkC2};
    switch (s.network) {
    case NetworkLayout::None: break;
    case NetworkLayout::SeriesLFirst: r.Add(lnet), r.Add(cnet); break;
    case NetworkLayout::ShuntCFirst: r.Add(cnet), r.Add(lnet); break;
    case NetworkLayout::Pi: r.Add(cnet), r.Add(lnet), r.Add(cnet2); break;
    case NetworkLayout::T:
        r.Add(lnet), r.Add(cnet);
        r.Add({Rung::SeriesL, part(StagePart::NetworkL2), s.lnetwork2, 0, INFINITY, &l.networkL2});
        break;
    case NetworkLayout::TappedCShuntLFirst:
        r.Add({Rung::ShuntL, part(StagePart::NetworkL), s.lnetwork, 0, INFINITY, &l.networkL});
        r.Add({Rung::SeriesC, part(StagePart::NetworkC), s.cnetwork, 0, INFINITY, &l.networkC});
        r.Add(cnet2);
        break;
    case NetworkLayout::TappedCShuntCFirst:
        // The shunt Cb, the series Ca and C2 leave an island of capacitors: Ca's leak
        // gives it its DC path, as the load's series capacitor's does.
        r.Add(cnet2);
        r.Add({Rung::SeriesC, part(StagePart::NetworkC), s.cnetwork, 0, kLoadCapacitorLeak * s.cnetwork, &l.networkC});
        r.Add({Rung::ShuntL, part(StagePart::NetworkL), s.lnetwork, 0, INFINITY, &l.networkL});
        break;
    }
    if (s.loadReactance > 0) r.Add({Rung::SeriesL, -1, s.loadReactance, 0, INFINITY, &l.loadX});
    if (s.loadReactance < 0)
        r.Add({Rung::SeriesC, -1, -s.loadReactance, 0, kLoadCapacitorLeak * -s.loadReactance, &l.loadX});
    r.Add({Rung::Load, part(StagePart::Load), s.load});
    return r;
}

// States in signal order. A series inductor whose current no shunt part has changed
// since the last inductor carries that inductor's current: it takes no state of its
// own (its field stays −1) and joins that inductor's equation.
int LadderStates(const NormalisedStage& s, Layout& l, int next)
{
    const Rungs rungs = RungsOf(s, l);
    bool unbroken = true;
    for (std::size_t k = 0; k < rungs.count; ++k) {
        const RungPart& r = rungs.at[k];
        switch (r.rung) {
        case Rung::SeriesL:
            if (!unbroken) *r.state = next++;
            unbroken = true;
            break;
        case Rung::Trap:
            *r.state = next++;
            *r.second = next++;
            break;
        case Rung::SeriesC: *r.state = next++; break;
        case Rung::ShuntL:
        case Rung::ShuntC:
            *r.state = next++;
            unbroken = false;
            break;
        case Rung::Load: break;
        }
    }
    return next;
}

// The circuit's states; the fall's two more sit just before the constant.
Layout LayoutFor(const NormalisedStage& s, bool separateDrain, bool withFall)
{
    Layout l;
    int next = 4;
    if (separateDrain) l.drain = next++;
    if (OnLadder(s)) {
        next = LadderStates(s, l, next);
    } else {
        if (s.network != NetworkLayout::None) l.networkC = next++;
        if (s.network == NetworkLayout::ShuntCFirst) l.networkL = next++;
        if (s.loadReactance < 0 || (s.loadReactance > 0 && s.network == NetworkLayout::SeriesLFirst)) l.loadX = next++;
    }
    if (withFall) {
        l.held = next++;
        l.ramp = next++;
    }
    l.one = static_cast<std::size_t>(next);
    l.size = l.one + 1;
    return l;
}

template <std::size_t M>
using Row = Vector<M>;

template <std::size_t M>
Row<M> Unit(std::size_t i)
{
    Row<M> r{};
    r[i] = 1;
    return r;
}

template <std::size_t M>
Row<M> operator+(Row<M> a, const Row<M>& b)
{
    for (std::size_t i = 0; i < M; ++i) a[i] += b[i];
    return a;
}

template <std::size_t M>
Row<M> operator-(Row<M> a, const Row<M>& b)
{
    for (std::size_t i = 0; i < M; ++i) a[i] -= b[i];
    return a;
}

template <std::size_t M>
Row<M> operator*(double k, Row<M> a)
{
    for (double& x : a) x *= k;
    return a;
}

template <std::size_t M>
double Dot(const Row<M>& a, const Vector<M>& z)
{
    double sum = 0;
    for (std::size_t i = 0; i < M; ++i) sum += a[i] * z[i];
    return sum;
}

template <std::size_t M>
Row<M> RowOf(const SquareMatrix<M>& a, std::size_t i)
{
    Row<M> r;
    for (std::size_t j = 0; j < M; ++j) r[j] = a(i, j);
    return r;
}

// r·A: the row of the derivative of the quantity r·z.
template <std::size_t M>
Row<M> Derivative(const Row<M>& r, const SquareMatrix<M>& a)
{
    Row<M> d{};
    for (std::size_t k = 0; k < M; ++k)
        if (r[k] != 0)
            for (std::size_t j = 0; j < M; ++j) d[j] += r[k] * a(k, j);
    return d;
}

// ∫ (a·z)(b·z) dθ as a symmetric weight.
template <std::size_t M>
SquareMatrix<M> Product(const Row<M>& a, const Row<M>& b)
{
    SquareMatrix<M> w;
    for (std::size_t i = 0; i < M; ++i)
        for (std::size_t j = 0; j < M; ++j) w(i, j) = 0.5 * (a[i] * b[j] + b[i] * a[j]);
    return w;
}

// One switch interval: its state matrix and every quantity the figures read, as rows
// on the state.
template <std::size_t M>
struct Mode {
    SquareMatrix<M> a;
    Row<M> drain{};                         // drain voltage
    Row<M> switchCurrent{};                 // channel current
    std::array<Row<M>, kStageParts> current{};
    std::array<Row<M>, kStageParts> voltage{};
};

// The stage's series resistances, from the quality factors.
struct Resistances {
    double choke, c1, c2, lseries, lnetwork, cnetwork;
    double lnetwork2 = 0, cnetwork2 = 0, ltrap = 0, ctrap = 0;
};

// Each rung's series resistance; the trap's is its inductor's.
double ResistanceOf(const RungPart& rung, const Resistances& r)
{
    switch (static_cast<StagePart>(rung.part)) {
    case StagePart::NetworkL: return r.lnetwork;
    case StagePart::NetworkC: return r.cnetwork;
    case StagePart::NetworkL2: return r.lnetwork2;
    case StagePart::NetworkC2: return r.cnetwork2;
    case StagePart::TrapL: return r.ltrap;
    default: break;
    }
    return 0;
}

// A capacitor rung's series resistance: the trap's is its capacitor's.
double CapacitorResistanceOf(const RungPart& rung, const Resistances& r)
{
    return rung.rung == Rung::Trap ? r.ctrap : ResistanceOf(rung, r);
}

// The ladder's node voltages and capacitor currents at one instant, as rows on the
// state: modified nodal analysis (C.-W. Ho, A. E. Ruehli and P. A. Brennan, "The
// modified nodal approach to network analysis", IEEE Trans. Circuits Syst. 22(6),
// 1975) of the resistive network left when every inductor is a current source of its
// state and every capacitor a voltage source of its state behind its series
// resistance (a Norton source where that is above zero). The series branch's current
// enters node 1; node 0 is ground.
constexpr std::size_t kMaxLadderUnknowns = 2 * kMaxRungs;

template <std::size_t M>
struct LadderSolve {
    std::array<Row<M>, kMaxRungs + 2> node{};  // node voltages, [0] ground
    std::array<Row<M>, kMaxRungs> current{};   // each rung's current, from its near to its far node
    std::array<Row<M>, kMaxRungs> voltage{};   // each rung's voltage, near less far node
    std::array<std::size_t, kMaxRungs> near{}, far{};
};

template <std::size_t M>
LadderSolve<M> SolveLadder(const Rungs& rungs, const Resistances& r, const Row<M>& seriesCurrent)
{
    LadderSolve<M> out;
    // Nodes: each series part that carries a state of its own or is a capacitor, or
    // the trap, opens a new node; merged inductors and shunts stand at the present one.
    std::size_t present = 1, nodes = 1;
    for (std::size_t k = 0; k < rungs.count; ++k) {
        const RungPart& rung = rungs.at[k];
        const bool opens = rung.rung == Rung::Trap || rung.rung == Rung::SeriesC ||
                           (rung.rung == Rung::SeriesL && *rung.state >= 0);
        out.near[k] = present;
        out.far[k] = 0;
        if (opens) out.far[k] = present = ++nodes;
        if (rung.rung == Rung::SeriesL && !opens) out.far[k] = present;
    }
    // Unknowns: nodes 1..nodes, then one current per ideal capacitor.
    std::array<int, kMaxRungs> extra{};
    std::size_t size = nodes;
    for (std::size_t k = 0; k < rungs.count; ++k) {
        const RungPart& rung = rungs.at[k];
        const bool capacitor = rung.rung == Rung::SeriesC || rung.rung == Rung::ShuntC || rung.rung == Rung::Trap;
        const double esr = CapacitorResistanceOf(rung, r);
        extra[k] = capacitor && esr == 0 ? static_cast<int>(size++) : -1;
    }
    std::array<std::array<double, kMaxLadderUnknowns>, kMaxLadderUnknowns> g{};
    std::array<Row<M>, kMaxLadderUnknowns> b{};
    auto at = [](std::size_t node) { return static_cast<int>(node) - 1; };  // ground is no unknown
    auto conductance = [&](std::size_t a, std::size_t c, double y) {
        if (at(a) >= 0) g[at(a)][at(a)] += y;
        if (at(c) >= 0) g[at(c)][at(c)] += y;
        if (at(a) >= 0 && at(c) >= 0) {
            g[at(a)][at(c)] -= y;
            g[at(c)][at(a)] -= y;
        }
    };
    auto inject = [&](std::size_t node, const Row<M>& i) {
        if (at(node) >= 0) b[at(node)] = b[at(node)] + i;
    };
    // A capacitor of state `v` from a to c, with series resistance esr (a Norton source)
    // or none (its current an unknown of its own, its voltage a constraint).
    auto capacitor = [&](std::size_t a, std::size_t c, const Row<M>& v, double esr, int unknown) {
        if (unknown < 0) {
            conductance(a, c, 1 / esr);
            inject(a, (1 / esr) * v);
            inject(c, (-1 / esr) * v);
            return;
        }
        const std::size_t j = static_cast<std::size_t>(unknown);
        if (at(a) >= 0) g[at(a)][j] += 1, g[j][at(a)] += 1;
        if (at(c) >= 0) g[at(c)][j] -= 1, g[j][at(c)] -= 1;
        b[j] = v;
    };
    inject(1, seriesCurrent);
    for (std::size_t k = 0; k < rungs.count; ++k) {
        const RungPart& rung = rungs.at[k];
        const std::size_t a = out.near[k], c = out.far[k];
        switch (rung.rung) {
        case Rung::SeriesL:
            if (*rung.state >= 0) {
                inject(a, -1.0 * Unit<M>(static_cast<std::size_t>(*rung.state)));
                inject(c, Unit<M>(static_cast<std::size_t>(*rung.state)));
            }
            break;
        case Rung::ShuntL: inject(a, -1.0 * Unit<M>(static_cast<std::size_t>(*rung.state))); break;
        case Rung::Trap:
            inject(a, -1.0 * Unit<M>(static_cast<std::size_t>(*rung.state)));
            inject(c, Unit<M>(static_cast<std::size_t>(*rung.state)));
            capacitor(a, c, Unit<M>(static_cast<std::size_t>(*rung.second)), r.ctrap, extra[k]);
            break;
        case Rung::SeriesC:
        case Rung::ShuntC:
            capacitor(a, c, Unit<M>(static_cast<std::size_t>(*rung.state)), ResistanceOf(rung, r), extra[k]);
            if (std::isfinite(rung.leak)) conductance(a, c, 1 / rung.leak);
            break;
        case Rung::Load: conductance(a, 0, 1 / rung.x); break;
        }
    }
    // Gaussian elimination with partial pivoting, the right-hand sides rows on the state.
    for (std::size_t col = 0; col < size; ++col) {
        std::size_t pivot = col;
        for (std::size_t i = col + 1; i < size; ++i)
            if (std::fabs(g[i][col]) > std::fabs(g[pivot][col])) pivot = i;
        if (g[pivot][col] == 0) {
            for (Row<M>& row : out.node) row.fill(NAN);
            return out;
        }
        std::swap(g[col], g[pivot]);
        std::swap(b[col], b[pivot]);
        for (std::size_t i = col + 1; i < size; ++i) {
            const double f = g[i][col] / g[col][col];
            if (f == 0) continue;
            for (std::size_t j = col; j < size; ++j) g[i][j] -= f * g[col][j];
            b[i] = b[i] - f * b[col];
        }
    }
    std::array<Row<M>, kMaxLadderUnknowns> x{};
    for (std::size_t i = size; i-- > 0;) {
        Row<M> sum = b[i];
        for (std::size_t j = i + 1; j < size; ++j) sum = sum - g[i][j] * x[j];
        x[i] = (1 / g[i][i]) * sum;
    }
    for (std::size_t n = 1; n <= nodes; ++n) out.node[n] = x[n - 1];
    for (std::size_t k = 0; k < rungs.count; ++k) {
        const RungPart& rung = rungs.at[k];
        const std::size_t a = out.near[k], c = out.far[k];
        out.voltage[k] = out.node[a] - out.node[c];
        const double esr = CapacitorResistanceOf(rung, r);
        const int* const held = rung.rung == Rung::Trap ? rung.second : rung.state;
        const int cap = held ? *held : -1;
        switch (rung.rung) {
        case Rung::SeriesC:
        case Rung::ShuntC:
        case Rung::Trap:
            out.current[k] = extra[k] >= 0 ? x[static_cast<std::size_t>(extra[k])]
                                           : (1 / esr) * (out.voltage[k] - Unit<M>(static_cast<std::size_t>(cap)));
            break;
        case Rung::Load: out.current[k] = (1 / rung.x) * out.node[a]; break;
        case Rung::SeriesL:
        case Rung::ShuntL: break;
        }
    }
    return out;
}

template <std::size_t M>
Mode<M> BuildMode(const NormalisedStage& s, const Layout& l, const Resistances& r, double externalC1, Interval interval)
{
    const Row<M> one = Unit<M>(l.one);
    const Row<M> choke = Unit<M>(l.choke);
    const Row<M> cap = Unit<M>(l.cap);
    const Row<M> c2 = Unit<M>(l.c2);
    const Row<M> series = Unit<M>(l.series);
    const Row<M> into = choke - series;  // what the choke and the series branch leave at the drain
    Mode<M> m;
    SquareMatrix<M>& a = m.a;

    auto set = [&a](std::size_t row, const Row<M>& value) {
        for (std::size_t j = 0; j < M; ++j) a(row, j) = value[j];
    };
    auto channel = [&](const Row<M>& drain) -> Row<M> {
        if (interval == kOn) return (1 / s.ron) * drain;
        if (interval == kFall) return Unit<M>(l.held) - Unit<M>(l.ramp);
        return Row<M>{};
    };

    // The drain node: one capacitance (C1 with no resistance of its own), the external
    // C1 behind its resistance alone (no Coss: the drain voltage follows from the
    // currents meeting there), or both.
    Row<M> capCurrent;
    if (r.c1 == 0) {
        m.drain = cap;
        m.switchCurrent = channel(m.drain);
        set(l.cap, s.c1 * (into - m.switchCurrent));
        capCurrent = externalC1 * (into - m.switchCurrent);
    } else if (l.drain < 0) {
        if (interval == kOn) {
            m.drain = (1 / (1 / s.ron + 1 / r.c1)) * (into + (1 / r.c1) * cap);
            m.switchCurrent = channel(m.drain);
        } else {
            m.switchCurrent = channel(Row<M>{});
            m.drain = cap + r.c1 * (into - m.switchCurrent);
        }
        capCurrent = (1 / r.c1) * (m.drain - cap);
        set(l.cap, (s.c1 / externalC1) * capCurrent);
    } else {
        m.drain = Unit<M>(static_cast<std::size_t>(l.drain));
        m.switchCurrent = channel(m.drain);
        capCurrent = (1 / r.c1) * (m.drain - cap);
        set(l.cap, (s.c1 / externalC1) * capCurrent);
        set(static_cast<std::size_t>(l.drain), (1 / s.coss) * (into - m.switchCurrent - capCurrent));
    }

    set(l.choke, (1 / s.choke) * (one - m.drain - r.choke * choke));
    set(l.c2, s.c2 * series);
    const Row<M> c2Voltage = c2 + r.c2 * series;

    // Load side of the series branch: the load itself, or the network's first node.
    // The load's reactance stands between that node and the load resistor: a series
    // inductor joins the inductor that carries the same current where there is one,
    // a series capacitor (with its leak) is a state of its own.
    Row<M> loadCurrent, loadVoltage, networkLCurrent, networkCCurrent, networkCVoltage;
    double inductance = s.lseries;
    Row<M> seriesDrive = m.drain - c2Voltage - r.lseries * series;
    const bool loadCapacitor = s.loadReactance < 0;
    const double loadInductance = s.loadReactance > 0 ? s.loadReactance : 0.0;
    const double loadLeak = kLoadCapacitorLeak * -s.loadReactance;
    const Row<M> loadX = l.loadX >= 0 ? Unit<M>(static_cast<std::size_t>(l.loadX)) : Row<M>{};
    // dv/dθ of the series capacitor carrying `current` beside its leak.
    auto chargeLoadCapacitor = [&](const Row<M>& current) {
        set(static_cast<std::size_t>(l.loadX), -s.loadReactance * (current - (1 / loadLeak) * loadX));
    };
    // The ladder: the inductors' equations from the node voltages, each capacitor's
    // from its current; a merged series inductor joins the inductance and the
    // resistance of the one whose current it carries (the series branch's first).
    Layout ladderStates = l;
    Rungs rungs;
    LadderSolve<M> ladder;
    std::array<int, kMaxRungs> owner{};  // each rung's inductor state; the series branch's is l.series
    if (OnLadder(s)) {
        rungs = RungsOf(s, ladderStates);
        ladder = SolveLadder<M>(rungs, r, series);
        std::array<double, kMaxLadderUnknowns> inductanceOf{}, resistanceOf{};
        std::array<Row<M>, kMaxLadderUnknowns> driveOf{};
        std::array<int, kMaxLadderUnknowns> inductors{};
        std::size_t count = 0;
        int carrying = static_cast<int>(l.series);
        for (std::size_t k = 0; k < rungs.count; ++k) {
            const RungPart& rung = rungs.at[k];
            const double resistance = ResistanceOf(rung, r);
            switch (rung.rung) {
            case Rung::SeriesL:
                if (*rung.state < 0) {
                    owner[k] = carrying;
                    if (carrying == static_cast<int>(l.series)) {
                        inductance += rung.x;
                        seriesDrive = seriesDrive - resistance * series;
                    } else {
                        for (std::size_t i = 0; i < count; ++i)
                            if (inductors[i] == carrying) inductanceOf[i] += rung.x, resistanceOf[i] += resistance;
                    }
                    break;
                }
                carrying = *rung.state;
                [[fallthrough]];
            case Rung::ShuntL:
            case Rung::Trap: {
                owner[k] = *rung.state;
                inductors[count] = *rung.state;
                inductanceOf[count] = rung.x;
                resistanceOf[count] = resistance;
                driveOf[count] = ladder.voltage[k];
                ++count;
                if (rung.rung == Rung::Trap) {
                    const double x = rung.xc;
                    set(static_cast<std::size_t>(*rung.second), x * ladder.current[k]);
                }
                break;
            }
            case Rung::SeriesC:
            case Rung::ShuntC: set(static_cast<std::size_t>(*rung.state), rung.x * ladder.current[k]); break;
            case Rung::Load:
                loadCurrent = ladder.current[k];
                loadVoltage = ladder.node[ladder.near[k]];
                break;
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            const Row<M> own = Unit<M>(static_cast<std::size_t>(inductors[i]));
            set(static_cast<std::size_t>(inductors[i]), (1 / inductanceOf[i]) * (driveOf[i] - resistanceOf[i] * own));
        }
        seriesDrive = seriesDrive - ladder.node[1];
    }
    // On the ladder its equations above stand, and none of these.
    switch (OnLadder(s) ? NetworkLayout::Pi : s.network) {
    case NetworkLayout::Pi:
    case NetworkLayout::T:
    case NetworkLayout::TappedCShuntLFirst:
    case NetworkLayout::TappedCShuntCFirst: break;
    case NetworkLayout::None:
        loadCurrent = series;
        loadVoltage = s.load * series;
        seriesDrive = seriesDrive - loadVoltage;
        if (loadCapacitor) {
            chargeLoadCapacitor(series);
            seriesDrive = seriesDrive - loadX;
        }
        inductance += loadInductance;
        break;
    case NetworkLayout::SeriesLFirst: {
        // Lnetwork carries the series-branch current: one inductor with Lseries.
        // The load node: the series current splits between the load and Cnetwork.
        const Row<M> cn = Unit<M>(static_cast<std::size_t>(l.networkC));
        inductance += s.lnetwork;
        Row<M> node;
        if (loadCapacitor) {
            loadCurrent = (1 / (s.load + r.cnetwork)) * (cn + r.cnetwork * series - loadX);
            loadVoltage = s.load * loadCurrent;
            node = loadX + loadVoltage;
            chargeLoadCapacitor(loadCurrent);
        } else if (loadInductance > 0) {
            loadCurrent = loadX;
            loadVoltage = s.load * loadX;
            node = cn + r.cnetwork * (series - loadX);
            set(static_cast<std::size_t>(l.loadX), (1 / loadInductance) * (node - loadVoltage));
        } else {
            loadVoltage = (s.load / (s.load + r.cnetwork)) * (r.cnetwork * series + cn);
            loadCurrent = (1 / s.load) * loadVoltage;
            node = loadVoltage;
        }
        networkLCurrent = series;
        networkCCurrent = series - loadCurrent;
        networkCVoltage = node;
        set(static_cast<std::size_t>(l.networkC), s.cnetwork * networkCCurrent);
        seriesDrive = seriesDrive - r.lnetwork * series - node;
        break;
    }
    case NetworkLayout::ShuntCFirst: {
        const Row<M> cn = Unit<M>(static_cast<std::size_t>(l.networkC));
        const Row<M> ln = Unit<M>(static_cast<std::size_t>(l.networkL));
        networkCCurrent = series - ln;
        networkCVoltage = cn + r.cnetwork * networkCCurrent;
        networkLCurrent = ln;
        loadCurrent = ln;
        loadVoltage = s.load * ln;
        set(static_cast<std::size_t>(l.networkC), s.cnetwork * networkCCurrent);
        Row<M> lnDrive = networkCVoltage - (r.lnetwork + s.load) * ln;
        if (loadCapacitor) {
            chargeLoadCapacitor(ln);
            lnDrive = lnDrive - loadX;
        }
        set(static_cast<std::size_t>(l.networkL), (1 / (s.lnetwork + loadInductance)) * lnDrive);
        seriesDrive = seriesDrive - networkCVoltage;
        break;
    }
    }
    set(l.series, (1 / inductance) * seriesDrive);
    if (interval == kFall) set(static_cast<std::size_t>(l.ramp), (1 / s.fall) * Unit<M>(static_cast<std::size_t>(l.held)));

    const Row<M> seriesSlope = RowOf(a, l.series);
    auto index = [](StagePart p) { return static_cast<std::size_t>(p); };
    m.current[index(StagePart::Choke)] = choke;
    m.voltage[index(StagePart::Choke)] = one - m.drain;
    m.current[index(StagePart::Switch)] = m.switchCurrent;
    m.voltage[index(StagePart::Switch)] = m.drain;
    m.current[index(StagePart::C1)] = capCurrent;
    m.voltage[index(StagePart::C1)] = m.drain;
    m.current[index(StagePart::C2)] = series;
    m.voltage[index(StagePart::C2)] = c2Voltage;
    m.current[index(StagePart::Lseries)] = series;
    m.voltage[index(StagePart::Lseries)] = s.lseries * seriesSlope + r.lseries * series;
    if (OnLadder(s)) {
        for (std::size_t k = 0; k < rungs.count; ++k) {
            const RungPart& rung = rungs.at[k];
            if (rung.part < 0 || rung.rung == Rung::Load) continue;
            const std::size_t p = static_cast<std::size_t>(rung.part);
            const bool inductor = rung.rung == Rung::SeriesL || rung.rung == Rung::ShuntL || rung.rung == Rung::Trap;
            if (!inductor) {
                m.current[p] = ladder.current[k];
                m.voltage[p] = ladder.voltage[k];
                continue;
            }
            const Row<M> current = Unit<M>(static_cast<std::size_t>(owner[k]));
            const double resistance = ResistanceOf(rung, r);
            m.current[p] = current;
            m.voltage[p] = rung.x * RowOf(a, static_cast<std::size_t>(owner[k])) + resistance * current;
            if (rung.rung == Rung::Trap) {
                const std::size_t c = static_cast<std::size_t>(StagePart::TrapC);
                m.current[c] = ladder.current[k];
                m.voltage[c] = ladder.voltage[k];
            }
        }
    } else if (s.network != NetworkLayout::None) {
        const Row<M> slope = s.network == NetworkLayout::SeriesLFirst
                                 ? seriesSlope
                                 : RowOf(a, static_cast<std::size_t>(l.networkL));
        m.current[index(StagePart::NetworkL)] = networkLCurrent;
        m.voltage[index(StagePart::NetworkL)] = s.lnetwork * slope + r.lnetwork * networkLCurrent;
        m.current[index(StagePart::NetworkC)] = networkCCurrent;
        m.voltage[index(StagePart::NetworkC)] = networkCVoltage;
    }
    m.current[index(StagePart::Load)] = loadCurrent;
    m.voltage[index(StagePart::Load)] = loadVoltage;
    return m;
}

// ∫ (a·z)(b·z) dθ over an interval from its state Gramian G = ∫ z zᵀ dθ.
template <std::size_t M>
double Integral(const Row<M>& a, const Row<M>& b, const SquareMatrix<M>& gramian)
{
    double sum = 0;
    for (std::size_t i = 0; i < M; ++i)
        if (a[i] != 0)
            for (std::size_t j = 0; j < M; ++j) sum += a[i] * gramian(i, j) * b[j];
    return sum;
}

// The highest of the samples, lifted to the vertex of the parabola through it and its
// neighbours when it lies inside the interval (at an end the waveform is cut by a
// switching edge, and the sample itself is the peak).
double RefinedPeak(const double* samples, std::size_t count)
{
    const double* highest = std::max_element(samples, samples + count);
    const std::size_t k = static_cast<std::size_t>(highest - samples);
    if (k == 0 || k + 1 == count) return samples[k];
    const double curvature = samples[k - 1] - 2 * samples[k] + samples[k + 1];
    if (!(curvature < 0)) return samples[k];
    const double tilt = samples[k + 1] - samples[k - 1];
    return samples[k] - tilt * tilt / (8 * curvature);
}

// One interval, solved: its mode, span, state at its start, transition, and the
// integral of the load power across it.
template <std::size_t M>
struct Solved {
    Mode<M> mode;
    double span = 0;
    Vector<M> start{};
    Propagation<M, 1> propagation;
};

// Without `loadPower` the interval's load-power integral is left at zero: the weight's
// Taylor terms and doublings are two thirds of a propagation.
template <std::size_t M>
Solved<M> Propagated(const Mode<M>& mode, double span, bool loadPower)
{
    const std::size_t load = static_cast<std::size_t>(StagePart::Load);
    Solved<M> s;
    s.mode = mode;
    s.span = span;
    if (loadPower)
        s.propagation = Propagate(mode.a, span, std::array{Product(mode.current[load], mode.current[load])});
    else
        s.propagation.transition = Propagate(mode.a, span, std::array<SquareMatrix<M>, 0>{}).transition;
    return s;
}

// What the full detail adds from one interval: averages from its state Gramian
// ∫ z zᵀ dθ (the propagation of the transposed equation with the weight z zᵀ, found
// once the interval's start is known), and peaks from samples.
struct IntervalSums {
    std::array<double, kStageParts> squared{};  // ∫ i² dθ per part
    double supply = 0;                           // ∫ choke current dθ
    double switchPower = 0;                      // ∫ drain voltage · channel current dθ
};

template <std::size_t M>
IntervalSums SummedFrom(const Mode<M>& mode, const Layout& l, const SquareMatrix<M>& gramian)
{
    IntervalSums sums;
    for (std::size_t p = 0; p < kStageParts; ++p) sums.squared[p] = Integral(mode.current[p], mode.current[p], gramian);
    sums.supply = Integral(mode.current[static_cast<std::size_t>(StagePart::Choke)], Unit<M>(l.one), gramian);
    sums.switchPower = Integral(mode.drain, mode.switchCurrent, gramian);
    return sums;
}

template <std::size_t M>
IntervalSums Summed(const Solved<M>& in, const Layout& l)
{
    const SquareMatrix<M> gramian =
        Propagate(Transposed(in.mode.a), in.span, std::array{Product(in.start, in.start)}).integrals[0];
    return SummedFrom(in.mode, l, gramian);
}

// What a sampling pass looks for: everything, or only the conducting switch's
// currents, which is all the on-resistance's fixed point reads.
enum class Peaks { All, SwitchCurrents };

constexpr std::size_t kMaxSamples = kSamplesPerPeriod + 1;

// The peaks of one interval from its states at `count` (at most kMaxSamples) evenly
// spaced angles, its ends included.
template <std::size_t M>
void PeaksOf(const Mode<M>& mode, const Layout& l, const Vector<M>* z, std::size_t count, bool conducting,
             SteadyState& result, Peaks peaks)
{
    std::array<double, kMaxSamples> drain{}, network{}, part{};
    const Row<M> into = Unit<M>(l.choke) - Unit<M>(l.series);
    for (std::size_t k = 0; k < count; ++k) network[k] = Dot(into, z[k]);
    if (peaks == Peaks::All) {
        for (std::size_t k = 0; k < count; ++k) drain[k] = Dot(mode.drain, z[k]);
        result.peakDrainVoltage = std::max(result.peakDrainVoltage, RefinedPeak(drain.data(), count));
        for (std::size_t p = 0; p < kStageParts; ++p) {
            for (std::size_t k = 0; k < count; ++k) part[k] = std::fabs(Dot(mode.voltage[p], z[k]));
            result.parts[p].peakVoltage = std::max(result.parts[p].peakVoltage, RefinedPeak(part.data(), count));
        }
    }
    if (!conducting) return;
    result.peakNetworkCurrent = std::max(result.peakNetworkCurrent, RefinedPeak(network.data(), count));
    for (std::size_t k = 0; k < count; ++k) part[k] = std::fabs(Dot(mode.switchCurrent, z[k]));
    result.peakSwitchCurrent = std::max(result.peakSwitchCurrent, RefinedPeak(part.data(), count));
}

template <std::size_t M>
void Sample(const Solved<M>& in, const Layout& l, std::size_t steps, bool conducting, SteadyState& result,
            Peaks peaks = Peaks::All)
{
    const std::array<SquareMatrix<M>, 0> none{};
    const SquareMatrix<M> step = Propagate(in.mode.a, in.span / steps, none).transition;
    std::array<Vector<M>, kMaxSamples> z;
    z[0] = in.start;
    for (std::size_t k = 1; k <= steps; ++k) z[k] = step * z[k - 1];
    PeaksOf(in.mode, l, z.data(), steps + 1, conducting, result, peaks);
}

std::size_t StepsFor(double span) { return std::max<std::size_t>(8, static_cast<std::size_t>(kSamplesPerPeriod * span / kPeriod)); }

// The stage's series resistances, from the quality factors.
Resistances ResistancesOf(const NormalisedStage& s, const Layout& l, double externalC1)
{
    return {s.choke * s.chokeLoss.value_or(s.inductorLoss),
            l.drain >= 0 || (s.capacitorLoss > 0 && s.coss == 0) ? s.c1 / externalC1 * s.capacitorLoss : 0.0,
            std::fabs(s.c2) * s.capacitorLoss,
            s.lseries * s.lseriesLoss.value_or(s.inductorLoss),
            s.lnetwork * s.lnetworkLoss.value_or(s.inductorLoss),
            // No network: its capacitor's reactance is infinite, and no resistance.
            s.network != NetworkLayout::None ? s.cnetwork * s.capacitorLoss : 0.0,
            s.lnetwork2 * s.inductorLoss,
            s.cnetwork2 * s.capacitorLoss,
            s.ltrap * s.inductorLoss,
            s.ctrap * s.capacitorLoss};
}

// What both solves build the period from: the external C1's share of the drain
// capacitance, the series resistances, and the on and open intervals' spans (the
// open one not above zero when the fall does not fit).
struct PeriodParts {
    double externalC1;
    Resistances r;
    bool falls;
    double onSpan;
    double openSpan;
};

PeriodParts PeriodOf(const NormalisedStage& s, const Layout& l)
{
    const double externalC1 = 1 - s.coss * s.c1;
    const bool falls = s.fall > 0;
    return {externalC1, ResistancesOf(s, l, externalC1), falls, kPeriod * s.duty,
            kPeriod * (1 - s.duty) - (falls ? s.fall : 0.0)};
}

// The averages of a period from its intervals' sums: the supply current, the switch's
// conduction and fall losses, and every part's RMS current and series-resistance loss.
void AddAverages(const NormalisedStage& s, const Resistances& r, const IntervalSums& onSums,
                 const IntervalSums& fallSums, const IntervalSums& openSums, SteadyState& result)
{
    result.supplyCurrent = (onSums.supply + fallSums.supply + openSums.supply) / kPeriod;
    result.conductionLoss = s.ron * onSums.squared[static_cast<std::size_t>(StagePart::Switch)] / kPeriod;
    result.fallLoss = fallSums.switchPower / kPeriod;
    const std::array<double, kStageParts> resistance = {r.choke,    0,           r.c1,    r.c2,
                                                        r.lseries,  r.lnetwork,  r.cnetwork, 0,
                                                        r.lnetwork2, r.cnetwork2, r.ltrap, r.ctrap};
    for (std::size_t part = 0; part < kStageParts; ++part) {
        PartWaveform& w = result.parts[part];
        const double squared = (onSums.squared[part] + fallSums.squared[part] + openSums.squared[part]) / kPeriod;
        w.rmsCurrent = std::sqrt(std::max(0.0, squared));
        w.loss = resistance[part] * squared;
    }
    result.parts[static_cast<std::size_t>(StagePart::Choke)].meanCurrent = result.supplyCurrent;
}

// The waveforms whose harmonics the full detail reports, as rows on the state.
constexpr std::size_t kHarmonicRows = 2;
constexpr std::size_t kLoadRow = 0;
constexpr std::size_t kDrainRow = 1;

template <std::size_t M>
std::array<Row<M>, kHarmonicRows> HarmonicRows(const Mode<M>& mode)
{
    return {mode.voltage[static_cast<std::size_t>(StagePart::Load)], mode.drain};
}

void TakeHarmonics(const std::array<FourierSums, kHarmonicRows>& sums, SteadyState& result)
{
    result.loadHarmonics = AmplitudesOf(sums[kLoadRow]);
    result.drainHarmonics = AmplitudesOf(sums[kDrainRow]);
}

// MF: the states in the fall (the circuit's, the held current and the ramp, the
// constant); M: the circuit's and the constant, all the on and open intervals need.
// linearStart, when given, receives the state at turn-on and nothing else is worked out.
template <std::size_t M, std::size_t MF>
SteadyState SolveSized(const NormalisedStage& s, const Layout& l, const Layout& lf, SteadyStateDetail detail,
                       Vector<M>* linearStart = nullptr)
{
    const auto [externalC1, r, falls, onSpan, openSpan] = PeriodOf(s, l);
    if (!(openSpan > 0)) return {};

    // Ron's fixed point reads only the switch's peaks, and a cold start only the state.
    const bool power = detail != SteadyStateDetail::SwitchPeak && !linearStart;
    Solved<M> on = Propagated(BuildMode<M>(s, l, r, externalC1, kOn), onSpan, power);
    Solved<M> open = Propagated(BuildMode<M>(s, l, r, externalC1, kOpen), openSpan, power);
    Solved<MF> fall;

    // The fall as a map of the circuit's states: at its start the held current takes
    // the channel current's value and the ramp starts from zero (into the fall's
    // states), then the fall's transition, then back to the circuit's states.
    auto widen = [&](std::size_t i) { return i == l.one ? lf.one : i; };
    SquareMatrix<M> fallMap = SquareMatrix<M>::Identity();
    SquareMatrix<M> fallLoad;  // the fall's load-power weight on the circuit's states at its start
    SquareMatrix<MF> into;     // circuit states at the fall start → fall states (square, zero-padded)
    if (falls) {
        fall = Propagated(BuildMode<MF>(s, lf, r, externalC1, kFall), s.fall, power);
        const Row<M> turnOff = on.mode.switchCurrent;
        for (std::size_t j = 0; j < M; ++j) {
            into(widen(j), widen(j)) = 1;
            into(static_cast<std::size_t>(lf.held), widen(j)) = turnOff[j];
        }
        // The map into the fall is the identity but for the held current's row, so a
        // product with it adds one column, scaled by the turn-off current, to each
        // entry: the transition after it, and the load weight between it and its
        // transpose. Every other term of the full product is an exact zero.
        const std::size_t held = static_cast<std::size_t>(lf.held);
        const SquareMatrix<MF>& transition = fall.propagation.transition;
        for (std::size_t i = 0; i < M; ++i)
            for (std::size_t j = 0; j < M; ++j)
                fallMap(i, j) = transition(widen(i), widen(j)) + transition(widen(i), held) * turnOff[j];
        if (power) {
            const SquareMatrix<MF>& weight = fall.propagation.integrals[0];
            auto weighted = [&](std::size_t row, std::size_t j) {
                return weight(row, widen(j)) + weight(row, held) * turnOff[j];
            };
            for (std::size_t i = 0; i < M; ++i)
                for (std::size_t j = 0; j < M; ++j)
                    fallLoad(i, j) = weighted(widen(i), j) + turnOff[i] * weighted(held, j);
        }
    }

    // Periodicity: the state at turn-on comes back after one period, z0 = P z0, with
    // the constant staying 1.
    const SquareMatrix<M> period = open.propagation.transition * (fallMap * on.propagation.transition);
    constexpr std::size_t n = M - 1;
    SquareMatrix<n> lhs;
    Vector<n> start;
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) lhs(i, j) = (i == j ? 1.0 : 0.0) - period(i, j);
        start[i] = period(i, l.one);
    }
    SteadyState result;
    if (!SolveInPlace(lhs, start)) return result;

    for (std::size_t i = 0; i < n; ++i) on.start[i] = start[i];
    on.start[l.one] = 1;
    result.solved = true;
    if (linearStart) {
        *linearStart = on.start;
        return result;
    }
    const Vector<M> fallStart = on.propagation.transition * on.start;
    open.start = fallMap * fallStart;

    result.turnOnVoltage = Dot(open.mode.drain, on.start);
    result.turnOnSlope = Dot(Derivative(open.mode.drain, open.mode.a), on.start);
    if (power) {
        const double loadIntegral = QuadraticForm(on.propagation.integrals[0], on.start) +
                                    (falls ? QuadraticForm(fallLoad, fallStart) : 0.0) +
                                    QuadraticForm(open.propagation.integrals[0], open.start);
        result.loadPower = s.load * loadIntegral / kPeriod;
    }
    if (detail == SteadyStateDetail::TurnOn) return result;
    if (detail == SteadyStateDetail::SwitchPeak) {
        Sample(on, l, StepsFor(onSpan), true, result, Peaks::SwitchCurrents);
        if (falls) {
            Vector<MF> widened{};
            for (std::size_t j = 0; j < M; ++j) widened[widen(j)] = fallStart[j];
            fall.start = into * widened;
            Sample(fall, lf, kFallSamples, true, result, Peaks::SwitchCurrents);
        }
        return result;
    }

    IntervalSums onSums = Summed(on, l);
    IntervalSums openSums = Summed(open, l);
    IntervalSums fallSums;
    if (falls) {
        Vector<MF> widened{};
        for (std::size_t j = 0; j < M; ++j) widened[widen(j)] = fallStart[j];
        fall.start = into * widened;
        fallSums = Summed(fall, lf);
    }
    AddAverages(s, r, onSums, fallSums, openSums, result);
    // The energy the drain capacitance holds as the switch closes.
    const double v = result.turnOnVoltage;
    const double vc = on.start[l.cap];
    result.dischargeEnergy =
        l.drain >= 0 || r.c1 > 0 ? 0.5 * (s.coss * v * v + (1 / s.c1 - s.coss) * vc * vc) : 0.5 * v * v / s.c1;
    result.dischargeLoss = result.dischargeEnergy / kPeriod;
    Sample(on, l, StepsFor(onSpan), true, result);
    if (falls) Sample(fall, lf, kFallSamples, true, result);
    Sample(open, l, StepsFor(openSpan), false, result);

    // The load's and the drain's harmonics: each interval's Fourier integral in closed
    // form from its start and end states.
    std::array<FourierSums, kHarmonicRows> sums{};
    AddIntervalFourierSums(on.mode.a, on.start, fallStart, 0.0, onSpan, HarmonicRows(on.mode), sums);
    if (falls)
        AddIntervalFourierSums(fall.mode.a, fall.start, fall.propagation.transition * fall.start, onSpan, s.fall,
                               HarmonicRows(fall.mode), sums);
    AddIntervalFourierSums(open.mode.a, open.start, open.propagation.transition * open.start, kPeriod - openSpan,
                           openSpan, HarmonicRows(open.mode), sums);
    TakeHarmonics(sums, result);
    return result;
}

// The drain capacitance as a junction law. The mode matrices keep the nominal drain
// capacitance (Cj0 for the switch's own part); the drain row of dz/dθ = A z is then
// divided by C(v)/C_nominal, and every other row stays as it is. Each interval is
// integrated with Dormand and Prince's embedded 5(4) pair (J. R. Dormand and P. J.
// Prince, J. Comput. Appl. Math. 6(1), 1980) under step control, and the turn-on state
// found by shooting: Newton's method on z0 = P(z0) with a finite-difference Jacobian,
// kept while it still contracts the residual.

// Error tolerances per step: far below the 1e-10 the design's Newton asks of the
// turn-on state, so its finite differences see no integration noise.
constexpr double kAbsoluteTolerance = 1e-13;
constexpr double kRelativeTolerance = 1e-12;
// The first trial step, as a fraction of the interval; the control takes over at once.
constexpr double kFirstStep = 1e-3;
// Shooting: the largest mismatch of the turn-on state after one period, in supplies
// and supply/reference-resistance amperes; the difference step; the steps allowed; and
// how much a step must shrink the mismatch for the Jacobian to be kept.
constexpr double kShootingTolerance = 1e-11;
constexpr double kShootingDifference = 1e-6;
constexpr int kMaxShootingSteps = 40;
constexpr double kChordContraction = 0.25;

// How the drain row scales with the drain voltage.
struct DrainLaw {
    std::size_t index = 0;  // the state that is the drain voltage
    double fixed = 0;       // drain capacitance beside the law's (the external C1 without a state of its own)
    double nominal = 0;     // the capacitance the mode matrices were built with
    JunctionLaw law;
    double Scale(double v) const { return nominal / (fixed + JunctionCapacitance(law, v)); }
};

// The circuit's states at the head of an integrated state.
template <std::size_t K, std::size_t N>
Vector<K> Head(const std::array<double, N>& x)
{
    Vector<K> z;
    std::copy_n(x.begin(), K, z.begin());
    return z;
}

// One interval's equations with the integrals the figures need riding along: the
// load current squared, the external C1's current squared (its share of the drain
// node's current changes with the law where the two share one state) and, for the
// full detail, the state Gramian ∫ z zᵀ dθ and the Fourier integrals ∫ v e^{−jnθ} dθ
// of the load and drain voltages, real and imaginary parts, n = 1..kHarmonics.
template <std::size_t K, bool WithGramian>
struct IntervalEquations {
    static constexpr std::size_t kLoad = K;
    static constexpr std::size_t kCapacitor = K + 1;
    static constexpr std::size_t kGramian = K + 2;
    static constexpr std::size_t kFourier = kGramian + K * K;
    static constexpr std::size_t kSize = K + 2 + (WithGramian ? K * K + 2 * kHarmonicRows * kHarmonics : 0);
    using State = std::array<double, kSize>;

    const Mode<K>* mode = nullptr;
    DrainLaw drain;
    bool sharedNode = false;  // the external C1 and the law charge from one state
    double startAngle = 0;    // where the interval begins in the period, for the Fourier integrals

    // The interval's share of the Fourier sums, from its integrated state.
    void AddFourierSums(const State& x, std::array<FourierSums, kHarmonicRows>& sums) const
    {
        for (std::size_t r = 0; r < kHarmonicRows; ++r)
            for (std::size_t k = 0; k < kHarmonics; ++k) {
                const std::size_t at = kFourier + 2 * (r * kHarmonics + k);
                sums[r][k] += std::complex<double>(x[at], x[at + 1]);
            }
    }

    Vector<K> Slope(const Vector<K>& z) const
    {
        Vector<K> dz = mode->a * z;
        dz[drain.index] *= drain.Scale(z[drain.index]);
        return dz;
    }

    void operator()(const State& x, State& dx, double theta) const
    {
        const Vector<K> z = Head<K>(x);
        Vector<K> dz = mode->a * z;
        const double scale = drain.Scale(z[drain.index]);
        dz[drain.index] *= scale;
        std::copy_n(dz.begin(), K, dx.begin());
        const double load = Dot(mode->current[static_cast<std::size_t>(StagePart::Load)], z);
        const double capacitor = Dot(mode->current[static_cast<std::size_t>(StagePart::C1)], z) * (sharedNode ? scale : 1.0);
        dx[kLoad] = load * load;
        dx[kCapacitor] = capacitor * capacitor;
        if constexpr (WithGramian) {
            for (std::size_t i = 0; i < K; ++i)
                for (std::size_t j = 0; j < K; ++j) dx[kGramian + i * K + j] = z[i] * z[j];
            // e^{−jnφ} for every n from e^{−jφ} by repeated rotation.
            const std::complex<double> turn = std::polar(1.0, -(startAngle + theta));
            const std::array<Row<K>, kHarmonicRows> rows = HarmonicRows(*mode);
            std::array<double, kHarmonicRows> v;
            for (std::size_t r = 0; r < kHarmonicRows; ++r) v[r] = Dot(rows[r], z);
            std::complex<double> phase = turn;
            for (std::size_t k = 0; k < kHarmonics; ++k) {
                for (std::size_t r = 0; r < kHarmonicRows; ++r) {
                    const std::size_t at = kFourier + 2 * (r * kHarmonics + k);
                    dx[at] = v[r] * phase.real();
                    dx[at + 1] = v[r] * phase.imag();
                }
                phase *= turn;
            }
        }
    }
};

// The equations integrated across `span` from z0; with `samples`, the states at
// `steps` + 1 evenly spaced angles are kept, from the dense output. Nothing when the
// integration cannot proceed (a state running off to infinity).
template <std::size_t K, bool WithGramian>
std::optional<typename IntervalEquations<K, WithGramian>::State> Integrated(
    const IntervalEquations<K, WithGramian>& equations, const Vector<K>& z0, double span,
    std::vector<Vector<K>>* samples = nullptr, std::size_t steps = 0)
{
    namespace odeint = boost::numeric::odeint;
    using State = typename IntervalEquations<K, WithGramian>::State;
    State x{};
    std::copy_n(z0.begin(), K, x.begin());
    try {
        if (!samples) {
            auto stepper = odeint::make_controlled(kAbsoluteTolerance, kRelativeTolerance,
                                                   odeint::runge_kutta_dopri5<State>());
            odeint::integrate_adaptive(stepper, equations, x, 0.0, span, kFirstStep * span);
        } else {
            auto stepper = odeint::make_dense_output(kAbsoluteTolerance, kRelativeTolerance,
                                                     odeint::runge_kutta_dopri5<State>());
            std::vector<double> angles(steps + 1);
            for (std::size_t k = 0; k <= steps; ++k) angles[k] = span * static_cast<double>(k) / static_cast<double>(steps);
            angles[steps] = span;
            samples->clear();
            odeint::integrate_times(stepper, equations, x, angles.begin(), angles.end(), kFirstStep * span,
                                    [&](const State& at, double) { samples->push_back(Head<K>(at)); });
        }
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
    for (double v : x)
        if (!std::isfinite(v)) return std::nullopt;
    return x;
}

template <std::size_t K, std::size_t N>
SquareMatrix<K> GramianOf(const std::array<double, N>& x, std::size_t first)
{
    SquareMatrix<K> g;
    std::copy_n(x.begin() + static_cast<std::ptrdiff_t>(first), K * K, g.entries.begin());
    return g;
}

template <std::size_t M, std::size_t MF>
SteadyState SolveNonlinear(const NormalisedStage& s, const Layout& l, const Layout& lf, SteadyStateDetail detail,
                           ShootingMemory* memory)
{
    const JunctionLaw& law = *s.cossLaw;
    const auto [externalC1, r, falls, onSpan, openSpan] = PeriodOf(s, l);
    if (!(openSpan > 0)) return {};


    const Mode<M> on = BuildMode<M>(s, l, r, externalC1, kOn);
    const Mode<M> open = BuildMode<M>(s, l, r, externalC1, kOpen);
    const Mode<MF> fall = falls ? BuildMode<MF>(s, lf, r, externalC1, kFall) : Mode<MF>{};
    // With C1's resistance between them, the drain is Coss's own state and the law is
    // all of its capacitance; otherwise the external C1 charges from the same state.
    const bool shared = l.drain < 0;
    auto drainOf = [&](const Layout& layout) {
        DrainLaw d;
        d.law = law;
        if (shared) {
            d.index = layout.cap;
            d.fixed = 1 / s.c1 - s.coss;
            d.nominal = 1 / s.c1;
        } else {
            d.index = static_cast<std::size_t>(layout.drain);
            d.nominal = s.coss;
        }
        return d;
    };
    auto widen = [&](std::size_t i) { return i == l.one ? lf.one : i; };
    auto intoFall = [&](const Vector<M>& z) {
        Vector<MF> w{};
        for (std::size_t j = 0; j < M; ++j) w[widen(j)] = z[j];
        w[static_cast<std::size_t>(lf.held)] = Dot(on.switchCurrent, z);
        return w;
    };
    auto outOfFall = [&](const Vector<MF>& w) {
        Vector<M> z;
        for (std::size_t j = 0; j < M; ++j) z[j] = w[widen(j)];
        return z;
    };

    // One period from the turn-on state, and ∫ load current² dθ across it.
    const IntervalEquations<M, false> onEquations{&on, drainOf(l), shared};
    const IntervalEquations<MF, false> fallEquations{&fall, drainOf(lf), shared};
    const IntervalEquations<M, false> openEquations{&open, drainOf(l), shared};
    // Structured bindings are captured by copy, by name: clang 14 cannot capture them implicitly.
    auto period = [&, onSpan = onSpan, falls = falls, openSpan = openSpan](
                      const Vector<M>& start, double& loadIntegral) -> std::optional<Vector<M>> {
        const auto afterOn = Integrated(onEquations, start, onSpan);
        if (!afterOn) return std::nullopt;
        Vector<M> z = Head<M>(*afterOn);
        loadIntegral = (*afterOn)[M];
        if (falls) {
            const auto afterFall = Integrated(fallEquations, intoFall(z), s.fall);
            if (!afterFall) return std::nullopt;
            z = outOfFall(Head<MF>(*afterFall));
            loadIntegral += (*afterFall)[MF];
        }
        const auto afterOpen = Integrated(openEquations, z, openSpan);
        if (!afterOpen) return std::nullopt;
        loadIntegral += (*afterOpen)[M];
        return Head<M>(*afterOpen);
    };

    constexpr std::size_t n = M - 1;  // the constant stays 1
    auto mismatch = [&](const Vector<M>& start, double& loadIntegral) -> std::optional<Vector<n>> {
        const std::optional<Vector<M>> end = period(start, loadIntegral);
        if (!end) return std::nullopt;
        Vector<n> g;
        for (std::size_t i = 0; i < n; ++i) g[i] = (*end)[i] - start[i];
        return g;
    };
    auto largest = [](const Vector<n>& g) {
        double m = 0;
        for (double x : g) m = std::max(m, std::fabs(x));
        return m;
    };
    // Newton from z0, with the Jacobian given when `current`; false when it fails.
    double loadIntegral = 0;
    SquareMatrix<n> jacobian;
    auto shoot = [&](Vector<M>& z, bool current) {
        std::optional<Vector<n>> g = mismatch(z, loadIntegral);
        if (!g) return false;
        for (int step = 0; largest(*g) > kShootingTolerance; ++step) {
            if (step == kMaxShootingSteps) return false;
            const bool fresh = !current;
            if (fresh) {
                for (std::size_t j = 0; j < n; ++j) {
                    Vector<M> shifted = z;
                    const double h = kShootingDifference * (1 + std::fabs(z[j]));
                    shifted[j] += h;
                    double unused = 0;
                    const std::optional<Vector<n>> gj = mismatch(shifted, unused);
                    if (!gj) return false;
                    for (std::size_t i = 0; i < n; ++i) jacobian(i, j) = ((*gj)[i] - (*g)[i]) / h;
                }
                current = true;
            }
            SquareMatrix<n> factors = jacobian;
            Vector<n> direction;
            for (std::size_t i = 0; i < n; ++i) direction[i] = -(*g)[i];
            if (!SolveInPlace(factors, direction)) return false;
            Vector<M> trial = z;
            for (std::size_t i = 0; i < n; ++i) trial[i] += direction[i];
            double trialLoad = 0;
            const std::optional<Vector<n>> gt = mismatch(trial, trialLoad);
            if (gt && largest(*gt) < largest(*g)) {
                if (largest(*gt) > kChordContraction * largest(*g)) current = false;
                z = trial;
                g = gt;
                loadIntegral = trialLoad;
            } else if (fresh) {
                return false;
            } else {
                current = false;
            }
        }
        return true;
    };

    // A nearly equal stage solved just before (the next step or difference of an outer
    // Newton) gives a start and a Jacobian that need a period or two, not the ten of a
    // cold start; where they fail, the cold start still decides.
    Vector<M> z0{};
    bool solved = false;
    if (memory && memory->start.size() == M && memory->jacobian.size() == n * n) {
        std::copy(memory->start.begin(), memory->start.end(), z0.begin());
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j) jacobian(i, j) = memory->jacobian[i * n + j];
        solved = shoot(z0, true);
    }
    if (!solved) {
        // Cold, from the linear stage whose fixed capacitance takes the law's charge up
        // to the ideal peak, with a Jacobian of its own.
        NormalisedStage linear = s;
        linear.cossLaw.reset();
        linear.coss = ChargeEquivalentCapacitance(law, kDrainPeakOverSupply);
        linear.c1 = 1 / (1 / s.c1 - s.coss + linear.coss);
        z0 = Vector<M>{};
        if (!SolveSized<M, MF>(linear, l, lf, SteadyStateDetail::TurnOn, &z0).solved) return {};
        // The first step always differences afresh, so no Jacobian is read before it is made.
        if (!shoot(z0, false)) return {};
    }
    if (memory) {
        memory->start.assign(z0.begin(), z0.end());
        memory->jacobian.resize(n * n);
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j) memory->jacobian[i * n + j] = jacobian(i, j);
    }

    SteadyState result;
    result.solved = true;
    result.turnOnVoltage = Dot(open.drain, z0);
    result.turnOnSlope = Dot(open.drain, openEquations.Slope(z0));
    result.loadPower = s.load * loadIntegral / kPeriod;
    if (detail == SteadyStateDetail::TurnOn) return result;

    std::vector<Vector<M>> samples;
    std::vector<Vector<MF>> fallSamples;
    if (detail == SteadyStateDetail::SwitchPeak) {
        const auto afterOn = Integrated(onEquations, z0, onSpan, &samples, StepsFor(onSpan));
        if (!afterOn) return {};
        PeaksOf(on, l, samples.data(), samples.size(), true, result, Peaks::SwitchCurrents);
        if (falls) {
            if (!Integrated(fallEquations, intoFall(Head<M>(*afterOn)), s.fall, &fallSamples, kFallSamples)) return {};
            PeaksOf(fall, lf, fallSamples.data(), fallSamples.size(), true, result, Peaks::SwitchCurrents);
        }
        return result;
    }

    const IntervalEquations<M, true> onFull{&on, drainOf(l), shared, 0.0};
    const IntervalEquations<MF, true> fallFull{&fall, drainOf(lf), shared, onSpan};
    const IntervalEquations<M, true> openFull{&open, drainOf(l), shared, kPeriod - openSpan};
    std::array<FourierSums, kHarmonicRows> sums{};
    constexpr std::size_t c1 = static_cast<std::size_t>(StagePart::C1);
    const auto afterOn = Integrated(onFull, z0, onSpan, &samples, StepsFor(onSpan));
    if (!afterOn) return {};
    IntervalSums onSums = SummedFrom(on, l, GramianOf<M>(*afterOn, onFull.kGramian));
    onSums.squared[c1] = (*afterOn)[onFull.kCapacitor];
    PeaksOf(on, l, samples.data(), samples.size(), true, result, Peaks::All);
    onFull.AddFourierSums(*afterOn, sums);
    Vector<M> z = Head<M>(*afterOn);
    IntervalSums fallSums;
    if (falls) {
        const auto afterFall = Integrated(fallFull, intoFall(z), s.fall, &fallSamples, kFallSamples);
        if (!afterFall) return {};
        fallSums = SummedFrom(fall, lf, GramianOf<MF>(*afterFall, fallFull.kGramian));
        fallSums.squared[c1] = (*afterFall)[fallFull.kCapacitor];
        PeaksOf(fall, lf, fallSamples.data(), fallSamples.size(), true, result, Peaks::All);
        fallFull.AddFourierSums(*afterFall, sums);
        z = outOfFall(Head<MF>(*afterFall));
    }
    const auto afterOpen = Integrated(openFull, z, openSpan, &samples, StepsFor(openSpan));
    if (!afterOpen) return {};
    IntervalSums openSums = SummedFrom(open, l, GramianOf<M>(*afterOpen, openFull.kGramian));
    openSums.squared[c1] = (*afterOpen)[openFull.kCapacitor];
    PeaksOf(open, l, samples.data(), samples.size(), false, result, Peaks::All);
    openFull.AddFourierSums(*afterOpen, sums);
    TakeHarmonics(sums, result);

    AddAverages(s, r, onSums, fallSums, openSums, result);
    // The energy the drain holds as the switch closes: the external C1's ½·C·v² and
    // the law's ∫ v·C(v) dv.
    const double v = result.turnOnVoltage;
    const double external = 1 / s.c1 - s.coss;
    const double vc = shared ? v : z0[l.cap];
    result.dischargeEnergy = 0.5 * external * vc * vc + JunctionStoredEnergy(law, v);
    result.dischargeLoss = result.dischargeEnergy / kPeriod;
    return result;
}

// Which solver the stage needs, at each size of its state.
template <std::size_t M, std::size_t MF>
SteadyState SolveAnySized(const NormalisedStage& s, const Layout& l, const Layout& lf, SteadyStateDetail detail,
                          ShootingMemory* memory)
{
    if (s.cossLaw) return SolveNonlinear<M, MF>(s, l, lf, detail, memory);
    return SolveSized<M, MF>(s, l, lf, detail);
}

}  // namespace

SteadyState SolveSteadyState(const NormalisedStage& s, SteadyStateDetail detail, ShootingMemory* memory)
{
    if (s.cossLaw && !(s.cossLaw->cj0 > 0 && s.cossLaw->vj > 0 && s.coss == s.cossLaw->cj0)) return {};
    // C1's resistance separates the drain from the external C1's own voltage; Coss
    // then keeps a state of its own.
    const bool separate = s.capacitorLoss > 0 && s.coss > 0 && 1 - s.coss * s.c1 > kNoExternalC1;
    const Layout l = LayoutFor(s, separate, false);
    const Layout lf = LayoutFor(s, separate, true);
    switch (l.size) {
    case 5: return SolveAnySized<5, 7>(s, l, lf, detail, memory);
    case 6: return SolveAnySized<6, 8>(s, l, lf, detail, memory);
    case 7: return SolveAnySized<7, 9>(s, l, lf, detail, memory);
    case 8: return SolveAnySized<8, 10>(s, l, lf, detail, memory);
    case 9: return SolveAnySized<9, 11>(s, l, lf, detail, memory);
    case 10: return SolveAnySized<10, 12>(s, l, lf, detail, memory);
    case 11: return SolveAnySized<11, 13>(s, l, lf, detail, memory);
    default: break;
    }
    return SolveAnySized<12, 14>(s, l, lf, detail, memory);
}

}  // namespace voltra
