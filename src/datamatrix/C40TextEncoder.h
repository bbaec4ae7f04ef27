#pragma once

#include "datamatrix/CodewordBuffer.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace korvex::datamatrix {

// The C40 values of one character code, -1 after the last (ISO/IEC 16022, Table C.1).
using C40Row = std::array<std::int8_t, 4>;

const C40Row& C40Values(unsigned char code);
int C40ValueCount(unsigned char code);

// TEXT values are the C40 values of the code with the case of A-Z / a-z exchanged; above 127
// the exchange applies to code - 128.
constexpr unsigned char ExchangeCase(unsigned char code) {
    const unsigned char low = code & 0x7F;
    const bool letter = (low >= 'A' && low <= 'Z') || (low >= 'a' && low <= 'z');
    return letter ? static_cast<unsigned char>(code ^ 0x20) : code;
}

// Encodes data from start in C40 (text false) or TEXT (text true). Stepwise, it stops after the
// first character that leaves no value pending. Returns the new position; leftover receives
// the number of values left over at the end of the data (0, 1 or 2). A run that would get its
// latch but not one pair of values is written in ASCII, without the latch (leftover 0).
int EncodeC40Text(std::string_view data, int start, bool text, bool latch, bool stepwise,
                  CodewordBuffer& out, int& leftover);

} // namespace korvex::datamatrix
