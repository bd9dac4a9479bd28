// Harmonic amplitudes and their levels below the fundamental, and the worst of them
// as one line of text for the screen and the sheet.
#include "engine/harmonics.h"

#include <charconv>
#include <numbers>

namespace voltra {

HarmonicAmplitudes AmplitudesOf(const FourierSums& sums)
{
    HarmonicAmplitudes a{};
    for (std::size_t k = 0; k < kHarmonics; ++k) a[k] = std::abs(sums[k]) / std::numbers::pi;
    return a;
}

double HarmonicDbc(double amplitude, double fundamental)
{
    if (!(fundamental > 0) || !(amplitude > 0)) return kDeepestHarmonicDbc;
    const double dbc = 20 * std::log10(amplitude / fundamental);
    return std::isfinite(dbc) ? std::fmax(dbc, kDeepestHarmonicDbc) : kDeepestHarmonicDbc;
}

std::vector<Harmonic> HarmonicsBelowFundamental(const HarmonicAmplitudes& amplitudes)
{
    std::vector<Harmonic> harmonics;
    for (std::size_t k = 1; k < kHarmonics; ++k)
        harmonics.push_back({static_cast<int>(k + 1), HarmonicDbc(amplitudes[k], amplitudes[0])});
    return harmonics;
}

std::string HarmonicOrdinal(int n)
{
    // 11th to 13th take "th" like the rest of the teens.
    const char* suffix = "th";
    if (n % 100 < 11 || n % 100 > 13) {
        if (n % 10 == 1) suffix = "st";
        else if (n % 10 == 2) suffix = "nd";
        else if (n % 10 == 3) suffix = "rd";
    }
    return std::to_string(n) + suffix;
}

std::string WorstHarmonicText(const std::vector<Harmonic>& harmonics)
{
    if (harmonics.empty()) return {};
    const Harmonic* worst = &harmonics.front();
    for (const Harmonic& h : harmonics)
        if (h.dBc > worst->dBc) worst = &h;
    // A decimal point whatever the C locale says: the line stands beside other figures.
    char level[32];
    const auto end = std::to_chars(level, level + sizeof level, worst->dBc, std::chars_format::fixed, 1).ptr;
    return "Worst harmonic: " + HarmonicOrdinal(worst->n) + " at " + std::string(level, end) + " dBc";
}

}  // namespace voltra
