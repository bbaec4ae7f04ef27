#pragma once

#include "ncgen/GenerateLayer.h"

#include <string>
#include <vector>

namespace korvex::ncgen {

// Pick-mode positions as texts, where the symbol lies in the program's own coordinates: the
// position under the mouse and the one the buffer shows.
struct TPickState {
    std::string PickX, PickY;       // empty until the first pick
    std::string LetzterX, LetzterY; // position last applied to the buffer
};

// A lathe program writes X = -(x + offset), so the symbol lies at the negated offset X and a
// picked X becomes the negated offset; a mill writes the offset as it is. Zero stays as written.
std::string PickXForOffset(const std::string& offsetX, bool lathe);
std::string OffsetXForPick(const std::string& pickX, bool lathe);

// Fills the buffer with the simulation lines of input.Layer placed at the pick position
// (the layer's own offsets when nothing was picked yet); the layer itself is not changed.
void ConvertBuffer(const TGenerateInput& input, TPickState& pick,
                   std::vector<std::string>& bufferLines);

// Moves every "XY" line of lines by dx, dy, written as the generator writes its points.
void ShiftPointLines(std::vector<std::string>& lines, long double dx, long double dy);

// Moves the buffer from the last applied position to the pick position, so it follows the mouse.
void ShiftToPick(std::vector<std::string>& bufferLines, TPickState& pick);

// Shifts the buffer to the pick position; fills the buffer instead when nothing was picked yet.
void ConvertGrafikBuffer(const TGenerateInput& input, TPickState& pick,
                         std::vector<std::string>& bufferLines);

} // namespace korvex::ncgen
