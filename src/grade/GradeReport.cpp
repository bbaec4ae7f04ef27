#include "grade/GradeReport.h"

#include "content/SymbolContent.h"
#include "grade/MarkSampling.h"

#include <algorithm>
#include <cmath>

namespace korvex::grade {
namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Tiny = 1e-9;

// Lower figures are better: the grade is the first limit the figure keeps (A, B, C, D).
TGrade gradeAtMost(double value, const std::array<double, 4>& limits) {
    for (int i = 0; i < 4; ++i)
        if (value <= limits[static_cast<std::size_t>(i)] + Tiny) return static_cast<TGrade>(4 - i);
    return TGrade::F;
}

TGrade gradeAtLeast(double value, const std::array<double, 4>& limits) {
    for (int i = 0; i < 4; ++i)
        if (value >= limits[static_cast<std::size_t>(i)] - Tiny) return static_cast<TGrade>(4 - i);
    return TGrade::F;
}

// Least-squares slope of y over x.
double slope(const std::vector<std::pair<double, double>>& points) {
    double mx = 0, my = 0;
    for (const auto& [x, y] : points)
        mx += x, my += y;
    mx /= static_cast<double>(points.size()), my /= static_cast<double>(points.size());
    double sxy = 0, sxx = 0;
    for (const auto& [x, y] : points)
        sxy += (x - mx) * (y - my), sxx += (x - mx) * (x - mx);
    return sxx > 0 ? sxy / sxx : 0;
}

} // namespace

char GradeLetter(TGrade grade) {
    return "FDCBA"[static_cast<int>(grade)];
}

TGrade TIso15415::Overall() const {
    return std::min({Axial, Grid, Unused, FixedPattern});
}

std::string_view VerdictWords(TVerdict verdict) {
    switch (verdict) {
    case TVerdict::Reads:
        return "reads";
    case TVerdict::ReadsNarrowly:
        return "reads narrowly";
    case TVerdict::DoesNotRead:
        break;
    }
    return "does not read";
}

TGradeAtDepth GradeMark(const TPredictedMark& mark) {
    TGradeAtDepth out;
    TAs9132& as = out.As9132;
    const int cols = mark.Grid.Cols, rows = mark.Grid.Rows;
    std::vector<double> colX(static_cast<std::size_t>(cols), 0),
        rowY(static_cast<std::size_t>(rows), 0);
    std::vector<int> colN(colX.size(), 0), rowN(rowY.size(), 0);
    std::vector<std::pair<double, double>> leftLeg, bottomLeg;
    as.DotMin = 1e9;
    int outside = 0;
    for (const TMarkDot& d : mark.Dots) {
        const double fill = d.A + d.B; // the mean of the two diameters, in cells
        as.DotMin = std::min(as.DotMin, 100 * fill);
        as.DotMax = std::max(as.DotMax, 100 * fill);
        as.DotMean += 100 * fill;
        outside += fill < 0.60 - Tiny || fill > 1.05 + Tiny;
        const double major = std::max(d.A, d.B), minor = std::min(d.A, d.B);
        if (major > 0) as.OvalityMax = std::max(as.OvalityMax, 100 * (major - minor) / major);
        colX[static_cast<std::size_t>(d.Col)] += d.X, ++colN[static_cast<std::size_t>(d.Col)];
        rowY[static_cast<std::size_t>(d.Row)] += d.Y, ++rowN[static_cast<std::size_t>(d.Row)];
        if (d.Col == 0) leftLeg.emplace_back(d.Y, d.X);
        if (d.Row == rows - 1) bottomLeg.emplace_back(d.X, d.Y);
    }
    const double count = static_cast<double>(mark.Dots.size());
    as.DotMean /= count;
    as.OutsidePercent = 100 * outside / count;
    // Every column and row of a symbol holds a dot: the finder's legs run along both.
    for (std::size_t c = 0; c < colX.size(); ++c)
        colX[c] /= std::max(1, colN[c]);
    for (std::size_t r = 0; r < rowY.size(); ++r)
        rowY[r] /= std::max(1, rowN[r]);
    // The centre against the best-fit lines of its row and column.
    for (const TMarkDot& d : mark.Dots)
        as.CentreOffsetMax = std::max(
            as.CentreOffsetMax, 100 * std::hypot(d.X - colX[static_cast<std::size_t>(d.Col)],
                                                 d.Y - rowY[static_cast<std::size_t>(d.Row)]));
    const double dx = slope(leftLeg), dy = slope(bottomLeg); // X over Y, Y over X
    const double cosine = (dx + dy) / (std::hypot(dx, 1.0) * std::hypot(1.0, dy));
    as.AngleOfDistortion = 90 - std::acos(std::clamp(cosine, -1.0, 1.0)) * 180 / Pi;
    as.QuietZone = mark.QuietZone;
    as.DotSizePass = as.OutsidePercent <= 2 + Tiny;
    as.CentrePass = as.CentreOffsetMax <= 20 + Tiny;
    as.OvalityPass = as.OvalityMax <= 20 + Tiny;
    as.AnglePass = std::fabs(as.AngleOfDistortion) <= 7 + Tiny;
    as.QuietPass = !as.QuietZone || *as.QuietZone >= 1 - Tiny;

    TIso15415& iso = out.Iso;
    TReaderGrid grid;
    grid.X0 = colX.front();
    grid.Y0 = rowY.front();
    grid.PitchX = cols > 1 ? (colX.back() - colX.front()) / (cols - 1) : 1;
    grid.PitchY = rows > 1 ? (rowY.back() - rowY.front()) / (rows - 1) : 1;
    const double average = (grid.PitchX + grid.PitchY) / 2;
    iso.AxialNonuniformity = std::fabs(grid.PitchX - grid.PitchY) / average;
    // Each intersection where a dot marks it, else where its row and column lie.
    double worst = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            worst = std::max(
                worst, std::hypot(colX[static_cast<std::size_t>(c)] - grid.X0 - c * grid.PitchX,
                                  rowY[static_cast<std::size_t>(r)] - grid.Y0 - r * grid.PitchY));
    for (const TMarkDot& d : mark.Dots)
        worst = std::max(worst, std::hypot(d.X - grid.X0 - d.Col * grid.PitchX,
                                           d.Y - grid.Y0 - d.Row * grid.PitchY));
    iso.GridNonuniformity = worst / average;
    const TSampling sampled = SampleMark(mark, grid);
    iso.UnusedErrorCorrection = sampled.UnusedErrorCorrection;
    iso.DamagedPatternModules = sampled.PatternDamage;
    // ISO/IEC 15415 grade limits for two-dimensional matrix symbols.
    iso.Axial = gradeAtMost(iso.AxialNonuniformity, {0.06, 0.08, 0.10, 0.12});
    iso.Grid = gradeAtMost(iso.GridNonuniformity, {0.38, 0.50, 0.63, 0.75});
    iso.Unused = gradeAtLeast(iso.UnusedErrorCorrection, {0.62, 0.50, 0.37, 0.25});
    iso.FixedPattern = gradeAtMost(sampled.WorstSegmentDamage, {0, 1, 2, 3});
    return out;
}

bool TGradeReport::As9132Pass() const {
    return !Depths.empty() && std::all_of(Depths.begin(), Depths.end(),
                                          [](const TGradeAtDepth& d) { return d.As9132.Pass(); });
}

TGrade TGradeReport::Overall() const {
    TGrade lowest = TGrade::A;
    for (const TGradeAtDepth& d : Depths)
        lowest = std::min(lowest, d.Iso.Overall());
    return Depths.empty() ? TGrade::F : lowest;
}

TGradeReport GradeProgram(const std::vector<std::string>& simulationLines,
                          const ncgen::TLayer& layer, const ncgen::TActiveProfile& profile,
                          std::string_view text, long double tolerance,
                          std::string_view blankDefinition, bool verdict) {
    TGradeReport report;
    report.Tolerance = tolerance;
    for (const long double offset : {0.0L, -tolerance, tolerance}) {
        TMarkPrediction predicted =
            PredictMark(simulationLines, layer, profile, offset, blankDefinition);
        if (!predicted.Mark) {
            report.Problem = predicted.Problem;
            report.NoTool = predicted.NoTool;
            report.Depths.clear();
            return report;
        }
        TGradeAtDepth at = GradeMark(*predicted.Mark);
        at.DepthOffset = offset;
        report.Depths.push_back(at);
        if (offset == 0) report.Mark = std::move(predicted.Mark);
        if (tolerance == 0) break;
    }
    if (verdict && VerdictAvailable()) {
        const content::TSymbolContent expected = content::PrepareContent(layer.Content, text);
        report.Verdict = ReadVerdict(*report.Mark,
                                     expected.Ok() ? std::string_view(expected.ReaderBytes) : text);
    }
    return report;
}

} // namespace korvex::grade
