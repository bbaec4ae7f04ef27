#pragma once

#include "base/TextMessage.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::ncgen {

struct TMoment;

enum class THrtPosition { None, Below, Above, Left, Right };

// The human-readable line a layer marks beside its symbol in dots of the 5x7 font.
struct THrtLine {
    THrtPosition Position = THrtPosition::None;
    std::string Height = "1.5"; // mm from the centres of the top row's dots to the bottom row's
    std::string Pitch;          // dot spacing in mm; empty: the height over the six row gaps
    // Free text with {line}, {date:..}, {time:..}, and in a run {n} and {i}; empty: the symbol's.
    std::string Text;

    bool operator==(const THrtLine&) const = default;
};

// "BELOW", "ABOVE", "LEFT", "RIGHT"; empty for None.
std::string_view HrtPositionName(THrtPosition position);

// The value of a layer's "HRT " line: a position word, the character height and optionally
// the dot spacing ("BELOW 1.5", "RIGHT 2 0.3"); nothing when the position is unknown.
std::optional<THrtLine> ReadHrtValue(std::string_view value);
std::string HrtValue(const THrtLine& line);

// What the line says: the free text with its date codes and {line} (the symbol's text) filled
// in, else the content's readable line (GS1 with brackets, the UII), else the symbol's text
// with its line breaks as blanks.
std::string HrtText(const THrtLine& line, std::string_view humanReadable, std::string_view code,
                    const TMoment& now);

// A dot in the symbol's frame before mirrors and rotation: module (column, row) lies at
// spacing * (column, rows - 1 - row).
struct THrtDot {
    long double X = 0;
    long double Y = 0;
    bool operator==(const THrtDot&) const = default;
};

struct THrtLayout {
    std::vector<THrtDot> Dots; // character by character, each row from the top, left to right
    long double Pitch = 0;
    base::TTextMessage Refusal; // a character the font lacks, or no usable height or spacing
};

// The text's dots beside a cols x rows symbol of `spacing`, centred on its side and clear of
// its one-module quiet zone (ISO/IEC 16022, 7.1): the nearest dot's edge lies a module beyond
// the symbol's edge.
THrtLayout LayoutHrt(const THrtLine& line, std::string_view text, int cols, int rows,
                     long double spacing);

// The simulation line between the symbol's dots and the text's, which readers of "ZR"/"XY"
// lines pass over; what lies before it is the symbol alone.
inline constexpr std::string_view HrtSimulationMark = "HT;";
std::vector<std::string> SymbolSimulationLines(const std::vector<std::string>& simulationLines);

} // namespace korvex::ncgen
