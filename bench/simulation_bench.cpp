// The drawing pass over the largest symbol against a baseline that only projects the same
// points from ready-made numbers: the pass may cost at most three times the baseline.
#include "datamatrix/TDatamatrix.h"
#include "ncgen/GenerateLayer.h"
#include "simulation/Canvas.h"
#include "simulation/SimulationView.h"
#include "simulation/SvgCanvas.h"
#include "simulation/TMathImage.h"
#include "simulation/ViewCommands.h"

#include "support/PassBench.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

using namespace korvex;
using simulation::PixelPoint;
using simulation::WorldPoint;

void setView(simulation::TMathImage& image) {
    image.SetWorldBox(-80, -80, -80, 80, 80, 80);
    image.SetD3ViewDist(3);
    image.SetD3ViewAngle(6);
    simulation::ApplyViewPreset(image, simulation::ViewPreset::XYZ);
}

void BM_DrawPassNormal(benchmark::State& state) {
    const auto& lines = bench::LargestSymbolLines();
    simulation::TMathImage image(800, 800);
    setView(image);
    bench::CountingCanvas canvas;
    image.SetCanvas(&canvas);
    simulation::SimulationView view(image);
    view.showRapidMoves = true;
    for (auto _ : state) {
        const auto result = view.Drawsimulation(lines, "", false);
        benchmark::DoNotOptimize(result);
    }
    state.counters["dots"] = static_cast<double>(lines.size() - 1);
    state.counters["primitives/pass"] =
        static_cast<double>(canvas.primitives) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DrawPassNormal)->Unit(benchmark::kMillisecond);

// The same world points the pass projects for each dot (rapid move, plunge, eleven chords,
// the marker's centre), ready-made, projected and handed to the canvas.
void BM_ProjectionBaseline(benchmark::State& state) {
    const auto& lines = bench::LargestSymbolLines();
    std::vector<WorldPoint> points;
    long double px = 0, py = 0;
    for (const std::string& line : lines) {
        if (!line.starts_with("XY;")) continue;
        const std::size_t sep = line.find(';', 3);
        const long double x = std::stold(line.substr(3, sep - 3));
        const long double y = std::stold(line.substr(sep + 1));
        points.insert(points.end(), {{px, py, 2}, {x, y, 2}, {x, y, 2}, {x, y, -0.1L}});
        for (int a = 0; a <= 396; a += 36) {
            const long double r = a * std::numbers::pi_v<long double> / 180;
            points.push_back({x + 0.1L * std::cos(r), y + 0.1L * std::sin(r), -0.1L});
        }
        points.push_back({x, y, -0.1L});
        px = x;
        py = y;
    }
    simulation::TMathImage image(800, 800);
    setView(image);
    bench::CountingCanvas canvas;
    for (auto _ : state) {
        for (const WorldPoint& p : points) {
            const PixelPoint pixel = image.ProjectPoint(p);
            canvas.lineTo(pixel.x, pixel.y);
        }
        benchmark::DoNotOptimize(canvas.primitives);
    }
    state.counters["points/pass"] = static_cast<double>(points.size());
}
BENCHMARK(BM_ProjectionBaseline)->Unit(benchmark::kMillisecond);

// What `korvex-cli view` adds: the same pass into an SVG document.
void BM_DrawPassSvg(benchmark::State& state) {
    const auto& lines = bench::LargestSymbolLines();
    simulation::TMathImage image(800, 800);
    setView(image);
    simulation::SimulationView view(image);
    view.showRapidMoves = true;
    for (auto _ : state) {
        simulation::SvgCanvas canvas(800, 800, [](std::string_view s) { return std::string(s); });
        image.SetCanvas(&canvas);
        view.Drawsimulation(lines, "", false);
        benchmark::DoNotOptimize(canvas.document());
    }
}
BENCHMARK(BM_DrawPassSvg)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
