#pragma once

#include "datamatrix/SizeTable.h"
#include "ncgen/Layer.h"
#include "ncgen/OutputProfile.h"
#include "readback/ModuleGrid.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::grade {

// One dot of the mark as the camera sees it, in module widths of the symbol as a reader lays it
// down (columns to the right, rows downwards, module (c, r) ideally centred at c + 0.5, r + 0.5):
// an ellipse with the semi-axis A in the direction Phi (radians from +X towards +Y) and B
// across it.
struct TMarkDot {
    int Col = 0, Row = 0;
    double X = 0, Y = 0;
    double A = 0, B = 0;
    double Phi = 0;
};

struct TPredictedMark {
    readback::TModuleGrid Grid; // the modules the program marks
    const datamatrix::TSizeInfo* Size = nullptr;
    std::vector<TMarkDot> Dots;
    std::optional<double> QuietZone; // modules to the nearest edge of the blank's face
};

struct TMarkPrediction {
    std::optional<TPredictedMark> Mark;
    std::string Problem; // English, why there is no mark to grade
    bool NoTool = false; // the reason is that no tool or no spacing is known
};

// The program's dots (its simulation lines) made by the profile's tool `depthOffset` mm deeper
// than written, seen from above the part: a round program as a camera above its cylinder sees
// it. Without a tool, or when the points form no symbol, nothing but the reason.
TMarkPrediction PredictMark(const std::vector<std::string>& simulationLines,
                            const ncgen::TLayer& layer, const ncgen::TActiveProfile& profile,
                            long double depthOffset, std::string_view blankDefinition = {});

} // namespace korvex::grade
