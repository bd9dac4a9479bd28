// The fuzz targets under the environment's locale (tools/fuzz.sh names one that
// writes decimal commas), each result compared with the classic "C" locale's.
#pragma once

#include <locale.h>

#include <clocale>
#include <cstdio>

namespace voltra {

// `work`'s result with this thread switched to the C locale for the call.
template <class Work>
auto UnderClassicLocale(Work work)
{
    static const locale_t classic = ::newlocale(LC_ALL_MASK, "C", nullptr);
    const locale_t previous = ::uselocale(classic);
    auto result = work();
    ::uselocale(previous);
    return result;
}

}  // namespace voltra

// libFuzzer's initialisation hook, so this header goes into one file per target.
// Says which locale the run is under, so a run meant for a comma-decimal one that
// fell back to "C" does not pass for a test of it.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* name = std::setlocale(LC_ALL, "");
    std::fprintf(stderr, "Locale: %s, decimal point \"%s\"\n", name ? name : "C (the environment's is not available)",
                 std::localeconv()->decimal_point);
    return 0;
}
