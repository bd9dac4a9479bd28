// Writing and reading each file kind on the real file system, fsync included: the
// Exit and LTspice commands must not keep the user waiting.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "engine/equations.h"
#include "files/design_file.h"
#include "files/spice_schematic.h"
#include "tests/calculated_design.h"

namespace voltra {

namespace {

struct SilentSink : MessageSink {
    void ShowMessage(const std::string&, const std::string&) override {}
    void Beep() override {}
};

// A scratch directory made current for the benchmark's lifetime; the last-session
// file is kept in it as in a current folder that already holds one.
class ScratchDirectory {
public:
    ScratchDirectory()
        : dir_(std::filesystem::temp_directory_path() / ("voltra_files_bench_" + std::to_string(::getpid()))),
          previous_(std::filesystem::current_path())
    {
        std::filesystem::create_directories(dir_);
        std::filesystem::current_path(dir_);
    }
    ~ScratchDirectory()
    {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    const std::filesystem::path& Folder() const { return dir_; }

private:
    std::filesystem::path dir_;
    std::filesystem::path previous_;
};

void BM_WriteDesignFile(benchmark::State& state)
{
    ScratchDirectory scratch;
    const DesignRecord design = CalculatedDesign();
    SilentSink sink;
    for (auto _ : state) WriteDesignFile(scratch.Path("bench.VLT"), design, sink);
}
BENCHMARK(BM_WriteDesignFile)->Unit(benchmark::kMicrosecond);

void BM_ReadDesignFile(benchmark::State& state)
{
    ScratchDirectory scratch;
    DesignRecord design = CalculatedDesign();
    SilentSink sink;
    WriteDesignFile(scratch.Path("bench.VLT"), design, sink);
    for (auto _ : state) ReadDesignFile(scratch.Path("bench.VLT"), design, sink);
}
BENCHMARK(BM_ReadDesignFile)->Unit(benchmark::kMicrosecond);

void BM_WriteLastSession(benchmark::State& state)
{
    ScratchDirectory scratch;
    const DesignRecord design = CalculatedDesign();
    SilentSink sink;
    for (auto _ : state) WriteLastSession(scratch.Folder(), design, sink);
}
BENCHMARK(BM_WriteLastSession)->Unit(benchmark::kMicrosecond);

void BM_ReadLastSession(benchmark::State& state)
{
    ScratchDirectory scratch;
    DesignRecord design = CalculatedDesign();
    SilentSink sink;
    WriteLastSession(scratch.Folder(), design, sink);
    for (auto _ : state) ReadLastSession(scratch.Folder(), design, sink);
}
BENCHMARK(BM_ReadLastSession)->Unit(benchmark::kMicrosecond);

void BM_WriteSpiceSchematic(benchmark::State& state)
{
    ScratchDirectory scratch;
    DesignRecord design = CalculatedDesign();
    design.LnetState = state.range(0) != 0;
    LnetworkWorking working;
    FindLnetwork(design, working, 1);
    SilentSink sink;
    for (auto _ : state) WriteSpiceSchematic(scratch.Path("bench.asc"), BuildCircuit(design), sink);
}
BENCHMARK(BM_WriteSpiceSchematic)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace voltra
