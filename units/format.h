// Engineering text for values: a number of at most seven significant digits
// followed by a unit prefix or a whole unit, as the screens, the printed sheet
// and the schematic file show it.
#pragma once

#include <string>

namespace voltra {

// Each takes a single-precision value widened to double. A NaN gives "NaN" and an
// infinity "Inf" or "-Inf", so a value gone wrong never reads as a plausible number.
std::string FormatSmall(double value);        // times: "m" "u" "n" "p"
std::string FormatLarge(double value);        // frequency: "G" "M" "k" " " "m"
std::string FormatCapacitance(double farads); // "MEG" "KF" "F" "mF" "uF" "nF" "pF"
std::string FormatInductance(double henries); // "MEG" "KH" "H" "mH" "uH" "nH"
std::string FormatResistance(double ohms);    // "MEG" "k" " "
std::string FormatPrefixed(double value);     // " G" " M" " k" " " " m" " u" " n" " p"
// A fraction as a percentage with one decimal and the sign: 0.95807 gives "95.8 %".
// A tenth of a percent is as fine as the fall-time and saturation loss models go.
std::string FormatPercent(double fraction);

// Capacitances from one nanofarad up read in nF, smaller ones in pF, the way
// capacitors are marked; the single nearest 1 nF lies just below it and reads 1000pF.
inline constexpr double kNanofaradBound = 1e-9;

}  // namespace voltra
