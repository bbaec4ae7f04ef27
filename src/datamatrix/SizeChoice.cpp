#include "datamatrix/SizeChoice.h"

#include "datamatrix/SizeTable.h"

namespace korvex::datamatrix {

std::optional<TFormat> ChooseSize(CodewordBuffer& codewords, TFormat preferred, EncodationMode mode,
                                  int leftover) {
    if (codewords.overflowed()) return std::nullopt;
    const int n = codewords.size();
    int candidate = C10X10;
    // A value beyond the list (a damaged settings or template file) counts as AUTO.
    if (preferred != AUTO && preferred < FORMAT_COUNT && SIZE_TABLE[preferred].dataCodewords >= n)
        candidate = preferred;

    for (; candidate < FORMAT_COUNT; ++candidate) {
        const int capacity = SIZE_TABLE[candidate].dataCodewords;
        if (capacity >= n) return static_cast<TFormat>(candidate);
        if (IsC40OrText(mode) && n == capacity + 1) {
            if (leftover == 1 && codewords[n - 2] == CW_UNLATCH) {
                codewords.set(n - 2, codewords[n - 1]);
                codewords.truncate(n - 1);
                return static_cast<TFormat>(candidate);
            }
            if (leftover == 0 && codewords[n - 1] == CW_UNLATCH) {
                codewords.truncate(n - 1);
                return static_cast<TFormat>(candidate);
            }
        }
    }
    return std::nullopt;
}

void PadCodewords(CodewordBuffer& codewords, int capacity) {
    if (codewords.size() < capacity) codewords.push(CW_PAD);
    while (codewords.size() < capacity)
        codewords.push(Randomize253(CW_PAD, codewords.size() + 1));
}

} // namespace korvex::datamatrix
