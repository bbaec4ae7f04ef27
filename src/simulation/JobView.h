#pragma once

#include "simulation/TMathImage.h"

#include <string>
#include <vector>

namespace korvex::simulation {

// The graphic's first view, before a job brings its own box and angles: box -80..80,
// distance 3, angle 6, looking down z.
void SetInitialView(TMathImage& image);

// The world box that shows every dot of the lines and the blank, with a tenth of margin.
struct WorldBox {
    long double x1, y1, z1, x2, y2, z2;
};
WorldBox JobExtents(const std::vector<std::string>& lines, const std::string& blank);

// The perspective shows only the middle of the world box: widens the box about the job's
// centre by 1.2 a step, at most 60 steps, until every corner of the job lies on the picture.
void FitJob(TMathImage& image, const WorldBox& job);

} // namespace korvex::simulation
