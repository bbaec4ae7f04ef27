#pragma once

#include "grade/PredictedMark.h"
#include "readback/DotPicture.h"

namespace korvex::grade {

// Modules of light ground around the symbol in the predicted pictures.
inline constexpr int PictureQuietModules = 2;

// The predicted mark as a camera of `pixelsPerCell` sees it: every dot a dark ellipse on a light
// ground. `worn` takes a mild blur (a 3 x 3 mean), a lower contrast and a fixed noise of a few
// grey levels, as a real part under a real lens gives.
readback::TDotPicture RenderMark(const TPredictedMark& mark, int pixelsPerCell, bool worn);

// A reader's closing with a square of 2 radius + 1 pixels: dark grows and shrinks back.
void CloseMark(readback::TDotPicture& picture, int radius);

} // namespace korvex::grade
