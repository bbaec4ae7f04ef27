#include "grade/GradeFormat.h"
#include "grade/GradeReport.h"

#include "datamatrix/TDatamatrix.h"
#include "base/DecimalText.h"
#include "ncgen/NCGenerateCommand.h"
#include "ncgen/GenerateLayer.h"
#include "ncgen/LayerTable.h"

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
                          base::FixedText(-depth, 3),
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

// A 16 x 16 at 0.2 mm across an 8 mm shaft, centred on its top line: the columns lie at arcs
// s = (j - 7.5) 0.2 mm, and a camera above sees them at 4 sin(s / 4). The reader's grid runs
// straight from the first column to the last, so the middle columns lie off it; the outermost
// dots sit on a surface tilted by 1.5 / 4 rad.
TEST(GradeWorkedCases, ShaftMarksAreOvalAndOffTheGridAsTheCylinderMakesThem) {
    constexpr double R = 4, P = 0.2;
    const double outer = 7.5 * P / R;
    std::vector<double> seen;
    for (int j = 0; j < 16; ++j)
        seen.push_back(R * std::sin((j - 7.5) * P / R));
    const double pitch = (seen[15] - seen[0]) / 15 / P; // in cells
    const double average = (pitch + 1) / 2;
    double off = 0;
    for (int j = 0; j < 16; ++j)
        off = std::max(off,
                       std::fabs(seen[static_cast<std::size_t>(j)] - seen[0] - j * pitch * P) / P);
    struct Row {
        ncgen::TSurfaceMode mode;
        double ovality; // of the outermost dots
    };
    const Row rows[] = {
        // A vertical 90 degree cone in a plane tilted by t: 1 - sqrt(1 - tan^2 t).
        {ncgen::TSurfaceMode::Follow, 1 - std::sqrt(1 - std::pow(std::tan(outer), 2))},
        // A radial plunge leaves a round dot; the camera sees it shortened by cos t.
        {ncgen::TSurfaceMode::Rotary, 1 - std::cos(outer)},
    };
    for (const Row& row : rows) {
        ncgen::TLayerTable layers;
        layers.AddLayer("Ebene 1", 0, 0);
        ncgen::TGenerateFields fields;
        fields.Layer = layers.SelectLayer(1).Fields;
        fields.Layer.EText = {"SN-2026-000123"};
        fields.Layer.EGroesse = "0.2";
        fields.Layer.EXVersatz = "-1.5";
        fields.Layer.EYVersatz = "-1.5";
        fields.REbeneauswahl = "2";
        fields.ZEbeneauswahl = "-0.08";
        fields.Surface = {row.mode, {'X', 0, -4, 4}, {}};
        ncgen::TActiveProfile profile;
        profile.FirstPoint[0] = "G0 [#AAXIS][#AVAL]";
        profile.FirstPoint[1] = "G0 X[#XVAL] Y[#YVAL] Z[#RVAL]";
        profile.FirstPoint[2] = "G1 Z[#ZVAL]";
        profile.FollowingPoints = profile.FirstPoint;
        profile.End[0] = "M30";
        profile.Format.Nachkommastellen = 4;
        profile.Tool = Cone90;
        profile.InfeedDepth = "-0.08";
        const auto generated = ncgen::GenerateCommand(layers, fields, profile, "Welle");
        ncgen::TLayer layer;
        layer.Size = "0.2";
        const grade::TGradeReport report = grade::GradeProgram(
            generated.SimulationLines, layer, profile, "SN-2026-000123", 0, {}, false);
        ASSERT_TRUE(report.Ok()) << report.Problem;
        const grade::TGradeAtDepth& at = report.Depths[0];
        const char* what = row.mode == ncgen::TSurfaceMode::Follow ? "follow" : "rotary";
        EXPECT_NEAR(at.As9132.OvalityMax, 100 * row.ovality, 0.05) << what;
        // The simulation lines keep 3 decimals: 0.0005 mm is 0.0025 of the cell.
        EXPECT_NEAR(at.Iso.GridNonuniformity, off / average, 0.005) << what;
        EXPECT_NEAR(at.Iso.AxialNonuniformity, std::fabs(pitch - 1) / average, 0.005) << what;
        // Columns stay straight and the legs square: nothing for AS9132 to find there.
        EXPECT_NEAR(at.As9132.CentreOffsetMax, 0, 0.1) << what;
        EXPECT_NEAR(at.As9132.AngleOfDistortion, 0, 0.01) << what;
    }
}
