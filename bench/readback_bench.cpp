// The read-back check on the largest symbol: perfect square modules against round dots of a
// 90 degree cone at 80 % of the spacing, as the check runs after every regeneration.
#include "readback/ReadBack.h"
#include "support/MarkedSymbol.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

using namespace korvex;

namespace {

// 0.2 mm deep with a 90 degree cone: 0.4 mm dots, 80 % of 0.5 mm.
using TLargest = bench::TMarkedSymbol;

const TLargest& largest() {
    static const TLargest job(datamatrix::C144X144);
    return job;
}

void run(benchmark::State& state, const ncgen::TActiveProfile& profile, bool margin) {
    const TLargest& job = largest();
    for (auto _ : state) {
        const auto result =
            readback::CheckReadBack(job.Lines, job.Layer, profile, job.Text, margin);
        if (!readback::ReadsAsIntended(result))
            throw std::runtime_error(readback::Describe(result));
        benchmark::DoNotOptimize(result);
    }
}

void BM_ReadBackSquare144(benchmark::State& state) {
    run(state, largest().Profile, false);
}

ncgen::TActiveProfile withCone() {
    ncgen::TActiveProfile profile = largest().Profile;
    profile.Tool = {ncgen::TToolKind::Cone, 90, 0, 0};
    return profile;
}

void BM_ReadBackDot144(benchmark::State& state) {
    run(state, withCone(), false);
}

void BM_ReadBackDotWithMargin144(benchmark::State& state) {
    run(state, withCone(), true);
}

} // namespace

BENCHMARK(BM_ReadBackSquare144)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBackDot144)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBackDotWithMargin144)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
