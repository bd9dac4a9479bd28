// How long the welcome screen takes to come up: building it, and painting its
// 9000-row gradient and stage at common window sizes, on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "screens/welcome/welcome_screen.h"
#include "screens/welcome/welcome_drawing.h"
#include "screens/welcome/welcome_schematic.h"

namespace voltra {

namespace {

WelcomeScreen::Actions StartupOnly(DesignRecord& design)
{
    WelcomeScreen::Actions actions;
    actions.startup = [&design] { StartupValues(design); };
    return actions;
}

void BM_BuildWelcomeScreen(benchmark::State& state)
{
    for (auto _ : state) {
        DesignRecord design;
        WelcomeScreen welcome(design, StartupOnly(design));
        benchmark::DoNotOptimize(&welcome);
    }
}
BENCHMARK(BM_BuildWelcomeScreen)->Unit(benchmark::kMillisecond);

// Window width and height in pixels.
void BM_PaintWelcomeScreen(benchmark::State& state)
{
    DesignRecord design;
    WelcomeScreen welcome(design, StartupOnly(design));
    welcome.setWindowState(Qt::WindowNoState);
    welcome.resize(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        QPixmap shot = welcome.grab();
        benchmark::DoNotOptimize(shot);
    }
}
BENCHMARK(BM_PaintWelcomeScreen)->Args({800, 600})->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

// From nothing to the first painted welcome screen, as at program start.
void BM_BuildShowAndPaintWelcomeScreen(benchmark::State& state)
{
    for (auto _ : state) {
        DesignRecord design;
        WelcomeScreen welcome(design, StartupOnly(design));
        welcome.show();
        QPixmap shot = welcome.grab();
        benchmark::DoNotOptimize(shot);
    }
}
BENCHMARK(BM_BuildShowAndPaintWelcomeScreen)->Unit(benchmark::kMillisecond);

void BM_PaintSchematicOnly(benchmark::State& state)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setTransform(WelcomeViewTransform(image.size()));
        PaintWelcomeStage(painter, 80);
    }
}
BENCHMARK(BM_PaintSchematicOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace voltra
