// Cost of one recalculation and of the text work each keystroke does.
#include <benchmark/benchmark.h>

#include "engine/equations.h"
#include "units/format.h"
#include "units/parse.h"

namespace voltra {

namespace {

DesignRecord StartupDesign()
{
    DesignRecord design;
    StartupValues(design);
    return design;
}

void FindAllAndLnetwork(benchmark::State& state)
{
    DesignRecord design = StartupDesign();
    LnetworkWorking working;
    for (auto _ : state) {
        FindAll(design);
        FindLnetwork(design, working, 50);
        benchmark::DoNotOptimize(design);
    }
}
BENCHMARK(FindAllAndLnetwork);

void ParseTypicalTexts(benchmark::State& state)
{
    static const char* const texts[] = {"4000000", "13.56M", "50", "1000ps", "2.2e-9", "  4.7k  ", "5 "};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseValue(texts[i]));
        i = (i + 1) % std::size(texts);
    }
}
BENCHMARK(ParseTypicalTexts);

void Formatter(benchmark::State& state, std::string (*format)(double), double value)
{
    for (auto _ : state) benchmark::DoNotOptimize(format(value));
}
BENCHMARK_CAPTURE(Formatter, FormatSmall, FormatSmall, 1e-9f);
BENCHMARK_CAPTURE(Formatter, FormatLarge, FormatLarge, 4e6f);
BENCHMARK_CAPTURE(Formatter, FormatCapacitance, FormatCapacitance, 1.5242e-9f);
BENCHMARK_CAPTURE(Formatter, FormatInductance, FormatInductance, 1.0874e-6f);
BENCHMARK_CAPTURE(Formatter, FormatResistance, FormatResistance, 5.4659f);
BENCHMARK_CAPTURE(Formatter, FormatPrefixed, FormatPrefixed, 82.926f);

}  // namespace

}  // namespace voltra
