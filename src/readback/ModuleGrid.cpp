#include "readback/ModuleGrid.h"

#include "base/DecimalText.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace korvex::readback {

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;
// A marking larger than the largest symbol with room to spare; beyond it the pitch is wrong.
constexpr long double MaxLattice = 400;

std::string number(long double value) {
    std::string text = base::FixedText(value, 6);
    while (text.size() > 1 && text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

} // namespace

std::string ProblemText(const TReadBackProblem& problem) {
    const auto value = [&problem](std::size_t i) {
        return i < problem.Values.size() ? problem.Values[i] : std::string();
    };
    const bool one = value(0) == "1";
    switch (problem.Reason) {
    case TProblem::None:
        return {};
    case TProblem::NoPoint:
        return "no point is marked";
    case TProblem::NoSpacing:
        return "the dot spacing is not a length";
    case TProblem::TooLarge:
        return "the points span more than " + value(0) + " modules of pitch " + value(1);
    case TProblem::OffGrid:
        return "point (" + value(0) + ", " + value(1) + ") lies off the module grid of pitch " +
               value(2);
    case TProblem::SharedModule:
        return "two points fall on one module at (" + value(0) + ", " + value(1) + ")";
    case TProblem::BadLine:
        return "the simulation line \"" + value(0) + "\" is no point";
    case TProblem::FirstNotMarked:
        return "the first point is not marked: its template writes no [#XVAL] and [#YVAL]";
    case TProblem::FollowingNotMarked:
        return value(0) + (one ? " point is" : " points are") +
               " not marked: the following-points template writes no [#XVAL] and [#YVAL]";
    case TProblem::NoSize:
        return "the marked points form " + value(0) + " x " + value(1) +
               " modules, no DataMatrix size";
    case TProblem::FrameWrong:
        return value(0) + (one ? " module" : " modules") +
               " of the finder and clock patterns wrong";
    case TProblem::DoesNotDecode:
        return "the data modules do not decode";
    case TProblem::DotsTooSmall:
        return "dots too small: " + value(0) + " % of the dot spacing, a reader needs 60-105 %";
    case TProblem::DotsMerge:
        return "dots merge: " + value(0) + " % of the dot spacing, a reader needs 60-105 %";
    case TProblem::DotsDoNotDecode:
        return "the round dots of " + value(0) + "-" + value(1) +
               " % of the dot spacing do not decode";
    }
    return {};
}

TGridBuild BuildModuleGrid(const std::vector<TViewPoint>& points, long double pitch,
                           long double angleDegrees) {
    TGridBuild build;
    if (points.empty()) {
        build.Problem = {TProblem::NoPoint, {}};
        return build;
    }
    const long double step = std::fabs(pitch);
    if (!(step > 0) || !std::isfinite(step)) {
        build.Problem = {TProblem::NoSpacing, {}};
        return build;
    }
    const long double a = -angleDegrees * Pi / 180;
    const long double c = std::cos(a);
    const long double s = std::sin(a);
    std::vector<std::pair<long double, long double>> lattice;
    lattice.reserve(points.size());
    long double minU = 0, minV = 0;
    for (const TViewPoint& p : points) {
        const long double u = (p.U * c - p.V * s) / step;
        const long double v = (p.U * s + p.V * c) / step;
        if (lattice.empty() || u < minU) minU = u;
        if (lattice.empty() || v < minV) minV = v;
        lattice.emplace_back(u, v);
    }
    std::map<std::pair<long long, long long>, float> sites;
    long long maxI = 0, maxJ = 0;
    for (std::size_t k = 0; k < lattice.size(); ++k) {
        const long double u = lattice[k].first - minU;
        const long double v = lattice[k].second - minV;
        if (u > MaxLattice || v > MaxLattice) {
            build.Problem = {TProblem::TooLarge, {number(MaxLattice), number(step)}};
            return build;
        }
        const long double i = std::round(u);
        const long double j = std::round(v);
        if (std::fabs(u - i) > 0.25L || std::fabs(v - j) > 0.25L) {
            build.Problem = {TProblem::OffGrid,
                             {number(points[k].U), number(points[k].V), number(step)}};
            return build;
        }
        if (!sites
                 .emplace(std::pair(static_cast<long long>(i), static_cast<long long>(j)),
                          points[k].Fill)
                 .second) {
            build.Problem = {TProblem::SharedModule, {number(points[k].U), number(points[k].V)}};
            return build;
        }
        maxI = std::max(maxI, static_cast<long long>(i));
        maxJ = std::max(maxJ, static_cast<long long>(j));
    }
    build.Grid.Cols = static_cast<int>(maxI + 1);
    build.Grid.Rows = static_cast<int>(maxJ + 1);
    build.Grid.Dark.assign(static_cast<std::size_t>(build.Grid.Cols) * build.Grid.Rows, 0);
    build.Grid.Fill.assign(build.Grid.Dark.size(), 0);
    for (const auto& [site, fill] : sites)
        build.Grid.Set(static_cast<int>(site.first), static_cast<int>(maxJ - site.second), fill);
    build.Ok = true;
    return build;
}

TModuleGrid Transformed(const TModuleGrid& grid, int way) {
    TModuleGrid out;
    const bool quarter = way % 2 == 1;
    out.Cols = quarter ? grid.Rows : grid.Cols;
    out.Rows = quarter ? grid.Cols : grid.Rows;
    out.Dark.assign(grid.Dark.size(), 0);
    out.Fill.assign(grid.Dark.size(), 0);
    for (int row = 0; row < grid.Rows; ++row)
        for (int col = 0; col < grid.Cols; ++col) {
            if (!grid.At(col, row)) continue;
            int x = way >= 4 ? grid.Cols - 1 - col : col;
            int y = row;
            int w = grid.Cols;
            int h = grid.Rows;
            for (int turn = 0; turn < way % 4; ++turn) {
                // A clockwise quarter turn: (x, y) in a w x h grid goes to (h - 1 - y, x).
                const int nx = h - 1 - y;
                y = x;
                x = nx;
                std::swap(w, h);
            }
            out.Set(x, y, grid.FillAt(col, row));
        }
    return out;
}

const datamatrix::TSizeInfo* SizeOfGrid(int cols, int rows) {
    for (const auto& size : datamatrix::SIZE_TABLE)
        if (size.symbolCols == cols && size.symbolRows == rows && cols > 0) return &size;
    return nullptr;
}

int FrameMismatches(const TModuleGrid& grid, const datamatrix::TSizeInfo& size) {
    const int blockCols = size.regionCols + 2;
    const int blockRows = size.regionRows + 2;
    int mismatches = 0;
    for (int row = 0; row < grid.Rows; ++row)
        for (int col = 0; col < grid.Cols; ++col) {
            const int x = col % blockCols;
            const int y = row % blockRows;
            bool dark;
            if (x == 0)
                dark = true;
            else if (x == blockCols - 1)
                dark = y % 2 == 1;
            else if (y == blockRows - 1)
                dark = true;
            else if (y == 0)
                dark = x % 2 == 0;
            else
                continue; // a data module
            if (grid.At(col, row) != dark) ++mismatches;
        }
    return mismatches;
}

} // namespace korvex::readback
