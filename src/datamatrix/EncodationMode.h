#pragma once

namespace korvex::datamatrix {

// The encodation in force at a point of the codeword stream. The values match TEncoding for
// the first five so that a fixed choice can be taken over unchanged.
enum class EncodationMode : int { Ascii = 0, C40 = 1, Text = 2, Base256 = 3, None = 4 };

inline constexpr bool IsC40OrText(EncodationMode mode) {
    return mode == EncodationMode::C40 || mode == EncodationMode::Text;
}

} // namespace korvex::datamatrix
