#pragma once

#include "ncgen/OutputProfile.h"
#include "ncgen/Tool.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::config {

// What the settings dialog decides beyond its widgets, on the fields' Windows-1252 texts.

// The block numbering's start after an edit: one that holds no number takes the step's text.
// Nothing when it stays, also when it equals a step that is no number either (no loop).
std::optional<std::string> StartAfterEdit(std::string_view start, std::string_view step);

// The block step's − and +: the new step goes into the start as well, also at the step's limit.
struct TNumbering {
    std::string Step;
    std::string Start;
    bool operator==(const TNumbering&) const = default;
};
std::optional<TNumbering> StepNumbering(bool plus, const TNumbering& now);

// A number needs a point or its trailing zeros: switching one off switches the other on.
struct TPointAndZeros {
    bool Point = false;
    bool TrailingZeros = false;
    bool operator==(const TPointAndZeros&) const = default;
};
enum class TNumberToggle { Point, TrailingZeros };
TPointAndZeros AfterToggle(TPointAndZeros clicked, TNumberToggle which);

// The kind button a profile shows: its tool's kind, or the kind it names when the measures
// are unusable (0 none, 1 cone, 2 ball, as "WzTyp").
int ShownToolKind(const ncgen::TToolTexts& texts);
// The tool texts a profile keeps: one that never had a tool and still has none keeps its
// file without the keys.
ncgen::TToolTexts KeptToolTexts(const ncgen::TToolTexts& typed, const ncgen::TToolTexts& before);
// Which measures the kind uses: the others are greyed.
struct TToolMeasures {
    bool Angle = false;
    bool Tip = false;
    bool Radius = false;
};
TToolMeasures ToolMeasures(int kind);
// The depth the tool sketch shows: the Z level's size, 0.1 while it is no number.
long double SketchDepth(std::string_view zLevel);

// A template shows without its empty lines; typed lines go back as its first 20.
std::vector<std::string> ShownTemplate(const ncgen::TTemplate& lines);
ncgen::TTemplate TypedTemplate(const std::vector<std::string>& typed);

// The default profile when no button is checked (id -1) is the first.
int DefaultProfileChoice(int checked);

} // namespace korvex::config
