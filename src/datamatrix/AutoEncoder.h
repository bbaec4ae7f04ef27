#pragma once

#include "datamatrix/CodewordBuffer.h"
#include "datamatrix/EncodationMode.h"

#include <string_view>

namespace korvex::datamatrix {

struct TAutoResult {
    EncodationMode finalMode = EncodationMode::Ascii;
    int leftover = 0; // of the last C40/TEXT run
};

// Mixes ASCII, C40, TEXT and Base256 by the look-ahead (ISO/IEC 16022, Annex P).
TAutoResult EncodeAuto(std::string_view data, CodewordBuffer& out);

} // namespace korvex::datamatrix
