#pragma once

#include "datamatrix/CodewordBuffer.h"
#include "datamatrix/EncodationMode.h"
#include "datamatrix/TFormat.h"

#include <optional>

namespace korvex::datamatrix {

// Picks the symbol size for the codewords in `codewords` (count n). A preferred size that is
// too small restarts the search at C10X10, so only squares are found then; with `allowDmre` a
// too small rectangle first grows into the smallest rectangle, DMRE included, of at most its
// height that holds them. AUTO never chooses a DMRE size. In C40/TEXT, a
// stream one codeword too long loses its final unlatch (ISO/IEC 16022, 5.2.5.2); `codewords`
// is shortened accordingly. nullopt when no size holds them or the buffer overflowed.
std::optional<TFormat> ChooseSize(CodewordBuffer& codewords, TFormat preferred, EncodationMode mode,
                                  int leftover, bool allowDmre = false);

// 253-state randomised pad codeword for 1-based stream position `position` (Annex B.1.3).
constexpr int Randomize253(int value, int position) {
    const int result = value + (149 * position) % 253 + 1;
    return result > 254 ? result - 254 : result;
}

// Fills positions n+1 .. capacity with pad codewords; the first one stays 129.
void PadCodewords(CodewordBuffer& codewords, int capacity);

} // namespace korvex::datamatrix
