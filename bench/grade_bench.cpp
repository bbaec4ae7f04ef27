// The predicted grade against today's read-back on the same programs: a 32 x 32 and the largest
// symbol, 90 degree cone dots at 80 % of the spacing, with both ends of the depth tolerance.
// And what the grade adds to each program of a logged serial run of the delivered example.
#include "grade/GradeReport.h"
#include "job/Run.h"
#include "readback/ReadBack.h"
#include "support/MarkedSymbol.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <stdexcept>

using namespace korvex;

namespace {

using TMarking = bench::TMarkedSymbol;

const TMarking& marking(datamatrix::TFormat size) {
    static std::map<datamatrix::TFormat, TMarking> made;
    return made.try_emplace(size, size, ncgen::TTool{ncgen::TToolKind::Cone, 90, 0, 0})
        .first->second;
}

void grade(benchmark::State& state, datamatrix::TFormat size) {
    const TMarking& job = marking(size);
    for (auto _ : state) {
        const grade::TGradeReport report =
            grade::GradeProgram(job.Lines, job.Layer, job.Profile, job.Text, 0.01L);
        if (!report.Ok() || !report.Verdict || report.Verdict->Verdict != grade::TVerdict::Reads)
            throw std::runtime_error("the 80 % mark does not read: " + report.Problem);
        benchmark::DoNotOptimize(report);
    }
}

void readBack(benchmark::State& state, datamatrix::TFormat size) {
    const TMarking& job = marking(size);
    for (auto _ : state) {
        const auto result = readback::CheckReadBack(job.Lines, job.Layer, job.Profile, job.Text);
        if (!readback::ReadsAsIntended(result))
            throw std::runtime_error(readback::Describe(result));
        benchmark::DoNotOptimize(result);
    }
}

void BM_Grade32(benchmark::State& state) {
    grade(state, datamatrix::C32X32);
}
void BM_GradeReadBack32(benchmark::State& state) {
    readBack(state, datamatrix::C32X32);
}
void BM_Grade144(benchmark::State& state) {
    grade(state, datamatrix::C144X144);
}
void BM_GradeReadBack144(benchmark::State& state) {
    readBack(state, datamatrix::C144X144);
}

struct TQuietFront : job::TRunFront {
    bool WriteAgain(const log::TMarkRecord&, std::size_t) override { return false; }
    void Tell(job::TRunNews, const std::string&) override {}
};

// Programs SN-000001 ... of the delivered example with a 90 degree cone, each recorded in the
// log; range(0) 1 predicts each program's grade for its record, as [log] Grad=1 asks;
// range(1) the depth in hundredths of a millimetre: 16 is 80 % dots, which read, 10 the
// delivered profile's 50 %, which read narrowly (every reader and picture is tried).
void BM_GradeInLoggedSerialRun(benchmark::State& state) {
    constexpr std::int64_t Programs = 20;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("korvex-grade-bench-" + std::to_string(std::random_device()()));
    const std::filesystem::path config = folder / "config";
    job::OpenSession(config, KORVEX_DATA_DIR);
    {
        std::ifstream in(config / "profil1.ini", std::ios::binary);
        std::string profile((std::istreambuf_iterator<char>(in)), {});
        profile.replace(profile.find("ZEbene=-0.1\r"), 11,
                        "ZEbene=-0." + std::to_string(state.range(1)));
        std::ofstream(config / "profil1.ini", std::ios::binary) << profile;
    }
    job::TJobOptions options;
    options.Tool = ncgen::TTool{ncgen::TToolKind::Cone, 90, 0, 0};
    options.Grade = state.range(0) != 0;
    job::TOpenJob opened;
    if (!job::OpenJob(job::OpenSession(config, KORVEX_DATA_DIR), KORVEX_EXAMPLE_JOB, options,
                      opened)
             .Ok())
        throw std::runtime_error("the example job does not open");
    std::int64_t start = 1;
    for (auto _ : state) {
        TQuietFront front;
        job::TRunRequest request{
            job::SeriesJob(opened, options),
            {config, false},
            {},
            job::TSerialPlan{{start, Programs, 1}, "SN-{n:06}", "{n}.nc", folder},
            {},
            false};
        start += Programs; // new contents, so no run meets a logged one
        if (job::RunAll(front, std::move(request)).Series.Written != Programs)
            throw std::runtime_error("the run stopped");
    }
    state.counters["per_program"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * Programs,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(BM_GradeInLoggedSerialRun)
    ->Args({0, 16})
    ->Args({1, 16})
    ->Args({1, 10})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_Grade32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradeReadBack32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grade144)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GradeReadBack144)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
