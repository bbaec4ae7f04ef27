#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace korvex::ncgen {

inline constexpr int DotFontColumns = 5;
inline constexpr int DotFontRows = 7;
// A character's cell: five columns and one blank column before the next character.
inline constexpr int DotFontAdvance = DotFontColumns + 1;

// One character of the 5x7 dot font, rows from the top, bit 4 the leftmost column.
using TDotGlyph = std::array<std::uint8_t, DotFontRows>;

// The glyph of a digit, A-Z (a-z read as A-Z), "(", ")", "-", "/", ".", ":" or a space;
// nothing for any other byte.
std::optional<TDotGlyph> DotGlyph(char c);

} // namespace korvex::ncgen
