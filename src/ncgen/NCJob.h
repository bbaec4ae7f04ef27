#pragma once

#include "ncgen/LayerTable.h"
#include "ncgen/Surface.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace korvex::ncgen {

// A marking job as a template file carries it: layers, blank and the graphic's 3D view.
struct TJob {
    TLayerTable Layers;
    std::string BlankDefinition;               // "ROHDEF ..." or empty
    TSurfaceMode Surface = TSurfaceMode::Flat; // "SURFACE FOLLOW" / "SURFACE ROTARY"
    long double D3Zrotation = -90;             // keyword "3DZ "
    long double D3Yrotation = 0;               // "3DY "
    long double D3WorldX1 = -80;               // "3DX1 "
    long double D3WorldX2 = 80;                // "3DX2 "
    long double D3WorldY1 = -80;               // "3DY1 "
    long double D3WorldY2 = 80;                // "3DY2 "
    long double D3WorldZ1 = -80;               // "3DZ1 "
    long double D3WorldZ2 = 80;                // "3DZ2 "
};

// The command "Neu": one fresh current layer, no blank, flat; the 3D view stays as it is.
void NewJob(TJob& job, std::string_view defaultLayerName, std::uint8_t currentSymbolSize,
            std::uint8_t currentEncodation);

} // namespace korvex::ncgen
