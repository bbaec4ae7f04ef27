#include "ncgen/GenerateLayer.h"

#include "ncgen/NumberReading.h"
#include "ncgen/PointTemplate.h"
#include "ncgen/SimulationLine.h"

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

void walk(const TGenerateInput& input, TGenerateOutput& output) {
    const TActiveProfile& profile = input.Profile;
    const TLayer& layer = input.Layer;
    std::int32_t blockCounter = profile.Format.Start;
    const bool latheMode = IsLatheMode(profile);
    const long double xOffset = ReadNumber(layer.XDis).value;
    const long double yOffset = ReadNumber(layer.YDis).value;
    const long double spacing = ReadNumber(layer.Size).value;
    const long double theta = 360 - ReadNumber(layer.Angle).value;
    const bool rotate = theta > 0 && theta < 360;
    const long double cosTheta = std::cos(theta * Pi / 180);
    const long double sinTheta = std::sin(theta * Pi / 180);
    const std::string rText =
        FieldValueText(input.REbeneauswahl, profile.SafetyDistance, profile.Format);
    const std::string zText =
        FieldValueText(input.ZEbeneauswahl, profile.InfeedDepth, profile.Format);
    const long double rNumber = ReadNumber(input.REbeneauswahl).value;
    const long double zNumber = ReadNumber(input.ZEbeneauswahl).value;
    output.SimulationLines.clear();
    const int cols = input.MatrixCols;
    const int rows = input.MatrixRows;

    std::string xText;
    std::string yText;
    TPointValues values{xText, yText, zText, rText, profile.FeedZ, profile.X, profile.Y, profile.Z};
    const TTemplatePlan firstPlan(profile.FirstPoint, values, profile);
    const TTemplatePlan followingPlan(profile.FollowingPoints, values, profile);
    const TTemplatePlan endPlan(profile.End, values, profile);
    const std::size_t points = countDark(input.Matrix, cols, rows);
    output.SimulationLines.reserve(points + 1);
    if (!input.ToBuffer) {
        std::size_t lines = endPlan.LineCount();
        if (points > 0) {
            lines += firstPlan.LineCount() + (points - 1) * followingPlan.LineCount();
        }
        output.NCLines.reserve(output.NCLines.size() + lines);
    }
    bool first = true;
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
            long double x = rotate ? x0 * cosTheta + y0 * sinTheta : x0;
            long double y = rotate ? -x0 * sinTheta + y0 * cosTheta : y0;
            x += xOffset;
            y += yOffset;
            if (latheMode) {
                x = -x;
            }
            if (first) {
                output.SimulationLines.push_back(LevelLine(rNumber, zNumber));
            }
            output.SimulationLines.push_back(PointLine(x, y));
            if (!input.ToBuffer) {
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
    }
    if (input.ToBuffer) {
        output.BufferLines = output.SimulationLines;
    } else {
        writePoint(endPlan, profile.End, values, profile, blockCounter, output.NCLines);
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
