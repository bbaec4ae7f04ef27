#pragma once

#include "base/Cylinder.h"
#include "ncgen/Tool.h"

#include <optional>
#include <string_view>

namespace korvex::ncgen {

// How a job's points meet a round blank. Flat marks every dot at the same Z, as the layer's
// plane; Follow takes each depth from the surface above the dot and lays the symbol across
// the cylinder by arc length; Rotary turns the part (A about X, B about Y, a lathe's C) and
// plunges radially at the top.
enum class TSurfaceMode { Flat, Follow, Rotary };

// "flat", "follow", "rotary" in any case; nothing for another word.
std::optional<TSurfaceMode> ReadSurfaceMode(std::string_view text);
// "FLAT", "FOLLOW", "ROTARY": the word a job file stores.
std::string_view SurfaceModeName(TSurfaceMode mode);

// A conical marking tool; an included angle of 0 is no tool, and nothing is corrected.
struct TMarkingTool {
    long double IncludedAngle = 0; // degrees
};

// The cone of a profile's tool; a ball or no tool gives none (the tilt formulas are a cone's).
TMarkingTool MarkingToolOf(const TTool& tool);

// What the generator lays the points onto.
struct TSurface {
    TSurfaceMode Mode = TSurfaceMode::Flat;
    base::TCylinder Cylinder; // from the job's blank
    TMarkingTool Tool;
};

// A cone plunged `depth` deep into a surface tilted by `tilt` radians: seen from above the dot
// is an oval, its width across the tilt against its length along it; its centre moves uphill.
struct TTiltedDot {
    bool Cuts = true;      // false when the cone's flank is as steep as the surface
    long double Ratio = 1; // d/D = sqrt(1 - k^2), k = tan(tilt) tan(angle/2)
    long double Shift = 0; // h tan(angle/2) k / (1 - k^2)
    long double Width = 0; // D = 2 h tan(angle/2)
};
TTiltedDot TiltedDot(long double includedAngleDegrees, long double tilt, long double depth);

// How far across a follow program moves a cone's plunge from the dot's centre at `tilt` radians
// from the top (signed as the angle): downhill by the shift, as long as the dot still closes
// well (k up to 1/2); 0 without a cone.
long double AimOffset(const TMarkingTool& tool, long double tilt, long double depth);

} // namespace korvex::ncgen
