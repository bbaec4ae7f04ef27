#include "readback/JobSurface.h"

#include "simulation/BlankDefinition.h"

namespace korvex::readback {

ncgen::TSurface JobSurface(const ncgen::TJob& job, const ncgen::TMarkingTool& tool) {
    return {job.Surface, simulation::CylinderOf(job.BlankDefinition), tool};
}

} // namespace korvex::readback
