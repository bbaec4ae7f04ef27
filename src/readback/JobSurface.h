#pragma once

#include "ncgen/NCJob.h"
#include "ncgen/Surface.h"

namespace korvex::readback {

// What the generator lays a job's points onto: the job's choice and its blank's cylinder.
// The tool comes from the profile when the generate command runs.
ncgen::TSurface JobSurface(const ncgen::TJob& job);

} // namespace korvex::readback
