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

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace korvex;
using simulation::PixelPoint;

constexpr int WIDTH = 1000;
constexpr int HEIGHT = 700;

// Counts primitives and draws nothing.
class CountingCanvas : public simulation::Canvas {
  public:
    long long primitives = 0;
    void fillRect(int, int, int, int) override { ++primitives; }
    void polyline(std::span<const PixelPoint>) override { ++primitives; }
    void textOut(int, int, std::string_view) override { ++primitives; }
    int textWidth(std::string_view text) const override {
        return 7 * static_cast<int>(text.size());
    }
    int textHeight(std::string_view) const override { return 15; }

  protected:
    void drawLine(PixelPoint, PixelPoint) override { ++primitives; }
};

const std::vector<std::string>& symbolLines() {
    static const std::vector<std::string> lines = [] {
        datamatrix::TDatamatrix symbol;
        symbol.Code = std::string(1000, 'A') + "SN-2026-000123";
        symbol.PreferredFormat = datamatrix::C144X144;
        symbol.paintBarcode(nullptr);
        const datamatrix::TIArray matrix = symbol.Matrix();
        const ncgen::TLayer layer; // dot spacing 0.5: a 72 mm symbol
        const ncgen::TActiveProfile profile;
        ncgen::TGenerateOutput output;
        ncgen::GenerateLayer(
            {layer, matrix, symbol.MatrixCols(), symbol.MatrixRows(), profile, "2", "-0.1", true},
            output);
        return output.SimulationLines;
    }();
    return lines;
}

// The graphic's first box, distance and angle, in the oblique view, with rapid moves.
void runPass(benchmark::State& state, simulation::Canvas& canvas) {
    const auto& lines = symbolLines();
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
    CountingCanvas canvas;
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
