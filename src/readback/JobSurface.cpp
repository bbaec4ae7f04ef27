#include "readback/JobSurface.h"

#include "simulation/BlankDefinition.h"

namespace korvex::readback {

ncgen::TSurface JobSurface(const ncgen::TJob& job) {
    return {job.Surface, simulation::CylinderOf(job.BlankDefinition), {}};
}

} // namespace korvex::readback
