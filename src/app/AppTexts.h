#pragma once

// Language texts of the desktop program beyond the core's.
namespace korvex::app {

inline constexpr int RefusedCharacterText = 9120; // + ": " + the character
inline constexpr int NotATemplateText = 9121;     // + ": " + the file name

} // namespace korvex::app
