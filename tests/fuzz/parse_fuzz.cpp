// ParseValue on arbitrary bytes: it must return a finite number within +-1e10.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "units/parse.h"

using namespace voltra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const float value = ParseValue(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!std::isfinite(value) || std::fabs(value) > kParseLimit) std::abort();
    return 0;
}
