#pragma once

#include <vector>

namespace korvex::datamatrix {

// Module matrix, indexed [x][y]: x the column from the left, y the row from the top,
// finder pattern included. A module is dark when its value is not 0; data modules hold the
// value of their bit in the codeword (1 ... 128).
using TIArray = std::vector<std::vector<int>>;

} // namespace korvex::datamatrix
