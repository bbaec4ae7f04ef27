#pragma once

#include "datamatrix/SizeTable.h"

#include <vector>

namespace korvex::verify {

// What the modules as a photo shows them cost the decoder.
struct TSymbolErrors {
    bool Correctable = false;         // every block within its error correction
    double UnusedErrorCorrection = 0; // 1 - 2t/d of the worst block (ISO/IEC 15415, 7.8.6)
    int WorstSegmentDamage = 0;       // modules wrong in one side of one region's frame
    int PatternDamage = 0;            // in all of them
};

// `dark` is row-major, rows from the top, the L at the left and bottom.
TSymbolErrors CountErrors(const std::vector<char>& dark, const datamatrix::TSizeInfo& size);

} // namespace korvex::verify
