#pragma once

#include "ncgen/Tool.h"

#include <optional>
#include <vector>

namespace korvex::ncgen {

// Every size a tool's point gives a dot is worked out here, for the generator, the checks,
// the coupon, the read-back and the settings page alike.

// The diameter a plunge of `depth` mm below a flat surface leaves: a cone T + 2 h tan(a/2), a
// ball 2 sqrt(h (2r - h)) up to its equator and its shank's width past it. No plunge, no dot.
long double DotDiameter(const TTool& tool, long double depth);

// The depth below the surface that leaves a dot of `diameter`; nothing when the tool cannot
// (a ball smaller than the dot, a tip flat wider than it).
std::optional<long double> DepthForDiameter(const TTool& tool, long double diameter);

// The tool of the same kind (a cone keeps its tip flat, a ball changes its radius) that leaves
// a dot of `diameter` at `depth`; its measures may lie outside what ReadTool accepts. Nothing
// without a tool or when a cone's flat alone is that wide.
std::optional<TTool> ToolForDot(const TTool& tool, long double depth, long double diameter);

// A plunge `depth` deep (below where the tool's axis meets the surface) into a surface tilted
// by `tilt` radians, seen from above. A cone cuts an oval: with k = tan(tilt) tan(a/2) and
// b = T/2 + h tan(a/2) it runs b/(1 - k^2) each way along the tilt and b/sqrt(1 - k^2) across,
// its centre b k/(1 - k^2) uphill of the axis. A ball cuts a circle of the sphere on the
// surface, of radius sqrt(r^2 - (r - h)^2 cos^2 tilt), its centre (r - h) sin cos uphill; past
// its equator the shank's circle.
struct TTiltedDot {
    bool Cuts = true;       // false when the cone's flank is as steep as the surface
    long double Ratio = 1;  // across the tilt against along it: sqrt(1 - k^2) for a cone
    long double Shift = 0;  // of the dot's centre uphill from the tool's axis
    long double Width = 0;  // the round dot the same plunge leaves in a flat surface
    long double Length = 0; // the dot's longest extent, where it meets its neighbours first
};
TTiltedDot TiltedDot(const TTool& tool, long double tilt, long double depth);

// How far across a follow program moves a plunge from the dot's centre at `tilt` radians from
// the top (signed as the angle): downhill by the shift, as long as a cone's dot still closes
// well (k up to 1/2); 0 without a tool.
long double AimOffset(const TTool& tool, long double tilt, long double depth);

// The right half of the tool's side view from its tip (0, 0) up to `height`: across from the
// axis, up from the tip, in mm; a ball's arc in short chords.
struct TOutlinePoint {
    long double Across = 0, Up = 0;
};
std::vector<TOutlinePoint> ToolOutline(const TTool& tool, long double height);

} // namespace korvex::ncgen
