#include "simulation/SimulationInterpreter.h"

#include "simulation/EConvertError.h"
#include "simulation/RecordingCanvas.h"
#include "simulation/ViewCommands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>

namespace korvex::simulation {
namespace {

using Kind = RecordingCanvas::Kind;
using Points = std::vector<PixelPoint>;

constexpr Color PATH = 0x00AA00;
constexpr Color RAPID = 0x0000CC;

class Interpreter : public ::testing::Test {
  protected:
    void SetUp() override {
        image.SetWorldBox(0, 0, -1, 12, 12, 2); // about 70 pixels per unit: markers are visible
        ApplyViewPreset(image, ViewPreset::XYZ);
        image.SetCanvas(&canvas);
        interpreter.pen = {PATH, PenStyle::Solid, PenMode::Copy, true, RAPID};
    }
    PixelPoint at(long double x, long double y, long double z) {
        return image.ProjectPoint(x, y, z);
    }
    PixelPoint markerPoint(long double x, long double y, long double z, int degrees) {
        const long double a = degrees * std::numbers::pi_v<long double> / 180;
        return at(x + 0.1L * std::cos(a), y + 0.1L * std::sin(a), z);
    }

    TMathImage image{400, 400};
    RecordingCanvas canvas;
    SimulationInterpreter interpreter{image};
};

TEST_F(Interpreter, DotDrawsRapidMovePlungeAndElevenChordMarker) {
    interpreter.Auswert("ZR;2.000;-0.100", false);
    EXPECT_TRUE(canvas.records().empty());
    interpreter.Auswert("XY;10.000;5.000", false);

    const auto& r = canvas.records();
    ASSERT_EQ(r.size(), 13u);
    EXPECT_EQ(r[0].points, (Points{at(0, 0, 2), at(10, 5, 2)}));
    EXPECT_EQ(r[0].pen, (Pen{RAPID, PenStyle::Dotted, PenMode::Copy}));
    EXPECT_EQ(r[1].points, (Points{at(10, 5, 2), at(10, 5, -0.1L)}));
    EXPECT_EQ(r[1].pen, (Pen{PATH, PenStyle::Solid, PenMode::Copy}));
    for (int chord = 0; chord < 11; ++chord) {
        const auto& line = r[2 + chord];
        EXPECT_EQ(line.pen, (Pen{PATH, PenStyle::Solid, PenMode::Copy}));
        EXPECT_EQ(line.points, (Points{markerPoint(10, 5, -0.1L, 36 * chord),
                                       markerPoint(10, 5, -0.1L, 36 * chord + 36)}))
            << chord;
    }
    // The eleventh chord covers the first again; the pen rests at the centre.
    EXPECT_EQ(r[12].points, r[2].points);
    EXPECT_EQ(canvas.penPosition(), at(10, 5, -0.1L));
}

TEST_F(Interpreter, HiddenRapidMovesStillAdvanceThePreviousPoint) {
    interpreter.pen.rapidMoves = false;
    interpreter.Auswert("ZR;2;-0.1", false);
    interpreter.Auswert("XY;1;1", false);
    EXPECT_EQ(canvas.records().size(), 12u);
    for (const auto& r : canvas.records())
        EXPECT_EQ(r.pen.style, PenStyle::Solid);

    interpreter.pen.rapidMoves = true;
    canvas.clear();
    interpreter.Auswert("XY;3;4", false);
    EXPECT_EQ(canvas.records()[0].points, (Points{at(1, 1, 2), at(3, 4, 2)}));
}

TEST_F(Interpreter, SamePositionTwiceDrawsZeroLengthRapidAndThePlungeAgain) {
    interpreter.Auswert("ZR;2;-0.1", false);
    interpreter.Auswert("XY;4;4", false);
    canvas.clear();
    interpreter.Auswert("XY;4;4", false);
    ASSERT_EQ(canvas.records().size(), 13u);
    EXPECT_EQ(canvas.records()[0].points, (Points{at(4, 4, 2), at(4, 4, 2)}));
    EXPECT_EQ(canvas.records()[1].points, (Points{at(4, 4, 2), at(4, 4, -0.1L)}));
}

TEST_F(Interpreter, WithoutLevelLineEveryPlungeHasZeroLengthAtHeightZero) {
    interpreter.Auswert("XY;6;6", false);
    EXPECT_EQ(canvas.records()[0].points, (Points{at(0, 0, 0), at(6, 6, 0)}));
    EXPECT_EQ(canvas.records()[1].points, (Points{at(6, 6, 0), at(6, 6, 0)}));
}

TEST_F(Interpreter, LaterLevelLineChangesFollowingDots) {
    interpreter.Auswert("ZR;2;-0.1", false);
    interpreter.Auswert("XY;1;1", false);
    interpreter.Auswert("ZR;1.5;-0.3", false);
    canvas.clear();
    interpreter.Auswert("XY;2;2", false);
    EXPECT_EQ(canvas.records()[0].points, (Points{at(1, 1, 1.5L), at(2, 2, 1.5L)}));
    EXPECT_EQ(canvas.records()[1].points, (Points{at(2, 2, 1.5L), at(2, 2, -0.3L)}));
}

class IgnoredLine : public Interpreter, public ::testing::WithParamInterface<const char*> {};

TEST_P(IgnoredLine, DrawsNothingAndKeepsState) {
    interpreter.Auswert("ZR;2;-0.1", false);
    EXPECT_NO_THROW(interpreter.Auswert(GetParam(), false));
    EXPECT_TRUE(canvas.records().empty());
    EXPECT_EQ(interpreter.SafetyLevel(), 2);
    EXPECT_EQ(interpreter.InfeedDepth(), -0.1L);
}

INSTANTIATE_TEST_SUITE_P(Lines, IgnoredLine,
                         ::testing::Values("xy;1;2", "zr;1;2", "G0 X1 Y2", "", "X", "YX;1;2",
                                           " XY;1;2"));

class BadLine : public Interpreter, public ::testing::WithParamInterface<const char*> {};

TEST_P(BadLine, RaisesConversionErrorBeforeDrawing) {
    EXPECT_THROW(interpreter.Auswert(GetParam(), false), EConvertError);
    EXPECT_TRUE(canvas.records().empty());
}

INSTANTIATE_TEST_SUITE_P(Lines, BadLine,
                         ::testing::Values("XY;1;2;3", "XY1;2", "XY;1,5;2", "XY;;2", "XY;1;",
                                           "XY;1;x", "XY", "ZR", "ZR;2", "XY;1 2", "ZR;a;b"));

TEST_F(Interpreter, PreviewDrawsOnlyInvertingMarkersAndFollowsTheDots) {
    interpreter.pen = {0x00FFFF, PenStyle::Solid, PenMode::NotXor, true, RAPID};
    interpreter.Auswert("ZR;2;-0.1", true);
    interpreter.Auswert("XY;3;3", true);
    interpreter.Auswert("XY;5;3", true);
    ASSERT_EQ(canvas.records().size(), 22u);
    for (const auto& r : canvas.records())
        EXPECT_EQ(r.pen, (Pen{0x00FFFF, PenStyle::Solid, PenMode::NotXor}));
    EXPECT_EQ(canvas.records()[11].points[0], markerPoint(5, 3, -0.1L, 0));
    EXPECT_EQ(interpreter.PreviousPoint().x, 5);
}

TEST_F(Interpreter, ResetReturnsToOriginAndZeroLevels) {
    interpreter.Auswert("ZR;2;-0.1", false);
    interpreter.Auswert("XY;7;8", false);
    interpreter.Reset();
    canvas.clear();
    interpreter.Auswert("XY;1;1", false);
    EXPECT_EQ(canvas.records()[0].points, (Points{at(0, 0, 0), at(1, 1, 0)}));
}

TEST_F(Interpreter, MarkerRadiusSignIsIgnored) {
    interpreter.Werkzeug(6, 6, 0, -2);
    const auto negative = canvas.records();
    canvas.clear();
    interpreter.Werkzeug(6, 6, 0, 2);
    ASSERT_EQ(negative.size(), 11u);
    for (std::size_t i = 0; i < negative.size(); ++i)
        EXPECT_EQ(negative[i].points, canvas.records()[i].points);
    EXPECT_EQ(negative[0].points[0], at(8, 6, 0));
}

} // namespace
} // namespace korvex::simulation

namespace korvex::simulation {
namespace {

TEST_F(Interpreter, RandomLinesEitherDrawOrRaiseConversionError) {
    std::mt19937 random(2026);
    const std::string alphabet = "XYZR;0123456789.-+e ,x";
    for (int i = 0; i < 5000; ++i) {
        std::string line(random() % 16, ' ');
        for (char& c : line)
            c = alphabet[random() % alphabet.size()];
        if (random() % 2)
            line.replace(0, std::min<std::size_t>(3, line.size()), random() % 2 ? "XY;" : "ZR;");
        try {
            interpreter.Auswert(line, random() % 2 == 0);
        } catch (const EConvertError&) {
        }
    }
    for (const auto& r : canvas.records())
        for (const PixelPoint& p : r.points) {
            EXPECT_LE(std::abs(p.x), 16000);
            EXPECT_LE(std::abs(p.y), 16000);
        }
}

} // namespace
} // namespace korvex::simulation

namespace korvex::simulation {
namespace {

// A part turned on a rotary axis is marked along the radius, not straight down.
TEST_F(Interpreter, RotarySurfaceLinePlungesAlongTheRadiusThroughTheDot) {
    interpreter.Auswert("SF;X;R;5.000;-4.000;5.000", false);
    interpreter.Auswert("ZR;2.344;0.244", false); // a plunge 2.1 long
    interpreter.Auswert("XY;3.000;7.450", false);
    const long double du = 7.45L - 5, dz = 0.244L + 4, length = std::hypot(du, dz);
    const PixelPoint start = at(3, 7.45L + du / length * 2.1L, 0.244L + dz / length * 2.1L);
    const auto& r = canvas.records();
    ASSERT_GE(r.size(), 2u);
    ASSERT_EQ(r[1].points.size(), 2u);
    EXPECT_NEAR(r[1].points[0].x, start.x, 1);
    EXPECT_NEAR(r[1].points[0].y, start.y, 1);
    EXPECT_EQ(r[1].points[1], at(3, 7.45L, 0.244L));
    // The next dot's rapid move starts where this plunge began.
    interpreter.Auswert("XY;4.000;7.450", false);
    EXPECT_EQ(r[13].points[0], r[1].points[0]);
}

} // namespace
} // namespace korvex::simulation
