// korvex-cli encode as a whole process: standard output, standard error and exit status.

#include "CliProcess.h"

#include "base/Windows1252.h"
#include "datamatrix/SymbolReader.h"

#include <gtest/gtest.h>

#include <charconv>
#include <sstream>
#include <string>
#include <vector>

namespace {

using korvex::testing::RunCli;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// Reads a plain PBM back into a module grid and decodes it.
std::optional<std::string> readPbm(const std::string& pbm) {
    std::istringstream in(pbm);
    std::string magic;
    int width = 0, height = 0;
    in >> magic >> width >> height;
    if (magic != "P1" || width <= 0 || height <= 0) return std::nullopt;
    std::vector<char> bits;
    for (char c; in >> c;)
        bits.push_back(c);
    if (bits.size() != static_cast<std::size_t>(width) * height) return std::nullopt;
    return korvex::testing::ReadDataMatrix(width, height, [&](int x, int y) {
        return bits[static_cast<std::size_t>(y) * width + x] == '1';
    });
}

// The number after `key` in `text` from `from` on, or -1; `from` moves past it.
int numberAfter(const std::string& text, const std::string& key, std::size_t& from) {
    const std::size_t at = text.find(key, from);
    if (at == std::string::npos) return -1;
    int value = -1;
    const char* first = text.data() + at + key.size();
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
    if (ec != std::errc()) return -1;
    from = static_cast<std::size_t>(end - text.data());
    return value;
}

// Reads the runs of the SVG path ("M x y h n v1 h-n z") back into a module grid and decodes it.
// Plain string search: std::regex warns under the sanitizer build.
std::optional<std::string> readSvg(const std::string& svg) {
    std::size_t pos = 0;
    const int width = numberAfter(svg, "width=\"", pos);
    const int height = numberAfter(svg, "height=\"", pos);
    if (width <= 0 || height <= 0) return std::nullopt;
    std::vector<bool> dark(static_cast<std::size_t>(width) * height, false);
    pos = svg.find(" d=\"");
    for (std::size_t runStart; (runStart = svg.find('M', pos)) != std::string::npos;) {
        pos = runStart;
        const int x = numberAfter(svg, "M", pos);
        const int y = numberAfter(svg, " ", pos);
        const int n = numberAfter(svg, "h", pos);
        if (x < 0 || y < 0 || n <= 0 || x + n > width || y >= height) return std::nullopt;
        for (int i = 0; i < n; ++i)
            dark[static_cast<std::size_t>(y) * width + x + i] = true;
    }
    return korvex::testing::ReadDataMatrix(
        width, height, [&](int x, int y) { return dark[static_cast<std::size_t>(y) * width + x]; });
}

TEST(EncodeCommand, MatrixIsTheSymbolRowsAndNothingElse) {
    const auto r = RunCli({"encode", "123456"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "#.#.#.#.#.\n##..#.##.#\n##.....#..\n##...###.#\n##....#...\n"
                     "#.....####\n###.##....\n####.##..#\n#..###.#..\n##########\n");
}

TEST(EncodeCommand, CodewordsShowSizeDataAndErrorLines) {
    struct Row {
        std::vector<std::string> args;
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows = {
        {{"encode", "--format", "codewords", "123456"},
         {"C10X10", "142 164 186", "114 25 5 88 102"}},
        {{"encode", "--format=codewords", "A"}, {"C10X10", "66 129 70", "138 234 82 82 95"}},
        {{"encode", "--encoding", "C40", "--format", "codewords", "AIMAIM"},
         {"C12X12", "230 91 11 91 11"}},
        {{"encode", "--encoding", "BINARY", "--format", "codewords", "ab"},
         {"C12X12", "231 46 34 185 129"}},
        {{"encode", "--encoding", "NONE", "--format", "codewords", "A"}, {"C10X10", "65 129 70"}},
        {{"encode", "--size", "C8X18", "--format", "codewords", std::string(20, '7')}, {"C16X16"}},
        {{"encode", "--size=C12X36", "--format", "codewords", "ABCDEFGHIJK"}, {"C12X36"}},
        {{"encode", "--encoding", "AUTO", "--format", "codewords", "Hello World"},
         {"C16X16", "239 13 211 160 69 19 40 179 242 254 101 129"}},
        {{"encode", "--format", "codewords", "\xC3\xA4"}, {"C10X10", "235 101 129"}},
        {{"encode", "--content", "gs1", "--format", "codewords", "(01)09506000134352"},
         {"C16X16", "232 131 139 180 190 130 143 173 182 129 251 147"}},
        {{"encode", "--content=iso15434-06", "--format", "codewords", "18S0CVA5786950"},
         {"C16X16", "237 148 84 49 68 87 66 187 216 225 49 129"}},
    };
    for (const Row& row : rows) {
        const auto r = RunCli(row.args);
        EXPECT_EQ(r.exitCode, 0) << row.args.back();
        const auto got = lines(r.out);
        ASSERT_EQ(got.size(), 3u) << r.out;
        for (std::size_t i = 0; i < row.expected.size(); ++i)
            EXPECT_EQ(got[i], row.expected[i]) << row.args.back() << " line " << i + 1;
    }
}

TEST(EncodeCommand, ContentThatItsKindRefusesIsNotEncoded) {
    const auto r = RunCli({"encode", "--content", "gs1", "(01)09506000134353"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Wrong check digit in the GS1 element: (01)09506000134353\n");
}

TEST(EncodeCommand, SvgAndPbmScanBackToTheWindows1252Bytes) {
    const std::string utf8 = "M\xC3\xBCller \xE2\x82\xAC 4711-AB";
    const std::string bytes = "M\xFCller \x80 4711-AB";
    for (const char* encoding : {"ASCII", "C40", "TEXT", "BINARY", "AUTO"}) {
        const auto pbm = RunCli({"encode", "--encoding", encoding, "--format", "pbm", utf8});
        EXPECT_EQ(pbm.exitCode, 0);
        EXPECT_EQ(readPbm(pbm.out).value_or("<unreadable>"), bytes) << encoding;
        const auto svg = RunCli({"encode", "--encoding", encoding, "--format", "svg", utf8});
        EXPECT_EQ(svg.exitCode, 0);
        EXPECT_EQ(readSvg(svg.out).value_or("<unreadable>"), bytes) << encoding;
    }
}

TEST(EncodeCommand, PbmHasOneModuleQuietZone) {
    const auto r = RunCli({"encode", "--format", "pbm", "123456"});
    const auto got = lines(r.out);
    ASSERT_EQ(got.size(), 14u);
    EXPECT_EQ(got[1], "12 12");
    EXPECT_EQ(got[2], "000000000000");
    EXPECT_EQ(got[3], "010101010100");
    EXPECT_EQ(got[12], "011111111110");
}

TEST(EncodeCommand, LargestSymbolAndEveryCodePageCharacterScanBack) {
    std::string bytes;
    for (int c = 1; c < 256; ++c)
        bytes += static_cast<char>(c);
    const std::string utf8 = korvex::base::Windows1252ToUtf8(bytes);
    const auto all = RunCli({"encode", "--encoding", "AUTO", "--format", "pbm", utf8});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(readPbm(all.out).value_or("<unreadable>"), bytes);

    const std::string digits(3116, '5'); // 1558 codewords
    const auto big = RunCli({"encode", "--format", "pbm", digits});
    EXPECT_EQ(lines(big.out)[1], "146 146");
    EXPECT_EQ(readPbm(big.out).value_or("<unreadable>"), digits);
}

TEST(EncodeCommand, TextThatFitsNoSizeIsARangeError) {
    for (const std::string& text : {std::string(1559, 'x'), std::string(6000, 'y')}) {
        const auto r = RunCli({"encode", text});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "Fehler bei Bereichspr\xC3\xBC"
                         "fung\n");
    }
}

TEST(EncodeCommand, BadArgumentsPrintUsageAndExitTwo) {
    const std::vector<std::vector<std::string>> rows = {
        {"encode"},
        {"encode", "--size", "C10X11", "A"},
        {"encode", "--size", "c10x10", "A"},
        {"encode", "--encoding", "BASE256", "A"},
        {"encode", "--format", "png", "A"},
        {"encode", "--colour", "red", "A"},
        {"encode", "A", "--size"},
        {"encode", "A", "B"},
        {"encode", ""},
        {"encode", "\xE6\xBC\xA2"}, // no Windows-1252 code
        {"encode", "\xC3("},        // malformed UTF-8
    };
    for (const auto& args : rows) {
        const auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, 2) << args.back();
        EXPECT_EQ(r.out, "") << args.back();
        EXPECT_NE(r.err.find("usage: korvex-cli encode"), std::string::npos) << args.back();
    }
}

TEST(EncodeCommand, DoubleDashLetsTextStartWithADash) {
    const auto r = RunCli({"encode", "--format", "codewords", "--", "-5"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(lines(r.out)[1], "46 54 129");
}

} // namespace
