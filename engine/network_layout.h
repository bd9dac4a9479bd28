// Which matching network stands between the Class E load and the real load, and which
// of its ends faces the stage: one name for the circuit, the stage's solver and every
// medium that draws, exports or simulates the circuit.
#pragma once

#include <array>

namespace voltra {

// None: no network (option off, or the stage resistance already equals the network
// resistance). The L-network by the part that faces the stage; the Pi (shunt C, series
// L, shunt C) and the T (series L, shunt C, series L); the tapped-C by the part that
// faces the stage: the shunt inductor at the high-resistance side or the shunt
// capacitor at the low-resistance side.
enum class NetworkLayout { None, SeriesLFirst, ShuntCFirst, Pi, T, TappedCShuntLFirst, TappedCShuntCFirst };

// What the engineer asks for; the layout follows from it and the two resistances.
enum class NetworkKind { L, Pi, T, TappedC };

// Each kind's names, in the order the screen offers them and the search for a
// harmonic limit tries them.
struct NetworkKindNames {
    NetworkKind kind;
    const char* option;   // on the command line and in the JSON report
    const char* caption;  // the screen's choice
    const char* name;     // in a sentence
};
inline constexpr std::array<NetworkKindNames, 4> kNetworkKinds = {{
    {NetworkKind::L, "l", "L", "L-network"},
    {NetworkKind::Pi, "pi", "Pi", "Pi network"},
    {NetworkKind::T, "t", "T", "T network"},
    {NetworkKind::TappedC, "tapped-c", "Tapped-C", "tapped-C network"},
}};

inline constexpr const NetworkKindNames& NamesOf(NetworkKind kind)
{
    for (const NetworkKindNames& names : kNetworkKinds)
        if (names.kind == kind) return names;
    return kNetworkKinds[0];
}

// The layouts the L-network has had from the start; the others are the newer kinds.
inline constexpr bool IsLNetwork(NetworkLayout layout)
{
    return layout == NetworkLayout::SeriesLFirst || layout == NetworkLayout::ShuntCFirst;
}

// A network beyond the L-section (Pi, T, tapped-C) or the trap: parts the L-network's
// two layouts never had, which the solver takes as a ladder, the export places by
// walking the parts and every medium shows the harmonics of.
inline constexpr bool BeyondLNetwork(NetworkLayout layout, bool trap)
{
    return trap || (layout != NetworkLayout::None && !IsLNetwork(layout));
}

// The layouts with a second inductor: the T's load-side series L.
inline constexpr bool UsesLnetwork2(NetworkLayout layout) { return layout == NetworkLayout::T; }

// The layouts with a second capacitor: the Pi's load-side shunt, the tapped-C's Cb.
inline constexpr bool UsesCnetwork2(NetworkLayout layout)
{
    return layout == NetworkLayout::Pi || layout == NetworkLayout::TappedCShuntLFirst ||
           layout == NetworkLayout::TappedCShuntCFirst;
}

}  // namespace voltra
