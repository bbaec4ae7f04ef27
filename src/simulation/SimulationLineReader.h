#pragma once

#include <string_view>

namespace korvex::simulation {

// One simulation line as the drawing reads it. The first two letters decide a level line
// ("ZR": safety level, infeed depth) or a dot ("XY": X, Y), whatever follows them; "SF;"
// axis ";R;" axis position ";" ZC ";" radius is a rotary surface. Everything else, a surface
// that Z follows included, is Other and changes nothing in the drawing.
struct SimulationLineFields {
    enum Kind { Other, Level, Point, RotarySurface };
    Kind kind = Other;
    bool tagEnded = false; // Level, Point: a ';' stands right after the two letters
    // Level, Point: a ';' stands between the two fields after the tag's third character;
    // RotarySurface: one ends each of them (the radius follows). Only then are both read.
    bool separated = false;
    long double first = 0;  // R, X or the axis position
    long double second = 0; // Z, Y or ZC
    char along = 0;         // RotarySurface: the letter after "SF;"
};

// Reads the number fields with ParseSimulationNumber, the first before the second; throws
// EConvertError for one it does not take.
SimulationLineFields ReadSimulationLineFields(std::string_view line);

} // namespace korvex::simulation
