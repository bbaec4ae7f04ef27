#pragma once

#include "datamatrix/SizeTable.h"

#include <array>
#include <cstdint>
#include <vector>

namespace korvex::datamatrix {

// GF(256) on x^8 + x^5 + x^3 + x^2 + 1 (301) with generator 2 (ISO/IEC 16022, Annex E).
extern const std::array<std::uint8_t, 255> ANTILOG; // ANTILOG[i] = 2^i
extern const std::array<std::uint8_t, 256> LOG;     // LOG[2^i] = i; LOG[0] unused

int GfMultiply(int a, int b);

// The j-th coefficient below the leading 1 of (x + 2^1)...(x + 2^n), from x^(n-1) down to
// x^0. Only the counts ECC 200 and DMRE use are held; any other n reads the table of 68.
int GeneratorCoefficient(int n, int j);

// Appends nc error codewords at block[nd .. nd+nc-1] to the nd data codewords at block[0 ..].
void EncodeBlock(std::uint8_t* block, int nd, int nc);

// The longest final stream: 1558 data and 620 error codewords.
inline constexpr int MAX_STREAM = 2178;

// Splits the padded data codewords (size.dataCodewords of them) into blocks, adds their error
// codewords and merges the blocks into the final stream that the placement writes. `stream`
// receives dataCodewords + errorCodewords entries.
void BuildStream(const std::uint8_t* data, const TSizeInfo& size, std::uint8_t* stream);
std::vector<std::uint8_t> BuildStream(const std::uint8_t* data, const TSizeInfo& size);

} // namespace korvex::datamatrix
