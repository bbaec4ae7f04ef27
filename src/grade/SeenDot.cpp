#include "grade/SeenDot.h"

#include "ncgen/DotGeometry.h"

#include <algorithm>
#include <cmath>

namespace korvex::grade {

TSeenDot SeenDot(const ncgen::TTool& tool, ncgen::TSurfaceMode mode, long double tilt,
                 long double depth) {
    const long double d = ncgen::DotDiameter(tool, depth);
    const long double c = std::cos(tilt);
    if (mode == ncgen::TSurfaceMode::Flat || tilt == 0) return {d, d};
    // A radial plunge leaves a round dot on the surface; the camera sees it foreshortened.
    if (mode == ncgen::TSurfaceMode::Rotary) return {d * c, d};
    if (tool.Kind == ncgen::TToolKind::Cone) {
        // A vertical cone meets the tilted plane in an ellipse whose plan view has the axes
        // D / sqrt(1 - k^2) across the tilt and D / (1 - k^2) along it.
        const ncgen::TTiltedDot cut = ncgen::TiltedDot(tool.Angle, tilt, depth);
        if (!cut.Cuts) return {0, 0};
        const long double r = cut.Ratio;
        return {d / (r * r), d / r};
    }
    // A sphere meets any plane in a circle: its radius from the plane's distance to the centre.
    const long double rho2 = tool.Radius * tool.Radius - std::pow((tool.Radius - depth) * c, 2.0L);
    const long double rho = depth >= tool.Radius ? tool.Radius : std::sqrt(std::max(0.0L, rho2));
    return {2 * rho * c, 2 * rho};
}

} // namespace korvex::grade
