#include "ncgen/SimulationLine.h"

#include "base/DecimalText.h"
#include "base/SimulationLineText.h"
#include "ncgen/NumberReading.h"
#include "ncgen/ToolGeometry.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace korvex::ncgen {
namespace {

// A value that rounds to zero is written without sign: rotation leaves residues like -1E-19.
std::string numberText(long double value) {
    std::string text = base::FixedText(value, 3);
    if (text == "-0.000") {
        text.erase(0, 1);
    }
    return text;
}

// Sized once: the simulation keeps one such line per dot.
std::string twoFieldLine(std::string_view tag, long double a, long double b) {
    const std::string first = numberText(a);
    const std::string second = numberText(b);
    std::string line(tag.size() + first.size() + 1 + second.size(), ';');
    tag.copy(line.data(), tag.size());
    first.copy(line.data() + tag.size(), first.size());
    second.copy(line.data() + tag.size() + first.size() + 1, second.size());
    return line;
}

} // namespace

std::string LevelLine(long double r, long double z) {
    return twoFieldLine("ZR;", r, z);
}

std::string PointLine(long double x, long double y) {
    return twoFieldLine("XY;", x, y);
}

TSimulationLine ReadSimulationLine(std::string_view line) {
    const base::TSimulationLineText text = base::SplitSimulationLine(line);
    TSimulationLine read;
    // Only the generator's own tags, "ZR;" and "XY;", count here.
    if (!text.tagEnded) return read;
    read.Kind = text.kind == base::TSimulationLineText::Level ? TSimulationLine::Level
                                                              : TSimulationLine::Point;
    if (!text.separated) return read;
    read.TwoFields = true;
    const TNumberReading a = ReadNumber(text.first);
    const TNumberReading b = ReadNumber(text.second);
    read.Ok = a.ok && b.ok;
    read.A = a.value;
    read.B = b.value;
    return read;
}

void ShiftPointLines(std::vector<std::string>& lines, long double dx, long double dy) {
    for (std::string& line : lines) {
        if (line.find("XY") == std::string::npos) {
            continue;
        }
        const std::string_view rest =
            std::string_view(line).substr(std::min<std::size_t>(3, line.size()));
        const auto separator = rest.find(';');
        const std::string_view xText = rest.substr(0, separator);
        const std::string_view yText =
            separator == std::string_view::npos ? std::string_view() : rest.substr(separator + 1);
        line = PointLine(ReadNumber(xText).value + dx, ReadNumber(yText).value + dy);
    }
}

std::string SurfaceLine(const TSurface& surface) {
    const base::TCylinder& c = surface.Cylinder;
    return std::string("SF;") + c.Along + (surface.Mode == TSurfaceMode::Rotary ? ";R;" : ";F;") +
           numberText(c.Axis) + ";" + numberText(c.ZC) + ";" + numberText(c.Radius);
}

std::optional<TSurfaceLine> ReadSurfaceLine(const std::vector<std::string>& simulationLines) {
    for (const std::string& line : simulationLines) {
        if (!line.starts_with("SF;")) continue;
        std::vector<std::string_view> fields;
        std::string_view rest = std::string_view(line).substr(3);
        for (std::size_t at; (at = rest.find(';')) != rest.npos; rest.remove_prefix(at + 1))
            fields.push_back(rest.substr(0, at));
        fields.push_back(rest);
        if (fields.size() != 5 || fields[0].size() != 1) return std::nullopt;
        TSurfaceLine surface;
        surface.Cylinder.Along = fields[0][0];
        surface.Rotary = fields[1] == "R";
        const TNumberReading axis = ReadNumber(fields[2]);
        const TNumberReading zc = ReadNumber(fields[3]);
        const TNumberReading radius = ReadNumber(fields[4]);
        surface.Cylinder.Axis = axis.value;
        surface.Cylinder.ZC = zc.value;
        surface.Cylinder.Radius = radius.value;
        if (!axis.ok || !zc.ok || !radius.ok || !surface.Cylinder.Usable()) return std::nullopt;
        return surface;
    }
    return std::nullopt;
}

long double DotArc(const TSurfaceLine& surface, long double across, long double bottom) {
    return surface.Rotary ? base::ArcOfRadial(surface.Cylinder, across, bottom)
                          : base::ArcAbove(surface.Cylinder, across);
}

long double DotCentreArc(const TSurfaceLine& surface, const TTool& tool, long double across,
                         long double bottom) {
    if (surface.Rotary || tool.Kind == TToolKind::None) return DotArc(surface, across, bottom);
    const base::TCylinder& c = surface.Cylinder;
    const long double off = std::min(std::fabs(across - c.Axis), c.Radius);
    const long double depth = bottom - (c.ZC + std::sqrt(c.Radius * c.Radius - off * off));
    // The aim was taken at the centre's tilt: find the centre it came from. The offset changes
    // by far less than the centre moves, so this settles in a few rounds.
    long double centre = across;
    for (int round = 0; round < 20; ++round) {
        const long double tilt = base::ArcAbove(c, centre) / c.Radius;
        const long double next = across - AimOffset(tool, tilt, depth);
        const bool settled = std::fabs(next - centre) < 1e-12L;
        centre = next;
        if (settled) break;
    }
    return base::ArcAbove(c, centre);
}

} // namespace korvex::ncgen
