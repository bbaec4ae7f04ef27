#pragma once

#include "datamatrix/EncodationMode.h"

#include <string_view>

namespace korvex::datamatrix {

// The look-ahead test of ISO/IEC 16022, Annex P, with the increments 0.66 / 1.33 / 2.66, the
// five-character threshold and the end-of-data rounding this program has always used. Returns
// the mode to continue in from position p, given the current mode (ASCII, C40, TEXT or Base256).
EncodationMode LookAhead(std::string_view data, int p, EncodationMode current);

} // namespace korvex::datamatrix
