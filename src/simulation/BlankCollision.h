#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::simulation {

// How the machine holds the part and reads the program's numbers, in the job's frame
// (axes 0, 1, 2 = X, Y, Z), as far as a program's moves against its blank depend on it.
struct TMachineSetup {
    bool XNegated = false;            // a lathe's simulation lines hold X with its sign changed
    std::array<bool, 3> Diameter{};   // the program's values on these axes are diameters
    char TurningAxis = 0;             // 'X', 'Y', 'Z': the axis the machine turns the part about
    std::array<bool, 3> AxisAtZero{}; // the turning axis lies at 0 of these axes (a lathe's X)
};

// The NC lines (1-based) of one dot of the program: the one that goes to the safe level and
// the one that plunges.
struct TDotLines {
    std::size_t Safe = 0;
    std::size_t Plunge = 0;
};

struct TCollision {
    enum TKind { None, AxisMismatch, NotACylinder, TooDeep, RapidInside, SafePlaneInside };
    TKind Kind = None;
    std::size_t Line = 0;               // the NC line; 0 for the blank's axis
    long double Depth = 0;              // TooDeep: how far below the surface the feed ends
    std::string MachineAxis, BlankAxis; // "Y (X0 Z0)"; AxisMismatch: "Y (X0 Z-15)"

    bool Found() const { return Kind != None; }
};

// A feed may end this much deeper than the infeed depth: the program's numbers are rounded.
inline constexpr long double DepthTolerance = 0.003L;

// Runs a program's simulation lines (flat, following the surface, or turned) against the blank
// definition: the first feed that ends deeper below the surface than `infeedDepth`, the first
// safe level inside the blank, or the first rapid move between two dots through it, in line
// order; before those a turning axis that is not the blank's, or a lathe that plunges
// radially into a blank that is no cylinder. Nothing for no blank.
TCollision CheckBlankCollision(std::string_view blankDefinition,
                               const std::vector<std::string>& simulationLines,
                               const std::vector<TDotLines>& dotLines, long double infeedDepth,
                               const TMachineSetup& setup);

} // namespace korvex::simulation
