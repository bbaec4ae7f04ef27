#pragma once

#include "datamatrix/SizeTable.h"
#include "datamatrix/TIArray.h"

#include <cstdint>
#include <vector>

namespace korvex::datamatrix {

// ECC 200 symbol character placement (ISO/IEC 16022, Annex F) into a mapping array of
// mappingRows x mappingCols entries, row-major: codeword number (from 1) x 10 + bit number
// (1 = most significant), 1 for the fixed dark corner modules, 0 where nothing was placed.
std::vector<int> MappingArray(int nrow, int ncol);

// The module matrix [x][y] of the whole symbol: frames of every data region and the stream's
// bits, a data module holding its bit's value (1 ... 128) when set. The second form reuses
// the storage of `matrix`, which is overwritten entirely.
TIArray PlaceModules(const std::vector<std::uint8_t>& stream, const TSizeInfo& size);
void PlaceModules(const std::uint8_t* stream, const TSizeInfo& size, TIArray& matrix);

} // namespace korvex::datamatrix
