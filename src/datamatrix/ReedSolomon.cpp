#include "datamatrix/ReedSolomon.h"

#include <algorithm>

namespace korvex::datamatrix {

namespace {

constexpr int PRIMITIVE = 301;
constexpr int MAX_BLOCKS = 10;
constexpr int BLOCK_SIZE = 255;
// ISO/IEC 16022's sixteen counts, then those only DMRE uses.
constexpr std::array<int, 25> ERROR_COUNTS = {5,  7,  10, 11, 12, 14, 18, 20, 24, 28, 36, 42, 48,
                                              56, 62, 68, 15, 22, 27, 32, 34, 38, 41, 46, 50};

constexpr std::array<std::uint8_t, 255> makeAntilog() {
    std::array<std::uint8_t, 255> table{};
    int value = 1;
    for (int i = 0; i < 255; ++i) {
        table[i] = static_cast<std::uint8_t>(value);
        value <<= 1;
        if (value > 255) value ^= PRIMITIVE;
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> makeLog(const std::array<std::uint8_t, 255>& antilog) {
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 255; ++i)
        table[antilog[i]] = static_cast<std::uint8_t>(i);
    return table;
}

// Twice the antilog table, so a sum of two logs needs no modulo.
constexpr std::array<std::uint8_t, 510> makeAntilog2(const std::array<std::uint8_t, 255>& a) {
    std::array<std::uint8_t, 510> table{};
    for (int i = 0; i < 510; ++i)
        table[i] = a[i % 255];
    return table;
}

constexpr auto ANTILOG_TABLE = makeAntilog();
constexpr auto LOG_TABLE = makeLog(ANTILOG_TABLE);
constexpr auto ANTILOG2 = makeAntilog2(ANTILOG_TABLE);

constexpr int multiply(int a, int b) {
    if (a == 0 || b == 0) return 0;
    return ANTILOG2[LOG_TABLE[a] + LOG_TABLE[b]];
}

struct Generator {
    int n = 0;
    std::array<std::uint8_t, 68> coefficient{}; // from x^(n-1) down to x^0
    std::array<int, 68> logCoefficient{};       // -1 for a zero coefficient
};

constexpr Generator makeGenerator(int n) {
    // poly[i] is the coefficient of x^i; start with 1 and multiply by (x + 2^k).
    std::array<int, 69> poly{};
    poly[0] = 1;
    for (int k = 1; k <= n; ++k) {
        const int root = ANTILOG_TABLE[k];
        for (int i = k; i >= 1; --i)
            poly[i] = poly[i - 1] ^ multiply(poly[i], root);
        poly[0] = multiply(poly[0], root);
    }
    Generator g;
    g.n = n;
    for (int j = 0; j < n; ++j) {
        const int c = poly[n - 1 - j];
        g.coefficient[j] = static_cast<std::uint8_t>(c);
        g.logCoefficient[j] = c == 0 ? -1 : LOG_TABLE[c];
    }
    return g;
}

constexpr std::array<Generator, ERROR_COUNTS.size()> makeGenerators() {
    std::array<Generator, ERROR_COUNTS.size()> all{};
    for (std::size_t i = 0; i < ERROR_COUNTS.size(); ++i)
        all[i] = makeGenerator(ERROR_COUNTS[i]);
    return all;
}

constexpr auto GENERATORS = makeGenerators();

const Generator& generatorFor(int n) {
    for (const Generator& g : GENERATORS)
        if (g.n == n) return g;
    return GENERATORS[15]; // the 68
}

} // namespace

const std::array<std::uint8_t, 255> ANTILOG = ANTILOG_TABLE;
const std::array<std::uint8_t, 256> LOG = LOG_TABLE;

int GfMultiply(int a, int b) {
    return multiply(a, b);
}

int GeneratorCoefficient(int n, int j) {
    return generatorFor(n).coefficient[j];
}

void EncodeBlock(std::uint8_t* block, int nd, int nc) {
    const Generator& g = generatorFor(nc);
    std::uint8_t* ecc = block + nd;
    std::fill(ecc, ecc + nc, std::uint8_t{0});
    for (int i = 0; i < nd; ++i) {
        const int k = ecc[0] ^ block[i];
        if (k == 0) {
            std::copy(ecc + 1, ecc + nc, ecc);
            ecc[nc - 1] = 0;
            continue;
        }
        const int logK = LOG_TABLE[k];
        for (int j = 0; j < nc - 1; ++j) {
            const int lc = g.logCoefficient[j];
            ecc[j] = static_cast<std::uint8_t>(ecc[j + 1] ^ (lc < 0 ? 0 : ANTILOG2[logK + lc]));
        }
        const int last = g.logCoefficient[nc - 1];
        ecc[nc - 1] = last < 0 ? 0 : ANTILOG2[logK + last];
    }
}

void BuildStream(const std::uint8_t* data, const TSizeInfo& size, std::uint8_t* stream) {
    const int blocks = size.blockCount;
    const int nc = size.errorPerBlock;
    std::array<std::array<std::uint8_t, BLOCK_SIZE>, MAX_BLOCKS> buffer;
    std::array<int, MAX_BLOCKS> dataCount{};
    for (int b = 0; b < blocks; ++b)
        dataCount[b] = size.dataPerBlock;
    // ISO/IEC 16022, 5.8: in 144 x 144 the last two of ten blocks hold 155 data codewords.
    if (size.symbolRows == 144) dataCount[8] = dataCount[9] = size.dataPerBlock - 1;

    for (int k = 0; k < size.dataCodewords; ++k)
        buffer[k % blocks][k / blocks] = data[k];
    for (int b = 0; b < blocks; ++b)
        EncodeBlock(buffer[b].data(), dataCount[b], nc);

    int out = 0;
    const int firstLength = dataCount[0] + nc;
    for (int p = 0; p < firstLength; ++p)
        for (int b = 0; b < blocks; ++b)
            if (dataCount[b] + nc > p) stream[out++] = buffer[b][p];
}

std::vector<std::uint8_t> BuildStream(const std::uint8_t* data, const TSizeInfo& size) {
    std::vector<std::uint8_t> stream(
        static_cast<std::size_t>(size.dataCodewords + size.errorCodewords));
    BuildStream(data, size, stream.data());
    return stream;
}

} // namespace korvex::datamatrix
