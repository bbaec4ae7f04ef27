#include "datamatrix/C40TextEncoder.h"

#include "datamatrix/StrictCodewordReader.h"
#include "datamatrix/TDatamatrix.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvex::datamatrix {
namespace {

std::vector<int> values(unsigned char code) {
    std::vector<int> v;
    for (const auto value : C40Values(code))
        if (value >= 0) v.push_back(value);
    return v;
}

std::string run(std::string_view data, bool text, bool stepwise, int& leftover, int& position) {
    CodewordBuffer out;
    position = EncodeC40Text(data, 0, text, true, stepwise, out, leftover);
    std::string s;
    for (int i = 0; i < out.size(); ++i)
        s += (s.empty() ? "" : " ") + std::to_string(out[i]);
    return s;
}

TEST(C40TextEncoder, ValueTableFollowsTheC40CharacterSet) {
    struct Row {
        int code;
        std::vector<int> expected;
    };
    const std::vector<Row> rows = {
        {0, {0, 0}},          {31, {0, 31}},      {' ', {3}},           {'0', {4}},
        {'9', {13}},          {'A', {14}},        {'Z', {39}},          {'!', {1, 0}},
        {'/', {1, 14}},       {':', {1, 15}},     {'@', {1, 21}},       {'[', {1, 22}},
        {'_', {1, 26}},       {'`', {2, 0}},      {'a', {2, 1}},        {127, {2, 31}},
        {128, {1, 30, 0, 0}}, {193, {1, 30, 14}}, {225, {1, 30, 2, 1}}, {255, {1, 30, 2, 31}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(values(row.code), row.expected) << row.code;
}

TEST(C40TextEncoder, TextExchangesCaseAlsoAboveUpperShift) {
    EXPECT_EQ(values(ExchangeCase('a')), (std::vector<int>{14}));
    EXPECT_EQ(values(ExchangeCase('A')), (std::vector<int>{2, 1}));
    EXPECT_EQ(values(ExchangeCase(225)), (std::vector<int>{1, 30, 14}));
    EXPECT_EQ(values(ExchangeCase(193)), (std::vector<int>{1, 30, 2, 1}));
    EXPECT_EQ(ExchangeCase('5'), '5');
    EXPECT_EQ(ExchangeCase('{'), '{');
}

TEST(C40TextEncoder, StepwiseStopsAtFirstClosedTriple) {
    int leftover = -1, position = -1;
    EXPECT_EQ(run("ABCDEF", false, true, leftover, position), "230 89 233");
    EXPECT_EQ(position, 3);
    EXPECT_EQ(leftover, 0);
    // Closing at the end of the data also writes the unlatch.
    EXPECT_EQ(run("ABC", false, true, leftover, position), "230 89 233 254");
    EXPECT_EQ(position, 3);
}

// Every word of up to three characters from letters of both cases, digits, a space, a shift 2
// character and one above 127: all value counts, leftovers and pair values a small symbol
// meets, including pairs that end in the byte 254 next to a dropped unlatch.
TEST(C40TextEncoder, EveryShortWordReadsBackStrictlyFromTheSymbolsCodewords) {
    const std::string alphabet = "ABCXYZabcxyz0189 .\xE4\xC9";
    std::vector<std::string> words;
    for (const char a : alphabet) {
        words.emplace_back(1, a);
        for (const char b : alphabet) {
            words.push_back({a, b});
            for (const char c : alphabet)
                words.push_back({a, b, c});
        }
    }
    int checked = 0;
    for (const TEncoding encoding : {E_C40, E_TEXT}) {
        TDatamatrix dm;
        dm.Encoding = encoding;
        for (const std::string& word : words) {
            dm.Code = word;
            dm.rebuild = true;
            dm.paintBarcode(nullptr);
            const auto read = testing::ReadCodewordsStrictly(dm.DataCodewords());
            ASSERT_EQ(read.value_or("<refused>"), word)
                << EncodingName(encoding) << " in " << FormatName(dm.CalculatedFormat());
            ++checked;
        }
    }
    EXPECT_EQ(checked, 2 * (20 + 20 * 20 + 20 * 20 * 20));
}

} // namespace
} // namespace korvex::datamatrix
