// DMRE sizes against zint (the reference encoder) and zxing-cpp (the reader).

#include "datamatrix/ERangeError.h"
#include "datamatrix/SizeTable.h"
#include "datamatrix/SymbolReader.h"
#include "datamatrix/TDatamatrix.h"

#include <gtest/gtest.h>
#include <zint.h>

#include <sstream>
#include <string>
#include <vector>

namespace korvex::datamatrix {
namespace {

struct TZintSymbol {
    int cols = 0;
    int rows = 0;
    std::vector<bool> dark; // row by row
};

// zint's --vers numbers the sizes in TFormat's order.
TZintSymbol zintEncode(const std::string& text, TFormat size) {
    zint_symbol* symbol = ZBarcode_Create();
    symbol->symbology = BARCODE_DATAMATRIX;
    symbol->option_2 = size;
    symbol->option_3 = DM_DMRE;
    TZintSymbol result;
    if (ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(text.data()),
                        static_cast<int>(text.size())) < ZINT_ERROR) {
        result.cols = symbol->width;
        result.rows = symbol->rows;
        for (int y = 0; y < symbol->rows; ++y)
            for (int x = 0; x < symbol->width; ++x)
                result.dark.push_back((symbol->encoded_data[y][x / 8] >> (x % 8) & 1) != 0);
    }
    ZBarcode_Delete(symbol);
    return result;
}

TDatamatrix encode(const std::string& text, TFormat size, TEncoding encoding = E_ASCII) {
    TDatamatrix dm;
    dm.Code = text;
    dm.Encoding = encoding;
    dm.PreferredFormat = size;
    dm.paintBarcode(nullptr);
    return dm;
}

std::optional<std::string> read(const TDatamatrix& dm) {
    const TIArray m = dm.Matrix();
    return testing::ReadDataMatrix(dm.MatrixCols(), dm.MatrixRows(),
                                   [&m](int x, int y) { return m[x][y] != 0; });
}

std::string digits(int count) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += static_cast<char>('0' + (i * 7 + 3) % 10);
    return s;
}

std::string joined(const std::vector<std::uint8_t>& codewords) {
    std::ostringstream out;
    for (std::size_t i = 0; i < codewords.size(); ++i)
        out << (i ? " " : "") << static_cast<int>(codewords[i]);
    return out.str();
}

// Digits are ASCII pairs in both encoders, so the symbols must agree module for module; any
// text must read back the same from both.
TEST(Dmre, EverySizeMatchesZintModuleForModuleAndBothReadBack) {
    const std::string mixed = "SN-2026-000123 pn 4711/AB";
    for (int f = CLASSIC_FORMAT_COUNT; f < FORMAT_COUNT; ++f) {
        const auto size = static_cast<TFormat>(f);
        const std::string name(FormatName(size));
        const int capacity = SizeInfo(size).dataCodewords;
        for (const std::string& text : {digits(capacity), digits(2 * capacity)}) {
            const TDatamatrix ours = encode(text, size);
            ASSERT_EQ(ours.CalculatedFormat(), size) << name;
            const TZintSymbol zint = zintEncode(text, size);
            ASSERT_EQ(zint.cols, ours.MatrixCols()) << name;
            ASSERT_EQ(zint.rows, ours.MatrixRows()) << name;
            const TIArray m = ours.Matrix();
            int differing = 0;
            for (int y = 0; y < zint.rows; ++y)
                for (int x = 0; x < zint.cols; ++x)
                    differing +=
                        zint.dark[static_cast<std::size_t>(y * zint.cols + x)] != (m[x][y] != 0);
            EXPECT_EQ(differing, 0) << name << ", " << text.size() << " digits";
            EXPECT_EQ(read(ours), text) << name;
        }
        const TDatamatrix ours = encode(mixed, size, E_AUTO);
        if (ours.CalculatedFormat() != size) continue; // 8 x 48 holds 18 codewords only
        EXPECT_EQ(read(ours), mixed) << name;
        const TZintSymbol zint = zintEncode(mixed, size);
        ASSERT_EQ(zint.cols, ours.MatrixCols()) << name;
        const auto zintRead = testing::ReadDataMatrix(zint.cols, zint.rows, [&zint](int x, int y) {
            return zint.dark[static_cast<std::size_t>(y * zint.cols + x)];
        });
        EXPECT_EQ(zintRead, mixed) << "zint, " << name;
    }
}

// The streams of the new error-codeword counts, written out; the module test above ties them
// to zint.
TEST(Dmre, CodewordStreamsOfTheNewBlockSizes) {
    struct Row {
        TFormat size;
        const char* text;
        const char* data;
        const char* error;
    };
    // Digit pairs are 130 + their value, letters their code + 1, the first pad 129.
    const std::vector<Row> rows = {
        {C8X48, "123456", "142 164 186 129 115 11 161 56 206 101 251 147 42 192 87 237 133 28",
         "113 178 229 37 153 130 197 30 33 48 176 121 50 249 165"},
        {C12X64, "KORVEX-0001",
         "76 80 83 87 70 89 46 130 131 129 251 147 42 192 87 237 133 28 178 73 223 118 14 164 "
         "59 209 104 254 150 45 195 90 240 136 31 181 76 226 121 17 167 62 212",
         "145 204 39 246 142 198 250 109 57 203 211 214 55 91 162 189 204 53 165 166 142 11 8 92 "
         "7 219 89"},
        {C26X64, "20261210", nullptr,
         "43 242 186 234 1 252 111 30 128 180 6 127 20 246 122 202 144 37 105 44 243 50 155 46 "
         "209 19 54 83 23 172 45 138 170 80 185 195 192 62 73 79 107 86 64 98 38 23 70 200 34 83"},
    };
    for (const Row& row : rows) {
        const TDatamatrix dm = encode(row.text, row.size);
        if (row.data) {
            EXPECT_EQ(joined(dm.DataCodewords()), row.data) << row.text;
        }
        EXPECT_EQ(joined(dm.ErrorCodewords()), row.error) << row.text;
    }
}

// AUTO keeps to the squares; a job that allows DMRE lets a too short rectangle grow along the
// shaft instead of jumping to a square.
TEST(Dmre, SizeChoiceTakesDmreOnlyWhenAllowed) {
    struct Row {
        TFormat preferred;
        bool allow;
        int digitCount;
        TFormat expected;
    };
    const std::vector<Row> rows = {
        {AUTO, false, 40, C20X20},    {AUTO, true, 40, C20X20},    {C8X18, false, 20, C16X16},
        {C8X18, true, 20, C8X32},     {C8X18, true, 40, C8X64},    {C8X32, true, 100, C8X144},
        {C16X48, true, 100, C16X64},  {C8X144, true, 130, C36X36}, {C12X64, false, 80, C12X64},
        {C26X64, false, 240, C44X44}, {C20X36, true, 110, C20X44}, {C12X26, true, 60, C8X80},
    };
    for (const Row& row : rows) {
        TDatamatrix dm;
        dm.Code = digits(row.digitCount);
        dm.PreferredFormat = row.preferred;
        dm.AllowDmre = row.allow;
        dm.paintBarcode(nullptr);
        EXPECT_EQ(FormatName(dm.CalculatedFormat()), FormatName(row.expected))
            << FormatName(row.preferred) << (row.allow ? " DMRE " : " ") << row.digitCount;
    }
}

} // namespace
} // namespace korvex::datamatrix
