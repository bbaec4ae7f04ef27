#pragma once

#include "datamatrix/TIArray.h"
#include "ncgen/Layer.h"
#include "ncgen/OutputProfile.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvex::ncgen {

struct TGenerateInput {
    const TLayer& Layer;
    const datamatrix::TIArray& Matrix; // [column][row], nonzero = dark
    int MatrixCols = 0;
    int MatrixRows = 0;
    const TActiveProfile& Profile;
    std::string_view REbeneauswahl; // safety distance field text
    std::string_view ZEbeneauswahl; // infeed depth field text
    bool ToBuffer = false;          // pick buffer: simulation lines only
};

// Line lists the caller owns; they keep what was written when an error ends the run.
struct TGenerateOutput {
    std::vector<std::string> NCLines;         // appended to: the caller empties it first
    std::vector<std::string> SimulationLines; // emptied, then "ZR;" and "XY;" lines
    std::vector<std::string> BufferLines;     // buffer mode: a copy of the simulation lines
    TNCFormat LastUsedFormat;                 // set at the end, also after an error
};

// A lathe's X/Z plane (Y letter "Z", J letter "K"): X is written negated, offset included.
inline bool IsLatheMode(const TActiveProfile& profile) {
    return profile.Y == "Z" && profile.J == "K";
}

// Writes the NC program and simulation lines of one layer, walking the matrix in meanders
// from the bottom-right module. Errors propagate after LastUsedFormat is set.
void GenerateLayer(const TGenerateInput& input, TGenerateOutput& output);

} // namespace korvex::ncgen
