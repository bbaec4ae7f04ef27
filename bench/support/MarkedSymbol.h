// What the read-back and grade benchmarks share: a symbol of the given size filled with digits
// and its program's simulation lines, dots 0.5 mm apart plunged 0.2 mm deep.
#pragma once

#include "datamatrix/TDatamatrix.h"
#include "ncgen/GenerateLayer.h"

#include <string>
#include <vector>

namespace korvex::bench {

struct TMarkedSymbol {
    std::string Text;
    ncgen::TLayer Layer;
    ncgen::TActiveProfile Profile;
    std::vector<std::string> Lines;

    // The tool is the profile's while the program is generated.
    explicit TMarkedSymbol(datamatrix::TFormat size, ncgen::TTool tool = {}) {
        for (int i = 0; i < 2 * datamatrix::SizeInfo(size).dataCodewords; ++i)
            Text += static_cast<char>('0' + (i * 7) % 10);
        Layer.Size = "0.5";
        Profile.FirstPoint[0] = "G0 X[#XVAL] Y[#YVAL]";
        Profile.FirstPoint[1] = "G1 Z[#ZVAL]";
        Profile.FollowingPoints = Profile.FirstPoint;
        Profile.InfeedDepth = "-0.2";
        Profile.Tool = tool;
        datamatrix::TDatamatrix symbol;
        symbol.Code = Text;
        symbol.PreferredFormat = size;
        symbol.paintBarcode(nullptr);
        ncgen::TGenerateOutput output;
        ncgen::GenerateLayer({Layer,
                              symbol.Matrix(),
                              symbol.MatrixCols(),
                              symbol.MatrixRows(),
                              Profile,
                              "2",
                              "-0.2",
                              false,
                              {}},
                             output);
        Lines = std::move(output.SimulationLines);
    }
};

} // namespace korvex::bench
