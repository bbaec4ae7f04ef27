#include "IndependentDots.h"

#include "grade/GradeReport.h"

#include "datamatrix/SizeTable.h"
#include "datamatrix/TDatamatrix.h"
#include "base/DecimalText.h"
#include "ncgen/DotGeometry.h"
#include "ncgen/GenerateLayer.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

using namespace korvex;
using grade::TVerdict;

namespace {

struct TCase {
    datamatrix::TFormat size;
    ncgen::TTool tool;
    int fill; // percent of the 0.4 mm spacing
};

// What the readers themselves make of the same dots: any decoder at 10 px per cell, and both
// at 5, 10 and 15 px, each after the closing of its choice (none, a quarter or 0.4 of a cell).
struct TReaders {
    bool AnyAt10 = false;
    bool BothEverywhere = true;
};

TReaders readersOn(const datamatrix::TDatamatrix& symbol, double fill, const std::string& bytes) {
    std::vector<char> dark;
    const auto matrix = symbol.Matrix();
    for (int r = 0; r < symbol.MatrixRows(); ++r)
        for (int c = 0; c < symbol.MatrixCols(); ++c)
            dark.push_back(matrix[c][r] != 0);
    TReaders readers;
    for (const int pixels : {5, 10, 15}) {
        const gradetest::TPicture raw =
            gradetest::DrawDots(dark, symbol.MatrixCols(), symbol.MatrixRows(), fill, pixels);
        std::vector<gradetest::TPicture> pictures{raw};
        for (const double part : {0.25, 0.4})
            pictures.push_back(
                gradetest::CloseWithDisc(raw, static_cast<int>(part * pixels + 0.5)));
        bool zxing = false, dmtx = false;
        for (const auto& p : pictures)
            zxing = zxing || gradetest::ZXingReads(p, bytes);
        for (const auto& p : pictures)
            dmtx = dmtx || gradetest::DmtxReads(p, bytes);
        if (pixels == 10) readers.AnyAt10 = zxing || dmtx;
        readers.BothEverywhere = readers.BothEverywhere && zxing && dmtx;
    }
    return readers;
}

} // namespace

// The verdict must not say "reads" where no reader reads the dots, nor "does not read" where
// both do at every resolution: over symbol shapes, tool shapes and fills from 40 to 130 %
// (60 cases).
TEST(GradeVerdict, AgreesWithBothDecodersOnIndependentPictures) {
    const ncgen::TTool cone90{ncgen::TToolKind::Cone, 90, 0, 0};
    const ncgen::TTool cone120{ncgen::TToolKind::Cone, 120, 0, 0};
    const ncgen::TTool tipped{ncgen::TToolKind::Cone, 90, 0.05L, 0};
    const ncgen::TTool ball{ncgen::TToolKind::Ball, 90, 0, 0.3L};
    std::vector<TCase> cases = {
        {datamatrix::C10X10, cone90, 40},   {datamatrix::C10X10, tipped, 100},
        {datamatrix::C10X10, cone120, 130}, {datamatrix::C16X16, cone120, 55},
        {datamatrix::C16X16, cone90, 85},   {datamatrix::C16X16, ball, 115},
        {datamatrix::C32X32, tipped, 70},   {datamatrix::C32X32, cone90, 100},
        {datamatrix::C32X32, cone120, 130}, {datamatrix::C12X36, ball, 85},
        {datamatrix::C12X36, cone90, 115},  {datamatrix::C12X36, tipped, 60},
    };
    // Every size with every tool in each fill band: too small for AS9132, inside its window,
    // beyond it; the fill within a band moves with the size and tool so the sweep spreads.
    const std::vector<std::vector<int>> bands = {
        {40, 45, 50, 55}, {60, 70, 80, 90, 105}, {110, 120, 130}};
    const datamatrix::TFormat sizes[] = {datamatrix::C10X10, datamatrix::C16X16, datamatrix::C32X32,
                                         datamatrix::C12X36};
    const ncgen::TTool tools[] = {cone90, cone120, tipped, ball};
    for (std::size_t s = 0; s < std::size(sizes); ++s)
        for (std::size_t t = 0; t < std::size(tools); ++t)
            for (const std::vector<int>& band : bands)
                cases.push_back({sizes[s], tools[t], band[(s + 2 * t) % band.size()]});
    int reads = 0, narrowly = 0, not_ = 0;
    for (const TCase& c : cases) {
        std::string text;
        for (int i = 0; i < 2 * datamatrix::SizeInfo(c.size).dataCodewords; ++i)
            text += static_cast<char>('0' + (i * 7 + c.size) % 10);
        datamatrix::TDatamatrix symbol;
        symbol.Code = text;
        symbol.PreferredFormat = c.size;
        symbol.paintBarcode(nullptr);
        ncgen::TLayer layer;
        layer.Size = "0.4";
        ncgen::TActiveProfile profile;
        profile.FirstPoint[0] = "G0 X[#XVAL] Y[#YVAL]";
        profile.FirstPoint[1] = "G1 Z[#ZVAL]";
        profile.FollowingPoints = profile.FirstPoint;
        profile.Tool = c.tool;
        profile.InfeedDepth = "-0.2";
        const auto depth = ncgen::DepthForDiameter(c.tool, c.fill * 0.004L);
        ASSERT_TRUE(depth);
        ncgen::TGenerateOutput output;
        ncgen::GenerateLayer({layer,
                              symbol.Matrix(),
                              symbol.MatrixCols(),
                              symbol.MatrixRows(),
                              profile,
                              "2",
                              base::FixedText(-*depth, 4),
                              false,
                              {}},
                             output);
        const grade::TGradeReport report =
            grade::GradeProgram(output.SimulationLines, layer, profile, text, 0);
        ASSERT_TRUE(report.Ok() && report.Verdict) << report.Problem;
        const TReaders readers = readersOn(symbol, c.fill / 100.0, text);
        const TVerdict verdict = report.Verdict->Verdict;
        const std::string what = std::string(datamatrix::FormatName(c.size)) + " " +
                                 std::to_string(c.fill) +
                                 " %: " + std::string(grade::VerdictWords(verdict));
        EXPECT_TRUE(verdict != TVerdict::Reads || readers.AnyAt10) << what;
        EXPECT_TRUE(!readers.BothEverywhere || verdict != TVerdict::DoesNotRead) << what;
        reads += verdict == TVerdict::Reads;
        narrowly += verdict == TVerdict::ReadsNarrowly;
        not_ += verdict == TVerdict::DoesNotRead;
    }
    // The sweep reaches all three verdicts, or it proves nothing about the boundaries.
    EXPECT_GT(reads, 0);
    EXPECT_GT(narrowly + not_, 0);
}
