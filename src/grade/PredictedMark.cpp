#include "grade/PredictedMark.h"

#include "grade/SeenDot.h"
#include "ncgen/DotGeometry.h"
#include "ncgen/HrtLine.h"
#include "ncgen/NumberReading.h"
#include "ncgen/SimulationLine.h"
#include "simulation/BlankDefinition.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace korvex::grade {
namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;

struct TFlatDot {
    long double U = 0, V = 0;         // laid flat: arc length across a cylinder
    long double SeenU = 0, SeenV = 0; // as the camera sees the centre
    long double EU = 0, EV = 0;       // the seen extents along U and V
};

// The eight ways a reader may find the symbol: mirrored first (way >= 4), then turned a
// quarter clockwise `way % 4` times.
void orient(TMarkDot& d, int& cols, int& rows, int way) {
    if (way >= 4) {
        d.Col = cols - 1 - d.Col;
        d.X = cols - d.X;
        d.Phi = Pi - d.Phi;
    }
    for (int turn = 0; turn < way % 4; ++turn) {
        const int col = d.Col;
        d.Col = rows - 1 - d.Row;
        d.Row = col;
        const double x = d.X;
        d.X = rows - d.Y;
        d.Y = x;
        d.Phi += Pi / 2;
        std::swap(cols, rows);
    }
}

readback::TModuleGrid gridOf(const std::vector<TMarkDot>& dots, int cols, int rows) {
    readback::TModuleGrid grid;
    grid.Cols = cols;
    grid.Rows = rows;
    grid.Dark.assign(static_cast<std::size_t>(cols) * rows, 0);
    grid.Fill.assign(grid.Dark.size(), 0);
    for (const TMarkDot& d : dots)
        grid.Set(d.Col, d.Row, static_cast<float>(d.A + d.B));
    return grid;
}

// The distance from the symbol's module area to the nearest edge of the blank's top face, in
// modules; nothing without a blank or when the face has no edge near the mark.
std::optional<double> quietZone(std::string_view blank, const std::array<long double, 8>& corners,
                                long double pitch) {
    const int shape = simulation::BlankShapeOf(blank);
    const auto value = [blank](const char* key) { return simulation::BlankValue(blank, key); };
    long double nearest = std::numeric_limits<long double>::infinity();
    for (int i = 0; i < 4; ++i) {
        const long double x = corners[2 * i], y = corners[2 * i + 1];
        const auto inside = [&](long double v, long double low, long double high) {
            nearest = std::min(nearest, std::min(v - low, high - v));
        };
        if (shape == simulation::BlankFields::Box) {
            inside(x, value("XM"), value("XP"));
            inside(y, value("YM"), value("YP"));
        } else if (shape == simulation::BlankFields::CylinderZ) {
            nearest = std::min(nearest, value("RA") - std::hypot(x - value("XC"), y - value("YC")));
        } else if (shape == simulation::BlankFields::CylinderX) {
            inside(x, value("XM"), value("XP"));
        } else if (shape == simulation::BlankFields::CylinderY) {
            inside(y, value("YM"), value("YP"));
        }
    }
    if (!std::isfinite(nearest)) return std::nullopt;
    return static_cast<double>(nearest / pitch);
}

} // namespace

TMarkPrediction PredictMark(const std::vector<std::string>& simulationLines,
                            const ncgen::TLayer& layer, const ncgen::TActiveProfile& profile,
                            long double depthOffset, std::string_view blankDefinition) {
    TMarkPrediction out;
    const ncgen::TTool tool = ncgen::CheckedTool(profile);
    const long double pitch = std::fabs(ncgen::ReadNumber(layer.Size).value);
    const auto figures = ncgen::DotFigures(simulationLines, tool, pitch);
    if (!figures) {
        out.Problem = "no grade without a marking tool in the profile and a dot spacing";
        out.NoTool = true;
        return out;
    }
    const auto surface = ncgen::ReadSurfaceLine(simulationLines);
    const ncgen::TSurfaceMode mode =
        !surface ? ncgen::TSurfaceMode::Flat
                 : (surface->Rotary ? ncgen::TSurfaceMode::Rotary : ncgen::TSurfaceMode::Follow);
    const bool lathe = profile.Y == "Z" && profile.J == "K";
    std::vector<TFlatDot> flat;
    long double level = 0;
    std::size_t index = 0;
    for (const std::string& line : simulationLines) {
        if (line == ncgen::HrtSimulationMark) break; // the text beside it is no module
        const ncgen::TSimulationLine read = ncgen::ReadSimulationLine(line);
        if (read.Kind == ncgen::TSimulationLine::Level) {
            if (read.TwoFields) level = read.B;
            continue;
        }
        if (read.Kind != ncgen::TSimulationLine::Point) continue;
        const long double depth = figures->Depths[index++] + depthOffset;
        TFlatDot d{lathe ? -read.A : read.A, read.B};
        d.SeenU = d.U;
        d.SeenV = d.V;
        TSeenDot seen = SeenDot(tool, mode, 0, depth);
        bool alongX = false;
        if (surface) {
            const base::TCylinder& c = surface->Cylinder;
            alongX = c.Along == 'X';
            long double& across = alongX ? d.V : d.U;
            const long double arc = ncgen::DotCentreArc(*surface, tool, across, level);
            across = c.Axis + arc;
            (alongX ? d.SeenV : d.SeenU) = base::OnSurface(c, arc).Across;
            seen = SeenDot(tool, mode, arc / c.Radius, depth);
        }
        d.EU = alongX ? seen.AcrossTilt : seen.AlongTilt;
        d.EV = alongX ? seen.AlongTilt : seen.AcrossTilt;
        if (!surface) d.EU = d.EV = seen.AlongTilt;
        flat.push_back(d);
    }
    if (flat.empty()) {
        out.Problem = "the program marks no dot";
        return out;
    }
    // Back by the layer's turn, onto the module lattice.
    const long double angle = ncgen::ReadNumber(layer.Angle).value * Pi / 180;
    const long double co = std::cos(angle), si = std::sin(angle);
    const auto turnBack = [&](long double u, long double v) {
        return std::pair{u * co + v * si, -u * si + v * co};
    };
    long double minU = std::numeric_limits<long double>::infinity(), maxV = -minU;
    for (const TFlatDot& d : flat) {
        const auto [u, v] = turnBack(d.U, d.V);
        minU = std::min(minU, u);
        maxV = std::max(maxV, v);
    }
    std::vector<TMarkDot> dots;
    int cols = 0, rows = 0;
    for (const TFlatDot& d : flat) {
        const auto [u, v] = turnBack(d.U, d.V);
        const long double cu = (u - minU) / pitch, rv = (maxV - v) / pitch;
        TMarkDot m;
        m.Col = static_cast<int>(std::lround(cu));
        m.Row = static_cast<int>(std::lround(rv));
        if (std::fabs(cu - m.Col) > 0.25L || std::fabs(rv - m.Row) > 0.25L) {
            out.Problem = "the points do not lie on a module grid of the dot spacing";
            return out;
        }
        const auto [su, sv] = turnBack(d.SeenU, d.SeenV);
        m.X = static_cast<double>((su - minU) / pitch + 0.5L);
        m.Y = static_cast<double>((maxV - sv) / pitch + 0.5L);
        m.A = static_cast<double>(d.EU / pitch / 2);
        m.B = static_cast<double>(d.EV / pitch / 2);
        m.Phi = static_cast<double>(angle); // U turned back; rows run downwards
        cols = std::max(cols, m.Col + 1);
        rows = std::max(rows, m.Row + 1);
        dots.push_back(m);
    }
    int fewest = -1;
    for (int way = 0; way < 8; ++way) {
        std::vector<TMarkDot> turned = dots;
        int c = cols, r = rows;
        for (TMarkDot& d : turned) {
            c = cols, r = rows;
            orient(d, c, r, way);
        }
        const datamatrix::TSizeInfo* size = readback::SizeOfGrid(c, r);
        if (!size) continue;
        readback::TModuleGrid grid = gridOf(turned, c, r);
        const int wrong = readback::FrameMismatches(grid, *size);
        if (fewest < 0 || wrong < fewest) fewest = wrong;
        if (wrong != 0) continue;
        TPredictedMark mark{std::move(grid), size, std::move(turned), std::nullopt};
        const long double lowU = minU - pitch / 2, highU = minU + (cols - 0.5L) * pitch;
        const long double lowV = maxV - (rows - 0.5L) * pitch, highV = maxV + pitch / 2;
        std::array<long double, 8> corners{};
        const long double us[] = {lowU, highU, highU, lowU}, vs[] = {lowV, lowV, highV, highV};
        for (int i = 0; i < 4; ++i) {
            corners[2 * i] = us[i] * co - vs[i] * si;
            corners[2 * i + 1] = us[i] * si + vs[i] * co;
        }
        mark.QuietZone = quietZone(blankDefinition, corners, pitch);
        out.Mark = std::move(mark);
        return out;
    }
    out.Problem = fewest < 0 ? "the points form no symbol size"
                             : "the finder and clock patterns are not whole";
    return out;
}

} // namespace korvex::grade
