#include "ncgen/GenerateLayer.h"
#include "base/ENumberFormatError.h"

#include "TestMatrix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

using namespace korvex::ncgen;

namespace {

struct TRun {
    TLayer layer;
    korvex::datamatrix::TIArray matrix = test::symbol123456();
    TActiveProfile profile;
    std::string r = "2";
    std::string z = "-0.1";
    bool toBuffer = false;

    TGenerateOutput generate() const {
        TGenerateOutput output;
        const int cols = static_cast<int>(matrix.size());
        const int rows = cols == 0 ? 0 : static_cast<int>(matrix[0].size());
        GenerateLayer({layer, matrix, cols, rows, profile, r, z, toBuffer, {}}, output);
        return output;
    }
};

TRun unitSpacing() {
    TRun run;
    run.layer.Size = "1";
    run.profile.FirstPoint[0] = "F [#XVAL] [#YVAL]";
    run.profile.FollowingPoints[0] = "P [#XVAL] [#YVAL]";
    run.profile.End[0] = "E [#XVAL] [#YVAL]";
    return run;
}

std::vector<std::string> pointLines(const TGenerateOutput& output) {
    std::vector<std::string> points;
    std::copy_if(output.SimulationLines.begin(), output.SimulationLines.end(),
                 std::back_inserter(points),
                 [](const std::string& line) { return line.starts_with("XY;"); });
    return points;
}

TEST(GenerateLayer, WalksInMeandersFromTheBottomRightModule) {
    const TGenerateOutput output = unitSpacing().generate();
    ASSERT_FALSE(output.SimulationLines.empty());
    EXPECT_EQ(output.SimulationLines[0], "ZR;2.000;-0.100");
    const std::vector<std::string> points = pointLines(output);
    EXPECT_EQ(points.size(), 55U); // dark modules of the symbol
    EXPECT_EQ(output.SimulationLines.size(), points.size() + 1);
    const std::vector<std::string> firstRows(points.begin(), points.begin() + 15);
    const std::vector<std::string> expected = {
        // bottom row, right to left
        "XY;9.000;0.000", "XY;8.000;0.000", "XY;7.000;0.000", "XY;6.000;0.000", "XY;5.000;0.000",
        "XY;4.000;0.000", "XY;3.000;0.000", "XY;2.000;0.000", "XY;1.000;0.000", "XY;0.000;0.000",
        // the row above, left to right: "#..###.#.."
        "XY;0.000;1.000", "XY;3.000;1.000", "XY;4.000;1.000", "XY;5.000;1.000", "XY;7.000;1.000"};
    EXPECT_EQ(firstRows, expected);
    EXPECT_EQ(points.back(), "XY;8.000;9.000"); // top row "#.#.#.#.#." walked left to right
    ASSERT_EQ(output.NCLines.size(), points.size() + 1);
    EXPECT_EQ(output.NCLines.front(), "F 9 0");
    EXPECT_EQ(output.NCLines[1], "P 8 0");
    EXPECT_EQ(output.NCLines.back(), "E 8 9"); // end template with the last point
}

struct TPlacementCase {
    const char* what;
    bool xMirror;
    bool yMirror;
    const char* angle;
    const char* xDis;
    const char* yDis;
    bool lathe;
    const char* first;
    const char* second;
};

TEST(GenerateLayer, MirrorRotationOffsetAndLatheModePlaceTheFirstPoints) {
    const std::array<TPlacementCase, 8> cases = {{
        {"plain", false, false, "0", "0", "0", false, "XY;9.000;0.000", "XY;8.000;0.000"},
        {"x mirror", true, false, "0", "0", "0", false, "XY;0.000;0.000", "XY;1.000;0.000"},
        {"y mirror", false, true, "0", "0", "0", false, "XY;9.000;9.000", "XY;8.000;9.000"},
        {"angle 90", false, false, "90", "0", "0", false, "XY;0.000;9.000", "XY;0.000;8.000"},
        {"angle 360", false, false, "360", "0", "0", false, "XY;9.000;0.000", "XY;8.000;0.000"},
        {"angle 180", false, false, "180", "0", "0", false, "XY;-9.000;0.000", "XY;-8.000;0.000"},
        {"offset", false, false, "0", "5", "-2", false, "XY;14.000;-2.000", "XY;13.000;-2.000"},
        {"lathe", false, false, "0", "5", "-2", true, "XY;-14.000;-2.000", "XY;-13.000;-2.000"},
    }};
    for (const TPlacementCase& c : cases) {
        TRun run = unitSpacing();
        run.layer.XMirror = c.xMirror;
        run.layer.YMirror = c.yMirror;
        run.layer.Angle = c.angle;
        run.layer.XDis = c.xDis;
        run.layer.YDis = c.yDis;
        if (c.lathe) {
            run.profile.Y = "Z";
            run.profile.J = "K";
        }
        const std::vector<std::string> points = pointLines(run.generate());
        ASSERT_GE(points.size(), 2U) << c.what;
        EXPECT_EQ(points[0], c.first) << c.what;
        EXPECT_EQ(points[1], c.second) << c.what;
    }
}

TEST(GenerateLayer, LatheModeNeedsBothLetters) {
    TRun run = unitSpacing();
    run.profile.Y = "Z"; // J stays "J"
    EXPECT_EQ(pointLines(run.generate())[0], "XY;9.000;0.000");
}

TEST(GenerateLayer, HalfSpacingOnTwelveByTwelveRunsFromZeroToFiveAndAHalf) {
    TRun run = unitSpacing();
    run.layer.Size = "0.5";
    std::vector<std::string> art(12, std::string(12, '#'));
    run.matrix = test::matrixFromArt(art);
    const std::vector<std::string> points = pointLines(run.generate());
    ASSERT_EQ(points.size(), 144U);
    EXPECT_EQ(points.front(), "XY;5.500;0.000");
    EXPECT_EQ(points[11], "XY;0.000;0.000");
    EXPECT_EQ(points[12], "XY;0.000;0.500");
    EXPECT_EQ(points.back(), "XY;5.500;5.500");
}

TEST(GenerateLayer, EmptyMatrixWritesOnlyTheEndTemplateWithEmptyCoordinates) {
    TRun run = unitSpacing();
    run.matrix.clear();
    const TGenerateOutput output = run.generate();
    EXPECT_TRUE(output.SimulationLines.empty());
    EXPECT_EQ(output.NCLines, std::vector<std::string>{"E  "});
}

TEST(GenerateLayer, MatrixSmallerThanItsStatedSizeIsNotReadOutOfBounds) {
    TRun run = unitSpacing();
    TGenerateOutput output;
    const auto small = test::matrixFromArt({"##", "##"});
    GenerateLayer({run.layer, small, 10, 10, run.profile, run.r, run.z, false, {}}, output);
    EXPECT_EQ(pointLines(output).size(), 4U);
}

TEST(GenerateLayer, BlockNumbersRestartEveryRunAndContinueIntoTheEnd) {
    TRun run = unitSpacing();
    run.profile.BlockNumbering = true;
    run.profile.Format.Start = 5;
    run.profile.Format.Schritt = 5;
    TGenerateOutput first = run.generate();
    const TGenerateOutput second = run.generate();
    EXPECT_EQ(first.NCLines, second.NCLines);
    EXPECT_EQ(first.NCLines.front(), "N5 F 9 0");
    EXPECT_EQ(first.NCLines.back(), "N280 E 8 9"); // 55 points, then the end line
}

// Only a "-" the template line itself begins with suppresses the block number; the sign of a
// value that a placeholder puts at the start of the line stays in the program.
TEST(GenerateLayer, NegativeValueAtTheStartOfALineKeepsItsSignAndItsBlockNumber) {
    TRun run = unitSpacing();
    run.profile.BlockNumbering = true;
    run.profile.FirstPoint[0] = "[#XVAL] [#YVAL]";
    run.profile.FollowingPoints[0] = "[#XVAL] [#YVAL]";
    run.profile.FollowingPoints[1] = "-(unnumbered)";
    run.profile.End[0] = "[#FVAL]";
    run.profile.FeedZ = "-M5";
    run.layer.XDis = "-20";
    const TGenerateOutput output = run.generate();
    ASSERT_GE(output.NCLines.size(), 4U);
    EXPECT_EQ(output.NCLines[0], "N10 -11 0");
    EXPECT_EQ(output.NCLines[1], "N20 -12 0");
    EXPECT_EQ(output.NCLines[2], "(unnumbered)");
    EXPECT_EQ(output.NCLines[3], "N30 -13 0");
    EXPECT_EQ(output.NCLines.back(), "N560 -M5");
}

TEST(GenerateLayer, BufferModeCopiesSimulationLinesAndWritesNoProgram) {
    TRun run = unitSpacing();
    run.toBuffer = true;
    const TGenerateOutput output = run.generate();
    EXPECT_TRUE(output.NCLines.empty());
    EXPECT_EQ(output.BufferLines, output.SimulationLines);
    EXPECT_EQ(output.BufferLines.size(), 56U);
}

TEST(GenerateLayer, RAndZTextsFollowTheFieldsOrTheProfileVerbatim) {
    TRun run = unitSpacing();
    run.profile.FirstPoint[0] = "R[#RVAL] Z[#ZVAL] F[#FVAL] [#XAXIS][#YAXIS][#ZAXIS]";
    run.profile.SafetyDistance = "Q200";
    run.profile.InfeedDepth = "Q201";
    run.profile.FeedZ = "F50 R F M";
    run.r = "Q1";
    run.z = "-0.25";
    const TGenerateOutput output = run.generate();
    EXPECT_EQ(output.NCLines.front(), "RQ200 Z-0.25 FF50 R F M XYZ");
    EXPECT_EQ(output.SimulationLines.front(),
              "ZR;0.000;-0.250"); // partial value of "Q1": no digit before the "Q"
}

TEST(GenerateLayer, ErrorInTheMiddleKeepsTheLinesWrittenSoFar) {
    TRun run = unitSpacing();
    // Rows higher up overflow the extended range once rotated; the bottom rows still fit.
    run.layer.Size = "1e4931";
    run.layer.Angle = "45";
    run.profile.Format.Nachkommastellen = 0;
    run.profile.Format.Satzzeichen = "N";
    TGenerateOutput output;
    output.NCLines = {"kept from before"};
    output.LastUsedFormat.Satzzeichen = "old";
    const int cols = 10;
    EXPECT_THROW(
        GenerateLayer({run.layer, run.matrix, cols, cols, run.profile, run.r, run.z, false, {}},
                      output),
        korvex::base::ENumberFormatError);
    EXPECT_EQ(output.NCLines.front(), "kept from before");
    EXPECT_GT(output.NCLines.size(), 10U);
    EXPECT_LT(output.NCLines.size(), 56U);
    EXPECT_EQ(output.SimulationLines.size(),
              output.NCLines.size()); // ZR line + one per written point
    EXPECT_EQ(output.LastUsedFormat.Satzzeichen, "N");
}

} // namespace
