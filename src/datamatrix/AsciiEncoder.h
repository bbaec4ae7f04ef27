#pragma once

#include "datamatrix/CodewordBuffer.h"

#include <string_view>

namespace korvex::datamatrix {

inline constexpr bool IsDigit(unsigned char code) {
    return code >= '0' && code <= '9';
}

// One character in ASCII encodation: code + 1, or Upper Shift and code - 127 above 127.
void AppendAsciiChar(unsigned char code, CodewordBuffer& out);

// ASCII encodation of data[begin, end) with greedy digit pairs from the left.
void EncodeAscii(std::string_view data, int begin, int end, CodewordBuffer& out);

// Every character code taken as a codeword unchanged (no latch, no shift).
void EncodeNone(std::string_view data, CodewordBuffer& out);

} // namespace korvex::datamatrix
