// Verifying a photo of a mark end to end (file bytes to report): a 12-megapixel photo of a
// 24 x 24 symbol of 80 % dots, turned and tilted, on one core; a small one for comparison.
#include "support/PhotoRender.h"
#include "verify/VerifyPhoto.h"

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>

#include <stdexcept>

using namespace korvex;

namespace {

std::string photoOf(double pixelsPerCell) {
    phototest::TPhotoScene s;
    s.Text = "SN 4711-0815 2026-12-10 KORVEX";
    s.SizeFormat = 8; // 24 x 24
    s.PixelsPerCell = pixelsPerCell;
    s.AngleDegrees = 23;
    s.TiltDegrees = 6;
    s.BlurPixels = pixelsPerCell / 15;
    const phototest::TRenderedPhoto photo = phototest::RenderPhoto(s);
    return phototest::EncodePhoto(photo, ".png");
}

void run(benchmark::State& state, const std::string& file) {
    cv::setNumThreads(1);
    double megapixels = 0;
    for (auto _ : state) {
        const verify::TVerifyReport report = verify::VerifyPhotoBytes(file);
        if (!report.Ok()) throw std::runtime_error("the benchmark's photo does not read");
        megapixels = report.PhotoWidth * static_cast<double>(report.PhotoHeight) / 1e6;
        benchmark::DoNotOptimize(report.As9132.DotMean);
    }
    state.counters["megapixels"] = megapixels;
}

void VerifyPhoto12Megapixels(benchmark::State& state) {
    static const std::string file = photoOf(80);
    run(state, file);
}

void VerifyPhotoSmall(benchmark::State& state) {
    static const std::string file = photoOf(10);
    run(state, file);
}

} // namespace

BENCHMARK(VerifyPhoto12Megapixels)->Unit(benchmark::kMillisecond);
BENCHMARK(VerifyPhotoSmall)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
