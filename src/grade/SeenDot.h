#pragma once

#include "ncgen/Surface.h"
#include "ncgen/Tool.h"

namespace korvex::grade {

// A dot as a camera straight above the part sees it, in mm: its extent in the direction the
// surface tilts (across a cylinder's axis) and at right angles to it.
struct TSeenDot {
    long double AlongTilt = 0;
    long double AcrossTilt = 0;
};

// The one place the grade asks the tool geometry what a plunge leaves: `depth` below the
// surface (vertically, or along the radius when the part turns), the surface tilted by `tilt`
// radians under the camera.
TSeenDot SeenDot(const ncgen::TTool& tool, ncgen::TSurfaceMode mode, long double tilt,
                 long double depth);

} // namespace korvex::grade
