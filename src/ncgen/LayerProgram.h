#pragma once

#include "datamatrix/TFormat.h"
#include "ncgen/Layer.h"
#include "ncgen/OutputProfile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::ncgen {

// One layer's symbol and program.
struct TLayerProgram {
    std::vector<std::string> NCLines;
    std::vector<std::string> SimulationLines;
    datamatrix::TFormat PreferredFormat = datamatrix::AUTO;
    datamatrix::TFormat CalculatedFormat = datamatrix::AUTO; // differs when the text did not fit
};

// Encodes `code` (Windows-1252, lines joined by CR LF) with the given size and encodation
// indexes and writes the layer's NC program and simulation lines with the profile's safety
// distance and infeed depth. Throws the encoder's range error when no symbol holds the text.
TLayerProgram GenerateLayerProgram(const TLayer& layer, const std::string& code,
                                   std::uint8_t symbolSize, std::uint8_t encodation,
                                   const TActiveProfile& profile);

} // namespace korvex::ncgen
