#include "datamatrix/SizeTable.h"
#include "datamatrix/TEncoding.h"
#include "datamatrix/TFormat.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvex::datamatrix {
namespace {

TEST(TFormat, NamesRoundTripInListOrder) {
    EXPECT_EQ(FormatName(AUTO), "AUTO");
    EXPECT_EQ(FormatName(C144X144), "C144X144");
    EXPECT_EQ(FormatName(C8X18), "C8X18");
    EXPECT_EQ(FormatName(C16X48), "C16X48");
    for (int i = 0; i < FORMAT_COUNT; ++i)
        EXPECT_EQ(FormatFromName(FORMAT_NAMES[i]), static_cast<TFormat>(i));
    for (const char* bad : {"", "c10x10", "C10X11", "C10X10 ", "31"})
        EXPECT_FALSE(FormatFromName(bad).has_value()) << bad;
}

TEST(TEncoding, NamesAreTheDialogLabels) {
    EXPECT_EQ(EncodingFromName("BINARY"), E_BASE256);
    EXPECT_EQ(EncodingFromName("AUTO"), E_AUTO);
    EXPECT_EQ(EncodingName(E_NONE), "NONE");
    EXPECT_EQ(static_cast<int>(E_AUTO), 5);
    for (int i = 0; i < ENCODING_COUNT; ++i)
        EXPECT_EQ(EncodingFromName(ENCODING_NAMES[i]), static_cast<TEncoding>(i));
    EXPECT_FALSE(EncodingFromName("BASE256").has_value());
}

TEST(SizeTable, RowsAgreeWithNamesAndAreConsistent) {
    const std::vector<int> capacities = {
        3, 5, 8, 12, 18, 22, 30, 36, 44, 62, 86, 114, 144, 174, 204, 280, 368, 456, 576, 696, 816,
        1050, 1304, 1558, 5, 10, 16, 22, 32, 49,
        // DMRE
        18, 24, 32, 38, 49, 63, 43, 64, 62, 44, 56, 84, 72, 80, 108, 70, 90, 118};
    for (int f = C10X10; f < FORMAT_COUNT; ++f) {
        const TSizeInfo& s = SIZE_TABLE[f];
        const auto name = FormatName(static_cast<TFormat>(f));
        EXPECT_EQ(s.dataCodewords, capacities[f - 1]) << name;
        const std::string expectedName =
            "C" + std::to_string(s.symbolRows) + "X" + std::to_string(s.symbolCols);
        EXPECT_EQ(name, expectedName);
        EXPECT_EQ(s.errorCodewords, s.errorPerBlock * s.blockCount) << name;
        const int shortBlocks = f == C144X144 ? 2 : 0;
        EXPECT_EQ(s.dataCodewords, s.dataPerBlock * s.blockCount - shortBlocks) << name;
        const bool oneRow = s.symbolRows < s.symbolCols;
        const int perRow = oneRow                ? s.regionCount
                           : s.regionCount == 4  ? 2
                           : s.regionCount == 16 ? 4
                           : s.regionCount == 36 ? 6
                                                 : 1;
        const int perColumn = oneRow ? 1 : perRow;
        EXPECT_EQ(s.mappingCols, s.regionCols * perRow) << name;
        EXPECT_EQ(s.mappingRows, s.regionRows * perColumn) << name;
        EXPECT_EQ(s.symbolCols, s.mappingCols + 2 * perRow) << name;
        EXPECT_EQ(s.symbolRows, s.mappingRows + 2 * perColumn) << name;
        // Every module of the mapping matrix carries one bit, or is one of the two fixed ones.
        const int bits = 8 * (s.dataCodewords + s.errorCodewords);
        EXPECT_LE(s.mappingRows * s.mappingCols - bits, 4) << name;
    }
    for (const int v : {SIZE_TABLE[AUTO].symbolRows, SIZE_TABLE[AUTO].dataCodewords})
        EXPECT_EQ(v, 0);
}

} // namespace
} // namespace korvex::datamatrix
