#pragma once

#include "datamatrix/CodewordBuffer.h"

#include <string_view>

namespace korvex::datamatrix {

// 255-state randomising of Base256 codewords (ISO/IEC 16022, Annex B.4); position counts from 1.
constexpr int Randomize255(int value, int position) {
    const int result = value + (149 * position) % 255 + 1;
    return result > 255 ? result - 256 : result;
}

// Writes one Base256 segment from start: latch, length field, bytes. In automatic mode the
// segment ends after the first byte behind which the look-ahead prefers another mode.
// Returns the position after the last byte taken.
int EncodeBase256(std::string_view data, int start, bool automatic, CodewordBuffer& out);

} // namespace korvex::datamatrix
