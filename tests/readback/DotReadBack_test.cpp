#include "readback/DotPicture.h"
#include "readback/ReadBack.h"

#include "datamatrix/SizeTable.h"
#include "datamatrix/TDatamatrix.h"
#include "base/DecimalText.h"
#include "ncgen/GenerateLayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

using namespace korvex;
using readback::TDotDecoder;
using readback::TProblem;
using readback::TReadBackVerdict;

namespace {

datamatrix::TDatamatrix encoded(datamatrix::TFormat size, std::string& text) {
    // Digit pairs fill every data codeword, so every data module is a real one.
    text.clear();
    for (int i = 0; i < 2 * datamatrix::SizeInfo(size).dataCodewords; ++i)
        text += static_cast<char>('0' + (i * 7 + size) % 10);
    datamatrix::TDatamatrix symbol;
    symbol.Code = text;
    symbol.PreferredFormat = size;
    symbol.paintBarcode(nullptr);
    return symbol;
}

// Round dots after the reader's closing, against the dot sizes a reader of dot-peen marks must
// cope with: both decoders read what 60-105 % (libdmtx from 80 %) of the spacing gives, and
// nothing reads 40 %.
TEST(DotReadBack, DecodersReadTheDotSizesReadersAccept) {
    for (const auto size : {datamatrix::C10X10, datamatrix::C18X18, datamatrix::C32X32,
                            datamatrix::C52X52, datamatrix::C16X48, datamatrix::C144X144}) {
        std::string text;
        const datamatrix::TDatamatrix symbol = encoded(size, text);
        const datamatrix::TIArray matrix = symbol.Matrix();
        for (const TDotDecoder decoder : {TDotDecoder::ZXing, TDotDecoder::Dmtx}) {
            if (!readback::DecoderReadsSize(decoder, symbol.MatrixCols(), symbol.MatrixRows()))
                continue;
            const int threshold = decoder == TDotDecoder::ZXing ? 60 : 80;
            for (int fill = 40; fill <= 110; fill += 10) {
                readback::TModuleGrid grid;
                grid.Cols = symbol.MatrixCols();
                grid.Rows = symbol.MatrixRows();
                grid.Dark.assign(static_cast<std::size_t>(grid.Cols) * grid.Rows, 0);
                grid.Fill.assign(grid.Dark.size(), 0);
                for (int col = 0; col < grid.Cols; ++col)
                    for (int row = 0; row < grid.Rows; ++row)
                        if (matrix[col][row]) grid.Set(col, row, fill / 100.0f);
                readback::TDotPicture picture = readback::RenderDots(grid);
                readback::CloseDots(picture, 1);
                const auto decoded = readback::DecodeDots(picture, decoder);
                const bool reads = decoded && decoded->Bytes == text;
                const std::string where = std::string(datamatrix::FormatName(size)) +
                                          (decoder == TDotDecoder::ZXing ? " zxing " : " dmtx ") +
                                          std::to_string(fill) + " %";
                if (fill >= threshold && fill <= 105) EXPECT_TRUE(reads) << where;
                if (fill <= 40) EXPECT_FALSE(reads) << where;
            }
        }
    }
}

// The margin draws its fills from the dots' distances and closes in vector-sized blocks; both
// must give the picture of drawing every disc and of taking each window's darkest, then
// lightest pixel.
TEST(DotReadBack, FastPicturesEqualTheDrawnAndClosedOnes) {
    std::string text;
    const datamatrix::TDatamatrix symbol = encoded(datamatrix::C16X48, text);
    const datamatrix::TIArray matrix = symbol.Matrix();
    readback::TModuleGrid grid;
    grid.Cols = symbol.MatrixCols();
    grid.Rows = symbol.MatrixRows();
    grid.Dark.assign(static_cast<std::size_t>(grid.Cols) * grid.Rows, 0);
    grid.Fill.assign(grid.Dark.size(), 0);
    for (int col = 0; col < grid.Cols; ++col)
        for (int row = 0; row < grid.Rows; ++row)
            if (matrix[col][row]) grid.Set(col, row);
    const auto closedSlowly = [](const readback::TDotPicture& p, int radius) {
        const auto window = [&](const std::vector<std::uint8_t>& in, bool darken) {
            std::vector<std::uint8_t> out(in.size());
            for (int y = 0; y < p.Height; ++y)
                for (int x = 0; x < p.Width; ++x) {
                    int v = darken ? 255 : 0;
                    for (int j = std::max(0, y - radius); j <= std::min(p.Height - 1, y + radius);
                         ++j)
                        for (int i = std::max(0, x - radius);
                             i <= std::min(p.Width - 1, x + radius); ++i)
                            v = darken ? std::min<int>(v, in[j * p.Width + i])
                                       : std::max<int>(v, in[j * p.Width + i]);
                    out[y * p.Width + x] = static_cast<std::uint8_t>(v);
                }
            return out;
        };
        return window(window(p.Pixels, true), false);
    };
    const auto drawnSlowly = [](const readback::TModuleGrid& g) {
        constexpr int s = readback::DotPixelsPerCell, q = readback::DotQuietModules;
        readback::TDotPicture p;
        p.Width = (g.Cols + 2 * q) * s;
        p.Height = (g.Rows + 2 * q) * s;
        p.Pixels.assign(static_cast<std::size_t>(p.Width) * p.Height, 255);
        for (int row = 0; row < g.Rows; ++row)
            for (int col = 0; col < g.Cols; ++col) {
                if (!g.At(col, row)) continue;
                const float cx = (col + q + 0.5f) * s, cy = (row + q + 0.5f) * s;
                const float r = g.FillAt(col, row) * s / 2;
                for (int y = 0; y < p.Height; ++y)
                    for (int x = static_cast<int>(cx) - 2 * s; x <= cx + 2 * s; ++x) {
                        const float ex = x + 0.5f - cx, ey = y + 0.5f - cy;
                        const float cover =
                            std::clamp(r - std::sqrt(ex * ex + ey * ey) + 0.5f, 0.0f, 1.0f);
                        auto& pixel = p.Pixels[static_cast<std::size_t>(y) * p.Width + x];
                        pixel =
                            std::min(pixel, static_cast<std::uint8_t>(255 - 255 * cover + 0.5f));
                    }
            }
        return p.Pixels;
    };
    const readback::TDotDistances distances = readback::DotDistances(grid, 1.10f);
    readback::TDotPicture uniform;
    for (int percent = 40; percent <= 110; percent += 5) {
        const float fill = percent / 100.0f;
        readback::TModuleGrid filled = grid;
        readback::TModuleGrid uneven = grid;
        for (std::size_t i = 0; i < grid.Dark.size(); ++i) {
            filled.Fill[i] = fill;
            uneven.Fill[i] = fill + 0.01f * static_cast<float>(i % 5);
        }
        readback::RenderUniformDots(distances, fill, uniform);
        EXPECT_EQ(uniform.Pixels, drawnSlowly(filled)) << percent << " %";
        EXPECT_EQ(readback::RenderDots(filled).Pixels, uniform.Pixels) << percent << " %";
        EXPECT_EQ(readback::RenderDots(uneven).Pixels, drawnSlowly(uneven)) << percent << " %";
        for (int radius = 1; radius <= 2; ++radius) {
            readback::TDotPicture closed = readback::RenderDots(uneven);
            const auto expected = closedSlowly(closed, radius);
            readback::CloseDots(closed, radius);
            EXPECT_EQ(closed.Pixels, expected) << percent << " %, radius " << radius;
        }
    }
}

// A marking of the example text with a 90 degree cone at a given depth (pitch 0.5 mm, so
// the dot fills 4 * depth of the spacing).
struct TDotMarking {
    std::string text = "SN-2026-000123";
    ncgen::TLayer layer;
    ncgen::TActiveProfile profile;
    long double depth = 0.2L;

    TDotMarking() {
        layer.Size = "0.5";
        layer.XDis = "12.5";
        layer.YDis = "-4";
        profile.FirstPoint[0] = "G0 X[#XVAL] Y[#YVAL]";
        profile.FirstPoint[1] = "G1 Z[#ZVAL] F[#FVAL]";
        profile.FollowingPoints = profile.FirstPoint;
        profile.Tool = {ncgen::TToolKind::Cone, 90, 0, 0};
        profile.InfeedDepth = "-0.2";
    }

    readback::TReadBackResult check() const {
        datamatrix::TDatamatrix symbol;
        symbol.Code = text;
        symbol.paintBarcode(nullptr);
        const datamatrix::TIArray matrix = symbol.Matrix();
        const std::string z = base::FixedText(-depth, 3);
        ncgen::TGenerateOutput output;
        ncgen::GenerateLayer(
            {layer, matrix, symbol.MatrixCols(), symbol.MatrixRows(), profile, "2", z, false},
            output);
        return readback::CheckReadBack(output.SimulationLines, layer, profile, text);
    }
};

TEST(DotReadBack, VerdictFollowsTheDotSizeAndStillCatchesMissingPointsAndMirrors) {
    struct Row {
        const char* what;
        long double depth;
        void (*change)(TDotMarking&);
        TReadBackVerdict verdict;
        TProblem problem;
    };
    const auto same = [](TDotMarking&) {};
    const Row rows[] = {
        {"50 %", 0.125L, same, TReadBackVerdict::DoesNotRead, TProblem::DotsTooSmall},
        {"80 %", 0.2L, same, TReadBackVerdict::ReadsAsText, TProblem::None},
        {"120 %", 0.3L, same, TReadBackVerdict::DoesNotRead, TProblem::DotsMerge},
        {"a point dropped", 0.2L,
         [](TDotMarking& m) {
             m.profile.FollowingPoints = {"G0 X[#XVAL]", "G1 Z[#ZVAL]"};
         },
         TReadBackVerdict::DoesNotRead, TProblem::FollowingNotMarked},
        {"mirrored", 0.2L, [](TDotMarking& m) { m.layer.XMirror = true; },
         TReadBackVerdict::ReadsMirrored, TProblem::None},
        {"rotated 33 degrees", 0.2L, [](TDotMarking& m) { m.layer.Angle = "33"; },
         TReadBackVerdict::ReadsAsText, TProblem::None},
        {"lathe, turned a half", 0.2L,
         [](TDotMarking& m) {
             m.profile.Y = "Z";
             m.profile.J = "K";
             m.layer.Size = "-0.5";
         },
         TReadBackVerdict::ReadsAsText, TProblem::None},
    };
    for (const Row& row : rows) {
        TDotMarking marking;
        marking.depth = row.depth;
        row.change(marking);
        const auto result = marking.check();
        EXPECT_EQ(result.Verdict, row.verdict) << row.what << ": " << readback::Describe(result);
        EXPECT_EQ(result.Problem.Reason, row.problem) << row.what << ": " << result.Detail;
    }
    TDotMarking small;
    small.depth = 0.125L;
    const auto tooSmall = small.check();
    EXPECT_EQ(tooSmall.Detail, "dots too small: 50 % of the dot spacing, a reader needs 60-105 %");
    EXPECT_FALSE(readback::ReadsAsIntended(tooSmall));
}

TEST(DotReadBack, MarginSaysFromWhichFillItReadsAndWhetherCentreErrorsHurt) {
    const auto result = TDotMarking().check();
    ASSERT_TRUE(result.Dots);
    ASSERT_TRUE(result.Dots->Margin);
    const readback::TDotMargin& margin = *result.Dots->Margin;
    ASSERT_TRUE(margin.ReadsFrom);
    EXPECT_LE(*margin.ReadsFrom, 0.601f);
    EXPECT_GE(*margin.ReadsFrom, 0.399f);
    EXPECT_TRUE(margin.ReadsWithCentreError);
    EXPECT_NE(readback::Describe(result).find("with 10 % centre error: reads"), std::string::npos);
    // Without a tool the check is the square one and says nothing of dots.
    TDotMarking squares;
    squares.profile.Tool = {};
    EXPECT_FALSE(squares.check().Dots);
    // Nor when the depth is the controller's parameter: how deep it goes is not known.
    TDotMarking parameter;
    parameter.profile.InfeedDepth = "Q200";
    EXPECT_FALSE(parameter.check().Dots);
}

} // namespace
