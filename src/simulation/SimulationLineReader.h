#pragma once

#include "base/SimulationLineText.h"

#include <string_view>

namespace korvex::simulation {

// One simulation line as the drawing reads it: the fields of base::SplitSimulationLine, read
// as numbers.
struct SimulationLineFields {
    enum Kind {
        Other = base::TSimulationLineText::Other,
        Level = base::TSimulationLineText::Level,
        Point = base::TSimulationLineText::Point,
        RotarySurface = base::TSimulationLineText::RotarySurface
    };
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
