#include "datamatrix/ReedSolomon.h"

#include "datamatrix/SizeTable.h"
#include "datamatrix/TDatamatrix.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvex::datamatrix {
namespace {

// Carry-less multiply reduced by 301, independent of the log tables.
int slowMultiply(int a, int b) {
    int product = 0;
    while (b != 0) {
        if (b & 1) product ^= a;
        a <<= 1;
        if (a & 0x100) a ^= 301;
        b >>= 1;
    }
    return product;
}

// Remainder of data(x) * x^nc divided by prod (x + 2^i), by plain long division.
std::vector<int> slowErrorCodewords(const std::vector<int>& data, int nc) {
    std::vector<int> generator = {1}; // highest power first
    int root = 1;
    for (int i = 1; i <= nc; ++i) {
        root = slowMultiply(root, 2);
        std::vector<int> next(generator.size() + 1, 0);
        for (std::size_t k = 0; k < generator.size(); ++k) {
            next[k] ^= generator[k];
            next[k + 1] ^= slowMultiply(generator[k], root);
        }
        generator = next;
    }
    std::vector<int> work = data;
    work.resize(data.size() + nc, 0);
    for (std::size_t i = 0; i < data.size(); ++i) {
        const int factor = work[i];
        if (factor == 0) continue;
        for (std::size_t k = 0; k < generator.size(); ++k)
            work[i + k] ^= slowMultiply(generator[k], factor);
    }
    return {work.end() - nc, work.end()};
}

std::string join(const std::vector<std::uint8_t>& codewords) {
    std::string s;
    for (const int c : codewords)
        s += (s.empty() ? "" : " ") + std::to_string(c);
    return s;
}

TEST(ReedSolomon, MultiplyAgreesWithCarryLessProductAndZeroAbsorbs) {
    EXPECT_EQ(GfMultiply(2, 128), 45);
    for (int a = 0; a < 256; ++a) {
        EXPECT_EQ(GfMultiply(0, a), 0);
        EXPECT_EQ(GfMultiply(a, 0), 0);
        for (int b = 1; b < 256; b += 7)
            EXPECT_EQ(GfMultiply(a, b), slowMultiply(a, b));
    }
}

TEST(ReedSolomon, GeneratorOfFiveMatchesTheStandard) {
    const std::vector<int> expected = {62, 111, 15, 48, 228};
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(GeneratorCoefficient(5, j), expected[j]);
    // A count ECC 200 never uses reads the table of 68.
    EXPECT_EQ(GeneratorCoefficient(6, 0), GeneratorCoefficient(68, 0));
}

TEST(ReedSolomon, EveryBlockShapeMatchesLongDivision) {
    for (int f = C10X10; f < FORMAT_COUNT; ++f) {
        const TSizeInfo& size = SIZE_TABLE[f];
        std::vector<std::uint8_t> block(255, 0);
        std::vector<int> data;
        for (int i = 0; i < size.dataPerBlock; ++i) {
            block[i] = static_cast<std::uint8_t>((i * 37 + f * 11) % 256);
            data.push_back(block[i]);
        }
        EncodeBlock(block.data(), size.dataPerBlock, size.errorPerBlock);
        const std::vector<int> expected = slowErrorCodewords(data, size.errorPerBlock);
        const std::vector<int> actual(block.begin() + size.dataPerBlock,
                                      block.begin() + size.dataPerBlock + size.errorPerBlock);
        EXPECT_EQ(actual, expected) << FormatName(static_cast<TFormat>(f));
    }
}

TEST(ReedSolomon, SmallSymbolsGiveTheirKnownErrorCodewords) {
    struct Row {
        std::string text;
        const char* errors;
    };
    for (const Row& row : {Row{"123456", "114 25 5 88 102"}, Row{"A", "138 234 82 82 95"}}) {
        TDatamatrix dm;
        dm.Code = row.text;
        dm.paintBarcode(nullptr);
        EXPECT_EQ(join(dm.ErrorCodewords()), row.errors) << row.text;
    }
}

std::vector<std::uint8_t> sampleData(int count) {
    std::vector<std::uint8_t> data(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        data[i] = static_cast<std::uint8_t>((i * 53 + 7) % 256);
    return data;
}

TEST(ReedSolomon, TwoBlockStreamKeepsDataAndAlternatesErrors) {
    const TSizeInfo& size = SizeInfo(C52X52);
    const auto data = sampleData(size.dataCodewords);
    const auto stream = BuildStream(data.data(), size);
    ASSERT_EQ(stream.size(), 288u);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), stream.begin()));
    for (int b = 0; b < 2; ++b) {
        std::vector<int> blockData;
        for (int k = b; k < 204; k += 2)
            blockData.push_back(data[k]);
        const auto errors = slowErrorCodewords(blockData, 42);
        for (int j = 0; j < 42; ++j)
            EXPECT_EQ(stream[204 + 2 * j + b], errors[j]) << b << j;
    }
}

TEST(ReedSolomon, LargestSymbolInterleavesShortBlocksOnePlaceEarly) {
    const TSizeInfo& size = SizeInfo(C144X144);
    const auto data = sampleData(size.dataCodewords);
    const auto stream = BuildStream(data.data(), size);
    ASSERT_EQ(stream.size(), 2178u);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), stream.begin()));

    std::vector<std::vector<int>> errors;
    for (int b = 0; b < 10; ++b) {
        std::vector<int> blockData;
        for (int k = b; k < 1558; k += 10)
            blockData.push_back(data[k]);
        EXPECT_EQ(blockData.size(), b < 8 ? 156u : 155u);
        errors.push_back(slowErrorCodewords(blockData, 62));
    }
    // Positions 1550-1557: the 156th data codeword of blocks 1-8; 1558, 1559: first error
    // codeword of blocks 9 and 10.
    EXPECT_EQ(stream[1557], data[1557]);
    EXPECT_EQ(stream[1558], errors[8][0]);
    EXPECT_EQ(stream[1559], errors[9][0]);
    for (int p = 156; p < 218; ++p) {
        for (int b = 0; b < 8; ++b)
            EXPECT_EQ(stream[1560 + (p - 156) * 10 + b], errors[b][p - 156]) << p << " " << b;
        if (p == 217) continue; // blocks 9 and 10 are one shorter
        for (int b = 8; b < 10; ++b)
            EXPECT_EQ(stream[1560 + (p - 156) * 10 + b], errors[b][p - 155]) << p << " " << b;
    }
}

} // namespace
} // namespace korvex::datamatrix
