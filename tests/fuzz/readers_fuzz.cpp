// Both file readers on arbitrary file contents: no infinity or NaN ever reaches
// the design record, the same targets are read whatever the process locale, and
// after a complete read every checked target lies within the limits of the reader
// that read it.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/design_file.h"
#include "files/file_limits.h"
#include "files/value_lines.h"
#include "tests/fuzz/fuzz_locale.h"

using namespace voltra;

namespace {

class Silent : public MessageSink {
public:
    void ShowMessage(const std::string&, const std::string&) override {}
    void Beep() override {}
};

void Check(bool condition)
{
    if (!condition) std::abort();
}

void CheckFinite(const DesignRecord& d)
{
    for (Target target : kTargets) Check(std::isfinite(TargetField(d, target)));
}

void CheckWithinLimits(const DesignRecord& d, const FileLimits& limits)
{
    Check(d.Frequency >= 1000 && d.Frequency <= 1e10f);
    Check(d.Supply >= limits.supplyLow && d.Supply <= limits.supplyHigh);
    Check(d.Saturation >= limits.saturationLow || d.Saturation == static_cast<float>(d.Supply - 0.5));
    Check(d.Saturation <= static_cast<float>(d.Supply - 0.5));
    Check(d.NetworkQ >= limits.networkQLow && d.NetworkQ <= 10000);
    Check(d.Falltime >= 0 && d.Falltime <= static_cast<float>(0.2 / d.Frequency));
}

const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        char pattern[] = "/tmp/voltra-readers-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) std::abort();
        return std::filesystem::path(made);
    }();
    return folder;
}

template <class Read>
DesignRecord ReadAlikeUnderAnyLocale(Read read)
{
    const auto readFresh = [&] {
        DesignRecord design;
        StartupValues(design);
        read(design);
        return design;
    };
    const DesignRecord design = readFresh();
    const DesignRecord classic = voltra::UnderClassicLocale(readFresh);
    for (Target target : kTargets) Check(TargetField(design, target) == TargetField(classic, target));
    return design;
}

bool ReadsComplete(const std::string& path)
{
    DesignRecord probe;
    return ReadValueLines(path, probe) == ReadOutcome::Complete;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const std::string path = (Folder() / kLastSessionFileName).string();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), size);
    Silent silent;

    const DesignRecord design = ReadAlikeUnderAnyLocale([&](DesignRecord& d) { ReadDesignFile(path, d, silent); });
    CheckFinite(design);
    if (ReadsComplete(path)) CheckWithinLimits(design, kDesignFileLimits);

    const DesignRecord session =
        ReadAlikeUnderAnyLocale([&](DesignRecord& d) { ReadLastSession(Folder(), d, silent); });
    CheckFinite(session);
    if (ReadsComplete(path)) CheckWithinLimits(session, kLastSessionLimits);
    return 0;
}
