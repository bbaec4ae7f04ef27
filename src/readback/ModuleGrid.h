#pragma once

#include "datamatrix/SizeTable.h"

#include <string>
#include <vector>

namespace korvex::readback {

// A marked point as the tool side sees it: U to the right, V upwards.
struct TViewPoint {
    long double U = 0;
    long double V = 0;
    float Fill = 1; // the dot's diameter in module widths, where the tool is known
};

// Modules in rows from the top, as a scanner looks at them.
struct TModuleGrid {
    int Cols = 0;
    int Rows = 0;
    std::vector<char> Dark;  // Rows x Cols, row-major
    std::vector<float> Fill; // the same layout: the dot's diameter in module widths

    bool At(int col, int row) const {
        return Dark[static_cast<std::size_t>(row) * Cols + col] != 0;
    }
    void Set(int col, int row, float fill = 1) {
        Dark[static_cast<std::size_t>(row) * Cols + col] = 1;
        Fill[static_cast<std::size_t>(row) * Cols + col] = fill;
    }
    float FillAt(int col, int row) const {
        return Fill[static_cast<std::size_t>(row) * Cols + col];
    }
};

// Why the marks make no readable symbol, with the values the reason names (numbers as
// written, or a line), so the window can say it in the user's language.
enum class TProblem {
    None,
    NoPoint,
    NoSpacing,
    TooLarge,           // modules, pitch
    OffGrid,            // u, v, pitch
    SharedModule,       // u, v
    BadLine,            // the simulation line
    FirstNotMarked,     //
    FollowingNotMarked, // how many points
    NoSize,             // columns, rows
    FrameWrong,         // how many modules
    DoesNotDecode,
    DotsTooSmall,    // smallest fill in percent
    DotsMerge,       // largest fill in percent
    DotsDoNotDecode, // smallest and largest fill in percent
};

struct TReadBackProblem {
    TProblem Reason = TProblem::None;
    std::vector<std::string> Values;
    bool Empty() const { return Reason == TProblem::None; }
};

// The problem in English, as korvex-cli says it.
std::string ProblemText(const TReadBackProblem& problem);

struct TGridBuild {
    bool Ok = false;
    TModuleGrid Grid;
    TReadBackProblem Problem; // why no grid could be built
};

// Puts every point on the module lattice of the given pitch, turned back by the layer's
// rotation (counter-clockwise degrees). A point farther than a quarter module from a lattice
// site, or two points on one site, means the marks do not form a module grid of that pitch.
TGridBuild BuildModuleGrid(const std::vector<TViewPoint>& points, long double pitch,
                           long double angleDegrees);

// One of the eight ways to lay a grid down: turns of 90 degrees clockwise (0-3), the same after
// flipping left to right (4-7, the mirror images).
TModuleGrid Transformed(const TModuleGrid& grid, int way);

// The symbol size with exactly these dimensions; nullptr when none has them.
const datamatrix::TSizeInfo* SizeOfGrid(int cols, int rows);

// Modules of the finder and clock patterns of every data region that differ from
// ISO/IEC 16022, 5.3.3.1 (solid left and bottom edges, alternating top and right edges).
int FrameMismatches(const TModuleGrid& grid, const datamatrix::TSizeInfo& size);

} // namespace korvex::readback
