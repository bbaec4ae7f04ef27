#include "datamatrix/ERangeError.h"
#include "datamatrix/TDatamatrix.h"
#include "datamatrix/StrictCodewordReader.h"
#include "datamatrix/SymbolReader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace korvex::datamatrix {
namespace {

std::string join(const std::vector<std::uint8_t>& codewords) {
    std::string s;
    for (const int c : codewords)
        s += (s.empty() ? "" : " ") + std::to_string(c);
    return s;
}

TDatamatrix encoded(const std::string& text, TEncoding encoding = E_ASCII,
                    TFormat preferred = AUTO) {
    TDatamatrix dm;
    dm.Code = text;
    dm.Encoding = encoding;
    dm.PreferredFormat = preferred;
    dm.paintBarcode(nullptr);
    return dm;
}

std::string readBack(const TDatamatrix& dm) {
    const TIArray m = dm.Matrix();
    return testing::ReadDataMatrix(dm.MatrixCols(), dm.MatrixRows(),
                                   [&m](int x, int y) { return m[x][y] != 0; })
        .value_or("<unreadable>");
}

TEST(TDatamatrix, StartsWithItsDefaultsAndNoSymbol) {
    const TDatamatrix dm;
    EXPECT_EQ(dm.Code, "This is a test of the barcode DataMatrix");
    EXPECT_EQ(dm.Encoding, E_ASCII);
    EXPECT_EQ(dm.PreferredFormat, AUTO);
    EXPECT_EQ(dm.CalculatedFormat(), AUTO);
    EXPECT_TRUE(dm.rebuild);
    EXPECT_EQ(dm.PixelsDot, 4);
    EXPECT_EQ(dm.Margin, 30);
    EXPECT_EQ(dm.BarColor, 0u);
    EXPECT_EQ(dm.BackColor, 0xFFFFFFu);
    EXPECT_TRUE(dm.AutoFit);
    EXPECT_TRUE(dm.Matrix().empty());
    EXPECT_EQ(dm.MatrixCols(), 0);
    EXPECT_EQ(dm.MatrixRows(), 0);
}

struct CodewordRow {
    const char* what;
    std::string text;
    TEncoding encoding;
    TFormat preferred;
    TFormat size;
    const char* data; // after the size choice and padding
};

class DataCodewords : public ::testing::TestWithParam<CodewordRow> {};

TEST_P(DataCodewords, MatchTheHandWorkedStream) {
    const CodewordRow& row = GetParam();
    const TDatamatrix dm = encoded(row.text, row.encoding, row.preferred);
    EXPECT_EQ(FormatName(dm.CalculatedFormat()), FormatName(row.size)) << row.what;
    EXPECT_EQ(join(dm.DataCodewords()), row.data) << row.what;
    EXPECT_EQ(readBack(dm), row.text) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, DataCodewords,
    ::testing::Values(
        CodewordRow{"digit pairs fill C10X10", "123456", E_ASCII, AUTO, C10X10, "142 164 186"},
        CodewordRow{"first pad plain, second randomised", "A", E_ASCII, AUTO, C10X10, "66 129 70"},
        CodewordRow{"upper shift", "\xE4", E_ASCII, AUTO, C10X10, "235 101 129"},
        CodewordRow{"lone digit not paired", "A1B", E_ASCII, AUTO, C10X10, "66 50 67"},
        CodewordRow{"greedy pairs from the left", "12345", E_ASCII, AUTO, C10X10, "142 164 54"},
        CodewordRow{"CR LF as plain codes", "AB\r\nC", E_ASCII, AUTO, C12X12, "66 67 14 11 68"},
        CodewordRow{"C40 fills symbol, unlatch becomes pad", "AIMAIMAIM", E_C40, AUTO, C14X14,
                    "230 91 11 91 11 91 11 129"},
        CodewordRow{"C40 one too long drops unlatch", "AIMAIM", E_C40, AUTO, C12X12,
                    "230 91 11 91 11"},
        CodewordRow{"C40 two left over padded with shift 1", "AB", E_C40, AUTO, C12X12,
                    "230 89 217 254 129"},
        CodewordRow{"C40 one left over in ASCII", "ABCD", E_C40, AUTO, C12X12, "230 89 233 254 69"},
        CodewordRow{"C40 last ASCII moves over unlatch", "ABCDEFGHIJ", E_C40, AUTO, C14X14,
                    "230 89 233 109 36 128 95 75"},
        CodewordRow{"TEXT lower case", "aimaim", E_TEXT, AUTO, C12X12, "239 91 11 91 11"},
        CodewordRow{"Base256 randomised", "ab", E_BASE256, AUTO, C12X12, "231 46 34 185 129"},
        CodewordRow{"AUTO digits stay ASCII", "123456", E_AUTO, AUTO, C10X10, "142 164 186"},
        CodewordRow{"AUTO letters go C40", "ABCDEFGHIJKLMNOP", E_AUTO, AUTO, C16X16,
                    "230 89 233 109 36 128 95 147 154 166 213 81"},
        CodewordRow{"AUTO mixed case goes TEXT", "Hello World", E_AUTO, AUTO, C16X16,
                    "239 13 211 160 69 19 40 179 242 254 101 129"},
        // Mode changes in the middle: C40 is left with 254 before a TEXT latch, before
        // ASCII digit pairs and before a Base256 segment, whose length 12 at stream position
        // 10 is randomised to 228.
        CodewordRow{"AUTO C40 then TEXT", "ABCDEFGHIJKLhelloworldxyz", E_AUTO, AUTO, C20X20,
                    "230 89 233 109 36 128 95 147 154 254 239 134 42 160 197 179 242 112 47 254 "
                    "123 129"},
        CodewordRow{"AUTO C40 then digits", "ABCDEFGHIJKL12345678", E_AUTO, AUTO, C18X18,
                    "230 89 233 109 36 128 95 147 154 254 142 164 186 208 129 237 133 28"},
        CodewordRow{"AUTO C40 then Base256", "ABCDEFGHIJKL" + std::string(9, '\xE4'), E_AUTO, AUTO,
                    C20X20,
                    "230 89 233 109 36 128 95 254 231 228 184 79 229 19 168 62 211 105 255 148 "
                    "42 191"},
        // No pair of C40/TEXT values at all: a latch right before its unlatch is misread by
        // libdmtx, so such a text goes in ASCII without a latch.
        CodewordRow{"C40 one value and nothing else", "5", E_C40, AUTO, C10X10, "54 129 70"},
        CodewordRow{"TEXT one value and nothing else", "a", E_TEXT, AUTO, C10X10, "98 129 70"},
        CodewordRow{"C40 multi-value last char, nothing pending", "\xE1", E_C40, AUTO, C10X10,
                    "235 98 129"},
        CodewordRow{"C40 multi-value last char, two pending", "ABa", E_C40, AUTO, C12X12,
                    "230 89 217 254 98"},
        CodewordRow{"C40 three-value last char, one pending", "A\xC1", E_C40, AUTO, C10X10,
                    "66 235 66"},
        CodewordRow{"TEXT four values, one pending", "\xC1", E_TEXT, AUTO, C10X10, "235 66 129"},
        // After the dropped unlatch the symbol ends on a pair whose low byte happens to be
        // 254; it is data, not an unlatch, and must not become a pad.
        CodewordRow{"C40 dropped unlatch, pair ends in 254", "JZX", E_C40, AUTO, C10X10,
                    "230 149 254"},
        CodewordRow{"C40 dropped unlatch, two pairs end in 254", "QOPXWP", E_C40, AUTO, C12X12,
                    "230 191 254 236 254"},
        CodewordRow{"TEXT dropped unlatch, pair ends in 254", std::string("\0j029", 5), E_TEXT,
                    AUTO, C12X12, "239 0 24 25 254"}),
    [](const auto& param) { return "Row" + std::to_string(param.index); });

TEST(TDatamatrix, NoneTakesCodesUnchanged) {
    const TDatamatrix dm = encoded("A", E_NONE);
    EXPECT_EQ(join(dm.DataCodewords()), "65 129 70");
}

TEST(TDatamatrix, AutoHighBytesMakeOneBase256Segment) {
    const std::string text(9, '\xFC');
    const TDatamatrix dm = encoded(text, E_AUTO);
    EXPECT_EQ(dm.CalculatedFormat(), C16X16); // 11 codewords
    EXPECT_EQ(dm.DataCodewords()[0], 231);
    EXPECT_EQ(dm.DataCodewords()[11], 129);
    EXPECT_EQ(readBack(dm), text);
}

TEST(TDatamatrix, LongBase256SegmentAfterAsciiWritesTwoByteLength) {
    const std::string text = "12" + std::string(300, '\xE9');
    const TDatamatrix dm = encoded(text, E_AUTO);
    const auto& cw = dm.DataCodewords();
    ASSERT_GE(cw.size(), 4u);
    EXPECT_EQ(cw[0], 142);
    EXPECT_EQ(cw[1], 231);
    // 300 = (250 - 249) * 250 + 50, randomised at stream positions 3 and 4.
    EXPECT_EQ(cw[2], (250 + (149 * 3) % 255 + 1) - 256);
    EXPECT_EQ(cw[3], 50 + (149 * 4) % 255 + 1);
    EXPECT_EQ(readBack(dm), text);
}

TEST(TDatamatrix, TooSmallPreferredSizeFallsBackToSquaresOnly) {
    struct Row {
        std::string text;
        TFormat preferred;
        TFormat expected;
    };
    const std::vector<Row> rows = {
        {std::string(20, '7'), C8X18, C16X16},  // 10 codewords, C8X32 would hold them
        {std::string(11, 'K'), C12X36, C12X36}, // larger preferred size is kept
        {std::string(11, 'K'), AUTO, C16X16},   // AUTO never picks a rectangle
        {std::string(3, 'K'), C16X48, C16X48},  {std::string(6, 'K'), C8X18, C14X14},
    };
    for (const Row& row : rows) {
        const TDatamatrix dm = encoded(row.text, E_ASCII, row.preferred);
        EXPECT_EQ(FormatName(dm.CalculatedFormat()), FormatName(row.expected)) << row.text;
    }
}

TEST(TDatamatrix, ChoiceValuesBeyondTheListsActAsAuto) {
    const TDatamatrix size = encoded("123456", E_ASCII, static_cast<TFormat>(200));
    EXPECT_EQ(size.CalculatedFormat(), C10X10);
    const TDatamatrix encoding = encoded("Hello World", static_cast<TEncoding>(9));
    EXPECT_EQ(readBack(encoding), "Hello World");
}

TEST(TDatamatrix, LargestSymbolHolds1558CodewordsAndOneMoreIsARangeError) {
    TDatamatrix dm = encoded(std::string(1558, 'x'));
    EXPECT_EQ(dm.CalculatedFormat(), C144X144);
    const TIArray before = dm.Matrix();
    const auto dataBefore = dm.DataCodewords();

    dm.Code = std::string(1559, 'x');
    dm.rebuild = true;
    try {
        dm.paintBarcode(nullptr);
        FAIL() << "no range error";
    } catch (const ERangeError& e) {
        EXPECT_STREQ(e.what(), "Fehler bei Bereichspr\xFC"
                               "fung");
    }
    EXPECT_FALSE(dm.rebuild);
    EXPECT_EQ(dm.CalculatedFormat(), C144X144);
    EXPECT_EQ(dm.MatrixCols(), 144);
    EXPECT_EQ(dm.Matrix(), before);
    EXPECT_EQ(dm.DataCodewords(), dataBefore);
}

TEST(TDatamatrix, RangeErrorKeepsASmallPreviousSymbol) {
    TDatamatrix dm = encoded("123456");
    const TIArray before = dm.Matrix();
    for (const TEncoding encoding : {E_ASCII, E_C40, E_TEXT, E_BASE256, E_NONE, E_AUTO}) {
        dm.Code = std::string(6000, 'Q'); // also overflows the 5000-codeword buffer
        dm.Encoding = encoding;
        dm.rebuild = true;
        EXPECT_THROW(dm.paintBarcode(nullptr), ERangeError) << EncodingName(encoding);
        EXPECT_EQ(dm.CalculatedFormat(), C10X10);
        EXPECT_EQ(dm.MatrixRows(), 10);
        EXPECT_EQ(dm.Matrix(), before);
        EXPECT_EQ(join(dm.DataCodewords()), "142 164 186");
    }
}

TEST(TDatamatrix, LongestDigitTextStillFitsAndHugeTextIsARangeError) {
    TDatamatrix dm = encoded(std::string(3116, '9')); // 1558 digit pairs
    EXPECT_EQ(dm.CalculatedFormat(), C144X144);
    std::string huge;
    for (int i = 0; i < 1'000'000; ++i)
        huge += "aB1.\xE9"[i % 5];
    dm.Code = huge;
    dm.Encoding = E_AUTO;
    dm.rebuild = true;
    EXPECT_THROW(dm.paintBarcode(nullptr), ERangeError);
    EXPECT_EQ(dm.CalculatedFormat(), C144X144);
}

TEST(TDatamatrix, EmptyCodeKeepsThePreviousSymbolWithoutError) {
    TDatamatrix dm = encoded("A");
    const TIArray before = dm.Matrix();
    dm.Code.clear();
    dm.PreferredFormat = C144X144;
    dm.rebuild = true;
    EXPECT_NO_THROW(dm.paintBarcode(nullptr));
    EXPECT_FALSE(dm.rebuild);
    EXPECT_EQ(dm.CalculatedFormat(), C10X10);
    EXPECT_EQ(dm.Matrix(), before);
}

TEST(TDatamatrix, RebuildsOnlyWhenAsked) {
    TDatamatrix dm = encoded("A");
    dm.Code = "12345678";
    dm.paintBarcode(nullptr); // rebuild not set: the old symbol stays
    EXPECT_EQ(join(dm.DataCodewords()), "66 129 70");
    dm.rebuild = true;
    dm.paintBarcode(nullptr);
    EXPECT_EQ(dm.CalculatedFormat(), C12X12);
    EXPECT_FALSE(dm.rebuild);
}

TEST(TDatamatrix, MatrixHandedOutIsACopy) {
    TDatamatrix dm = encoded("A");
    const TIArray held = dm.Matrix();
    dm.Code = std::string(40, 'z');
    dm.rebuild = true;
    dm.paintBarcode(nullptr);
    EXPECT_EQ(held.size(), 10u);
    EXPECT_GT(dm.Matrix().size(), 10u);
}

// Runs of digits, capitals, small letters, punctuation, bytes above 127 and controls make the
// automatic choice switch modes in every order; every stream must read back strictly.
TEST(TDatamatrix, MixedTextsReadBackStrictlyInEveryEncodation) {
    const std::vector<std::string> runs = {"0123456789",
                                           "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                                           "abcdefghijklmnopqrstuvwxyz",
                                           " !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
                                           "\xE4\xF6\xFC\xC4\xDF\xE1\xC1\x80\xFF",
                                           std::string("\0\r\n\t\x1F\x7F", 6)};
    std::mt19937 random(2026);
    for (int i = 0; i < 3000; ++i) {
        std::string text;
        const int length = 1 + static_cast<int>(random() % (i % 20 == 0 ? 300 : 40));
        std::size_t run = random() % runs.size();
        while (static_cast<int>(text.size()) < length) {
            if (random() % 5 == 0) run = random() % runs.size();
            text += runs[run][random() % runs[run].size()];
        }
        for (const TEncoding encoding : {E_ASCII, E_C40, E_TEXT, E_BASE256, E_AUTO}) {
            const TDatamatrix dm = encoded(text, encoding);
            const auto read = testing::ReadCodewordsStrictly(dm.DataCodewords());
            ASSERT_EQ(read.value_or("<refused>"), text)
                << EncodingName(encoding) << ": " << join(dm.DataCodewords());
        }
    }
}

TEST(TDatamatrix, AnyByteValueInAnyEncodationNeverCrashes) {
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += static_cast<char>(c);
    for (const TEncoding encoding : {E_ASCII, E_C40, E_TEXT, E_BASE256, E_AUTO}) {
        const TDatamatrix dm = encoded(all, encoding);
        EXPECT_EQ(readBack(dm), all) << EncodingName(encoding);
    }
    const TDatamatrix none = encoded(all, E_NONE);
    EXPECT_EQ(none.DataCodewords().size(), 280u); // 256 codes in C64X64
}

} // namespace
} // namespace korvex::datamatrix
