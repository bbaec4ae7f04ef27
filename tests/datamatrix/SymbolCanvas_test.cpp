// paintBarcode and paintBarcodeAutoSize on a canvas that records what it is asked to draw.

#include "datamatrix/SymbolCanvas.h"
#include "datamatrix/TDatamatrix.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace korvex::datamatrix {
namespace {

struct Rect {
    int x, y, w, h;
    std::uint32_t colour;
    bool operator==(const Rect&) const = default;
};

class RecordingCanvas : public SymbolCanvas {
  public:
    RecordingCanvas(int w, int h) : width(w), height(h) {}

    void fillRect(int x, int y, int w, int h, std::uint32_t colour) override {
        fills.push_back({x, y, w, h, colour});
    }
    std::unique_ptr<SymbolCanvas> createPicture(int w, int h) override {
        pictureSizes.push_back({w, h});
        return std::make_unique<RecordingCanvas>(w, h);
    }
    void drawPicture(const SymbolCanvas& picture, int x, int y, int w, int h) override {
        const auto& p = static_cast<const RecordingCanvas&>(picture);
        copies.push_back({p.width, p.height, {x, y, w, h, 0}, p.fills});
    }

    struct Copy {
        int sourceWidth, sourceHeight;
        Rect target;
        std::vector<Rect> content;
    };
    int width, height;
    std::vector<Rect> fills;
    std::vector<std::pair<int, int>> pictureSizes;
    std::vector<Copy> copies;
};

TEST(SymbolCanvas, PaintBarcodeFillsBackgroundThenOneSquarePerModule) {
    TDatamatrix dm;
    dm.Code = "123456";
    dm.PixelsDot = 4;
    dm.Margin = 5;
    dm.Width = 60;
    dm.Height = 50;
    dm.BarColor = 0x0000FF;
    dm.BackColor = 0x00FF00;
    RecordingCanvas canvas(200, 200);
    dm.paintBarcode(&canvas);

    ASSERT_EQ(canvas.fills.size(), 1u + 100u);
    EXPECT_EQ(canvas.fills[0], (Rect{0, 0, 60, 50, 0x00FF00}));
    const TIArray m = dm.Matrix();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const Rect expected{5 + 4 * x, 5 + 4 * y, 4, 4, m[x][y] ? 0x0000FFu : 0x00FF00u};
            EXPECT_EQ(canvas.fills[1 + y * 10 + x], expected) << x << "," << y;
        }
    EXPECT_EQ(dm.CurrentX(), 45);
    EXPECT_EQ(dm.CurrentY(), 45);
}

TEST(SymbolCanvas, OffsetsShiftBackgroundModulesAndEdges) {
    TDatamatrix dm;
    dm.Code = "A";
    dm.Margin = 10;
    dm.PixelsDot = 20;
    dm.offsetX = 7;
    dm.offsetY = -3;
    RecordingCanvas canvas(400, 400);
    dm.paintBarcode(&canvas);
    EXPECT_EQ(canvas.fills[0], (Rect{7, -3, 100, 100, 0xFFFFFF}));
    EXPECT_EQ(canvas.fills[1], (Rect{17, 7, 20, 20, 0})); // top left module is dark
    EXPECT_EQ(canvas.fills[10].colour, 0xFFFFFFu);        // top right module is light
    EXPECT_EQ(dm.CurrentX(), 10 * 20 + 10 + 7);
    EXPECT_EQ(dm.CurrentY(), 10 * 20 + 10 - 3);
}

TEST(SymbolCanvas, NullCanvasOnlyRebuilds) {
    TDatamatrix dm;
    dm.paintBarcode(nullptr);
    EXPECT_EQ(dm.CalculatedFormat(), C26X26); // the default text: 40 codewords
    EXPECT_EQ(dm.CurrentX(), 0);
}

TEST(SymbolCanvas, AutoSizeDrawsTwiceAndCopiesScaledIntoOwnArea) {
    TDatamatrix dm;
    dm.Code = "123456";
    dm.Margin = 5;
    dm.Width = 90;
    dm.Height = 70;
    RecordingCanvas canvas(90, 70);
    dm.paintBarcodeAutoSize(canvas);

    // A 100 x 100 probe to learn CurrentX/CurrentY, then the picture that holds the symbol.
    EXPECT_EQ(canvas.pictureSizes, (std::vector<std::pair<int, int>>{{100, 100}, {50, 50}}));
    EXPECT_EQ(canvas.fills, (std::vector<Rect>{{0, 0, 90, 70, 0xFFFFFF}}));
    ASSERT_EQ(canvas.copies.size(), 1u);
    const auto& copy = canvas.copies[0];
    EXPECT_EQ(copy.sourceWidth, 45 + 5);
    EXPECT_EQ(copy.sourceHeight, 45 + 5);
    EXPECT_EQ(copy.target, (Rect{0, 0, 90, 70, 0}));
    EXPECT_EQ(copy.content.size(), 101u);
}

TEST(SymbolCanvas, SelfPaintWithoutAutoFitCopiesOneToOne) {
    TDatamatrix dm;
    dm.Code = "A";
    dm.AutoFit = false;
    dm.Width = 120;
    dm.Height = 80;
    RecordingCanvas canvas(120, 80);
    dm.Paint(canvas);
    ASSERT_EQ(canvas.copies.size(), 1u);
    EXPECT_EQ(canvas.copies[0].sourceWidth, 120);
    EXPECT_EQ(canvas.copies[0].sourceHeight, 80);
    EXPECT_EQ(canvas.copies[0].target, (Rect{0, 0, 120, 80, 0}));
}

} // namespace
} // namespace korvex::datamatrix
