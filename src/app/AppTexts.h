#pragma once

// Language texts of the desktop program beyond the core's.
namespace korvex::app {

inline constexpr int RefusedCharacterText = 9120; // + ": " + the character

} // namespace korvex::app
