#include "ncgen/DotGeometry.h"

#include "ncgen/SimulationLine.h"

#include "ncgen/NumberReading.h"
#include "ncgen/HrtLine.h"
#include "ncgen/SimulationLine.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace korvex::ncgen {

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;
constexpr long double FillTolerance = 1e-9L;

long double halfAngleTan(const TTool& tool) {
    return std::tan(tool.Angle * Pi / 360);
}

} // namespace

long double DotDiameter(const TTool& tool, long double depth) {
    if (!(depth > 0)) return 0;
    switch (tool.Kind) {
    case TToolKind::None:
        break;
    case TToolKind::Cone:
        return tool.Tip + 2 * depth * halfAngleTan(tool);
    case TToolKind::Ball:
        if (depth >= tool.Radius) return 2 * tool.Radius;
        return 2 * std::sqrt(depth * (2 * tool.Radius - depth));
    }
    return 0;
}

std::optional<long double> DepthForDiameter(const TTool& tool, long double diameter) {
    switch (tool.Kind) {
    case TToolKind::None:
        break;
    case TToolKind::Cone:
        if (diameter <= tool.Tip) return std::nullopt;
        return (diameter - tool.Tip) / (2 * halfAngleTan(tool));
    case TToolKind::Ball: {
        const long double half = diameter / 2;
        if (half > tool.Radius) return std::nullopt;
        return tool.Radius - std::sqrt(tool.Radius * tool.Radius - half * half);
    }
    }
    return std::nullopt;
}

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
        }
        const long double diameter = DotDiameter(tool, depth);
        const long double fill = diameter / pitch;
        if (figures.Diameters.empty() || fill < figures.SmallestFill) figures.SmallestFill = fill;
        if (figures.Diameters.empty() || fill > figures.LargestFill) figures.LargestFill = fill;
        // The window's edges are inside it, whatever the last bits of a tangent say.
        figures.TooSmall += fill < LeastFill - FillTolerance;
        figures.Merging += fill > MostFill + FillTolerance;
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
