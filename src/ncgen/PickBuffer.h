#pragma once

#include "ncgen/GenerateLayer.h"

#include <string>
#include <vector>

namespace korvex::ncgen {

// Pick-mode positions as texts: the position under the mouse and the one the buffer shows.
struct TPickState {
    std::string PickX, PickY;       // empty until the first pick
    std::string LetzterX, LetzterY; // position last applied to the buffer
};

// Fills the buffer with the simulation lines of input.Layer placed at the pick position
// (the layer's own offsets when nothing was picked yet); the layer itself is not changed.
void ConvertBuffer(const TGenerateInput& input, TPickState& pick,
                   std::vector<std::string>& bufferLines);

// Moves every "XY" line of lines by dx, dy, written as the generator writes its points.
void ShiftPointLines(std::vector<std::string>& lines, long double dx, long double dy);

// Shifts every "XY" line of the buffer from the last applied position to the pick position
// (x the other way in lathe mode, as the generator writes it); fills the buffer instead when
// nothing was picked yet.
void ConvertGrafikBuffer(const TGenerateInput& input, TPickState& pick,
                         std::vector<std::string>& bufferLines);

} // namespace korvex::ncgen
