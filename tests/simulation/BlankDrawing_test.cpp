#include "simulation/BlankDrawing.h"

#include "simulation/RecordingCanvas.h"
#include "simulation/ViewCommands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <set>
#include <utility>

namespace korvex::simulation {
namespace {

using Kind = RecordingCanvas::Kind;
using Edge = std::pair<std::pair<int, int>, std::pair<int, int>>;

constexpr Color BLANK = 0x808000;

class Blank : public ::testing::Test {
  protected:
    void SetUp() override {
        image.SetWorldBox(-120, -120, -120, 120, 120, 120);
        ApplyViewPreset(image, ViewPreset::XYZ);
        image.SetCanvas(&canvas);
    }

    Edge edge(const WorldPoint& a, const WorldPoint& b) const {
        const PixelPoint p = image.ProjectPoint(a);
        const PixelPoint q = image.ProjectPoint(b);
        const std::pair<int, int> u{p.x, p.y}, v{q.x, q.y};
        return u < v ? Edge{u, v} : Edge{v, u};
    }
    // The visible strokes, without direction and without zero-length moves.
    std::set<Edge> drawnEdges() const {
        std::set<Edge> edges;
        for (const auto& r : canvas.records()) {
            if (r.kind != Kind::Line || r.points[0] == r.points[1]) continue;
            const std::pair<int, int> u{r.points[0].x, r.points[0].y},
                v{r.points[1].x, r.points[1].y};
            edges.insert(u < v ? Edge{u, v} : Edge{v, u});
        }
        return edges;
    }
    // Circles of 36 corners at 10-degree steps and the lines between them.
    std::set<Edge> cylinderEdges(const auto& point) const {
        std::set<Edge> edges;
        for (int k = 0; k < 36; ++k) {
            const long double a = k * 10 * std::numbers::pi_v<long double> / 180;
            const long double b = (k + 1) * 10 * std::numbers::pi_v<long double> / 180;
            edges.insert(edge(point(a, true), point(b, true)));
            edges.insert(edge(point(a, false), point(b, false)));
            edges.insert(edge(point(a, true), point(a, false)));
        }
        std::erase_if(edges, [](const Edge& e) { return e.first == e.second; });
        return edges;
    }

    TMathImage image{400, 400};
    RecordingCanvas canvas;
};

TEST_F(Blank, DefaultBoxIsTwelveEdgesFromZeroToItsSize) {
    Drawblank(image, "ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10", BLANK);
    std::set<Edge> expected;
    const long double xs[] = {0, 100}, ys[] = {0, 50}, zs[] = {-10, 0};
    for (const long double x : xs)
        for (const long double y : ys)
            expected.insert(edge({x, y, -10}, {x, y, 0}));
    for (const long double z : zs) {
        expected.insert(edge({0, 0, z}, {100, 0, z}));
        expected.insert(edge({0, 50, z}, {100, 50, z}));
        expected.insert(edge({0, 0, z}, {0, 50, z}));
        expected.insert(edge({100, 0, z}, {100, 50, z}));
    }
    EXPECT_EQ(drawnEdges(), expected);
    EXPECT_EQ(canvas.count(Kind::Line), 12u);
    EXPECT_EQ(canvas.records()[0].points[0], image.ProjectPoint(0, 50, 0));
    for (const auto& r : canvas.records())
        EXPECT_EQ(r.pen.color, BLANK);
}

TEST_F(Blank, CylinderAlongZHasTwoPolygonsAndThirtySixSides) {
    Drawblank(image, "ROHDEF ZYL1 XC0 YC0 RA50 ZP0 ZM-10", BLANK);
    const auto point = [](long double a, bool first) {
        return WorldPoint{50 * std::cos(a), 50 * std::sin(a), first ? 0.0L : -10.0L};
    };
    EXPECT_EQ(drawnEdges(), cylinderEdges(point));
}

TEST_F(Blank, CylinderAlongXHasCirclesInTheEndPlanes) {
    Drawblank(image, "ROHDEF ZYL2 XM0 YC0 RA25 ZC0 XP50", BLANK);
    const auto point = [](long double a, bool first) {
        return WorldPoint{first ? 50.0L : 0.0L, 25 * std::cos(a), 25 * std::sin(a)};
    };
    EXPECT_EQ(drawnEdges(), cylinderEdges(point));
}

TEST_F(Blank, CylinderAlongYHasCirclesInTheEndPlanes) {
    Drawblank(image, "ROHDEF ZYL3 XC0 YM-25 RA30 ZC0 YP25", BLANK);
    const auto point = [](long double a, bool first) {
        return WorldPoint{30 * std::cos(a), first ? 25.0L : -25.0L, 30 * std::sin(a)};
    };
    EXPECT_EQ(drawnEdges(), cylinderEdges(point));
}

TEST_F(Blank, CylinderRunsClockwiseAndStartsWithTheLineAtAngleZero) {
    Drawblank(image, "ROHDEF ZYL1 XC10 YC20 RA50 ZP0 ZM-10", BLANK);
    const auto& r = canvas.records();
    // First repetition: two zero-length arcs, then the line along the cylinder at angle 0.
    EXPECT_EQ(r[0].points[0], r[0].points[1]);
    EXPECT_EQ(r[2].points, (std::vector<PixelPoint>{image.ProjectPoint(60, 20, -10),
                                                    image.ProjectPoint(60, 20, 0)}));
    // Second repetition: from angle 0 to 350 degrees on the upper circle.
    const long double a = 350 * std::numbers::pi_v<long double> / 180;
    EXPECT_EQ(r[3].points[1], image.ProjectPoint(10 + 50 * std::cos(a), 20 + 50 * std::sin(a), 0));
}

TEST_F(Blank, LastShapeWordWins) {
    Drawblank(image, "ROHDEF QUAD ZYL3 XC0 YM-25 RA30 ZC0 YP25", BLANK);
    const auto mixed = drawnEdges();
    canvas.clear();
    Drawblank(image, "ROHDEF ZYL3 XC0 YM-25 RA30 ZC0 YP25", BLANK);
    EXPECT_EQ(mixed, drawnEdges());
}

TEST_F(Blank, NoShapeWordDrawsNothing) {
    Drawblank(image, "ROHDEF XM0 YP50 ZP0", BLANK);
    Drawblank(image, "quad XM0", BLANK);
    EXPECT_TRUE(canvas.records().empty());
}

TEST_F(Blank, KeepsTheCanvasPenMode) {
    canvas.setPen({0, PenStyle::Dotted, PenMode::NotXor});
    Drawblank(image, "ROHDEF QUAD XM0 YP50 ZP0 XP100 YM0 ZM-10", BLANK);
    for (const auto& r : canvas.records())
        EXPECT_EQ(r.pen, (Pen{BLANK, PenStyle::Solid, PenMode::NotXor}));
}

} // namespace
} // namespace korvex::simulation

namespace korvex::simulation {
namespace {

TEST_F(Blank, RandomDefinitionsNeverFail) {
    std::mt19937 random(7);
    const char* const words[] = {"ROHDEF ", "QUAD ", "ZYL1 ", "ZYL2 ", "ZYL3 ", "XM", "XP",  "XC",
                                 "YM",      "YP",    "YC",    "ZM",    "ZP",    "ZC", "RA",  "-",
                                 "+",       ".",     "1",     "25",    "1e9",   " ",  "abc", ","};
    for (int i = 0; i < 2000; ++i) {
        std::string text;
        for (int n = random() % 20; n > 0; --n)
            text += words[random() % std::size(words)];
        EXPECT_NO_THROW(Drawblank(image, text, BLANK)) << text;
    }
}

} // namespace
} // namespace korvex::simulation
