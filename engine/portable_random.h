// Random numbers that are the same on every compiler and library: SplitMix64, and a
// uniform double from its output, addressed by position so any thread can draw any
// sample's numbers without drawing the ones before.
#pragma once

#include <cstdint>

namespace voltra {

// The increment of SplitMix64: 2^64 divided by the golden ratio, odd.
inline constexpr std::uint64_t kSplitMixGamma = 0x9E3779B97F4A7C15ull;

// The output of SplitMix64 (G. L. Steele, D. Lea, C. H. Flood, "Fast splittable
// pseudorandom number generators", OOPSLA 2014; S. Vigna's reference splitmix64.c) at
// position `position` of the stream seeded with `seed`: position 0 is the first
// number the reference generator returns.
constexpr std::uint64_t SplitMix64At(std::uint64_t seed, std::uint64_t position)
{
    std::uint64_t z = seed + (position + 1) * kSplitMixGamma;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Uniform on [0, 1): the top 53 bits as a double's mantissa, every value a multiple
// of 2^-53 (Vigna's conversion for xoshiro generators).
constexpr double UniformAt(std::uint64_t seed, std::uint64_t position)
{
    return static_cast<double>(SplitMix64At(seed, position) >> 11) * 0x1.0p-53;
}

}  // namespace voltra
