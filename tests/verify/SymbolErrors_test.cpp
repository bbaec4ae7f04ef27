#include "verify/SymbolErrors.h"

#include "datamatrix/Placement.h"
#include "datamatrix/TDatamatrix.h"

#include <gtest/gtest.h>

namespace korvex::verify {
namespace {

// Codewords spoilt in the encoder's own stream, placed by the encoder: the unused error
// correction of the worst block is 1 - 2t/d (ISO/IEC 15415), and past d/2 nothing is left.
struct TErrorCase {
    const char* Text;
    datamatrix::TFormat Format;
    std::vector<int> Spoilt; // places in the final stream
    bool Correctable;
    double Unused;
};

void PrintTo(const TErrorCase& c, std::ostream* os) {
    *os << c.Text << " with " << c.Spoilt.size() << " spoilt";
}

class SpoiltCodewords : public testing::TestWithParam<TErrorCase> {};

TEST_P(SpoiltCodewords, CostTheirShareOfErrorCorrection) {
    const TErrorCase& t = GetParam();
    datamatrix::TDatamatrix dm;
    dm.Code = t.Text;
    dm.PreferredFormat = t.Format;
    dm.paintBarcode(nullptr);
    const datamatrix::TSizeInfo& size = datamatrix::SizeInfo(t.Format);
    std::vector<std::uint8_t> stream = dm.DataCodewords();
    stream.insert(stream.end(), dm.ErrorCodewords().begin(), dm.ErrorCodewords().end());
    for (const int k : t.Spoilt)
        stream[static_cast<std::size_t>(k)] ^= 0x5A;
    const datamatrix::TIArray matrix = datamatrix::PlaceModules(stream, size);
    std::vector<char> dark;
    for (int r = 0; r < size.symbolRows; ++r)
        for (int c = 0; c < size.symbolCols; ++c)
            dark.push_back(matrix[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] != 0);
    const TSymbolErrors e = CountErrors(dark, size);
    EXPECT_EQ(e.Correctable, t.Correctable);
    EXPECT_NEAR(e.UnusedErrorCorrection, t.Unused, 1e-9);
    EXPECT_EQ(e.PatternDamage, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, SpoiltCodewords,
    testing::Values(
        // 16 x 16: one block, 12 error codewords.
        TErrorCase{"KORVEX 4711", datamatrix::C16X16, {}, true, 1.0},
        TErrorCase{"KORVEX 4711", datamatrix::C16X16, {3}, true, 1 - 2.0 / 12},
        TErrorCase{"KORVEX 4711", datamatrix::C16X16, {0, 13, 23}, true, 0.5},
        TErrorCase{"KORVEX 4711", datamatrix::C16X16, {1, 4, 7, 10, 15, 20}, true, 0.0},
        TErrorCase{"KORVEX 4711", datamatrix::C16X16, {1, 2, 4, 7, 10, 15, 20, 22}, false, 0.0},
        // 64 x 64: two blocks of 56 error codewords, interleaved; the worst block counts.
        TErrorCase{"BLOCKS", datamatrix::C64X64, {0, 4, 8, 1}, true, 1 - 6.0 / 56},
        TErrorCase{"BLOCKS", datamatrix::C64X64, {2, 3, 300, 301}, true, 1 - 4.0 / 56},
        TErrorCase{"BLOCKS",
                   datamatrix::C64X64,
                   {0,  2,  4,  6,  8,  10, 12, 14, 16, 18, 20, 22, 24, 26, 28,
                    30, 32, 34, 36, 38, 40, 42, 44, 46, 48, 50, 52, 54, 56},
                   false,
                   0.0}));

} // namespace
} // namespace korvex::verify
