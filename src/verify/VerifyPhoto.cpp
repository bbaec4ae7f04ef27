#include "verify/VerifyPhoto.h"

#include "readback/ModuleGrid.h"
#include "verify/MarkFinder.h"
#include "verify/MarkMeasure.h"
#include "verify/Photo.h"
#include "verify/SymbolErrors.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace korvex::verify {
namespace {

using grade::TGrade;

// ISO/IEC 15415 limits of the two parameters the photo decides itself (the predicted grade
// holds the same); then ISO/IEC TR 29158's for cell contrast and cell modulation.
TGrade gradeAtLeast(double value, const std::array<double, 4>& limits) {
    for (std::size_t i = 0; i < 4; ++i)
        if (value >= limits[i] - 1e-9) return static_cast<TGrade>(4 - i);
    return TGrade::F;
}
TGrade gradeAtMost(double value, const std::array<double, 4>& limits) {
    for (std::size_t i = 0; i < 4; ++i)
        if (value <= limits[i] + 1e-9) return static_cast<TGrade>(4 - i);
    return TGrade::F;
}
constexpr std::array<double, 4> UnusedLimits = {0.62, 0.50, 0.37, 0.25};
constexpr std::array<double, 4> SegmentLimits = {0, 1, 2, 3};
constexpr std::array<double, 4> CellContrastLimits = {0.30, 0.25, 0.20, 0.15};
constexpr std::array<double, 4> CellModulationLimits = {0.50, 0.40, 0.30, 0.20};
// A light module darker than this share of white is below any reader's reach.
constexpr double LeastReflectance = 0.05;

cv::Point2d apply(const cv::Mat& h, double u, double v) {
    const double* m = h.ptr<double>();
    const double w = m[6] * u + m[7] * v + m[8];
    return {(m[0] * u + m[1] * v + m[2]) / w, (m[3] * u + m[4] * v + m[5]) / w};
}

// Photo pixels to module units by turning, scaling and shifting only (mirrored where the
// symbol is), fitted to the grid (least squares): shear, unequal pitches and perspective stay
// in the dots' places as a verifier's camera sees them.
struct TSimilarity {
    bool Flip = false;
    double A = 1, B = 0, Tx = 0, Ty = 0; // module = [A -B; B A] photo' + T

    cv::Point2d ToModules(cv::Point2d p) const {
        if (Flip) p.x = -p.x;
        return {A * p.x - B * p.y + Tx, B * p.x + A * p.y + Ty};
    }
};

TSimilarity fitSimilarity(const cv::Mat& grid, int cols, int rows) {
    TSimilarity s;
    const cv::Point2d o = apply(grid, cols / 2.0, rows / 2.0);
    const cv::Point2d ex = apply(grid, cols / 2.0 + 1, rows / 2.0) - o;
    const cv::Point2d ey = apply(grid, cols / 2.0, rows / 2.0 + 1) - o;
    s.Flip = ex.x * ey.y - ex.y * ey.x < 0;
    std::vector<cv::Point2d> from, to;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            cv::Point2d p = apply(grid, c + 0.5, r + 0.5);
            if (s.Flip) p.x = -p.x;
            from.push_back(p);
            to.emplace_back(c + 0.5, r + 0.5);
        }
    cv::Point2d mf(0, 0), mt(0, 0);
    for (std::size_t i = 0; i < from.size(); ++i)
        mf += from[i], mt += to[i];
    mf /= static_cast<double>(from.size());
    mt /= static_cast<double>(to.size());
    double sxx = 0, sa = 0, sb = 0;
    for (std::size_t i = 0; i < from.size(); ++i) {
        const cv::Point2d f = from[i] - mf, t = to[i] - mt;
        sxx += f.dot(f);
        sa += f.x * t.x + f.y * t.y;
        sb += f.x * t.y - f.y * t.x;
    }
    s.A = sa / sxx;
    s.B = sb / sxx;
    s.Tx = mt.x - (s.A * mf.x - s.B * mf.y);
    s.Ty = mt.y - (s.B * mf.x + s.A * mf.y);
    return s;
}

TVerifyProblem problemOf(TPhotoProblem p) {
    switch (p) {
    case TPhotoProblem::None:
        return TVerifyProblem::None;
    case TPhotoProblem::Missing:
        return TVerifyProblem::Missing;
    case TPhotoProblem::NotImage:
        return TVerifyProblem::NotImage;
    case TPhotoProblem::TooLarge:
        return TVerifyProblem::TooLarge;
    case TPhotoProblem::Damaged:
        break;
    }
    return TVerifyProblem::Damaged;
}

// Contrast, modulation and reflectance on the photo as taken: the grey at the module
// centres, light and dark as the fitted grid samples them.
void gradeLight(const TMeasuredMark& m, TVerifyReport& report) {
    const double light = m.LightMean / 255, dark = m.DarkMean / 255;
    report.CellContrast.Value = light > 0 ? (light - dark) / light : 0;
    report.CellContrast.Grade = gradeAtLeast(report.CellContrast.Value, CellContrastLimits);
    // The modulation the worst tenth of the modules still keep.
    std::vector<double> modulation = m.Modulation;
    const std::size_t tenth = modulation.size() / 10;
    std::nth_element(modulation.begin(), modulation.begin() + static_cast<std::ptrdiff_t>(tenth),
                     modulation.end());
    report.CellModulation.Value = modulation.empty() ? 0 : modulation[tenth];
    report.CellModulation.Grade = gradeAtLeast(report.CellModulation.Value, CellModulationLimits);
    report.MinimumReflectance.Value = light;
    report.MinimumReflectance.Grade = light >= LeastReflectance ? TGrade::A : TGrade::F;
}

void measure(const TFoundMark& found, const cv::Mat& grey, TVerifyReport& report) {
    const TMeasuredMark m = MeasureMark(found, grey);
    const int cols = found.Cols, rows = found.Rows;
    for (int i = 0; i < 9; ++i)
        report.Grid[static_cast<std::size_t>(i)] = m.Grid.ptr<double>()[i];
    report.PixelsPerCell = (m.PitchX + m.PitchY) / 2;
    const TSimilarity view = fitSimilarity(m.Grid, cols, rows);

    grade::TPredictedMark mark;
    mark.Size = readback::SizeOfGrid(cols, rows);
    mark.Grid.Cols = cols;
    mark.Grid.Rows = rows;
    mark.Grid.Dark = m.Dark;
    mark.Grid.Fill.assign(m.Dark.size(), 0);
    if (m.QuietZone) mark.QuietZone = *m.QuietZone;
    for (const TMeasuredDot& d : m.Dots) {
        TVerifiedDot v{d.Col,   d.Row,   d.CentreX, d.CentreY, d.Diameter,
                       d.Major, d.Minor, d.Offset,  d.Found};
        report.Dots.push_back(v);
        if (!d.Found) continue;
        const cv::Point2d at = view.ToModules(apply(m.Grid, d.CentreX, d.CentreY));
        mark.Dots.push_back({d.Col, d.Row, at.x, at.y, d.Major / 2, d.Minor / 2, d.Phi});
        mark.Grid.Fill[static_cast<std::size_t>(d.Row) * cols + d.Col] =
            static_cast<float>(d.Diameter);
    }
    gradeLight(m, report);
    if (!mark.Size || mark.Dots.empty()) return;
    const grade::TGradeAtDepth graded = grade::GradeMark(mark);
    report.As9132 = graded.As9132;
    report.Iso = graded.Iso;
    // What the decoder met on the photo, not on the dots drawn again.
    const TSymbolErrors errors = CountErrors(m.Dark, *mark.Size);
    report.Iso.UnusedErrorCorrection = errors.UnusedErrorCorrection;
    report.Iso.Unused = gradeAtLeast(errors.UnusedErrorCorrection, UnusedLimits);
    report.Iso.DamagedPatternModules = errors.PatternDamage;
    report.Iso.FixedPattern = gradeAtMost(errors.WorstSegmentDamage, SegmentLimits);
}

} // namespace

TGrade TVerifyReport::Overall() const {
    if (!Ok()) return TGrade::F;
    return std::min(
        {Iso.Overall(), CellContrast.Grade, CellModulation.Grade, MinimumReflectance.Grade});
}

TVerifyReport VerifyPhotoBytes(const std::string& fileBytes) {
    TVerifyReport report;
    const TPhoto photo = DecodePhoto(fileBytes);
    report.Problem = problemOf(photo.Problem);
    if (!report.Ok()) return report;
    report.PhotoWidth = photo.Grey.cols;
    report.PhotoHeight = photo.Grey.rows;
    const std::optional<TFoundMark> found = FindMark(photo.Grey);
    if (!found) {
        report.Problem = TVerifyProblem::NoSymbol;
        return report;
    }
    report.Bytes = found->Bytes;
    report.SymbologyIdentifier = found->SymbologyIdentifier;
    report.ContentKind = found->ContentKind;
    report.Cols = found->Cols;
    report.Rows = found->Rows;
    report.Mirrored = found->Mirrored;
    measure(*found, photo.Grey, report);
    report.ClosingRadiusCells =
        report.PixelsPerCell > 0 ? found->ClosingRadius / report.PixelsPerCell : 0;
    return report;
}

TVerifyReport VerifyPhoto(const std::filesystem::path& photo) {
    std::ifstream in(photo, std::ios::binary);
    if (!in || std::filesystem::is_directory(photo)) {
        TVerifyReport report;
        report.Problem = TVerifyProblem::Missing;
        return report;
    }
    return VerifyPhotoBytes({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
}

bool IsPhotoName(const std::filesystem::path& file) {
    std::string suffix = file.extension().string();
    for (char& c : suffix)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (const char* known : {".png", ".jpg", ".jpeg", ".tif", ".tiff", ".bmp"})
        if (suffix == known) return true;
    return false;
}

} // namespace korvex::verify
