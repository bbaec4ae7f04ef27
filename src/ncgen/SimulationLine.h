#pragma once

#include "ncgen/Surface.h"

#include <optional>
#include <string>
#include <vector>

namespace korvex::ncgen {

// "ZR;" R ";" Z with three decimals: safety level and infeed depth of the simulation.
std::string LevelLine(long double r, long double z);

// "XY;" X ";" Y with three decimals: one dot of the simulation.
std::string PointLine(long double x, long double y);

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

} // namespace korvex::ncgen
