// GenerateLayer on the largest symbol against a floor that only prints the same coordinates.
#include "ncgen/GenerateLayer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>

using namespace korvex::ncgen;

namespace {

constexpr int Size = 144;

// A 144 x 144 module matrix with the finder pattern of each 22 x 22 region (solid left and
// bottom edges, alternating top and right edges) and about half of the data modules dark.
korvex::datamatrix::TIArray largestSymbol() {
    korvex::datamatrix::TIArray matrix(Size, std::vector<int>(Size, 0));
    std::mt19937 random(144);
    for (int x = 0; x < Size; ++x) {
        for (int y = 0; y < Size; ++y) {
            const int rx = x % 24;
            const int ry = y % 24;
            int dark = static_cast<int>(random() % 2);
            if (rx == 0 || ry == 23) {
                dark = 1;
            } else if (ry == 0) {
                dark = rx % 2 == 0 ? 1 : 0;
            } else if (rx == 23) {
                dark = ry % 2 == 1 ? 1 : 0;
            }
            matrix[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = dark;
        }
    }
    return matrix;
}

TActiveProfile followingPointsProfile() {
    TActiveProfile profile;
    profile.BlockNumbering = true;
    profile.FeedZ = "50";
    profile.FollowingPoints = {"G0 X[#XVAL] Y[#YVAL]", "G1 Z[#ZVAL] F[#FVAL]", "G0 Z[#RVAL]"};
    profile.FirstPoint = profile.FollowingPoints;
    profile.End = {"M30"};
    return profile;
}

TLayer placedLayer() {
    TLayer layer;
    layer.Size = "0.35";
    layer.Angle = "15";
    layer.XDis = "12.5";
    layer.YDis = "-4";
    return layer;
}

void BM_GenerateLayer(benchmark::State& state) {
    const auto matrix = largestSymbol();
    const TActiveProfile profile = followingPointsProfile();
    const TLayer layer = placedLayer();
    std::size_t lines = 0;
    for (auto _ : state) {
        TGenerateOutput output;
        GenerateLayer({layer, matrix, Size, Size, profile, "2", "-0.1", false, {}}, output);
        lines = output.NCLines.size();
        benchmark::DoNotOptimize(output.NCLines.data());
    }
    state.counters["nc_lines"] = static_cast<double>(lines);
}

// Floor: the dark modules' final coordinates, computed beforehand, printed with "%.3f" into
// as many lines as the program has.
void BM_SnprintfBaseline(benchmark::State& state) {
    const auto matrix = largestSymbol();
    const TActiveProfile profile = followingPointsProfile();
    TGenerateOutput reference;
    GenerateLayer({placedLayer(), matrix, Size, Size, profile, "2", "-0.1", true, {}}, reference);
    std::vector<std::pair<double, double>> points;
    for (const std::string& line : reference.SimulationLines) {
        double x = 0;
        double y = 0;
        if (std::sscanf(line.c_str(), "XY;%lf;%lf", &x, &y) == 2) {
            points.emplace_back(x, y);
        }
    }
    std::size_t lines = 0;
    for (auto _ : state) {
        std::vector<std::string> program;
        char xText[64];
        char yText[64];
        for (const auto& [x, y] : points) {
            std::snprintf(xText, sizeof xText, "%.3f", x);
            std::snprintf(yText, sizeof yText, "%.3f", y);
            program.push_back(std::string("G0 X") + xText + " Y" + yText);
            program.emplace_back("G1 Z-0.1 F50");
            program.emplace_back("G0 Z2");
        }
        program.emplace_back("M30");
        lines = program.size();
        benchmark::DoNotOptimize(program.data());
    }
    state.counters["nc_lines"] = static_cast<double>(lines);
}

} // namespace

BENCHMARK(BM_GenerateLayer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnprintfBaseline)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
