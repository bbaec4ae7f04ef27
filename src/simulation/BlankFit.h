#pragma once

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
};

// Compares the symbol (the dots, each a module of `pitch`, turned by `angleDegrees`
// counter-clockwise, with one module of quiet zone around it) with the top face of the blank:
// the box's rectangle at ZP, the z cylinder's circle at ZP; on a cylinder along x or y the
// face is curved.
TBlankFit CheckBlankFit(std::string_view blankDefinition, const std::vector<TDot>& dots,
                        long double pitch, long double angleDegrees);

// The warning to show, empty when the symbol fits or there is no blank.
std::string BlankFitWarning(const TBlankFit& fit);

} // namespace korvex::simulation
