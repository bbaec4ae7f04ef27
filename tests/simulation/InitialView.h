#pragma once

#include "simulation/TMathImage.h"

namespace korvex::simulation::testing {

// The main window's first view: box -80..80, distance 3, angle 6, looking down z.
inline void SetInitialView(TMathImage& image) {
    image.SetWorldBox(-80, -80, -80, 80, 80, 80);
    image.SetD3ViewDist(3);
    image.SetD3ViewAngle(6);
    image.SetD3AspectRatio(true);
    image.SetD3Zrotation(-90);
    image.SetD3Yrotation(0);
}

} // namespace korvex::simulation::testing
