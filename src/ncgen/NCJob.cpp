#include "ncgen/NCJob.h"

namespace korvex::ncgen {

void NewJob(TJob& job, std::string_view defaultLayerName, std::uint8_t currentSymbolSize,
            std::uint8_t currentEncodation) {
    job.Layers.ClearLayers();
    job.Layers.AddLayer(defaultLayerName, currentSymbolSize, currentEncodation);
    job.Layers.CurrentLayer = 1;
    job.BlankDefinition.clear();
    job.Surface = TSurfaceMode::Flat;
}

} // namespace korvex::ncgen
