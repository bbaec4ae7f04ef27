#include "verify/SymbolErrors.h"

#include "datamatrix/Placement.h"
#include "datamatrix/ReedSolomon.h"

#include <algorithm>
#include <cstdint>

namespace korvex::verify {
namespace {

namespace dm = datamatrix;

int gfPower(int exponent) {
    return dm::ANTILOG[static_cast<std::size_t>(((exponent % 255) + 255) % 255)];
}

int gfInverse(int a) {
    return gfPower(255 - dm::LOG[static_cast<std::size_t>(a)]);
}

// The number of errors in one block (codewords from the highest power down), found by
// Berlekamp-Massey on the syndromes at 2^1 ... 2^nc and confirmed by as many roots of the
// locator among the block's places; -1 when the block cannot be corrected.
int blockErrors(const std::vector<int>& block, int nc) {
    const int n = static_cast<int>(block.size());
    std::vector<int> syndrome(static_cast<std::size_t>(nc), 0);
    bool clean = true;
    for (int j = 0; j < nc; ++j) {
        int value = 0;
        for (int i = 0; i < n; ++i)
            value = dm::GfMultiply(value, gfPower(j + 1)) ^ block[static_cast<std::size_t>(i)];
        syndrome[static_cast<std::size_t>(j)] = value;
        clean = clean && value == 0;
    }
    if (clean) return 0;
    std::vector<int> locator{1}, previous{1};
    int length = 0, shift = 1, lastDiscrepancy = 1;
    for (int k = 0; k < nc; ++k) {
        int d = syndrome[static_cast<std::size_t>(k)];
        for (int i = 1; i <= length && i < static_cast<int>(locator.size()); ++i)
            d ^= dm::GfMultiply(locator[static_cast<std::size_t>(i)],
                                syndrome[static_cast<std::size_t>(k - i)]);
        if (d == 0) {
            ++shift;
            continue;
        }
        const int factor = dm::GfMultiply(d, gfInverse(lastDiscrepancy));
        std::vector<int> next = locator;
        next.resize(std::max(locator.size(), previous.size() + static_cast<std::size_t>(shift)), 0);
        for (std::size_t i = 0; i < previous.size(); ++i)
            next[i + static_cast<std::size_t>(shift)] ^= dm::GfMultiply(factor, previous[i]);
        if (2 * length <= k) {
            previous = locator;
            length = k + 1 - length;
            lastDiscrepancy = d;
            shift = 1;
        } else {
            ++shift;
        }
        locator = next;
    }
    if (2 * length > nc) return -1;
    int roots = 0;
    for (int place = 0; place < n; ++place) {
        int value = 0;
        const int x = gfPower(-place); // the inverse of the place's locator 2^place
        for (std::size_t i = locator.size(); i-- > 0;)
            value = dm::GfMultiply(value, x) ^ locator[i];
        roots += value == 0;
    }
    return roots == length ? length : -1;
}

bool ideallyDark(int x, int y, int w, int h) {
    if (x == 0 || y == h - 1) return true;
    if (y == 0) return x % 2 == 0;
    if (x == w - 1) return (h - 1 - y) % 2 == 0;
    return false;
}

} // namespace

TSymbolErrors CountErrors(const std::vector<char>& dark, const dm::TSizeInfo& size) {
    TSymbolErrors out;
    const int cols = size.symbolCols;
    const int bw = size.regionCols + 2, bh = size.regionRows + 2;
    // The codewords from the data modules (ISO/IEC 16022, 5.8: the regions without frames).
    const std::vector<int> mapping = dm::MappingArray(size.mappingRows, size.mappingCols);
    const int total = size.dataCodewords + size.errorCodewords;
    std::vector<int> words(static_cast<std::size_t>(total), 0);
    for (int r = 0; r < size.symbolRows; ++r)
        for (int c = 0; c < cols; ++c) {
            const int ir = r % bh, ic = c % bw;
            if (ir == 0 || ir == bh - 1 || ic == 0 || ic == bw - 1) continue;
            const int mr = r / bh * size.regionRows + ir - 1,
                      mc = c / bw * size.regionCols + ic - 1;
            const int entry = mapping[static_cast<std::size_t>(mr) * size.mappingCols + mc];
            if (entry < 10 || !dark[static_cast<std::size_t>(r) * cols + c]) continue;
            if (entry / 10 - 1 < total)
                words[static_cast<std::size_t>(entry / 10 - 1)] |= 1 << (8 - entry % 10);
        }
    // Block b holds every blockCount-th data and error codeword from b on.
    out.Correctable = true;
    out.UnusedErrorCorrection = 1;
    for (int b = 0; b < size.blockCount; ++b) {
        std::vector<int> block;
        for (int k = b; k < size.dataCodewords; k += size.blockCount)
            block.push_back(words[static_cast<std::size_t>(k)]);
        for (int k = b; k < size.errorCodewords; k += size.blockCount)
            block.push_back(words[static_cast<std::size_t>(size.dataCodewords + k)]);
        const int t = blockErrors(block, size.errorPerBlock);
        if (t < 0) {
            out.Correctable = false;
            out.UnusedErrorCorrection = 0;
            continue;
        }
        out.UnusedErrorCorrection =
            std::min(out.UnusedErrorCorrection, std::max(0.0, 1.0 - 2.0 * t / size.errorPerBlock));
    }
    // Each region's frame in four segments: the L's two legs and the two clock tracks.
    for (int y0 = 0; y0 < size.symbolRows; y0 += bh)
        for (int x0 = 0; x0 < cols; x0 += bw) {
            std::array<int, 4> wrong{};
            for (int y = 0; y < bh; ++y)
                for (int x = 0; x < bw; ++x) {
                    if (x != 0 && y != 0 && x != bw - 1 && y != bh - 1) continue;
                    const bool seen = dark[static_cast<std::size_t>(y0 + y) * cols + x0 + x] != 0;
                    if (seen == ideallyDark(x, y, bw, bh)) continue;
                    ++out.PatternDamage;
                    ++wrong[x == 0 ? 0 : y == bh - 1 ? 1 : y == 0 ? 2 : 3];
                }
            out.WorstSegmentDamage =
                std::max(out.WorstSegmentDamage, *std::max_element(wrong.begin(), wrong.end()));
        }
    return out;
}

} // namespace korvex::verify
