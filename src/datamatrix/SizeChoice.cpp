#include "datamatrix/SizeChoice.h"

#include "datamatrix/SizeTable.h"

namespace korvex::datamatrix {

namespace {

bool isRectangle(int format) {
    return SIZE_TABLE[format].symbolRows < SIZE_TABLE[format].symbolCols;
}

// Whether `candidate` holds the stream; in C40/TEXT one codeword too many may still fit by
// dropping the final unlatch, which then shortens `codewords`.
bool holds(CodewordBuffer& codewords, int candidate, EncodationMode mode, int leftover) {
    const int n = codewords.size();
    const int capacity = SIZE_TABLE[candidate].dataCodewords;
    if (capacity >= n) return true;
    if (!IsC40OrText(mode) || n != capacity + 1) return false;
    if (leftover == 1 && codewords[n - 2] == CW_UNLATCH) {
        codewords.set(n - 2, codewords[n - 1]);
        codewords.truncate(n - 1);
        return true;
    }
    if (leftover == 0 && codewords[n - 1] == CW_UNLATCH) {
        codewords.truncate(n - 1);
        return true;
    }
    return false;
}

// A shaft limits the height across its axis, so a rectangle grows along it: the rectangle
// (classic or DMRE) of the fewest data codewords that holds the stream and is no taller.
std::optional<TFormat> longerRectangle(CodewordBuffer& codewords, int preferred,
                                       EncodationMode mode, int leftover) {
    // First with one codeword to spare for a dropped unlatch, then without.
    for (const int least : {codewords.size() - 1, codewords.size()}) {
        std::optional<int> best;
        for (int f = C8X18; f < FORMAT_COUNT; ++f) {
            const TSizeInfo& size = SIZE_TABLE[f];
            if (size.symbolRows > SIZE_TABLE[preferred].symbolRows || size.dataCodewords < least)
                continue;
            if (!best || size.dataCodewords < SIZE_TABLE[*best].dataCodewords) best = f;
        }
        if (best && holds(codewords, *best, mode, leftover)) return static_cast<TFormat>(*best);
    }
    return std::nullopt;
}

} // namespace

std::optional<TFormat> ChooseSize(CodewordBuffer& codewords, TFormat preferred, EncodationMode mode,
                                  int leftover, bool allowDmre) {
    if (codewords.overflowed()) return std::nullopt;
    const int n = codewords.size();
    int candidate = C10X10;
    // A value beyond the list (a damaged settings or template file) counts as AUTO.
    const bool known = preferred != AUTO && preferred < FORMAT_COUNT;
    if (known && SIZE_TABLE[preferred].dataCodewords >= n) return preferred;
    if (known && allowDmre && isRectangle(preferred)) {
        if (const auto longer = longerRectangle(codewords, preferred, mode, leftover))
            return longer;
    }
    // DMRE sizes are only ever chosen by name or as a longer rectangle above.
    for (; candidate < CLASSIC_FORMAT_COUNT; ++candidate)
        if (holds(codewords, candidate, mode, leftover)) return static_cast<TFormat>(candidate);
    return std::nullopt;
}

void PadCodewords(CodewordBuffer& codewords, int capacity) {
    if (codewords.size() < capacity) codewords.push(CW_PAD);
    while (codewords.size() < capacity)
        codewords.push(Randomize253(CW_PAD, codewords.size() + 1));
}

} // namespace korvex::datamatrix
