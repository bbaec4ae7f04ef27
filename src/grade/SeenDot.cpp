#include "grade/SeenDot.h"

#include "ncgen/ToolGeometry.h"

#include <cmath>

namespace korvex::grade {

TSeenDot SeenDot(const ncgen::TTool& tool, ncgen::TSurfaceMode mode, long double tilt,
                 long double depth) {
    const long double d = ncgen::DotDiameter(tool, depth);
    const long double c = std::cos(tilt);
    if (mode == ncgen::TSurfaceMode::Flat || tilt == 0) return {d, d};
    // A radial plunge leaves a round dot on the surface; the camera sees it foreshortened.
    if (mode == ncgen::TSurfaceMode::Rotary) return {d * c, d};
    // Seen from above: a cone's cut is an ellipse, a ball's a circle on the tilted surface.
    const ncgen::TTiltedDot cut = ncgen::TiltedDot(tool, tilt, depth);
    if (!cut.Cuts) return {0, 0};
    if (tool.Kind == ncgen::TToolKind::Cone) return {cut.Length, cut.Length * cut.Ratio};
    return {cut.Length * c, cut.Length};
}

} // namespace korvex::grade
