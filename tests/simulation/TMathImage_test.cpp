#include "simulation/TMathImage.h"

#include "simulation/JobView.h"
#include "simulation/EMathError.h"
#include "simulation/EMathImageError.h"
#include "simulation/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace korvex::simulation {
namespace {

using Kind = RecordingCanvas::Kind;

struct ProjectionCase {
    WorldPoint world;
    PixelPoint pixel;
};

class InitialViewProjection : public ::testing::TestWithParam<ProjectionCase> {};

TEST_P(InitialViewProjection, LandsOnExpectedPixel) {
    TMathImage image(400, 400);
    SetInitialView(image);
    EXPECT_EQ(image.ProjectPoint(GetParam().world), GetParam().pixel);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExampleAndNeighbours, InitialViewProjection,
    ::testing::Values(
        ProjectionCase{{10, 0, 0}, {253, 200}}, ProjectionCase{{-10, 0, 0}, {147, 200}},
        ProjectionCase{{0, 10, 0}, {200, 147}}, ProjectionCase{{0, -10, 0}, {200, 253}},
        ProjectionCase{{0, 0, 0}, {200, 200}},
        // Straight down z, height changes nothing but the perspective.
        ProjectionCase{{0, 0, 50}, {200, 200}},
        // At or behind the eye: clamped, the zero component stays centred.
        ProjectionCase{{10, 0, 240}, {16000, 200}}, ProjectionCase{{-10, 0, 1000}, {-16000, 200}},
        ProjectionCase{{0, 10, 240}, {200, -16000}}));

TEST(TMathImage, HalfPixelCentreRoundsToEvenNeighbour) {
    for (const auto& [size, centre] : {std::pair{401, 200}, std::pair{403, 202}}) {
        TMathImage image(size, size);
        SetInitialView(image);
        EXPECT_EQ(image.ProjectPoint(0, 0, 0), (PixelPoint{centre, centre})) << size;
    }
}

TEST(TMathImage, PerspectiveMakesNearerPointsSpreadFurther) {
    TMathImage image(400, 400);
    SetInitialView(image);
    EXPECT_GT(image.ProjectPoint(40, 0, 80).x, image.ProjectPoint(40, 0, -80).x);
}

TEST(TMathImage, UnmappablePointRaisesProjectionError) {
    TMathImage image(400, 400);
    SetInitialView(image);
    const long double huge = std::numeric_limits<long double>::max();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    for (const WorldPoint p :
         {WorldPoint{huge, 0, 0}, WorldPoint{0, -huge, 0}, WorldPoint{nan, 0, 0},
          WorldPoint{0, 0, std::numeric_limits<long double>::infinity()}}) {
        try {
            image.ProjectPoint(p);
            ADD_FAILURE() << "no error for " << static_cast<double>(p.x);
        } catch (const EMathImageError& e) {
            EXPECT_STREQ(e.what(), "D3-World to pixel transform fails");
        }
    }
}

TEST(TMathImage, ViewDistanceAndAngleAreClamped) {
    TMathImage image(400, 400);
    image.SetD3ViewDist(0);
    EXPECT_EQ(image.D3ViewDist(), 0.0001L);
    image.SetD3ViewAngle(200);
    EXPECT_EQ(image.D3ViewAngle(), 179);
    image.SetD3ViewAngle(0);
    EXPECT_EQ(image.D3ViewAngle(), 0.01L);
    image.SetD3ViewAngle(90);
    EXPECT_EQ(image.D3ViewAngle(), 90);
}

TEST(TMathImage, InvalidWorldBoxKeepsPreviousBoxAndView) {
    TMathImage image(400, 400);
    SetInitialView(image);
    const long double boxes[][6] = {{-10, -10, -10, -10, 10, 10}, // x extent 0
                                    {-10, 10, -10, 10, -10, 10},  // y extent negative
                                    {0, 0, 5, 1, 1, 5}};
    for (const auto& b : boxes) {
        EXPECT_NO_THROW(image.SetWorldBox(b[0], b[1], b[2], b[3], b[4], b[5]));
        EXPECT_EQ(image.D3WorldX1(), -80);
        EXPECT_EQ(image.D3WorldY2(), 80);
        EXPECT_EQ(image.D3WorldZ1(), -80);
        EXPECT_EQ(image.ProjectPoint(10, 0, 0), (PixelPoint{253, 200}));
    }
    image.SetD3WorldX1(80); // single bound through its setter
    EXPECT_EQ(image.D3WorldX1(), -80);
    image.SetD3WorldX1(-40);
    EXPECT_EQ(image.D3WorldX1(), -40);
}

TEST(TMathImage, ZeroAxisWeightsFailAndKeepTheMapping) {
    TMathImage image(400, 400);
    SetInitialView(image);
    image.SetD3Xscale(0);
    image.SetD3Yscale(0);
    EXPECT_THROW(image.SetD3Zscale(0), EMathError);
    EXPECT_EQ(image.ProjectPoint(0, 0, 80), (PixelPoint{200, 200}));
    EXPECT_EQ(image.ProjectPoint(0, 10, 0), (PixelPoint{200, 200})); // y weight 0 before
}

TEST(TMathImage, WithoutAspectRatioEachAxisFillsTheView) {
    TMathImage image(400, 400);
    SetInitialView(image);
    image.SetWorldBox(-80, -20, -80, 80, 20, 80);
    image.SetD3AspectRatio(false);
    // y spans 40 instead of 160: four times the pixels per unit.
    EXPECT_EQ(image.ProjectPoint(0, 2.5L, 0), (PixelPoint{200, 147}));
    EXPECT_EQ(image.ProjectPoint(10, 0, 0), (PixelPoint{253, 200}));
}

struct CornerCase {
    long double yRotation, zRotation;
    WorldPoint far, near;
};

class FarCorner : public ::testing::TestWithParam<CornerCase> {};

TEST_P(FarCorner, IsTheCornerAwayFromTheEye) {
    TMathImage image(400, 400);
    image.SetWorldBox(-1, -2, -3, 1, 2, 3);
    image.SetD3Yrotation(GetParam().yRotation);
    image.SetD3Zrotation(GetParam().zRotation);
    const auto same = [](WorldPoint a, WorldPoint b) {
        return a.x == b.x && a.y == b.y && a.z == b.z;
    };
    EXPECT_TRUE(same(image.FarCorner(), GetParam().far));
    EXPECT_TRUE(same(image.NearCorner(), GetParam().near));
}

INSTANTIATE_TEST_SUITE_P(
    Views, FarCorner,
    ::testing::Values(
        // Looking straight down: four lower corners tie, the last visited wins.
        CornerCase{0, -90, {1, 2, -3}, {-1, -2, 3}}, CornerCase{0, 30, {1, 2, -3}, {-1, -2, 3}},
        CornerCase{45, 45, {-1, -2, -3}, {1, 2, 3}}, CornerCase{55, -105, {1, 2, -3}, {-1, -2, 3}},
        CornerCase{135, 45, {-1, -2, 3}, {1, 2, -3}}));

TEST(TMathImage, UnprojectInvertsProjectInTopView) {
    TMathImage image(400, 400);
    SetInitialView(image);
    image.SetWorldBox(-80, -80, -20, 80, 80, 40); // box centre z = 10
    for (long double x = -75; x <= 75; x += 12.5L)
        for (long double y = -60; y <= 60; y += 7.3L) {
            const PixelPoint p = image.ProjectPoint(x, y, 10);
            const WorldPoint w = image.UnprojectPixel(p.x, p.y);
            EXPECT_NEAR(static_cast<double>(w.x), static_cast<double>(x), 0.1);
            EXPECT_NEAR(static_cast<double>(w.y), static_cast<double>(y), 0.1);
            EXPECT_NEAR(static_cast<double>(w.z), 10.0, 1e-9);
        }
}

class Drawing : public ::testing::Test {
  protected:
    void SetUp() override {
        SetInitialView(image);
        image.SetCanvas(&canvas);
    }
    TMathImage image{400, 400};
    RecordingCanvas canvas;
};

TEST_F(Drawing, SegmentIsDrawnThereAndBackSoBothEndsAreSet) {
    image.DrawSegment3D({-10, 0, 0}, {10, 0, 0});
    ASSERT_EQ(canvas.records().size(), 1u);
    EXPECT_EQ(canvas.records()[0].points,
              (std::vector<PixelPoint>{{147, 200}, {253, 200}, {147, 200}}));
}

TEST_F(Drawing, ArrowHeadStrokesMakeFortyFiveDegreesWithTheShaft) {
    image.DrawArrow3D({-10, 0, 0}, {10, 0, 0});
    ASSERT_EQ(canvas.count(Kind::Line), 2u);
    const auto& r = canvas.records();
    EXPECT_EQ(r[1].points, (std::vector<PixelPoint>{{253, 200}, {247, 194}}));
    EXPECT_EQ(r[2].points, (std::vector<PixelPoint>{{253, 200}, {247, 206}}));
}

TEST_F(Drawing, ZeroLengthArrowDrawsOnlyItsPixel) {
    image.DrawArrow3D({1, 1, 0}, {1.01L, 1, 5});
    ASSERT_EQ(canvas.records().size(), 1u);
    EXPECT_EQ(canvas.count(Kind::Polyline), 1u);
    const auto& pts = canvas.records()[0].points;
    EXPECT_EQ(pts[0], pts[1]);
}

TEST_F(Drawing, WireBoxIsTwoClosedRectanglesAndFourUprights) {
    image.SetD3Yrotation(55);
    image.SetD3Zrotation(-105);
    image.DrawWireBox3D(-10, -20, 0, 30, 40, 1);
    ASSERT_EQ(canvas.count(Kind::Polyline), 2u);
    ASSERT_EQ(canvas.count(Kind::Line), 4u);
    const auto& lower = canvas.records()[0].points;
    ASSERT_EQ(lower.size(), 5u);
    EXPECT_EQ(lower.front(), lower.back());
    EXPECT_EQ(lower[1], image.ProjectPoint(30, -20, 0));
    EXPECT_EQ(
        canvas.records()[5].points,
        (std::vector<PixelPoint>{image.ProjectPoint(-10, 40, 0), image.ProjectPoint(-10, 40, 1)}));
}

TEST_F(Drawing, OriginAxesOnlyWhereTheBoxHoldsTheOrigin) {
    struct Case {
        long double box[6];
        std::size_t segments;
    };
    const Case cases[] = {{{-80, -80, -80, 80, 80, 80}, 3},
                          {{0, 0, 0, 10, 10, 10}, 3}, // bounds are inclusive
                          {{1, -5, -5, 10, 5, 5}, 1}, // x does not hold 0: only the x axis
                          {{1, 1, 1, 10, 10, 10}, 0}};
    for (const Case& c : cases) {
        canvas.clear();
        image.SetWorldBox(c.box[0], c.box[1], c.box[2], c.box[3], c.box[4], c.box[5]);
        image.DrawOriginAxes();
        EXPECT_EQ(canvas.count(Kind::Polyline), c.segments) << static_cast<double>(c.box[0]);
    }
}

TEST_F(Drawing, BackWallsAreNineEdgesFromTheFarCorner) {
    image.SetD3Yrotation(55);
    image.SetD3Zrotation(-105);
    image.DrawBackWalls();
    ASSERT_EQ(canvas.count(Kind::Polyline), 9u);
    const PixelPoint far = image.ProjectPoint(image.FarCorner());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(canvas.records()[i].points[0], far);
    // The near corner itself is never reached: the walls hide nothing in front.
    const PixelPoint near = image.ProjectPoint(image.NearCorner());
    for (const auto& r : canvas.records())
        EXPECT_NE(r.points[1], near);
}

TEST_F(Drawing, BackWallsRunInTheirFixedOrder) {
    // Top view: the tie makes F = (X2, Y2, Z1) and N = (X1, Y1, Z2).
    image.SetWorldBox(-10, -20, -30, 10, 20, 30);
    image.DrawBackWalls();
    const WorldPoint edges[9][2] = {
        {{10, 20, -30}, {-10, 20, -30}}, {{10, 20, -30}, {10, -20, -30}},
        {{10, 20, -30}, {10, 20, 30}},   {{10, -20, -30}, {-10, -20, -30}},
        {{10, -20, -30}, {10, -20, 30}}, {{10, 20, 30}, {-10, 20, 30}},
        {{10, 20, 30}, {10, -20, 30}},   {{-10, 20, -30}, {-10, -20, -30}},
        {{-10, 20, -30}, {-10, 20, 30}}};
    ASSERT_EQ(canvas.records().size(), 9u);
    for (int i = 0; i < 9; ++i) {
        const PixelPoint from = image.ProjectPoint(edges[i][0]);
        const PixelPoint to = image.ProjectPoint(edges[i][1]);
        EXPECT_EQ(canvas.records()[i].points, (std::vector<PixelPoint>{from, to, from})) << i + 1;
    }
}

TEST_F(Drawing, TickMarksHangBelowOnXAndYAndLeftOnZ) {
    image.SetD3Yrotation(55);
    image.SetD3Zrotation(-105);
    image.DrawTickedAxes("x", "y", "z", 4, 4, 4, 0, 0, 0);
    const auto& r = canvas.records();
    const auto tickAfter = [&](std::size_t from, const std::string& text) {
        const auto it = std::find_if(r.begin() + static_cast<std::ptrdiff_t>(from), r.end(),
                                     [&](const auto& rec) { return rec.text == text; });
        EXPECT_NE(it, r.end()) << text;
        return static_cast<std::size_t>(it - r.begin());
    };
    const int w = RecordingCanvas::GLYPH_WIDTH * 3; // "-70"
    // x axis at (y, z) = (Y1, Z1): its first tick -70.
    const std::size_t x = tickAfter(0, "-70");
    const PixelPoint px = image.ProjectPoint(-70, -80, -80);
    EXPECT_EQ(r[x].points[0], (PixelPoint{px.x - w / 2, px.y + 6}));
    EXPECT_EQ(r[x + 1].points, (std::vector<PixelPoint>{px, {px.x, px.y + 6}}));
    // z axis at (x, y) = (X1, Y1): the third "-70".
    const std::size_t z = tickAfter(tickAfter(x + 1, "-70") + 1, "-70");
    const PixelPoint pz = image.ProjectPoint(-80, -80, -70);
    EXPECT_EQ(r[z].points[0], (PixelPoint{pz.x - w - 6, pz.y - RecordingCanvas::TEXT_HEIGHT / 2}));
    EXPECT_EQ(r[z + 1].points, (std::vector<PixelPoint>{pz, {pz.x - 6, pz.y}}));
    // The z label sits above the arrow tip.
    const PixelPoint tip = image.ProjectPoint(-80, -80, 80);
    EXPECT_EQ(r[tickAfter(0, "z")].points[0],
              (PixelPoint{tip.x, tip.y - 6 - RecordingCanvas::TEXT_HEIGHT}));
}

TEST_F(Drawing, TickedAxesLabelAndNumberTheAxes) {
    image.DrawTickedAxes("x", "y", "z", 4, 4, 4, 0, 0, 0);
    std::vector<std::string> texts;
    for (const auto& r : canvas.records())
        if (r.kind == Kind::Text) texts.push_back(r.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"x", "y", "z", "-70", "-30", "10", "50", "-70",
                                               "-30", "10", "50", "-70", "-30", "10", "50"}));
    // The x label ends 3 pixels left of the arrow tip, 6 below it.
    const PixelPoint tip = image.ProjectPoint(80, -80, -80);
    const auto& label = canvas.records()[3];
    ASSERT_EQ(label.kind, Kind::Text);
    const PixelPoint labelAt{tip.x - RecordingCanvas::GLYPH_WIDTH - 3, tip.y + 6};
    EXPECT_EQ(label.points[0], labelAt);
    EXPECT_EQ(label.brush.style, BrushStyle::Clear);
    EXPECT_EQ(label.font.size, 9);
    // Tick numbers are one size smaller; pen, brush and font are back afterwards.
    const auto& tick = *std::find_if(canvas.records().begin(), canvas.records().end(),
                                     [](const auto& r) { return r.text == "-70"; });
    EXPECT_EQ(tick.font.size, 8);
    EXPECT_EQ(canvas.font().size, 9);
    EXPECT_EQ(canvas.brush().style, BrushStyle::Solid);
}

TEST_F(Drawing, AxisPlacementPicksTheBoxEdge) {
    image.SetWorldBox(-10, -20, -30, 10, 20, 30);
    const struct {
        int place;
        WorldPoint xTip;
    } cases[] = {{0, {10, -20, -30}},
                 {1, {10, -20, 30}},
                 {2, {10, 20, -30}},
                 {3, {10, 20, 30}},
                 {7, {10, -20, -30}}};
    for (const auto& c : cases) {
        canvas.clear();
        image.DrawTickedAxes("x", "y", "z", 0, 0, 0, c.place, 0, 0);
        EXPECT_EQ(canvas.records()[0].points[1], image.ProjectPoint(c.xTip)) << c.place;
        EXPECT_EQ(canvas.count(Kind::Text), 3u); // labels only: no ticks wanted
    }
}

TEST_F(Drawing, ClearImageFillsTheWholeControlWithTheBrush) {
    image.SetBrush({0x123456, BrushStyle::Solid});
    image.ClearImage();
    ASSERT_EQ(canvas.records().size(), 1u);
    EXPECT_EQ(canvas.records()[0].kind, Kind::FillRect);
    EXPECT_EQ(canvas.records()[0].points, (std::vector<PixelPoint>{{0, 0}, {400, 400}}));
    EXPECT_EQ(canvas.records()[0].brush.color, 0x123456u);
}

TEST_F(Drawing, RestorePenBringsBackTheStoredPen) {
    image.SetPen({0x0000FF, PenStyle::Solid, PenMode::Copy});
    canvas.setPen({0x00FF00, PenStyle::Dotted, PenMode::NotXor});
    image.RestorePen();
    EXPECT_EQ(canvas.pen(), (Pen{0x0000FF, PenStyle::Solid, PenMode::Copy}));
}

TEST(TMathImage, DrawingWithoutSurfaceIsRefused) {
    TMathImage image(100, 100);
    try {
        image.MoveTo3D(0, 0, 0);
        FAIL() << "no error";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "Image needs Bitmap for Drawing");
    }
}

TEST(TMathImage, ResizeRecentresAndNotifies) {
    TMathImage image(400, 400);
    SetInitialView(image);
    int notified = 0;
    image.OnResize = [&] { ++notified; };
    image.SetSize(600, 400);
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(image.ProjectPoint(10, 0, 0), (PixelPoint{353, 200}));
}

} // namespace
} // namespace korvex::simulation
