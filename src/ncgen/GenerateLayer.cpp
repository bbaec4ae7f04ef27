#include "ncgen/GenerateLayer.h"

#include "base/TextNumbers.h"
#include "ncgen/NumberReading.h"
#include "ncgen/PointTemplate.h"
#include "ncgen/SimulationLine.h"
#include "ncgen/ToolGeometry.h"

#include <algorithm>
#include <cmath>

namespace korvex::ncgen {
namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;

bool isDark(const datamatrix::TIArray& matrix, int column, int row) {
    // Modules outside the stored matrix count as light rather than being read out of bounds.
    const auto c = static_cast<std::size_t>(column);
    const auto r = static_cast<std::size_t>(row);
    return c < matrix.size() && r < matrix[c].size() && matrix[c][r] != 0;
}

void writeTemplate(const TTemplate& lines, const TPointValues& values,
                   const TActiveProfile& profile, std::int32_t& blockCounter,
                   std::vector<std::string>& program) {
    for (const std::string& templateLine : lines) {
        if (templateLine.empty()) {
            continue;
        }
        WriteTemplateLine(templateLine, values, profile, blockCounter, program);
    }
}

// Dark modules the walk will visit, so that the line lists grow once instead of doubling
// (moving every line) and faulting in fresh pages along the way.
std::size_t countDark(const datamatrix::TIArray& matrix, int cols, int rows) {
    std::size_t count = 0;
    for (int column = 0; column < cols; ++column) {
        for (int row = 0; row < rows; ++row) {
            count += isDark(matrix, column, row) ? 1 : 0;
        }
    }
    return count;
}

// Plans of the point templates, or the general path for X and Y texts the plan cannot take.
void writePoint(const TTemplatePlan& plan, const TTemplate& lines, const TPointValues& values,
                const TActiveProfile& profile, std::int32_t& blockCounter,
                std::vector<std::string>& program) {
    if (TTemplatePlan::Accepts(values.XVal, values.YVal)) {
        plan.Write(values.XVal, values.YVal, blockCounter, program);
    } else {
        writeTemplate(lines, values, profile, blockCounter, program);
    }
}

struct TJobPoint {
    long double X = 0;
    long double Y = 0;
};

// The dark modules' positions in machining order, in the job's frame (before the lathe's
// sign change): spacing, mirrors, rotation about the origin, offset.
std::vector<TJobPoint> jobPoints(const TGenerateInput& input) {
    const TLayer& layer = input.Layer;
    const long double xOffset = ReadNumber(layer.XDis).value;
    const long double yOffset = ReadNumber(layer.YDis).value;
    const long double spacing = ReadNumber(layer.Size).value;
    const long double theta = 360 - ReadNumber(layer.Angle).value;
    const bool rotate = theta > 0 && theta < 360;
    const long double cosTheta = std::cos(theta * Pi / 180);
    const long double sinTheta = std::sin(theta * Pi / 180);
    const int cols = input.MatrixCols;
    const int rows = input.MatrixRows;
    std::vector<TJobPoint> points;
    points.reserve(countDark(input.Matrix, cols, rows));
    for (int visited = 0; visited < rows; ++visited) {
        const int row = rows - 1 - visited;
        const bool rightToLeft = visited % 2 == 0;
        for (int step = 0; step < cols; ++step) {
            const int column = rightToLeft ? cols - 1 - step : step;
            if (!isDark(input.Matrix, column, row)) {
                continue;
            }
            const long double x0 = spacing * (layer.XMirror ? cols - 1 - column : column);
            const long double y0 = spacing * (layer.YMirror ? row : rows - 1 - row);
            const long double x = rotate ? x0 * cosTheta + y0 * sinTheta : x0;
            const long double y = rotate ? -x0 * sinTheta + y0 * cosTheta : y0;
            points.push_back({x + xOffset, y + yOffset});
        }
    }
    if (input.TextDots == nullptr) return points;
    // Mirrored about the symbol's centre, so the line stays beside the symbol it belongs to.
    for (const THrtDot& dot : *input.TextDots) {
        const long double x0 = layer.XMirror ? spacing * (cols - 1) - dot.X : dot.X;
        const long double y0 = layer.YMirror ? spacing * (rows - 1) - dot.Y : dot.Y;
        const long double x = rotate ? x0 * cosTheta + y0 * sinTheta : x0;
        const long double y = rotate ? -x0 * sinTheta + y0 * cosTheta : y0;
        points.push_back({x + xOffset, y + yOffset});
    }
    return points;
}

void walkFlat(const TGenerateInput& input, const std::vector<TJobPoint>& points,
              std::size_t symbolPoints, TGenerateOutput& output) {
    const TActiveProfile& profile = input.Profile;
    std::int32_t blockCounter = profile.Format.Start;
    const bool latheMode = IsLatheMode(profile);
    const std::string rText =
        FieldValueText(input.REbeneauswahl, profile.SafetyDistance, profile.Format);
    const std::string zText =
        FieldValueText(input.ZEbeneauswahl, profile.InfeedDepth, profile.Format);
    const std::string aText = FormatNumber(profile.Format, 0);
    const long double rNumber = ReadNumber(input.REbeneauswahl).value;
    const long double zNumber = ReadNumber(input.ZEbeneauswahl).value;

    std::string xText;
    std::string yText;
    TPointValues values{xText,     yText,     zText,     rText, profile.FeedZ,
                        profile.X, profile.Y, profile.Z, aText, profile.A};
    const TTemplatePlan firstPlan(profile.FirstPoint, values, profile);
    const TTemplatePlan followingPlan(profile.FollowingPoints, values, profile);
    const TTemplatePlan endPlan(profile.End, values, profile);
    output.SimulationLines.reserve(points.size() + 1);
    if (!input.ToBuffer) {
        std::size_t lines = endPlan.LineCount();
        if (!points.empty()) {
            lines += firstPlan.LineCount() + (points.size() - 1) * followingPlan.LineCount();
        }
        output.NCLines.reserve(output.NCLines.size() + lines);
    }
    bool first = true;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TJobPoint& point = points[i];
        const long double x = latheMode ? -point.X : point.X;
        const long double y = point.Y;
        if (first) {
            output.SimulationLines.push_back(LevelLine(rNumber, zNumber));
        }
        if (i == symbolPoints) output.SimulationLines.emplace_back(HrtSimulationMark);
        output.SimulationLines.push_back(PointLine(x, y));
        if (!input.ToBuffer) {
            output.PointLines.push_back(output.NCLines.size());
            xText = FormatNumber(profile.Format, x);
            yText = FormatNumber(profile.Format, y);
            values.XVal = xText;
            values.YVal = yText;
            writePoint(first ? firstPlan : followingPlan,
                       first ? profile.FirstPoint : profile.FollowingPoints, values, profile,
                       blockCounter, output.NCLines);
        }
        first = false;
    }
    if (input.ToBuffer) {
        output.BufferLines = output.SimulationLines;
    } else {
        writePoint(endPlan, profile.End, values, profile, blockCounter, output.NCLines);
    }
}

// One point as the round program addresses it, and where its dot lies in the part's frame.
struct TRoundPoint {
    long double X = 0, Y = 0, Z = 0, A = 0; // machine values (job frame, before the lathe)
    long double PartAcross = 0, PartZ = 0;  // the dot's bottom in the part's frame
    long double Surface = 0;                // Follow: the surface height above the tool
};

void walkRound(const TGenerateInput& input, const std::vector<TJobPoint>& points,
               std::size_t symbolPoints, TGenerateOutput& output) {
    const TActiveProfile& profile = input.Profile;
    const TSurface& surface = input.Surface;
    const base::TCylinder& c = surface.Cylinder;
    const bool rotary = surface.Mode == TSurfaceMode::Rotary;
    const bool alongX = c.Along == 'X';
    const long double rField = ReadNumber(input.REbeneauswahl).value;
    const long double zField = ReadNumber(input.ZEbeneauswahl).value;
    // Follow reaches a dot from above only on the upper half; turning reaches it anywhere
    // once round.
    const long double limit = rotary ? Pi : Pi / 2;

    std::vector<TRoundPoint> round;
    round.reserve(points.size());
    long double highest = c.ZC - c.Radius;
    bool crossesTop = false;
    int firstSide = 0;
    for (const TJobPoint& point : points) {
        const long double across = alongX ? point.Y : point.X;
        const long double axial = alongX ? point.X : point.Y;
        const base::TSurfacePoint on = base::OnSurface(c, across - c.Axis);
        if (firstSide == 0) firstSide = on.Angle <= 0 ? 1 : 2;
        if (std::fabs(on.Angle) >= limit) {
            output.Refusal = {
                rotary ? text::SymbolLongerThanCircumference : text::SymbolPastCylinderSide, 0, {}};
            return;
        }
        TRoundPoint p;
        if (rotary) {
            const long double bottom = c.Radius + zField;
            p.PartAcross = c.Axis + bottom * std::sin(on.Angle);
            p.PartZ = c.ZC + bottom * std::cos(on.Angle);
            // The tool turns about the part the right-handed way: about +X that carries it
            // from the top towards -Y, about +Y towards +X.
            p.A = (alongX ? -on.Angle : on.Angle) * 180 / Pi;
            p.Z = c.ZC + c.Radius + zField;
            p.Surface = c.ZC + c.Radius;
            (alongX ? p.X : p.Y) = axial;
            (alongX ? p.Y : p.X) = c.Axis;
        } else {
            // The dot's centre moves uphill on the tilted surface: aim downhill.
            const long double toolAcross = on.Across + AimOffset(surface.Tool, on.Angle, zField);
            const long double off = std::min(std::fabs(toolAcross - c.Axis), c.Radius);
            p.Surface = c.ZC + std::sqrt(c.Radius * c.Radius - off * off);
            p.Z = p.Surface + zField;
            p.PartAcross = toolAcross;
            p.PartZ = p.Z;
            (alongX ? p.X : p.Y) = axial;
            (alongX ? p.Y : p.X) = toolAcross;
        }
        highest = std::max(highest, p.Surface);
        crossesTop = crossesTop || (on.Angle <= 0 ? 1 : 2) != firstSide;
        round.push_back(p);
    }
    // Between dots on either side of the top line the surface reaches its top.
    if (crossesTop && !round.empty()) highest = c.ZC + c.Radius;

    const bool latheMode = IsLatheMode(profile);
    std::int32_t blockCounter = profile.Format.Start;
    // A safe plane above the highest surface under the symbol: the moves between dots at
    // this level clear the part wherever they go.
    const long double safe = highest + rField;
    const std::string rText = FormatNumber(profile.Format, safe);
    std::string xText, yText, zText, aText;
    TPointValues values{xText,     yText,     zText,     rText, profile.FeedZ,
                        profile.X, profile.Y, profile.Z, aText, profile.A};
    output.SimulationLines.reserve(2 * round.size() + 1);
    output.SimulationLines.push_back(SurfaceLine(surface));
    bool first = true;
    for (std::size_t i = 0; i < round.size(); ++i) {
        const TRoundPoint& p = round[i];
        if (i == symbolPoints) output.SimulationLines.emplace_back(HrtSimulationMark);
        const long double x = latheMode ? -p.X : p.X;
        const long double partX = alongX ? x : (latheMode ? -p.PartAcross : p.PartAcross);
        const long double partY = alongX ? p.PartAcross : p.Y;
        const long double start = rotary ? p.PartZ + (rField - zField) : safe;
        output.SimulationLines.push_back(LevelLine(start, p.PartZ));
        output.SimulationLines.push_back(PointLine(partX, partY));
        if (!input.ToBuffer) {
            output.PointLines.push_back(output.NCLines.size());
            xText = FormatNumber(profile.Format, x);
            yText = FormatNumber(profile.Format, p.Y);
            zText = FormatNumber(profile.Format, p.Z);
            aText = FormatNumber(profile.Format, p.A);
            values.XVal = xText;
            values.YVal = yText;
            values.ZVal = zText;
            values.AVal = aText;
            writeTemplate(first ? profile.FirstPoint : profile.FollowingPoints, values, profile,
                          blockCounter, output.NCLines);
        }
        first = false;
    }
    if (input.ToBuffer) {
        output.BufferLines = output.SimulationLines;
    } else {
        writeTemplate(profile.End, values, profile, blockCounter, output.NCLines);
    }
}

void walk(const TGenerateInput& input, TGenerateOutput& output) {
    output.SimulationLines.clear();
    output.PointLines.clear();
    const std::vector<TJobPoint> points = jobPoints(input);
    const std::size_t symbolPoints =
        points.size() - (input.TextDots ? input.TextDots->size() : std::size_t{0});
    if (input.Surface.Mode == TSurfaceMode::Flat || !input.Surface.Cylinder.Usable()) {
        walkFlat(input, points, symbolPoints, output);
    } else {
        walkRound(input, points, symbolPoints, output);
    }
}

} // namespace

void GenerateLayer(const TGenerateInput& input, TGenerateOutput& output) {
    try {
        walk(input, output);
    } catch (...) {
        output.LastUsedFormat = input.Profile.Format;
        throw;
    }
    output.LastUsedFormat = input.Profile.Format;
}

} // namespace korvex::ncgen
