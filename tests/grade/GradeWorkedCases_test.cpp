#include "grade/GradeFormat.h"
#include "grade/GradeReport.h"

#include "datamatrix/TDatamatrix.h"
#include "ncgen/DecimalText.h"
#include "ncgen/GenerateCommand.h"
#include "ncgen/GenerateLayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace korvex;
using grade::TGrade;

namespace {

// A flat 16 x 16 marking at a spacing of 0.4 mm, plunged `depth` deep.
grade::TGradeReport flatMark(ncgen::TTool tool, long double depth, long double tolerance = 0.01L) {
    const std::string text = "SN-2026-000123";
    ncgen::TLayer layer;
    layer.Size = "0.4";
    ncgen::TActiveProfile profile;
    profile.FirstPoint[0] = "G0 X[#XVAL] Y[#YVAL]";
    profile.FirstPoint[1] = "G1 Z[#ZVAL] F[#FVAL]";
    profile.FollowingPoints = profile.FirstPoint;
    profile.Tool = tool;
    profile.InfeedDepth = "-0.2";
    datamatrix::TDatamatrix symbol;
    symbol.Code = text;
    symbol.PreferredFormat = datamatrix::C16X16;
    symbol.paintBarcode(nullptr);
    ncgen::TGenerateOutput output;
    ncgen::GenerateLayer({layer,
                          symbol.Matrix(),
                          symbol.MatrixCols(),
                          symbol.MatrixRows(),
                          profile,
                          "2",
                          ncgen::FixedText(-depth, 3),
                          false,
                          {}},
                         output);
    return grade::GradeProgram(output.SimulationLines, layer, profile, text, tolerance);
}

// "10 px worn dmtx: no" for each reading that failed.
std::string failedReadings(const grade::TGradeReport& report) {
    std::string text;
    if (report.Verdict)
        for (const grade::TReading& r : report.Verdict->Readings)
            if (!r.Reads)
                text += std::to_string(r.PixelsPerCell) + " px" + (r.Worn ? " worn" : "") +
                        (r.Dmtx ? " dmtx; " : " zxing; ");
    return text;
}

constexpr ncgen::TTool Cone90{ncgen::TToolKind::Cone, 90, 0, 0};

} // namespace

// A 90 degree cone leaves a dot twice its depth wide: 0.16 mm deep is 80 % of 0.4 mm.
TEST(GradeWorkedCases, FlatConeAtTheIdealDepthPassesWithGradeA) {
    const grade::TGradeReport report = flatMark(Cone90, 0.16L);
    ASSERT_TRUE(report.Ok()) << report.Problem;
    ASSERT_EQ(report.Depths.size(), 3u);
    const grade::TGradeAtDepth& nominal = report.Depths[0];
    EXPECT_NEAR(nominal.As9132.DotMean, 80, 1e-6);
    EXPECT_NEAR(nominal.As9132.OvalityMax, 0, 1e-9);
    EXPECT_NEAR(nominal.As9132.CentreOffsetMax, 0, 1e-6);
    EXPECT_NEAR(nominal.As9132.AngleOfDistortion, 0, 1e-6);
    EXPECT_TRUE(report.As9132Pass());
    EXPECT_NEAR(nominal.Iso.AxialNonuniformity, 0, 1e-9);
    EXPECT_NEAR(nominal.Iso.GridNonuniformity, 0, 1e-6);
    EXPECT_DOUBLE_EQ(nominal.Iso.UnusedErrorCorrection, 1.0);
    EXPECT_EQ(nominal.Iso.Overall(), TGrade::A);
    // 0.01 mm either way is 5 % of the cell: 75 % and 85 %.
    EXPECT_NEAR(report.Depths[1].As9132.DotMean, 75, 1e-6);
    EXPECT_NEAR(report.Depths[2].As9132.DotMean, 85, 1e-6);
    ASSERT_TRUE(report.Verdict);
    EXPECT_EQ(report.Verdict->Verdict, grade::TVerdict::Reads) << failedReadings(report);
}

TEST(GradeWorkedCases, DotsTooSmallOrTooLargeFailAs9132OnDotSizeAlone) {
    struct Row {
        const char* what;
        ncgen::TTool tool;
        long double depth;
        double mean; // percent of the cell
        bool reads;  // the verdict is "reads"
    };
    const Row rows[] = {
        // 0.1 mm deep: 0.2 mm wide, half the cell.
        {"cone 0.1 mm", Cone90, 0.10L, 50, false},
        // A ball of r 0.3 mm cut 0.12 mm deep: 2 sqrt(0.12 x 0.48) = 0.48 mm, 120 %.
        {"ball 120 %", {ncgen::TToolKind::Ball, 90, 0, 0.3L}, 0.12L, 120, true},
    };
    for (const Row& row : rows) {
        const grade::TGradeReport report = flatMark(row.tool, row.depth);
        ASSERT_TRUE(report.Ok()) << row.what << ": " << report.Problem;
        const grade::TAs9132& as = report.Depths[0].As9132;
        EXPECT_NEAR(as.DotMean, row.mean, 1e-6) << row.what;
        EXPECT_EQ(as.OutsidePercent, 100) << row.what;
        EXPECT_FALSE(as.DotSizePass) << row.what;
        EXPECT_TRUE(as.CentrePass && as.OvalityPass && as.AnglePass) << row.what;
        EXPECT_FALSE(report.As9132Pass()) << row.what;
        ASSERT_TRUE(report.Verdict);
        if (row.reads) {
            EXPECT_EQ(report.Verdict->Verdict, grade::TVerdict::Reads)
                << row.what << ": " << failedReadings(report);
        }
        const auto as9132 = grade::ReadRequirement("as9132");
        ASSERT_TRUE(as9132);
        EXPECT_FALSE(grade::ShortOf(report, *as9132).empty()) << row.what;
    }
}
