// From a drag event to the finished picture on screen for the largest symbol (144 x 144) at
// 1000 x 700 pixels: the rotation step, the pass into the raster canvas with ticks and labels
// through QPainter, and the blit; beside the same pass on a canvas that only counts.
// Goals: one 60 Hz frame (16 ms), at most 3x the counting pass.
// Run: QT_QPA_PLATFORM=offscreen build/bin/graphic_bench
#include "app/GraphicView.h"
#include "app/KorvexApplication.h"
#include "datamatrix/TDatamatrix.h"
#include "ncgen/GenerateLayer.h"
#include "simulation/SimulationView.h"
#include "simulation/ViewCommands.h"

#include "support/PassBench.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace korvex;

namespace {

constexpr int WIDTH = 1000;
constexpr int HEIGHT = 700;
const std::string BLANK = "ROHDEF QUAD XM0 YP80 ZP0 XP80 YM0 ZM-10";

// The fitted view of the symbol, oblique, axes and rapid moves on.
void prepare(simulation::TMathImage& image, simulation::SimulationView& view) {
    image.SetWorldBox(-40, -40, -20, 120, 120, 20);
    image.SetD3ViewDist(3);
    image.SetD3ViewAngle(6);
    simulation::ApplyViewPreset(image, simulation::ViewPreset::XYZ);
    view.colors = {0xFFFFFF, 0x000000, 0x0000FF, 0x00C000, 0x808080};
    view.showAxes = true;
    view.showRapidMoves = true;
}

void BM_DragToScreen(benchmark::State& state) {
    simulation::TMathImage image;
    app::GraphicView widget(image);
    widget.resize(WIDTH, HEIGHT);
    widget.show();
    simulation::SimulationView view(image);
    prepare(image, view);
    int x = 500;
    for (auto _ : state) {
        simulation::DragRotationStep(image, {x, 350}, {x + 1, 350});
        ++x;
        view.Drawsimulation(bench::LargestSymbolLines(), BLANK, false);
        widget.repaint();
    }
}
BENCHMARK(BM_DragToScreen)->Unit(benchmark::kMillisecond);

void BM_PassCounting(benchmark::State& state) {
    simulation::TMathImage image(WIDTH, HEIGHT);
    bench::CountingCanvas canvas;
    image.SetCanvas(&canvas);
    simulation::SimulationView view(image);
    prepare(image, view);
    int x = 500;
    for (auto _ : state) {
        simulation::DragRotationStep(image, {x, 350}, {x + 1, 350});
        ++x;
        benchmark::DoNotOptimize(view.Drawsimulation(bench::LargestSymbolLines(), BLANK, false));
    }
}
BENCHMARK(BM_PassCounting)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app::KorvexApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
