#pragma once

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

// Pick mode begins on the lines generated at the offsets: the buffer is a copy of them, and
// both positions are where the offsets put the symbol. Since the offsets are added last,
// shifting these lines is the same as generating at the picked position.
void BeginPick(const std::vector<std::string>& lines, const std::string& offsetX,
               const std::string& offsetY, bool lathe, TPickState& pick,
               std::vector<std::string>& bufferLines);

struct TPickOffsets {
    std::string X, Y;
};
// The offsets a click writes: the program then has the symbol where the buffer showed it.
TPickOffsets OffsetsForPick(const TPickState& pick, bool lathe);

// Moves the buffer from the last applied position to the pick position, so it follows the mouse.
void ShiftToPick(std::vector<std::string>& bufferLines, TPickState& pick);

} // namespace korvex::ncgen
