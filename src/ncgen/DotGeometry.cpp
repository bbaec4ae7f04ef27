#include "ncgen/DotGeometry.h"

#include "ncgen/NumberReading.h"
#include "ncgen/HrtLine.h"
#include "ncgen/SimulationLine.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace korvex::ncgen {

namespace {

constexpr long double FillTolerance = 1e-9L;

} // namespace

TTool CheckedTool(const TActiveProfile& profile) {
    return ReadNumber(profile.InfeedDepth).ok ? profile.Tool : TTool{};
}

std::optional<TDotFigures> DotFigures(const std::vector<std::string>& simulationLines,
                                      const TTool& tool, long double pitch) {
    if (tool.Kind == TToolKind::None || !(pitch > 0) || !std::isfinite(pitch)) return std::nullopt;
    TDotFigures figures;
    figures.Pitch = pitch;
    long double level = 0;
    const std::optional<TSurfaceLine> surface = ReadSurfaceLine(simulationLines);
    for (const std::string& line : simulationLines) {
        // The text's dots have a spacing of their own.
        if (line == HrtSimulationMark) break;
        const TSimulationLine read = ReadSimulationLine(line);
        if (read.Kind == TSimulationLine::Other) continue;
        if (read.Kind == TSimulationLine::Level) {
            if (read.TwoFields) level = read.B;
            continue;
        }
        long double depth = -level;
        long double tilt = 0;
        if (surface) {
            // On a round part the depth counts from the surface above the dot, or along its
            // radius when the part turns.
            const base::TCylinder& c = surface->Cylinder;
            const std::string_view rest = std::string_view(line).substr(3);
            const auto split = rest.find(';');
            const long double across =
                ReadNumber(c.Along == 'X' ? (split == rest.npos ? "" : rest.substr(split + 1))
                                          : rest.substr(0, split))
                    .value;
            const long double off = std::min(std::fabs(across - c.Axis), c.Radius);
            depth = surface->Rotary ? c.Radius - std::hypot(across - c.Axis, level - c.ZC)
                                    : c.ZC + std::sqrt(c.Radius * c.Radius - off * off) - level;
            if (!surface->Rotary) tilt = base::ArcAbove(c, across) / c.Radius;
        }
        const TTiltedDot dot = TiltedDot(tool, tilt, depth);
        const long double diameter = depth > 0 ? dot.Length : 0;
        const long double fill = diameter / pitch;
        if (figures.Diameters.empty() || fill < figures.SmallestFill) figures.SmallestFill = fill;
        if (figures.Diameters.empty() || fill > figures.LargestFill) figures.LargestFill = fill;
        // The window's edges are inside it, whatever the last bits of a tangent say.
        figures.TooSmall += fill < LeastFill - FillTolerance;
        // A flank as steep as the surface cuts no closed dot: it runs into its neighbours.
        figures.Merging += (depth > 0 && !dot.Cuts) || fill > MostFill + FillTolerance;
        figures.Depths.push_back(depth);
        figures.Diameters.push_back(diameter);
    }
    if (figures.Diameters.empty()) return std::nullopt;
    figures.IdealDepth = DepthForDiameter(tool, IdealFill * pitch);
    figures.LeastDepth = DepthForDiameter(tool, LeastFill * pitch);
    figures.MostDepth = DepthForDiameter(tool, MostFill * pitch);
    return figures;
}

} // namespace korvex::ncgen
