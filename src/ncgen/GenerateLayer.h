#pragma once

#include "base/TextMessage.h"
#include "datamatrix/TIArray.h"
#include "ncgen/HrtLine.h"
#include "ncgen/Layer.h"
#include "ncgen/OutputProfile.h"
#include "ncgen/Surface.h"

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
    TSurface Surface;               // Follow and Rotary need a usable cylinder
    // The human-readable line's dots, marked after the symbol's with its mirrors and rotation.
    const std::vector<THrtDot>* TextDots = nullptr;
};

// Line lists the caller owns; they keep what was written when an error ends the run.
struct TGenerateOutput {
    std::vector<std::string> NCLines;         // appended to: the caller empties it first
    std::vector<std::string> SimulationLines; // emptied, then "ZR;" and "XY;" lines
    std::vector<std::string> BufferLines;     // buffer mode: a copy of the simulation lines
    std::vector<std::size_t> PointLines;      // where each dot's template begins in NCLines
    TNCFormat LastUsedFormat;                 // set at the end, also after an error
    base::TTextMessage Refusal; // the points cannot be laid onto the cylinder: nothing written
};

// A lathe's X/Z plane (Y letter "Z", J letter "K"): X is written negated, offset included.
inline bool IsLatheMode(const TActiveProfile& profile) {
    return profile.Y == "Z" && profile.J == "K";
}

// Writes the NC program and simulation lines of one layer, walking the matrix in meanders
// from the bottom-right module, then the text's dots, which the simulation lines set apart by
// HrtSimulationMark. Errors propagate after LastUsedFormat is set.
// On a round surface (Follow, Rotary) the simulation lines begin with the surface line
// "SF;" axis ";" mode letter (F, R) ";" axis position ";" ZC ";" radius, which a reader of
// "ZR"/"XY" lines ignores, and every dot has its own "ZR" line: Follow gives the safe plane and
// the dot's depth, Rotary the heights of the radial plunge's start and end in the part's frame.
void GenerateLayer(const TGenerateInput& input, TGenerateOutput& output);

} // namespace korvex::ncgen
