// ParseValue on arbitrary bytes: it must return a finite number within +-1e10,
// and the same one whatever the process locale.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tests/fuzz/fuzz_locale.h"
#include "units/parse.h"

using namespace voltra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const float value = ParseValue(text);
    if (!std::isfinite(value) || std::fabs(value) > kParseLimit) std::abort();
    if (value != voltra::UnderClassicLocale([&] { return ParseValue(text); })) std::abort();
    return 0;
}
