#include "simulation/RasterCanvas.h"

#include "simulation/SimulationView.h"
#include "simulation/TMathImage.h"

#include "simulation/JobView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace korvex::simulation {
namespace {

constexpr RasterCanvas::Pixel WHITE = 0xFFFFFFFF;
constexpr RasterCanvas::Pixel BLACK = 0xFF000000;

using PixelSet = std::set<std::pair<int, int>>; // (x, y)

PixelSet pixelsOf(const RasterCanvas& canvas, RasterCanvas::Pixel value) {
    PixelSet found;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.pixel(x, y) == value) found.insert({x, y});
    return found;
}

PixelSet parsePixels(const std::string& text, int shift) {
    PixelSet pixels;
    std::istringstream in(text);
    int x = 0, y = 0;
    char comma = 0;
    while (in >> x >> comma >> y)
        pixels.insert({x + shift, y + shift});
    return pixels;
}

std::vector<RasterCanvas::Pixel> snapshot(const RasterCanvas& canvas) {
    return {canvas.bits(), canvas.bits() + canvas.width() * canvas.height()};
}

// The platform's line walk, step by step and unclipped: each pixel of from..to without the
// last, with its place in the dot pattern.
std::vector<std::pair<PixelPoint, long long>> walk(PixelPoint from, PixelPoint to) {
    const long long dx = static_cast<long long>(to.x) - from.x;
    const long long dy = static_cast<long long>(to.y) - from.y;
    const bool xMajor = std::llabs(dx) > std::llabs(dy);
    const long long length = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    // Halfway cases step late in octants 1, 2, 4, 7 and early in 3, 5, 6, 8.
    const bool early =
        (dy > 0 && dx <= 0 && -dx <= dy) || (dy <= 0 && dx < 0) || (dy <= 0 && dx >= 0 && dx > -dy);
    std::vector<std::pair<PixelPoint, long long>> pixels;
    long long err = 2 * minor - length;
    PixelPoint p = from;
    for (long long i = 0; i < length; ++i) {
        pixels.push_back({p, i});
        if (err + (early ? 1 : 0) > 0) {
            (xMajor ? p.y : p.x) += (xMajor ? dy : dx) > 0 ? 1 : -1;
            err += 2 * minor - 2 * length;
        } else {
            err += 2 * minor;
        }
        (xMajor ? p.x : p.y) += (xMajor ? dx : dy) > 0 ? 1 : -1;
    }
    return pixels;
}

TEST(RasterCanvas, LineDrawsItsPixelsWithoutTheLast) {
    struct Row {
        PixelPoint from, to;
        const char* pixels;
    };
    // Halfway steps fall towards smaller y on shallow lines and towards smaller x on steep
    // ones, whichever way round the line is drawn.
    const Row rows[] = {
        {{0, 0}, {4, 2}, "0,0 1,0 2,1 3,1"},         // octant 1
        {{0, 0}, {2, 4}, "0,0 0,1 1,2 1,3"},         // 2
        {{0, 0}, {-2, 4}, "0,0 -1,1 -1,2 -2,3"},     // 3
        {{0, 0}, {-4, 2}, "0,0 -1,0 -2,1 -3,1"},     // 4
        {{0, 0}, {-4, -2}, "0,0 -1,-1 -2,-1 -3,-2"}, // 5
        {{0, 0}, {-2, -4}, "0,0 -1,-1 -1,-2 -2,-3"}, // 6
        {{0, 0}, {2, -4}, "0,0 0,-1 1,-2 1,-3"},     // 7
        {{0, 0}, {4, -2}, "0,0 1,-1 2,-1 3,-2"},     // 8
        {{1, 1}, {6, 3}, "1,1 2,1 3,2 4,2 5,3"},
        {{6, 3}, {1, 1}, "6,3 5,3 4,2 3,2 2,1"},
        {{0, 0}, {5, 0}, "0,0 1,0 2,0 3,0 4,0"},
        {{5, 0}, {0, 0}, "5,0 4,0 3,0 2,0 1,0"},
        {{0, 0}, {0, 3}, "0,0 0,1 0,2"},
        {{0, 3}, {0, 0}, "0,3 0,2 0,1"},
        {{0, 0}, {3, 3}, "0,0 1,1 2,2"},
        {{3, 3}, {0, 0}, "3,3 2,2 1,1"},
        {{0, 3}, {3, 0}, "0,3 1,2 2,1"},
        {{3, 0}, {0, 3}, "3,0 2,1 1,2"},
        {{2, 2}, {2, 2}, ""},
    };
    constexpr int SHIFT = 8; // keeps the negative rows inside the buffer
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "(" << row.from.x << "," << row.from.y << ") to ("
                                          << row.to.x << "," << row.to.y << ")");
        const PixelSet expected = parsePixels(row.pixels, SHIFT);
        RasterCanvas byLine(20, 20);
        byLine.moveTo(row.from.x + SHIFT, row.from.y + SHIFT);
        byLine.lineTo(row.to.x + SHIFT, row.to.y + SHIFT);
        EXPECT_EQ(pixelsOf(byLine, BLACK), expected);
        EXPECT_EQ(byLine.penPosition(), (PixelPoint{row.to.x + SHIFT, row.to.y + SHIFT}));
        if (row.from == row.to) continue; // a polyline on one pixel sets it, see below
        RasterCanvas byPolyline(20, 20);
        const PixelPoint points[] = {{row.from.x + SHIFT, row.from.y + SHIFT},
                                     {row.to.x + SHIFT, row.to.y + SHIFT}};
        byPolyline.polyline(points);
        EXPECT_EQ(pixelsOf(byPolyline, BLACK), expected);
    }
}

TEST(RasterCanvas, SegmentThereAndBackSetsBothEndsAndOnePixelSegmentIsVisible) {
    RasterCanvas canvas(20, 20);
    const PixelPoint segment[] = {{2, 3}, {9, 6}, {2, 3}};
    canvas.polyline(segment);
    EXPECT_EQ(canvas.pixel(2, 3), BLACK);
    EXPECT_EQ(canvas.pixel(9, 6), BLACK);
    const PixelPoint dot[] = {{15, 15}, {15, 15}, {15, 15}};
    canvas.polyline(dot);
    EXPECT_EQ(canvas.pixel(15, 15), BLACK);
    EXPECT_EQ(pixelsOf(canvas, BLACK).size(), 9u);
}

TEST(RasterCanvas, ClosedNotXorPathInvertsEachPixelOnceAndTwiceRestores) {
    const std::vector<PixelPoint> path = {{10, 10}, {40, 12}, {45, 35}, {20, 40},
                                          {8, 25},  {3, 14},  {10, 10}};
    constexpr Color PEN = 0x00FFFF; // the preview's yellow
    for (const bool chained : {false, true}) {
        SCOPED_TRACE(chained ? "move-to and line-to" : "polyline");
        RasterCanvas canvas(50, 45);
        // A background of several colours, so that an inversion is seen everywhere.
        const Color stripes[] = {0xFFFFFF, 0x000000, 0x336699, 0x0000FF, 0xC0C0C0};
        for (int i = 0; i < 5; ++i) {
            canvas.setBrush({stripes[i], BrushStyle::Solid});
            canvas.fillRect(0, i * 9, 50, i * 9 + 9);
        }
        const auto before = snapshot(canvas);
        canvas.setPen({PEN, PenStyle::Solid, PenMode::NotXor});
        const auto draw = [&] {
            if (chained) {
                canvas.moveTo(path[0].x, path[0].y);
                for (std::size_t i = 1; i < path.size(); ++i)
                    canvas.lineTo(path[i].x, path[i].y);
            } else {
                canvas.polyline(path);
            }
        };

        draw();
        const auto once = snapshot(canvas);
        long long strokeLength = 0;
        for (std::size_t i = 1; i < path.size(); ++i)
            strokeLength +=
                std::max(std::abs(path[i].x - path[i - 1].x), std::abs(path[i].y - path[i - 1].y));
        long long changed = 0;
        const RasterCanvas::Pixel source = RasterCanvas::toPixel(PEN);
        for (std::size_t i = 0; i < once.size(); ++i) {
            if (once[i] == before[i]) continue;
            ++changed;
            EXPECT_EQ(once[i], (~(source ^ before[i]) & 0x00FFFFFFu) | 0xFF000000u);
        }
        EXPECT_EQ(changed, strokeLength); // every pixel of the outline exactly once
        for (const PixelPoint& joint : path) {
            const std::size_t at = static_cast<std::size_t>(joint.y * 50 + joint.x);
            EXPECT_NE(once[at], before[at]) << "joint " << joint.x << "," << joint.y;
        }

        draw();
        EXPECT_EQ(snapshot(canvas), before);
    }
}

TEST(RasterCanvas, DottedPenIsThreeOnThreeOffFromTheStartOfEachLine) {
    struct Row {
        PixelPoint from, to;
        bool clearBrush;
        const char* row; // pixels x = 0.. of the row y = 1, or of the column x = 1
    };
    // '#' pen, 'o' brush colour in a gap, '.' untouched
    const Row rows[] = {
        {{2, 1}, {20, 1}, false, "..###ooo###ooo###ooo."},
        {{20, 1}, {2, 1}, false, "...ooo###ooo###ooo###"},
        {{2, 1}, {20, 1}, true, "..###...###...###...."},
        {{1, 0}, {1, 9}, false, "###ooo###."},
        {{1, 9}, {1, 0}, false, ".###ooo###"}, // the pattern restarts at (1, 9)
    };
    constexpr Color RAPID = 0x0080FF;
    constexpr Color BACKGROUND = 0x203040;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.row);
        RasterCanvas canvas(21, 21);
        canvas.setPen({RAPID, PenStyle::Dotted, PenMode::Copy});
        canvas.setBrush({BACKGROUND, r.clearBrush ? BrushStyle::Clear : BrushStyle::Solid});
        canvas.moveTo(r.from.x, r.from.y);
        canvas.lineTo(r.to.x, r.to.y);
        const bool horizontal = r.from.y == r.to.y;
        std::string seen;
        for (int i = 0; i < static_cast<int>(std::string(r.row).size()); ++i) {
            const RasterCanvas::Pixel p = horizontal ? canvas.pixel(i, 1) : canvas.pixel(1, i);
            seen += p == RasterCanvas::toPixel(RAPID)        ? '#'
                    : p == RasterCanvas::toPixel(BACKGROUND) ? 'o'
                    : p == WHITE                             ? '.'
                                                             : '?';
        }
        EXPECT_EQ(seen, r.row);
    }

    // Along a diagonal the pattern counts pixels, and a polyline carries it over the joint.
    RasterCanvas canvas(21, 21);
    canvas.setPen({0, PenStyle::Dotted, PenMode::Copy});
    canvas.setBrush({0, BrushStyle::Clear});
    const PixelPoint points[] = {{0, 0}, {4, 4}, {4, 12}};
    canvas.polyline(points);
    const PixelSet expected = {{0, 0}, {1, 1}, {2, 2}, {4, 6}, {4, 7}, {4, 8}};
    EXPECT_EQ(pixelsOf(canvas, BLACK), expected);
}

TEST(RasterCanvas, FarCoordinatesDrawOnlyTheVisiblePartOfTheLine) {
    constexpr int W = 64;
    constexpr int H = 48;
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> far(-16000, 16000);
    std::uniform_int_distribution<int> insideX(-2, W + 1);
    std::uniform_int_distribution<int> insideY(-2, H + 1);
    std::uniform_int_distribution<int> small(-4, 4);
    for (int n = 0; n < 400; ++n) {
        PixelPoint from{far(random), far(random)};
        PixelPoint to;
        if (n % 4 == 0) { // from inside the buffer outwards
            to = from;
            from = {insideX(random), insideY(random)};
        } else if (n % 4 == 2) { // a slope of small numbers: halfway steps at the edges
            const PixelPoint through{insideX(random), insideY(random)};
            const int a = small(random);
            const int b = 2 * small(random);
            const int before = 1000 + n, after = 3000 - n;
            from = {through.x - before * a, through.y - before * b};
            to = {through.x + after * a, through.y + after * b};
        } else { // through a point near the buffer
            const PixelPoint through{insideX(random), insideY(random)};
            to = {2 * through.x - from.x, 2 * through.y - from.y};
        }
        const bool dotted = n % 2 == 1;
        SCOPED_TRACE(::testing::Message() << "(" << from.x << "," << from.y << ") to (" << to.x
                                          << "," << to.y << (dotted ? ") dotted" : ")"));
        RasterCanvas canvas(W, H);
        canvas.setPen({0, dotted ? PenStyle::Dotted : PenStyle::Solid, PenMode::Copy});
        canvas.setBrush({0, BrushStyle::Clear});
        canvas.moveTo(from.x, from.y);
        canvas.lineTo(to.x, to.y);
        PixelSet expected;
        for (const auto& [p, i] : walk(from, to))
            if (p.x >= 0 && p.y >= 0 && p.x < W && p.y < H && (!dotted || i % 6 < 3))
                expected.insert({p.x, p.y});
        ASSERT_EQ(pixelsOf(canvas, BLACK), expected);
    }

    // Whole lines outside, and the ends of the integer range, draw nothing and stay inside.
    RasterCanvas canvas(W, H);
    const PixelPoint outside[][2] = {{{-16000, -5}, {-1, 40}},
                                     {{W, 0}, {16000, H}},
                                     {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}},
                                     {{INT_MIN, 0}, {INT_MIN, INT_MAX}},
                                     {{-100, -1}, {1000, -1}}};
    for (const auto& line : outside) {
        canvas.moveTo(line[0].x, line[0].y);
        canvas.lineTo(line[1].x, line[1].y);
    }
    EXPECT_TRUE(pixelsOf(canvas, BLACK).empty());
    canvas.moveTo(INT_MIN, INT_MIN);
    canvas.lineTo(INT_MAX, INT_MAX);
    EXPECT_EQ(pixelsOf(canvas, BLACK).size(), static_cast<std::size_t>(H)); // the diagonal
}

TEST(RasterCanvas, FillRectPaintsTheHalfOpenRectangleInsideTheBuffer) {
    RasterCanvas canvas(10, 8);
    canvas.setBrush({0x0000FF, BrushStyle::Solid}); // red, stored as 0x00BBGGRR
    canvas.fillRect(-5, -3, 3, 2);
    canvas.fillRect(8, 6, 12000, 9000);
    canvas.fillRect(5, 5, 5, 8); // empty
    PixelSet expected;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            expected.insert({x, y});
    for (int y = 6; y < 8; ++y)
        for (int x = 8; x < 10; ++x)
            expected.insert({x, y});
    EXPECT_EQ(pixelsOf(canvas, 0xFFFF0000), expected);
    EXPECT_EQ(pixelsOf(canvas, WHITE).size(), 80 - expected.size());

    canvas.setBrush({0x000000, BrushStyle::Clear});
    canvas.fillRect(0, 0, 10, 8);
    EXPECT_TRUE(pixelsOf(canvas, BLACK).empty());
}

TEST(RasterCanvas, ResizeGivesAWhiteBufferWithRowsOfWidthPixels) {
    RasterCanvas canvas(4, 3);
    canvas.setBrush({0x000000, BrushStyle::Solid});
    canvas.fillRect(0, 0, 4, 3);
    canvas.resize(1000, 700);
    EXPECT_EQ(canvas.width(), 1000);
    EXPECT_EQ(canvas.height(), 700);
    EXPECT_EQ(canvas.bytesPerLine(), 4000);
    const auto pixels = snapshot(canvas);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), WHITE), 700000);
    canvas.moveTo(999, 699);
    canvas.lineTo(1000, 699);
    EXPECT_EQ(canvas.bits()[699 * 1000 + 999], BLACK);
}

// Marks the text's box in the font colour and measures 5 pixels per character, 11 high.
class BoxText : public RasterTextRenderer {
  public:
    std::vector<std::string> texts;
    void drawText(RasterCanvas& canvas, int x, int y, std::string_view text, const Font& font,
                  const Brush&) override {
        texts.emplace_back(text);
        for (int v = y; v < y + textHeight(text, font); ++v)
            for (int u = x; u < x + textWidth(text, font); ++u)
                if (u >= 0 && v >= 0 && u < canvas.width() && v < canvas.height())
                    canvas.bits()[v * canvas.width() + u] = RasterCanvas::toPixel(font.color);
    }
    int textWidth(std::string_view text, const Font&) const override {
        return 5 * static_cast<int>(text.size());
    }
    int textHeight(std::string_view, const Font&) const override { return 11; }
};

TEST(RasterCanvas, TextIsDrawnAndMeasuredByTheRenderer) {
    TMathImage image(400, 400);
    SetInitialView(image);
    image.SetD3ViewDist(5); // the whole box in the picture
    RasterCanvas canvas(400, 400);
    image.SetFont({"Arial", 9, 0x00FF00});
    image.SetCanvas(&canvas);
    // Without a renderer the axes still draw, without text.
    image.DrawTickedAxes("x", "y", "z", 4, 4, 4, 0, 0, 0);
    EXPECT_TRUE(pixelsOf(canvas, RasterCanvas::toPixel(0x00FF00)).empty());

    BoxText text;
    canvas.setTextRenderer(&text);
    image.DrawTickedAxes("x", "y", "z", 4, 4, 4, 0, 0, 0);
    ASSERT_GE(text.texts.size(), 3u);
    EXPECT_EQ(text.texts[0], "x");
    // The x label ends 3 pixels left of the arrow tip, measured by the renderer.
    const PixelPoint tip = image.ProjectPoint(80, -80, -80);
    EXPECT_EQ(canvas.pixel(tip.x - 4, tip.y + 6), RasterCanvas::toPixel(0x00FF00));
    EXPECT_EQ(canvas.pixel(tip.x - 8, tip.y + 6), RasterCanvas::toPixel(0x00FF00));
    EXPECT_NE(canvas.pixel(tip.x - 9, tip.y + 6), RasterCanvas::toPixel(0x00FF00));
}

TEST(RasterCanvas, PreviewPassTwiceRestoresTheNormalPicture) {
    TMathImage image(300, 200);
    SetInitialView(image);
    image.SetWorldBox(-5, -5, -5, 5, 5, 5); // a marker of radius 0.1 spans 8 pixels
    RasterCanvas canvas(300, 200);
    image.SetCanvas(&canvas);
    SimulationView view(image);
    view.colors = {0x402010, 0xC0C0C0, 0x00FF00, 0x0000FF, 0xFF8000};
    view.showRapidMoves = true;
    view.showAxes = true;
    const std::vector<std::string> lines = {"ZR;2.000;-0.100", "XY;0.000;0.000", "XY;0.500;0.000",
                                            "XY;0.500;0.500",  "XY;1.000;0.500", "XY;-3.000;1.500"};
    ASSERT_FALSE(
        view.Drawsimulation(lines, "ROHDEF QUAD XM-4 YP4 ZP0 XP4 YM-4 ZM-2", false).stoppedByError);
    const auto normal = snapshot(canvas);
    EXPECT_GT(pixelsOf(canvas, RasterCanvas::toPixel(0x00FF00)).size(), 20u);

    view.Drawsimulation(lines, "", true);
    EXPECT_NE(snapshot(canvas), normal);
    view.Drawsimulation(lines, "", true);
    EXPECT_EQ(snapshot(canvas), normal);
}

} // namespace
} // namespace korvex::simulation
