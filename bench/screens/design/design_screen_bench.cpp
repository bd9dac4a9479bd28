// Time from a keystroke's text in the power box to a finished repaint of the design
// screen into an image, at full-HD and 4K sizes: through the window's own backing
// store (what the user waits for) and as a full render (an expose or a resize).
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include "engine/design_record.h"
#include "screens/design/design_commands.h"
#include "screens/design/design_screen.h"

#include "screens/object_names.h"

namespace voltra {

namespace {

class NoCommands : public DesignCommands {
public:
    void Get() override {}
    void Save() override {}
    void SaveInPlace() override {}
    void Spice() override {}
    void Verify() override {}
    void Print() override {}
    void About() override {}
    void UserGuide() override {}
    void Exit() override {}
    std::vector<std::filesystem::path> TransistorFolders() const override { return {}; }
    void Report(const std::string&) override {}
};

const QString kPowerTexts[] = {QStringLiteral("50"), QStringLiteral("51")};

// Third argument 1: with "Exact" on, each keystroke also solves the circuit.
void PowerKeystrokeToRepaint(benchmark::State& state)
{
    DesignRecord design;
    StartupValues(design);
    NoCommands commands;
    DesignScreen screen(design, commands);
    screen.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    auto* exact = screen.findChild<QPushButton*>(QLatin1String(kExactButtonName));
    exact->setChecked(state.range(2) != 0);
    screen.show();
    QApplication::processEvents();
    auto* power = screen.findChild<QLineEdit*>(QStringLiteral("txtPower"));
    int next = 0;
    for (auto _ : state) {
        power->setText(kPowerTexts[next]);
        next ^= 1;
        QApplication::processEvents();
    }
}

void PowerKeystrokeToFullRender(benchmark::State& state)
{
    DesignRecord design;
    StartupValues(design);
    NoCommands commands;
    DesignScreen screen(design, commands);
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    screen.resize(size);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    auto* power = screen.findChild<QLineEdit*>(QStringLiteral("txtPower"));
    int next = 0;
    for (auto _ : state) {
        power->setText(kPowerTexts[next]);
        next ^= 1;
        screen.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(PowerKeystrokeToRepaint)
    ->Args({1920, 1080, 0})
    ->Args({3840, 2160, 0})
    ->Args({1920, 1080, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PowerKeystrokeToFullRender)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace voltra
