#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::simulation {

// A dot as the simulation lines give it, in world units.
struct TDot {
    long double X = 0;
    long double Y = 0;
};

// Where the symbol lies on the blank's top face.
struct TBlankFit {
    enum Kind { NoBlank, Fits, Outside, Curved } Result = NoBlank;
    long double Beyond = 0;   // how far the symbol with its quiet zone reaches past the face
    long double Span = 0;     // Curved: the symbol's width across the cylinder's axis
    long double FallAway = 0; // Curved: how far the surface drops across that width
    bool OffCylinder = false; // Curved: the symbol reaches past the cylinder's side or end

    // Heights along the marking axis, judged when the levels are known and a dot lies over the
    // blank. Safety and depth as the simulation lines give them.
    bool HeightChecked = false;
    long double Safety = 0, Depth = 0;
    long double Top = 0;       // the blank's highest point under the symbol
    bool SafetyTooLow = false; // Safety is not above Top: rapids run through the material
    long double Surface = 0;   // the surface under the dot the depth lies furthest from
    bool DepthOff = false;     // Depth is more than MaxDepthOff above or below that surface
    bool InAir() const { return Depth > Surface; }
};

// How far the marking depth may lie from the surface before the warning: a real marking
// depth is a few tenths of a millimetre.
inline constexpr long double MaxDepthOff = 1;

// The safety level and the marking depth of the program.
struct TMarkingLevels {
    long double Safety = 0;
    long double Depth = 0;
};

// Compares the symbol (the dots, each a module of `pitch`, turned by `angleDegrees`
// counter-clockwise, with one module of quiet zone around it) with the top face of the blank:
// the box's rectangle at ZP, the z cylinder's circle at ZP; on a cylinder along x or y the
// face is curved. With `levels` also the heights: the safety level against the blank's highest
// point under the dots, the depth against the surface under each dot. `face` false judges the
// heights only (a lathe, whose blank is not marked on a face of its own).
TBlankFit CheckBlankFit(std::string_view blankDefinition, const std::vector<TDot>& dots,
                        long double pitch, long double angleDegrees,
                        std::optional<TMarkingLevels> levels = std::nullopt, bool face = true);

// The warning to show, empty when the symbol fits or there is no blank. A depth far from the
// surface is said instead of the curvature, which then does not matter.
std::string BlankFitWarning(const TBlankFit& fit);

} // namespace korvex::simulation
