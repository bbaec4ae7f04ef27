#include "datamatrix/Placement.h"

#include "datamatrix/ReedSolomon.h"
#include "datamatrix/TDatamatrix.h"

#include <ZXing/BarcodeFormat.h>
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace korvex::datamatrix {
namespace {

std::vector<std::string> asciiArt(const TIArray& m) {
    std::vector<std::string> rows;
    if (m.empty()) return rows;
    for (std::size_t y = 0; y < m[0].size(); ++y) {
        std::string line;
        for (std::size_t x = 0; x < m.size(); ++x)
            line += m[x][y] != 0 ? '#' : '.';
        rows.push_back(line);
    }
    return rows;
}

TEST(Placement, Text123456GivesTheKnownMatrix) {
    TDatamatrix dm;
    dm.Code = "123456";
    dm.paintBarcode(nullptr);
    const std::vector<std::string> expected = {
        "#.#.#.#.#.", "##..#.##.#", "##.....#..", "##...###.#", "##....#...",
        "#.....####", "###.##....", "####.##..#", "#..###.#..", "##########"};
    EXPECT_EQ(asciiArt(dm.Matrix()), expected);
    EXPECT_EQ(dm.MatrixCols(), 10);
    EXPECT_EQ(dm.MatrixRows(), 10);
}

TEST(Placement, SweepPlacesEveryBitOfEveryCodewordExactlyOnce) {
    for (int f = C10X10; f < FORMAT_COUNT; ++f) {
        const TSizeInfo& size = SIZE_TABLE[f];
        const auto mapping = MappingArray(size.mappingRows, size.mappingCols);
        std::set<int> seen;
        int fixed = 0;
        for (const int v : mapping) {
            if (v == 1) ++fixed;
            if (v >= 10) {
                EXPECT_TRUE(seen.insert(v).second) << "twice: " << v;
            }
        }
        const int total = size.dataCodewords + size.errorCodewords;
        const auto name = FormatName(static_cast<TFormat>(f));
        EXPECT_EQ(seen.size(), static_cast<std::size_t>(total) * 8) << name;
        EXPECT_EQ(*seen.rbegin(), total * 10 + 8) << name;
        const bool withCorner = f == C12X12 || f == C16X16 || f == C20X20 || f == C24X24;
        EXPECT_EQ(fixed, withCorner ? 2 : 0) << name;
    }
}

TEST(Placement, FixedCornerModulesOfC12X12) {
    const auto mapping = MappingArray(10, 10);
    EXPECT_EQ(mapping[9 * 10 + 9], 1);
    EXPECT_EQ(mapping[8 * 10 + 8], 1);
    const std::vector<std::uint8_t> zeros(12, 0);
    const TIArray m = PlaceModules(zeros, SizeInfo(C12X12));
    EXPECT_EQ(m[10][10], 1);
    EXPECT_EQ(m[9][9], 1);
    EXPECT_EQ(m[10][9], 0);
}

// Checks the frame of one region at (x0, y0): solid left and bottom, clocks top and right.
void expectFrame(const TIArray& m, int x0, int y0, int w, int h, const std::string& where) {
    for (int i = 0; i < w; ++i) {
        EXPECT_EQ(m[x0 + i][y0 + h - 1], 1) << where << " bottom " << i;
        EXPECT_EQ(m[x0 + i][y0], i % 2 == 0 ? 1 : 0) << where << " top " << i;
    }
    for (int i = 0; i < h; ++i) {
        EXPECT_EQ(m[x0][y0 + i], 1) << where << " left " << i;
        EXPECT_EQ(m[x0 + w - 1][y0 + i], i % 2) << where << " right " << i;
    }
}

TEST(Placement, EveryRegionHasItsFrameInEverySize) {
    for (int f = C10X10; f < FORMAT_COUNT; ++f) {
        const TSizeInfo& size = SIZE_TABLE[f];
        const std::vector<std::uint8_t> ones(size.dataCodewords + size.errorCodewords, 0xFF);
        const TIArray m = PlaceModules(ones, size);
        ASSERT_EQ(m.size(), static_cast<std::size_t>(size.symbolCols));
        ASSERT_EQ(m[0].size(), static_cast<std::size_t>(size.symbolRows));
        const int w = size.regionCols + 2;
        const int h = size.regionRows + 2;
        const std::string name(FormatName(static_cast<TFormat>(f)));
        for (int x0 = 0; x0 < size.symbolCols; x0 += w)
            for (int y0 = 0; y0 < size.symbolRows; y0 += h)
                expectFrame(m, x0, y0, w, h, name);
    }
}

TEST(Placement, DataModulesHoldTheirBitValue) {
    const TSizeInfo& size = SizeInfo(C10X10);
    const auto mapping = MappingArray(8, 8);
    const std::vector<std::uint8_t> ones(8, 0xFF);
    const TIArray m = PlaceModules(ones, size);
    std::set<int> values;
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
            const int v = mapping[r * 8 + c];
            EXPECT_EQ(m[c + 1][r + 1], 1 << (8 - v % 10));
            values.insert(m[c + 1][r + 1]);
        }
    EXPECT_EQ(values, (std::set<int>{1, 2, 4, 8, 16, 32, 64, 128}));
}

// A decoder repairs a misplaced codeword silently, so compare module for module with another
// writer. A digit text that fills a size is ASCII digit pairs and pads in any encoder; zxing-cpp
// picks the first size of its own list that holds it, which reaches every size except C8X18 and
// C12X36 (a square of equal capacity comes first). Its 144 x 144 uses the other interleave.
TEST(Placement, EverySizeMatchesAnIndependentWriterModuleForModule) {
    std::vector<int> capacities;
    for (int f = C10X10; f < C144X144; ++f)
        capacities.push_back(SIZE_TABLE[f].dataCodewords);
    for (const TFormat rectangle : {C8X32, C12X26, C16X36, C16X48})
        capacities.push_back(SIZE_TABLE[rectangle].dataCodewords);
    std::set<std::string> sizesSeen;
    for (const int capacity : capacities) {
        std::string digits;
        for (int i = 0; i < 2 * capacity; ++i)
            digits += static_cast<char>('0' + (i * 7 + i / 10) % 10);
        ZXing::MultiFormatWriter writer(ZXing::BarcodeFormat::DataMatrix);
        writer.setMargin(0);
        const ZXing::BitMatrix reference = writer.encode(digits, 0, 0);
        const std::string name =
            "C" + std::to_string(reference.height()) + "X" + std::to_string(reference.width());
        const auto format = FormatFromName(name);
        ASSERT_TRUE(format.has_value()) << name;
        sizesSeen.insert(name);

        TDatamatrix dm;
        dm.Code = digits;
        dm.PreferredFormat = *format;
        dm.paintBarcode(nullptr);
        ASSERT_EQ(dm.CalculatedFormat(), *format) << name;
        const TIArray m = dm.Matrix();
        std::vector<std::string> differing;
        for (int y = 0; y < dm.MatrixRows(); ++y)
            for (int x = 0; x < dm.MatrixCols(); ++x)
                if ((m[x][y] != 0) != reference.get(x, y))
                    differing.push_back(std::to_string(x) + "," + std::to_string(y));
        EXPECT_TRUE(differing.empty())
            << name << ": " << differing.size() << " modules differ, first "
            << (differing.empty() ? "" : differing.front());
    }
    EXPECT_EQ(sizesSeen.size(), 27u);
}

} // namespace
} // namespace korvex::datamatrix
