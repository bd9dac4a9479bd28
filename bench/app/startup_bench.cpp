// Start-up as the user waits for it: the welcome screen loaded and painted, and
// "Start" to the design screen painted.
#include <benchmark/benchmark.h>

#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "app/program.h"
#include "simulation/ngspice_simulator.h"

namespace voltra {

namespace {

class Silent : public MessageSink {
public:
    void ShowMessage(const std::string&, const std::string&) override {}
    void Beep() override {}
};

class NoDialogs : public ProgramDialogs {
public:
    std::string OpenDesignFile() override { return {}; }
    std::string SaveDesignFile(const std::string&) override { return {}; }
    std::string SaveSpiceSchematic() override { return {}; }
    PrintDialogProvider& PrintDialog() override { return printer_; }
    void ShowAbout() override {}
    void ConfirmExit(std::function<void()>) override {}
    UnsavedChanges AskToSaveChanges(const std::string&) override { return UnsavedChanges::Cancel; }
    bool OpenDocument(const std::string&) override { return false; }

private:
    QtPrintDialog printer_;
};

// The last-session file is looked for in the working folder and then in the data
// folder: both empty, so every run starts as a first run and the user's own
// last session is never read.
void WorkInAnEmptyFolder()
{
    static const bool moved = [] {
        const auto folder = std::filesystem::temp_directory_path() / "voltra-startup-bench";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
        return true;
    }();
    benchmark::DoNotOptimize(moved);
}

void WelcomeScreenPainted(benchmark::State& state)
{
    WorkInAnEmptyFolder();
    Silent silent;
    NoDialogs dialogs;
    NgspiceSimulator simulator;
    for (auto _ : state) {
        DesignRecord design;
        Program program(design, silent, dialogs, simulator, [] {});
        program.Begin();
        benchmark::DoNotOptimize(program.Welcome()->grab());
    }
}
BENCHMARK(WelcomeScreenPainted)->Unit(benchmark::kMillisecond);

void StartToDesignScreenPainted(benchmark::State& state)
{
    WorkInAnEmptyFolder();
    Silent silent;
    NoDialogs dialogs;
    NgspiceSimulator simulator;
    for (auto _ : state) {
        state.PauseTiming();
        DesignRecord design;
        Program program(design, silent, dialogs, simulator, [] {});
        program.Begin();
        auto* start = program.Welcome()->findChild<QPushButton*>("cmdStart");
        state.ResumeTiming();
        QTest::mouseClick(start, Qt::LeftButton);
        benchmark::DoNotOptimize(program.Design()->grab());
    }
}
BENCHMARK(StartToDesignScreenPainted)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace voltra
