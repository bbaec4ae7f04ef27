#include "simulation/SimulationView.h"

#include "simulation/JobView.h"
#include "simulation/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace korvex::simulation {
namespace {

using Kind = RecordingCanvas::Kind;

class Pass : public ::testing::Test {
  protected:
    void SetUp() override {
        SetInitialView(image);
        image.SetCanvas(&canvas);
        view.colors = {0xFFFFFF, 0x111111, 0x222222, 0x333333, 0x444444};
        view.processMessages = [this] { ++messageRounds; };
    }
    std::size_t countWithColor(Color color) const {
        return static_cast<std::size_t>(
            std::count_if(canvas.records().begin(), canvas.records().end(),
                          [color](const auto& r) { return r.pen.color == color; }));
    }

    TMathImage image{400, 400};
    RecordingCanvas canvas;
    SimulationView view{image};
    int messageRounds = 0;
};

const std::vector<std::string> TWO_DOTS = {"ZR;2.000;-0.100", "XY;9.000;0.000", "XY;8.000;0.000"};

TEST_F(Pass, NormalPassPaintsBackgroundWallsBlankThenDots) {
    view.showRapidMoves = true;
    const auto result =
        view.Drawsimulation(TWO_DOTS, "ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10", false);
    EXPECT_FALSE(result.stoppedByError);
    EXPECT_EQ(result.linesEvaluated, 3u);
    const auto& r = canvas.records();
    ASSERT_EQ(r[0].kind, Kind::FillRect);
    EXPECT_EQ(r[0].brush.color, 0xFFFFFFu);
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(r[i].pen.color, 0x111111u) << i; // back walls
    for (int i = 10; i < 22; ++i)
        EXPECT_EQ(r[i].pen.color, 0x444444u) << i;                          // blank box
    EXPECT_EQ(r[22].pen, (Pen{0x333333, PenStyle::Dotted, PenMode::Copy})); // first rapid move
    EXPECT_EQ(countWithColor(0x222222), 2u * 12u);                          // plunges, markers
    EXPECT_EQ(r.size(), 22u + 2u * 13u);
    EXPECT_EQ(messageRounds, 2);
}

TEST_F(Pass, WindowGetsToRepaintBeforeTheBlankAndBeforeTheDots) {
    std::vector<std::size_t> drawnAtRound;
    view.processMessages = [&] { drawnAtRound.push_back(canvas.records().size()); };
    view.Drawsimulation(TWO_DOTS, "ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10", false);
    // Background and back walls, then also the twelve blank edges.
    EXPECT_EQ(drawnAtRound, (std::vector<std::size_t>{1 + 9, 1 + 9 + 12}));
}

TEST_F(Pass, AxesAppearOnlyWhenShown) {
    view.Drawsimulation(TWO_DOTS, "", false);
    EXPECT_EQ(canvas.count(Kind::Text), 0u);
    canvas.clear();
    view.showAxes = true;
    view.Drawsimulation(TWO_DOTS, "", false);
    EXPECT_EQ(canvas.count(Kind::Text), 15u); // three labels, four ticks on each axis
    // Arrows and ticks in the axes colour, the origin axes too.
    EXPECT_EQ(canvas.count(Kind::Polyline), 3u + 3u + 9u);
}

TEST_F(Pass, ThirdLineBadShowsTheFirstTwoAndStopsQuietly) {
    const auto result = view.Drawsimulation(
        {"ZR;2.000;-0.100", "XY;1.000;2.000", "XY;1;x", "XY;5.000;5.000"}, "", false);
    EXPECT_TRUE(result.stoppedByError);
    EXPECT_EQ(result.linesEvaluated, 2u);
    EXPECT_EQ(countWithColor(0x222222), 12u); // one plunge and one marker
    EXPECT_EQ(canvas.penPosition(), image.ProjectPoint(1, 2, -0.1L));
}

TEST_F(Pass, MissingSurfaceEndsThePassQuietly) {
    const auto result = view.Drawsimulation(TWO_DOTS, "", false);
    EXPECT_FALSE(result.stoppedByError);
    canvas.clear();
    image.SetCanvas(nullptr);
    EXPECT_TRUE(view.Drawsimulation(TWO_DOTS, "", false).stoppedByError);
}

TEST_F(Pass, UnprojectableBlankStopsThePassBeforeTheDots) {
    // A corner 10^4931 away, above the eye: its pixel overflows even the extended range.
    const std::string huge = "1" + std::string(4931, '0');
    const auto result = view.Drawsimulation(
        TWO_DOTS, "ROHDEF QUAD XM" + huge + " YP50 ZP" + huge + " XP100 YM0 ZM-10", false);
    EXPECT_TRUE(result.stoppedByError);
    EXPECT_EQ(result.linesEvaluated, 0u);
    EXPECT_EQ(canvas.count(Kind::Polyline), 9u); // the back walls stay
    EXPECT_EQ(canvas.count(Kind::Line), 0u);     // neither blank edges nor dots
}

TEST_F(Pass, PreviewDrawsOnlyInvertingYellowMarkers) {
    view.showRapidMoves = true;
    const auto result =
        view.Drawsimulation(TWO_DOTS, "ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10", true);
    EXPECT_EQ(result.linesEvaluated, 3u);
    ASSERT_EQ(canvas.records().size(), 22u);
    for (const auto& r : canvas.records()) {
        EXPECT_EQ(r.kind, Kind::Line);
        EXPECT_EQ(r.pen, (Pen{PREVIEW_DOT_COLOR, PenStyle::Solid, PenMode::NotXor}));
    }
    EXPECT_EQ(messageRounds, 1);
}

TEST_F(Pass, EveryPassStartsFromTheOriginAndEndsZoomRectangleMode) {
    view.showRapidMoves = true;
    view.Drawsimulation(TWO_DOTS, "", false);
    view.zoomRectangleMode = true;
    canvas.clear();
    view.Drawsimulation({"XY;3;3"}, "", false);
    EXPECT_FALSE(view.zoomRectangleMode);
    const auto rapid = std::find_if(canvas.records().begin(), canvas.records().end(),
                                    [](const auto& r) { return r.pen.style == PenStyle::Dotted; });
    ASSERT_NE(rapid, canvas.records().end());
    EXPECT_EQ(rapid->points[0], image.ProjectPoint(0, 0, 0));
}

TEST_F(Pass, RubberBandErasesThePreviousBoxAndRestoresThePen) {
    image.SetPen({0x010101, PenStyle::Solid, PenMode::Copy});
    view.DrawZoomRectangle(253, 147);
    EXPECT_EQ(canvas.records().size(), 6u); // two rectangles, four uprights
    const auto firstBox = canvas.records();
    view.DrawZoomRectangle(300, 300);
    ASSERT_EQ(canvas.records().size(), 18u);
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(canvas.records()[6 + i].points, firstBox[i].points);
    for (const auto& r : canvas.records())
        EXPECT_EQ(r.pen, (Pen{MARKER_COLOR, PenStyle::Solid, PenMode::NotXor}));
    EXPECT_EQ(canvas.pen(), (Pen{0x010101, PenStyle::Solid, PenMode::Copy}));
    EXPECT_NEAR(static_cast<double>(view.lastMarker.x), 10 * (300 - 200) / 53.0, 0.2);
}

TEST_F(Pass, PickCrosshairLiesAtTheInfeedDepth) {
    const WorldPoint w = view.DrawPickCrosshair(253, 94, -0.5L);
    EXPECT_EQ(w.z, -0.5L);
    EXPECT_NEAR(static_cast<double>(w.x), 10, 0.1);
    EXPECT_NEAR(static_cast<double>(w.y), 20, 0.1);
    ASSERT_EQ(canvas.records().size(), 2u);
    EXPECT_EQ(canvas.records()[0].points[1], image.ProjectPoint(w.x + 100, w.y, -0.5L));
    view.DrawPickCrosshair(260, 150, -0.5L);
    EXPECT_EQ(canvas.records().size(), 6u); // old one erased, new one drawn
    EXPECT_EQ(canvas.records()[2].points, canvas.records()[0].points);
}

} // namespace
} // namespace korvex::simulation
