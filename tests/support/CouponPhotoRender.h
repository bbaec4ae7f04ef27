#pragma once

// Test support: a photo of a calibration coupon with the dot sizes known, drawn here apart
// from the code that measures it: the row along +X one spacing apart, the index dot one spacing
// beside the first in +Y, seen from above.

#include "support/PhotoRender.h"

#include <vector>

namespace korvex::phototest {

struct TCouponScene {
    std::vector<double> Diameters; // mm, the row in order
    double IndexDiameter = 0.3;    // 0: no index dot
    int IndexBeside = 0;           // the row's dot it sits beside; the coupon's is the first
    double Spacing = 2;            // mm
    double PixelsPerMm = 120;
    double AngleDegrees = 0; // turned counter-clockwise as seen
    bool Mirrored = false;
    bool BrightDots = false; // dots lit brighter than the surface (a ring light's glint)
    double Noise = 0.02;
    double Gradient = 0.3;
    double BlurPixels = 1.2;
    unsigned Seed = 1;
};

TRenderedPhoto RenderCouponPhoto(const TCouponScene& scene);

} // namespace korvex::phototest
