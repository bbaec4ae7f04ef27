#pragma once

#include <string_view>

namespace korvex::base {

// One simulation line taken apart into its fields; the drawing and the checks read the numbers
// each their own way. The first two letters decide a level line ("ZR": safety level, infeed
// depth) or a dot ("XY": X, Y), whatever follows them; "SF;" axis ";R;" axis position ";" ZC
// ";" radius is a rotary surface. Everything else, a surface that Z follows included, is Other.
struct TSimulationLineText {
    enum Kind { Other, Level, Point, RotarySurface };
    Kind kind = Other;
    bool tagEnded = false; // Level, Point: a ';' stands right after the two letters
    // Level, Point: a ';' stands between the two fields after the tag's third character;
    // RotarySurface: one ends each of them (the radius follows). Only then are the fields set.
    bool separated = false;
    std::string_view first;  // R, X or the axis position
    std::string_view second; // Z, Y or ZC
    char along = 0;          // RotarySurface: the letter after "SF;"
};

TSimulationLineText SplitSimulationLine(std::string_view line);

} // namespace korvex::base
