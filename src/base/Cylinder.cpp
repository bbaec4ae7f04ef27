#include "base/Cylinder.h"

#include <algorithm>
#include <cmath>

namespace korvex::base {

TSurfacePoint OnSurface(const TCylinder& cylinder, long double arc) {
    const long double angle = arc / cylinder.Radius;
    return {cylinder.Axis + cylinder.Radius * std::sin(angle),
            cylinder.ZC + cylinder.Radius * std::cos(angle), angle};
}

long double ArcAbove(const TCylinder& cylinder, long double across) {
    const long double ratio = std::clamp((across - cylinder.Axis) / cylinder.Radius, -1.0L, 1.0L);
    return cylinder.Radius * std::asin(ratio);
}

long double ArcOfRadial(const TCylinder& cylinder, long double across, long double height) {
    return cylinder.Radius * std::atan2(across - cylinder.Axis, height - cylinder.ZC);
}

} // namespace korvex::base
