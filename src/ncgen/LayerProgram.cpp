#include "ncgen/LayerProgram.h"

#include "datamatrix/TDatamatrix.h"
#include "ncgen/GenerateLayer.h"

namespace korvex::ncgen {

TLayerProgram GenerateLayerProgram(const TLayer& layer, const std::string& code,
                                   std::uint8_t symbolSize, std::uint8_t encodation,
                                   const TActiveProfile& profile) {
    datamatrix::TDatamatrix symbol;
    symbol.Code = code;
    symbol.Encoding = encodation < datamatrix::ENCODING_COUNT
                          ? static_cast<datamatrix::TEncoding>(encodation)
                          : datamatrix::E_ASCII;
    symbol.PreferredFormat = symbolSize < datamatrix::FORMAT_COUNT
                                 ? static_cast<datamatrix::TFormat>(symbolSize)
                                 : datamatrix::AUTO;
    symbol.rebuild = true;
    symbol.paintBarcode(nullptr);

    TLayerProgram program;
    program.PreferredFormat = symbol.PreferredFormat;
    program.CalculatedFormat = symbol.CalculatedFormat();
    const datamatrix::TIArray matrix = symbol.Matrix();
    TGenerateOutput output;
    const TGenerateInput input{layer,
                               matrix,
                               symbol.MatrixCols(),
                               symbol.MatrixRows(),
                               profile,
                               profile.SafetyDistance,
                               profile.InfeedDepth,
                               false};
    GenerateLayer(input, output);
    program.NCLines = std::move(output.NCLines);
    program.SimulationLines = std::move(output.SimulationLines);
    return program;
}

} // namespace korvex::ncgen
