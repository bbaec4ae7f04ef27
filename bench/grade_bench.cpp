// The predicted grade against today's read-back on the same programs: a 32 x 32 and the largest
// symbol, 90 degree cone dots at 80 % of the spacing, with both ends of the depth tolerance.
#include "datamatrix/TDatamatrix.h"
#include "grade/GradeReport.h"
#include "ncgen/GenerateLayer.h"
#include "readback/ReadBack.h"

#include <benchmark/benchmark.h>

#include <map>
#include <stdexcept>

using namespace korvex;

namespace {

struct TMarking {
    std::string Text;
    ncgen::TLayer Layer;
    ncgen::TActiveProfile Profile;
    std::vector<std::string> Lines;

    explicit TMarking(datamatrix::TFormat size) {
        for (int i = 0; i < 2 * datamatrix::SizeInfo(size).dataCodewords; ++i)
            Text += static_cast<char>('0' + (i * 7) % 10);
        Layer.Size = "0.5";
        Profile.FirstPoint[0] = "G0 X[#XVAL] Y[#YVAL]";
        Profile.FirstPoint[1] = "G1 Z[#ZVAL]";
        Profile.FollowingPoints = Profile.FirstPoint;
        Profile.InfeedDepth = "-0.2";
        Profile.Tool = {ncgen::TToolKind::Cone, 90, 0, 0};
        datamatrix::TDatamatrix symbol;
        symbol.Code = Text;
        symbol.PreferredFormat = size;
        symbol.paintBarcode(nullptr);
        ncgen::TGenerateOutput output;
        ncgen::GenerateLayer({Layer,
                              symbol.Matrix(),
                              symbol.MatrixCols(),
                              symbol.MatrixRows(),
                              Profile,
                              "2",
                              "-0.2",
                              false,
                              {}},
                             output);
        Lines = std::move(output.SimulationLines);
    }
};

const TMarking& marking(datamatrix::TFormat size) {
    static std::map<datamatrix::TFormat, TMarking> made;
    return made.try_emplace(size, size).first->second;
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

} // namespace

BENCHMARK(BM_Grade32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradeReadBack32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grade144)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GradeReadBack144)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
