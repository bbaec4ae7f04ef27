#pragma once

#include "datamatrix/TFormat.h"

#include <array>

namespace korvex::datamatrix {

// One row of the ECC 200 symbol attributes (ISO/IEC 16022, Table 7; ISO/IEC 21471, Table 7).
struct TSizeInfo {
    int symbolRows; // finder pattern included
    int symbolCols;
    int regionRows; // per data region, frame excluded
    int regionCols;
    int regionCount; // 1, 2, 4, 16 or 36; DMRE also 4 or 6 in one row
    int mappingRows; // all regions together, frames excluded
    int mappingCols;
    int dataCodewords;  // capacity
    int errorCodewords; // all blocks together
    int dataPerBlock;
    int errorPerBlock;
    int blockCount;
};

// Indexed by TFormat; the AUTO row is all zeros.
extern const std::array<TSizeInfo, FORMAT_COUNT> SIZE_TABLE;

inline const TSizeInfo& SizeInfo(TFormat format) {
    return SIZE_TABLE[format];
}

} // namespace korvex::datamatrix
