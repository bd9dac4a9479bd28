// Pins the design core bit for bit: twenty designs across the limits, every result
// as its single-precision bits and every text as the screen writes it. A quotient
// taken in single instead of double, or 6.28318 written as 6.283185, moves a bit here
// long before it moves a printed digit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/equations.h"
#include "units/format.h"

namespace voltra {
namespace {

struct Targets {
    float frequency, power, supply, saturation, networkQ, falltime;
    bool lnet;
    float rnetwork;
};

// Rload, Lseries, C1, C2, Vpeak, Ipeak, Efficiency, Idc, Lnetwork, Cnetwork, Rdc, Ltotal.
constexpr int kResults = 12;
// Rload, Lseries, C1, C2, Vpeak, Ipeak, Idc, Rdc, Lnetwork, Cnetwork, frequency, fall time.
constexpr int kTexts = 12;

struct Pinned {
    Targets targets;
    std::uint32_t bits[kResults];
    const char* texts[kTexts];
};

// Start-up design; both network layouts; the load and recalculation limits; a fall
// time beyond the period; a saturation just under the supply; Q from 1.8 to 10000.
const Pinned kPinned[] = {
    {{0x1.e848p+21, 0x1.9p+5, 0x1.8p+4, 0x1p+0, 0x1.4p+2, 0x1.12e0bep-30, false, 0x1.9p+5},
     {0x40aee8d0u, 0x3591f329u, 0x30d17c50u, 0x31069849u, 0x42a5da1du, 0x40c63519u, 0x3f754424u, 0x400b2b25u, 0x3526a3b4u, 0x311c17eau, 0x41309776u, 0x35e54503u},
     {"5.4659 ", "1.08741uH", "1.52421nF", "1.95861nF", "82.926 ", "6.19398 ", "2.17451 ", "11.037 ", "620.78nH", "2.27146nF", " 4M", "1000p"}},
    {{0x1.e848p+21, 0x1.9p+5, 0x1.8p+4, 0x1p+0, 0x1.4p+2, 0x1.12e0bep-30, true, 0x1.9p+5},
     {0x40aee8d0u, 0x3591f329u, 0x30d17c50u, 0x31069849u, 0x42a5da1du, 0x40c63519u, 0x3f754424u, 0x400b2b25u, 0x3526a3b4u, 0x311c17eau, 0x41309776u, 0x35e54503u},
     {"5.4659 ", "1.08741uH", "1.52421nF", "1.95861nF", "82.926 ", "6.19398 ", "2.17451 ", "11.037 ", "620.78nH", "2.27146nF", " 4M", "1000p"}},
    {{0x1.e848p+21, 0x1.9p+5, 0x1.8p+4, 0x1p+0, 0x1.4p+2, 0x1.12e0bep-30, true, 0x1p+1},
     {0x40aee8d0u, 0x3591f329u, 0x30d17c50u, 0x31069849u, 0x42a5da1du, 0x40c63519u, 0x3f754424u, 0x400b2b25u, 0x33e0f6f1u, 0x3224a179u, 0x41309776u, 0x35a00298u},
     {"5.4659 ", "1.08741uH", "1.52421nF", "1.95861nF", "82.926 ", "6.19398 ", "2.17451 ", "11.037 ", "104.757nH", "9.58277nF", " 4M", "1000p"}},
    {{0x1.9dd18p+23, 0x1.4p+1, 0x1.b9999ap+3, 0x1p-1, 0x1.a66666p+1, 0x1.5798eep-29, false, 0x1.9p+5},
     {0x42070754u, 0x35af7d3fu, 0x2ea5cf2au, 0x2f48142eu, 0x423f7f97u, 0x3f04f0ccu, 0x3f74ddfeu, 0x3e41f0f9u, 0x34938d3du, 0x2f330901u, 0x4291ba01u, 0x35d4608eu},
     {"33.757 ", "1.3075uH", "75.4013pF", "181.971pF", "47.8746 ", "519.299 m", "189.396 m", "72.8633 ", "274.836nH", "162.832pF", " 13.56M", "2.5n"}},
    {{0x1.9dd18p+23, 0x1.2cp+8, 0x1.8p+5, 0x1p+1, 0x1.cp+2, 0x1.9c511ep-29, true, 0x1.9p+5},
     {0x40720d2eu, 0x34a6d2beu, 0x302d997au, 0x3013f374u, 0x4325da1du, 0x41979c72u, 0x3f732abdu, 0x40d28e10u, 0x34269ef4u, 0x306190a3u, 0x40e970b6u, 0x34fa2238u},
     {"3.7821 ", "310.732nH", "631.551pF", "538.243pF", "165.852 ", "18.9514 ", "6.57984 ", "7.29501 ", "155.178nH", "820.601pF", " 13.56M", "3n"}},
    {{0x1.388p+13, 0x1p+0, 0x1p+0, 0x1.0624dep-10, 0x1.ccccccp+0, 0x1.12e0bep-30, false, 0x1.9p+5},
     {0x3eb8c1c9u, 0x372d7014u, 0x372171a9u, 0x3b10b1ffu, 0x4063cdd5u, 0x4026bd60u, 0x3f7fbe77u, 0x3f8020cdu, 0x388d4343u, 0x367a8a30u, 0x3f7fbe77u, 0x38a2f146u},
     {"0.36085 ", "10.3377uH", "9.62281uF", "2207.88uF", "3.55944 ", "2.60531 ", "1.001 ", "999 m", "67.3593uH", "3.73333uF", " 10k", "1000p"}},
    {{0x1.2a05f2p+33, 0x1.e848p+19, 0x1.86ap+15, 0x1.388p+12, 0x1.388p+13, 0x1.4f8b58p-17, false, 0x1.9p+5},
     {0x4491ff7au, 0x3942eb9cu, 0x2734165eu, 0x21c95b73u, 0x48216a80u, 0x427e6448u, 0x3fe66669u, 0x4131c71au, 0x31814ad5u, 0x299117c2u, 0x458ca002u, 0x3942ec9fu},
     {"1.168k", "185.891uH", "", "", "165.29 k", "63.5979 ", "11.1111 ", "4.5 k", "3.7629nH", "0.064434pF", " 10G", "10u"}},
    {{0x1.f4p+9, 0x1.47ae14p-7, 0x1.008312p+0, 0x1p+0, 0x1.ccccccp+0, 0x1.b7cdfep-34, false, 0x1.9p+5},
     {0x3917a6f4u, 0x3331f393u, 0x3e75db9eu, 0x425c5a12u, 0x3f80e970u, 0x3cd5003au, 0x3b02cd01u, 0x40a00300u, 0x37631072u, 0x3af5500fu, 0x3e4d31cfu, 0x3763c266u},
     {"0 ", "41.4326nH", "240.096mF", "0.055088KF", "1.00712 ", "26.0011 m", "5.00037 ", "200.385 m", "13.5341uH", "1871.59uF", " 1k", "100p"}},
    {{0x1.2a05f2p+33, 0x1.47ae14p-7, 0x1.86ap+15, 0x1.0624dep-10, 0x1.388p+13, 0x1.a36e2ep-14, false, 0x1.9p+5},
     {0x52064ae4u, 0x46b34ae6u, 0x19c3c8d0u, 0x145ae881u, 0x482ded00u, 0x352ab82au, 0x40000000u, 0x33d6bf95u, 0x38333e12u, 0x22daae10u, 0x52e8d4a5u, 0x46b34ae6u},
     {"144195.5MEG", "22.9494KH", "", "", "178.1 k", "635.979 n", "100 n", "500 G", "42.7347uH", "", " 10G", "100u"}},
    {{0x1.86ap+16, 0x1.f4p+9, 0x1.2cp+8, 0x1.4p+2, 0x1.4p+3, 0x1.ad7f2ap-25, true, 0x1.388p+13},
     {0x423f58fau, 0x3a47953au, 0x31e2ab64u, 0x3181f0f9u, 0x4483f948u, 0x4124153du, 0x3f7baf9eu, 0x4058fd6du, 0x3a8fefb0u, 0x311dc0bbu, 0x42b0f77bu, 0x3af3ba4du},
     {"47.837 ", "761.348uH", "6.59695nF", "3.78179nF", "1.05579 k", "10.2552 ", "3.39047 ", "88.4834 ", "1.09815mH", "2.29561nF", " 100k", "50n"}},
    {{0x1.86ap+16, 0x1.f4p+9, 0x1.2cp+8, 0x1.4p+2, 0x1.4p+3, 0x1.ad7f2ap-25, true, 0x1.47ae14p-7},
     {0x423f58fau, 0x3a47953au, 0x31e2ab64u, 0x3181f0f9u, 0x4483f948u, 0x4124153du, 0x3f7baf9eu, 0x4058fd6du, 0x3593baa7u, 0x361a68c0u, 0x42b0f77bu, 0x3a47df17u},
     {"47.837 ", "761.348uH", "6.59695nF", "3.78179nF", "1.05579 k", "10.2552 ", "3.39047 ", "88.4834 ", "1.10067uH", "2.30088uF", " 100k", "50n"}},
    {{0x1.c9c38p+24, 0x1.9p+6, 0x1.cp+4, 0x1.99999ap-1, 0x1.ccccccp+0, 0x1.12e0bep-30, false, 0x1.9p+5},
     {0x402b349au, 0x32db6e81u, 0x2feddf4bu, 0x33d531d5u, 0x42c35f70u, 0x4114dff1u, 0x3f76cb61u, 0x406d18e6u, 0x33802fc2u, 0x2ff557f7u, 0x40f1dbcau, 0x33b70b62u},
     {"2.6751 ", "25.5452nH", "432.687pF", "0.099276uF", "97.6864 ", "9.30467 ", "3.70464 ", "7.55808 ", "59.6915nH", "446.277pF", " 30M", "1000p"}},
    {{0x1.c9c38p+24, 0x1.9p+6, 0x1.cp+4, 0x1.99999ap-1, 0x1.9p+5, 0x1.12e0bep-30, true, 0x1.9p+3},
     {0x40876521u, 0x3596a318u, 0x2f80ad1cu, 0x2de1f68cu, 0x42c35f70u, 0x41348835u, 0x3f77b2f1u, 0x406c3b3fu, 0x3306c661u, 0x302316f1u, 0x40f2beb9u, 0x359ad94bu},
     {"4.2311 ", "1.12233uH", "234.061pF", "25.689pF", "97.6864 ", "11.2833 ", "3.69112 ", "7.58578 ", "31.3797nH", "593.317pF", " 30M", "1000p"}},
    {{0x1.b774p+20, 0x1.4p+2, 0x1.8p+3, 0x1.333334p-2, 0x1.4p+1, 0x1.5798eep-27, false, 0x1.9p+5},
     {0x413ec57au, 0x3630df73u, 0x30e074c6u, 0x32010c2au, 0x4227e6cfu, 0x3f938827u, 0x3f78fa05u, 0x3edb59ebu, 0x35fcdcc8u, 0x31592a63u, 0x41e01437u, 0x3697a6ecu},
     {"11.923 ", "2.63561uH", "1.63313nF", "7.51155nF", "41.9754 ", "1.15259 ", "428.42 m", "28.0099 ", "1.88397uH", "3.16018nF", " 1.8M", "10n"}},
    {{0x1.12a88p+27, 0x1.4p+3, 0x1.9p+3, 0x1p-1, 0x1p+2, 0x1.12e0bep-31, true, 0x1.9p+5},
     {0x40e584c9u, 0x330830b3u, 0x2e10b43fu, 0x2e7e0207u, 0x422cf9dbu, 0x4015933au, 0x3f6e9bc9u, 0x3f5bba2eu, 0x32a66565u, 0x2e6d8f97u, 0x41690422u, 0x335b6366u},
     {"7.1725 ", "31.7093nH", "32.9019pF", "57.7547pF", "43.244 ", "2.33711 ", "858.31 m", "14.5635 ", "19.3711nH", "54.0151pF", " 144M", "500p"}},
    {{0x1.e848p+21, 0x1.9p+5, 0x1.8p+4, 0x1p+0, 0x1.4p+2, 0x1.a36e2ep-14, false, 0x1.9p+5},
     {0x40aee8d0u, 0x3591f329u, 0x30d17c50u, 0x31069849u, 0x42a5da1du, 0x40c63519u, 0x3ff55645u, 0x3f8b20dcu, 0x3526a3b4u, 0x311c17eau, 0x41b0a484u, 0x35e54503u},
     {"5.4659 ", "1.08741uH", "1.52421nF", "1.95861nF", "82.926 ", "6.19398 ", "1.08694 ", "22.0803 ", "620.78nH", "2.27146nF", " 4M", "100u"}},
    {{0x1.e848p+21, 0x1.9p+5, 0x1.8p+4, 0x1.7fd70ap+4, 0x1.4p+2, 0x1.12e0bep-30, false, 0x1.9p+5},
     {0x358ab000u, 0x2a677346u, 0x3c041963u, 0x3c29bf75u, 0x41c03479u, 0x40c63519u, 0xbb8adccau, 0xc3f5ce89u, 0x2f9d3a41u, 0x36b9be15u, 0xbd47f642u, 0x2f9d572fu},
     {"0 ", "", "8062.69uF", "10.3606mF", "24.0256 ", "6.19398 ", "-491.614 ", "-48.8188 m", "0.285995nH", "5.53556uF", " 4M", "1000p"}},
    {{0x1.e848p+18, 0x1p-1, 0x1.4p+2, 0x1.99999ap-5, 0x1.f4p+9, 0x1.12e0bep-30, false, 0x1.9p+5},
     {0x41e20984u, 0x3c135a7cu, 0x310e1b8cu, 0x2d46a6c8u, 0x418d7488u, 0x3ea2c356u, 0x3f7d7042u, 0x3dcedeb2u, 0x37045f65u, 0x31bfe5a4u, 0x4245ffb4u, 0x3c137b94u},
     {"28.255 ", "8.99374mH", "2.06794nF", "11.292pF", "17.6819 ", "317.897 m", "101.011 m", "49.4997 ", "7.89002uH", "5.58494nF", " 500k", "1000p"}},
    {{0x1.24101p+31, 0x1.4p+4, 0x1.cp+4, 0x1.8p+0, 0x1.8p+1, 0x1.b7cdfep-35, true, 0x1.9p+5},
     {0x41827bd3u, 0x315a6f4du, 0x2b74b8e5u, 0x2c31f544u, 0x42bfc937u, 0x40019bc4u, 0x3f5ae112u, 0x3f55de6au, 0x30d149c2u, 0x2c036514u, 0x42061041u, 0x31a18a17u},
     {"16.31 ", "3.17864nH", "0.869428pF", "2.52894pF", "95.893 ", "2.02513 ", "835.425 m", "33.5159 ", "1.52277nH", "1.86723pF", " 2.45G", "50p"}},
    {{0x1.b1598p+22, 0x1.77p+10, 0x1.9p+6, 0x1.8p+1, 0x1.8p+3, 0x1.5798eep-28, true, 0x1.c2p+8},
     {0x405ea969u, 0x357b378au, 0x30ad9f3eu, 0x3023dd29u, 0x43ae41cbu, 0x4239a0b6u, 0x3f76d8c1u, 0x4178e641u, 0x356d2ae8u, 0x301b1f94u, 0x40cdb4a1u, 0x35f43139u},
     {"3.4791 ", "935.856nH", "1.26327nF", "596.133pF", "348.514 ", "46.4069 ", "15.5562 ", "6.4283 ", "883.518nH", "564.335pF", " 7.1M", "5n"}},
};

DesignRecord Calculated(const Targets& t)
{
    DesignRecord d;
    d.Frequency = t.frequency;
    d.Power = t.power;
    d.Supply = t.supply;
    d.Saturation = t.saturation;
    d.NetworkQ = t.networkQ;
    d.Falltime = t.falltime;
    StartupValues(d);
    d.LnetState = t.lnet;
    FindAll(d);
    LnetworkWorking working;
    FindLnetwork(d, working, t.rnetwork);
    return d;
}

TEST(PinnedDesigns, EveryResultKeepsItsBits)
{
    for (const Pinned& pin : kPinned) {
        const DesignRecord d = Calculated(pin.targets);
        const float results[kResults] = {d.Rload, d.Lseries,  d.C1,       d.C2,    d.Vpeak, d.Ipeak,
                                         d.Efficiency, d.Idc, d.Lnetwork, d.Cnetwork, Rdc(d), Ltotal(d)};
        for (int i = 0; i < kResults; ++i) {
            const float expected = std::bit_cast<float>(pin.bits[i]);
            if (std::isnan(expected)) {
                EXPECT_TRUE(std::isnan(results[i])) << "result " << i << " at " << pin.targets.frequency << " Hz";
                continue;
            }
            EXPECT_EQ(std::bit_cast<std::uint32_t>(results[i]), pin.bits[i])
                << "result " << i << " at " << pin.targets.frequency << " Hz, Q " << pin.targets.networkQ << ": "
                << results[i] << " instead of " << expected;
        }
    }
}

TEST(PinnedDesigns, EveryTextKeepsItsCharacters)
{
    for (const Pinned& pin : kPinned) {
        const DesignRecord d = Calculated(pin.targets);
        const std::string texts[kTexts] = {
            FormatResistance(d.Rload),  FormatInductance(d.Lseries), FormatCapacitance(d.C1),
            FormatCapacitance(d.C2),    FormatPrefixed(d.Vpeak),     FormatPrefixed(d.Ipeak),
            FormatPrefixed(d.Idc),      FormatPrefixed(Rdc(d)),      FormatInductance(d.Lnetwork),
            FormatCapacitance(d.Cnetwork), FormatLarge(d.Frequency), FormatSmall(d.Falltime)};
        for (int i = 0; i < kTexts; ++i)
            EXPECT_EQ(texts[i], pin.texts[i]) << "text " << i << " at " << pin.targets.frequency << " Hz, Q "
                                              << pin.targets.networkQ;
    }
}

}  // namespace
}  // namespace voltra
