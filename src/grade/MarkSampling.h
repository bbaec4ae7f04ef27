#pragma once

#include "grade/PredictedMark.h"

namespace korvex::grade {

// The grid a reader lays over the symbol, in module widths: module (c, r) at
// (X0 + c Pitch X, Y0 + r PitchY), found from the finder's corners and the clock tracks.
struct TReaderGrid {
    double X0 = 0.5, Y0 = 0.5, PitchX = 1, PitchY = 1;
};

struct TSampling {
    double UnusedErrorCorrection = 0; // of the worst block
    int WorstSegmentDamage = 0;       // modules of one finder, clock or quiet-zone segment wrong
    int PatternDamage = 0;            // of all of them
};

// Samples the predicted mark at 10 pixels per cell on the reader's grid after each closing a
// reader tries and keeps the better: the codewords read against the ones the program's data
// codewords and Reed-Solomon give, block by block.
TSampling SampleMark(const TPredictedMark& mark, const TReaderGrid& grid);

} // namespace korvex::grade
