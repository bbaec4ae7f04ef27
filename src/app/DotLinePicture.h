#pragma once

#include "app/DiscPicture.h"
#include "ncgen/HrtLine.h"

#include <vector>

namespace korvex::app {

// The symbol's discs and the human-readable line's dots beside them, scaled together into a
// square picture of `side` pixels. The dots are laid out for a module spacing of 1, so
// `pitch` is the line's dot spacing in modules.
QImage DrawDiscsWithDotLine(const datamatrix::TIArray& matrix, int columns, int rows,
                            const std::vector<ncgen::THrtDot>& dots, double pitch, int side,
                            const TDiscStyle& style);

} // namespace korvex::app
