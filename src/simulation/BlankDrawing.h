#pragma once

#include "simulation/Canvas.h"
#include "simulation/TMathImage.h"

#include <string_view>

namespace korvex::simulation {

// The ten key values of a blank definition, whatever its shape.
struct BlankValues {
    long double xm = 0, xp = 0, xc = 0, ym = 0, yp = 0, yc = 0, zm = 0, zp = 0, zc = 0, ra = 0;
};

BlankValues ReadBlankValues(std::string_view definition);

// Draws the blank a definition describes in `color` with the canvas's current pen mode: the
// box as twelve edges, a cylinder through DrawBlankCylinder; nothing without a shape word.
// When several shape words occur, the last in the order QUAD, ZYL1, ZYL2, ZYL3 wins.
void Drawblank(TMathImage& image, std::string_view definition, Color color);

// Cylinder along z (shape 2, "ZYL1"), x (3, "ZYL2") or y (4, "ZYL3"): both end circles as
// 36-sided polygons, clockwise from angle 0, and 36 lines along the cylinder.
void DrawBlankCylinder(TMathImage& image, int shape, const BlankValues& v, Color color);

} // namespace korvex::simulation
