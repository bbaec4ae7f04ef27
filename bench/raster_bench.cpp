// The normal drawing pass of the largest symbol into the window's pixel buffer, beside the
// same pass into a canvas that only counts: the pixels may cost at most three times the
// counting pass, and the whole pass must fit in one frame (16 ms).
#include "datamatrix/TDatamatrix.h"
#include "ncgen/GenerateLayer.h"
#include "simulation/Canvas.h"
#include "simulation/RasterCanvas.h"
#include "simulation/SimulationView.h"
#include "simulation/TMathImage.h"
#include "simulation/ViewCommands.h"

#include "support/PassBench.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace korvex;
using simulation::PixelPoint;

constexpr int WIDTH = 1000;
constexpr int HEIGHT = 700;

// The graphic's first box, distance and angle, in the oblique view, with rapid moves.
void runPass(benchmark::State& state, simulation::Canvas& canvas) {
    const auto& lines = bench::LargestSymbolLines();
    simulation::TMathImage image(WIDTH, HEIGHT);
    image.SetWorldBox(-80, -80, -80, 80, 80, 80);
    image.SetD3ViewDist(3);
    image.SetD3ViewAngle(6);
    simulation::ApplyViewPreset(image, simulation::ViewPreset::XYZ);
    image.SetCanvas(&canvas);
    simulation::SimulationView view(image);
    view.colors = {0xFFFFFF, 0x000000, 0x0000FF, 0x00C000, 0x808080};
    view.showRapidMoves = true;
    for (auto _ : state) {
        const auto result = view.Drawsimulation(lines, "", false);
        benchmark::DoNotOptimize(result);
    }
    state.counters["dots"] = static_cast<double>(lines.size() - 1);
}

void BM_PassCounting(benchmark::State& state) {
    bench::CountingCanvas canvas;
    runPass(state, canvas);
    state.counters["primitives/pass"] =
        static_cast<double>(canvas.primitives) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PassCounting)->Unit(benchmark::kMillisecond);

void BM_PassRaster(benchmark::State& state) {
    simulation::RasterCanvas canvas(WIDTH, HEIGHT);
    runPass(state, canvas);
    benchmark::DoNotOptimize(canvas.bits());
}
BENCHMARK(BM_PassRaster)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
