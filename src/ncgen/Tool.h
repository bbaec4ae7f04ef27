#pragma once

#include "base/TextMessage.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvex::ncgen {

// The marking tool's point as far as the dot it leaves goes. Stored in the profile files as
// "WzTyp" (0 none, 1 cone, 2 ball), "WzWinkel", "WzSpitze" and "WzRadius".
enum class TToolKind { None = 0, Cone = 1, Ball = 2 };

struct TTool {
    TToolKind Kind = TToolKind::None;
    long double Angle = 90; // cone: included angle, degrees, 1-179
    long double Tip = 0;    // cone: flat at the tip, mm (0 for a sharp point)
    long double Radius = 0; // ball: mm
};

// The profile file's four texts.
struct TToolTexts {
    std::string Kind, Angle, Tip, Radius;
    bool operator==(const TToolTexts&) const = default;
};

struct TToolReading {
    TTool Tool;                 // no tool when the texts do not describe one
    base::TTextMessage Problem; // empty when the texts are usable or absent
};

// A profile without "WzTyp" (or with 0) has no tool; a kind whose measures are out of range
// gives no tool and says why.
TToolReading ReadTool(const TToolTexts& texts);
TToolTexts ToolTexts(const TTool& tool);

// "none", "cone:ANGLE[:TIP]" or "ball:RADIUS", as korvex-cli takes it.
TToolReading ParseToolOption(std::string_view option);

// "cone 90°, tip 0 mm", "ball r 0.5 mm", "no tool" (Windows-1252).
std::string DescribeTool(const TTool& tool);

} // namespace korvex::ncgen
