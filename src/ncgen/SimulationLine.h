#pragma once

#include "ncgen/Surface.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::ncgen {

// "ZR;" R ";" Z with three decimals: safety level and infeed depth of the simulation.
std::string LevelLine(long double r, long double z);

// "XY;" X ";" Y with three decimals: one dot of the simulation.
std::string PointLine(long double x, long double y);

// One simulation line read back: its kind and, when Ok, its two numbers (standard number
// reading, separated by ";").
struct TSimulationLine {
    enum TKind { Other, Level, Point } Kind = Other;
    bool Ok = false;
    bool TwoFields = false; // a ";" stands between the numbers; A and B hold what was read
    long double A = 0;      // R or X
    long double B = 0;      // Z or Y
};
TSimulationLine ReadSimulationLine(std::string_view line);

// Moves every line holding "XY" by dx, dy, written as the generator writes its points.
void ShiftPointLines(std::vector<std::string>& lines, long double dx, long double dy);

// "SF;" axis ";" F or R ";" axis position ";" ZC ";" radius: the cylinder a round program's
// dots lie on, and whether the part turns (R) or Z follows the surface (F).
std::string SurfaceLine(const TSurface& surface);

struct TSurfaceLine {
    base::TCylinder Cylinder;
    bool Rotary = false;
};

// The first surface line; nothing when there is none or it does not describe a cylinder.
std::optional<TSurfaceLine> ReadSurfaceLine(const std::vector<std::string>& simulationLines);

// The arc from the cylinder's top line to a dot of a round program (its across coordinate and
// the height of its bottom): along the surface above it, or along the radial line it lies on.
long double DotArc(const TSurfaceLine& surface, long double across, long double bottom);

// The arc to the dot's centre, which is what a reader sees: on a follow program whose plunges
// `tool` aims downhill (AimOffset) the centre lies back uphill of the plunge point.
long double DotCentreArc(const TSurfaceLine& surface, const TTool& tool, long double across,
                         long double bottom);

} // namespace korvex::ncgen
