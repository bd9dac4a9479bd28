// Start-up as the user waits for it: the welcome screen loaded and painted, and
// "Start" to the design screen painted. Runs offscreen unless told otherwise.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "app/program.h"

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
    void ShowAbout(const DesignRecord&) override {}
    void ConfirmExit(std::function<void()>) override {}

private:
    QtPrintDialog printer_;
};

void WelcomeScreenPainted(benchmark::State& state)
{
    Silent silent;
    NoDialogs dialogs;
    for (auto _ : state) {
        DesignRecord design;
        Program program(design, silent, dialogs, [] {});
        program.Begin();
        benchmark::DoNotOptimize(program.WelcomeScreen()->grab());
    }
}
BENCHMARK(WelcomeScreenPainted)->Unit(benchmark::kMillisecond);

void StartToDesignScreenPainted(benchmark::State& state)
{
    Silent silent;
    NoDialogs dialogs;
    for (auto _ : state) {
        state.PauseTiming();
        DesignRecord design;
        Program program(design, silent, dialogs, [] {});
        program.Begin();
        auto* start = program.WelcomeScreen()->findChild<QPushButton*>("cmdStart");
        state.ResumeTiming();
        QTest::mouseClick(start, Qt::LeftButton);
        benchmark::DoNotOptimize(program.DesignScreen()->grab());
    }
}
BENCHMARK(StartToDesignScreenPainted)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The last-session file is read from the working folder: use an empty one.
    const auto folder = std::filesystem::temp_directory_path() / "voltra-startup-bench";
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
