#include "ncgen/RoundChecks.h"

#include "base/TextNumbers.h"
#include "base/DecimalText.h"
#include "ncgen/SimulationLine.h"
#include "ncgen/ToolGeometry.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

namespace korvex::ncgen {

using base::FixedText;

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;
constexpr long double ReadableShare = 0.16L;
constexpr long double DotTolerance = 0.20L;

struct TLevelDot {
    long double Across = 0;
    long double Bottom = 0;
};

std::string mm(long double value) {
    return FixedText(value, 3) + " mm";
}

} // namespace

std::vector<TRoundNote> RoundPartNotes(const base::TCylinder& blank, const TTool& tool,
                                       const std::vector<std::string>& simulationLines,
                                       long double pitch) {
    std::vector<TRoundNote> notes;
    const std::optional<TSurfaceLine> surface = ReadSurfaceLine(simulationLines);
    const base::TCylinder& c = surface ? surface->Cylinder : blank;
    if (!c.Usable()) return notes;
    std::vector<TLevelDot> dots;
    long double bottom = 0;
    for (const std::string& line : simulationLines) {
        const TSimulationLine read = ReadSimulationLine(line);
        if (!read.Ok) continue;
        if (read.Kind == TSimulationLine::Level) {
            bottom = read.B;
            continue;
        }
        dots.push_back({c.Along == 'X' ? read.B : read.A, bottom});
    }
    if (dots.empty()) return notes;

    long double arc0 = 0, arc1 = 0;
    for (std::size_t i = 0; i < dots.size(); ++i) {
        const long double arc = surface
                                    ? DotCentreArc(*surface, tool, dots[i].Across, dots[i].Bottom)
                                    : dots[i].Across - c.Axis;
        arc0 = i == 0 ? arc : std::min(arc0, arc);
        arc1 = i == 0 ? arc : std::max(arc1, arc);
    }
    const long double width = arc1 - arc0 + std::fabs(pitch);
    if (width > ReadableShare * 2 * c.Radius)
        // A program that turns the part already uses the rotary axis.
        notes.push_back(
            {surface && surface->Rotary ? text::SymbolWideOnRotary : text::SymbolWideOnCylinder,
             {mm(width), mm(2 * c.Radius)}});

    if (!surface || surface->Rotary || tool.Kind == TToolKind::None) return notes;
    long double worstRatio = 1, worstShare = 0, worstShift = 0, worstTilt = 0;
    for (const TLevelDot& dot : dots) {
        const long double tilt = std::fabs(base::ArcAbove(c, dot.Across) / c.Radius);
        const long double off = std::min(std::fabs(dot.Across - c.Axis), c.Radius);
        const long double depth = c.ZC + std::sqrt(c.Radius * c.Radius - off * off) - dot.Bottom;
        const TTiltedDot shape = TiltedDot(tool, tilt, depth);
        if (shape.Ratio < worstRatio) {
            worstRatio = shape.Ratio;
            worstTilt = tilt;
        }
        // A flank as steep as the surface cuts no closed dot: the oval note says so.
        if (shape.Cuts && shape.Width > 0 && shape.Shift / shape.Width > worstShare) {
            worstShare = shape.Shift / shape.Width;
            worstShift = shape.Shift;
        }
    }
    if (1 - worstRatio > DotTolerance)
        notes.push_back(
            {text::DotsOval, {FixedText(worstRatio * 100, 0), FixedText(worstTilt * 180 / Pi, 1)}});
    if (worstShare > DotTolerance)
        notes.push_back({text::DotCentresShift, {mm(worstShift), FixedText(worstShare * 100, 0)}});
    return notes;
}

std::string RoundNoteText(const TRoundNote& note) {
    std::string text;
    switch (note.Text) {
    case text::SymbolWideOnCylinder:
        text = "The symbol is %1 wide, more than 16 % of the diameter %2: use the rotary axis or "
               "a rectangular symbol";
        break;
    case text::SymbolWideOnRotary:
        text = "The symbol is %1 wide, more than 16 % of the diameter %2: use a rectangular symbol";
        break;
    case text::DotsOval:
        text = "the dots turn oval on the tilted surface: %1 % of their round width (tilt %2\xB0)";
        break;
    case text::DotCentresShift:
        text = "the dot centres shift by %1 (%2 % of the dot diameter)";
        break;
    default:
        return {};
    }
    for (std::size_t i = 0; i < note.Args.size(); ++i) {
        const std::string mark = "%" + std::to_string(i + 1);
        if (const auto at = text.find(mark); at != text.npos)
            text.replace(at, mark.size(), note.Args[i]);
    }
    return text;
}

} // namespace korvex::ncgen
