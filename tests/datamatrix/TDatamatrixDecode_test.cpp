// Every size and encodation, read back by zxing-cpp and libdmtx: both must return the input
// bytes (zxing-cpp alone for DMRE).

#include "datamatrix/CodewordBuffer.h"
#include "datamatrix/ERangeError.h"
#include "datamatrix/TDatamatrix.h"
#include "datamatrix/SymbolReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvex::datamatrix {

// Readable parameters in test names and failure messages.
void PrintTo(TEncoding encoding, std::ostream* os) {
    *os << EncodingName(encoding);
}

namespace {

std::string allBytes() {
    std::string s;
    for (int c = 0; c < 256; ++c)
        s += static_cast<char>(c);
    return s;
}

std::string highBytes() {
    std::string s;
    for (int c = 128; c < 256; ++c)
        s += static_cast<char>(c);
    return s;
}

struct Alphabet {
    const char* name;
    std::string pattern; // repeated to any length
};

const std::vector<Alphabet>& alphabets() {
    static const std::vector<Alphabet> list = {
        {"digits", "0123456789"},
        {"upper", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {"lower", "abcdefghijklmnopqrstuvwxyz"},
        {"punctuation", "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~ "},
        {"high bytes", highBytes()},
        {"mixed", "SN-2026-000123 PN 4711-AB M\xFC"
                  "ller \x80\r\nx9"},
        {"all bytes", allBytes()},
    };
    return list;
}

std::string repeatTo(const std::string& pattern, int length) {
    std::string s;
    s.reserve(static_cast<std::size_t>(length));
    while (static_cast<int>(s.size()) < length)
        s += pattern[s.size() % pattern.size()];
    return s;
}

std::optional<std::string> decode(const TDatamatrix& dm) {
    const TIArray m = dm.Matrix();
    return testing::ReadDataMatrix(dm.MatrixCols(), dm.MatrixRows(),
                                   [&m](int x, int y) { return m[x][y] != 0; });
}

std::optional<std::string> decodeDmtx(const TDatamatrix& dm) {
    const TIArray m = dm.Matrix();
    return testing::ReadDataMatrixDmtx(dm.MatrixCols(), dm.MatrixRows(),
                                       [&m](int x, int y) { return m[x][y] != 0; });
}

bool buildsIn(TDatamatrix& dm, const std::string& text, TFormat size) {
    dm.Code = text;
    dm.rebuild = true;
    try {
        dm.paintBarcode(nullptr);
    } catch (const ERangeError&) {
        return false;
    }
    return dm.CalculatedFormat() == size;
}

// The longest prefix of the pattern that is still encoded in `size` (next one is not).
int capacityLength(TDatamatrix& dm, const std::string& pattern, TFormat size) {
    if (!buildsIn(dm, repeatTo(pattern, 1), size)) return 0;
    int lo = 1, hi = 2;
    while (buildsIn(dm, repeatTo(pattern, hi), size)) {
        lo = hi;
        hi *= 2;
    }
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        (buildsIn(dm, repeatTo(pattern, mid), size) ? lo : hi) = mid;
    }
    return lo;
}

class EverySizeAndEncodation : public ::testing::TestWithParam<std::tuple<int, TEncoding>> {};

TEST_P(EverySizeAndEncodation, ZxingAndLibdmtxReadBackShortHalfAndFullTexts) {
    const auto size = static_cast<TFormat>(std::get<0>(GetParam()));
    TDatamatrix dm;
    dm.Encoding = std::get<1>(GetParam());
    dm.PreferredFormat = size;
    int fitting = 0;
    for (const Alphabet& alphabet : alphabets()) {
        // In C40/TEXT a byte above 127 alone needs more than C10X10 holds.
        const int full = capacityLength(dm, alphabet.pattern, size);
        if (full == 0) continue;
        ++fitting;
        for (const int length : {1, (full + 1) / 2, full}) {
            const std::string text = repeatTo(alphabet.pattern, length);
            ASSERT_TRUE(buildsIn(dm, text, size)) << alphabet.name << " length " << length;
            const auto read = decode(dm);
            ASSERT_TRUE(read.has_value()) << alphabet.name << " length " << length;
            EXPECT_EQ(*read, text) << alphabet.name << " length " << length;
            if (size == C144X144) continue; // libdmtx's own interleave there
            if (IsDmre(size)) continue;     // libdmtx 0.7.7 reads no DMRE
            const auto dmtxRead = decodeDmtx(dm);
            ASSERT_TRUE(dmtxRead.has_value())
                << "libdmtx, " << alphabet.name << " length " << length;
            EXPECT_EQ(*dmtxRead, text) << "libdmtx, " << alphabet.name << " length " << length;
        }
    }
    EXPECT_GE(fitting, 2);
}

INSTANTIATE_TEST_SUITE_P(
    AllSizes, EverySizeAndEncodation,
    ::testing::Combine(::testing::Range(1, FORMAT_COUNT),
                       ::testing::Values(E_ASCII, E_C40, E_TEXT, E_BASE256, E_AUTO)),
    [](const auto& param) {
        return std::string(FormatName(static_cast<TFormat>(std::get<0>(param.param)))) + "_" +
               std::string(EncodingName(std::get<1>(param.param)));
    });

// Every short text over characters of one to four C40/TEXT values, where a C40/TEXT run can
// end before it has a single pair: never a latch directly followed by its unlatch, and both
// decoders read the text back.
TEST(ShortTexts, NoEmptyC40OrTextRunAndBothDecodersReadThem) {
    const std::string chars = "5Aa \xC1\xE1!";
    std::vector<std::string> texts;
    for (const char a : chars) {
        texts.emplace_back(1, a);
        for (const char b : chars)
            texts.push_back(std::string{a, b});
    }
    for (const TEncoding encoding : {E_C40, E_TEXT, E_AUTO}) {
        for (const std::string& text : texts) {
            TDatamatrix dm;
            dm.Encoding = encoding;
            dm.Code = text;
            dm.paintBarcode(nullptr);
            const std::vector<int> cw(dm.DataCodewords().begin(), dm.DataCodewords().end());
            const std::string what = std::string(EncodingName(encoding)) + " \"" + text + "\"";
            for (std::size_t i = 0; i + 1 < cw.size() && cw[i] != CW_LATCH_BASE256; ++i)
                EXPECT_FALSE((cw[i] == CW_LATCH_C40 || cw[i] == CW_LATCH_TEXT) &&
                             cw[i + 1] == CW_UNLATCH)
                    << what;
            EXPECT_EQ(decode(dm), text) << what;
            EXPECT_EQ(decodeDmtx(dm), text) << "libdmtx, " << what;
        }
    }
}

// NONE passes codes through; texts made of valid ASCII-mode codewords read back decoded.
TEST(NoneEncodation, CodesThatAreAsciiCodewordsReadBackDecoded) {
    struct Row {
        std::string codes;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"IFMMP", "HELLO"},
        {std::string("\x8E\xA4\xBA", 3), "123456"},
        {std::string("B\xE5") + "\x66", "A99e"},
    };
    for (const Row& row : rows) {
        TDatamatrix dm;
        dm.Encoding = E_NONE;
        dm.Code = row.codes;
        dm.paintBarcode(nullptr);
        const auto read = decode(dm);
        ASSERT_TRUE(read.has_value()) << row.expected;
        EXPECT_EQ(*read, row.expected);
    }
}

} // namespace
} // namespace korvex::datamatrix
