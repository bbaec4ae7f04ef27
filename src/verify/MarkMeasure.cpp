#include "verify/MarkMeasure.h"

#include "verify/GridFit.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvex::verify {

namespace {

constexpr int Rays = 48;
constexpr double EdgeLevel = 0.6;

// Mean grey of a disc of a quarter module round a module centre.
double cellGrey(const cv::Mat& img, const cv::Mat& h, int c, int r) {
    double sum = 0;
    int n = 0;
    for (double du = -0.2; du <= 0.21; du += 0.1)
        for (double dv = -0.2; dv <= 0.21; dv += 0.1) {
            if (du * du + dv * dv > 0.045) continue;
            const cv::Point2d p = ApplyGrid(h, c + 0.5 + du, r + 0.5 + dv);
            const float s =
                SampleGrey(img, cv::Point2f(static_cast<float>(p.x), static_cast<float>(p.y)));
            if (s < 0) continue;
            sum += s;
            ++n;
        }
    return n ? sum / n : -1;
}

// Light all the way from t to t + length: a glint on a dot's wall is not its edge.
bool lightOn(const cv::Mat& img, cv::Point2d centre, double dx, double dy, double t, double length,
             double step, double threshold) {
    for (double e = t + step; e <= t + length; e += step) {
        const float s = SampleGrey(img, cv::Point2f(static_cast<float>(centre.x + dx * e),
                                                    static_cast<float>(centre.y + dy * e)));
        if (s >= 0 && s < threshold) return false;
    }
    return true;
}

// The dot's edge where the grey crosses the threshold on rays from the centre, as far as
// three quarters of a module; rays that reach no edge run into a neighbour and are left out.
std::vector<cv::Point2f> dotEdge(const cv::Mat& img, cv::Point2d centre, double pitch,
                                 double threshold) {
    std::vector<cv::Point2f> edge;
    const double step = std::max(0.25, pitch / 40);
    for (int k = 0; k < Rays; ++k) {
        const double a = 2 * std::numbers::pi * k / Rays;
        const double dx = std::cos(a), dy = std::sin(a);
        float previous = SampleGrey(
            img, cv::Point2f(static_cast<float>(centre.x), static_cast<float>(centre.y)));
        if (previous < 0 || previous >= threshold) return {};
        for (double t = step; t <= 0.75 * pitch; t += step) {
            const cv::Point2f p(static_cast<float>(centre.x + dx * t),
                                static_cast<float>(centre.y + dy * t));
            const float s = SampleGrey(img, p);
            if (s < 0) break;
            if (s >= threshold && lightOn(img, centre, dx, dy, t, 0.1 * pitch, step, threshold)) {
                const double back = (s - threshold) / std::max(1e-3f, s - previous) * step;
                edge.emplace_back(static_cast<float>(centre.x + dx * (t - back)),
                                  static_cast<float>(centre.y + dy * (t - back)));
                break;
            }
            previous = s;
        }
    }
    return edge;
}

std::vector<cv::Point2f> toModules(const std::vector<cv::Point2f>& pts, const cv::Mat& grid) {
    std::vector<cv::Point2f> out;
    cv::perspectiveTransform(pts, out, grid.inv());
    return out;
}

void measureDot(const cv::Mat& img, const cv::Mat& grid, double pitch, double threshold,
                TMeasuredDot& dot) {
    cv::Point2d centre = ApplyGrid(grid, dot.Col + 0.5, dot.Row + 0.5);
    dot.Found = false;
    // Twice: the second time from the centre the first edge gives, so a moved dot is met in
    // its middle.
    for (int pass = 0; pass < 2; ++pass) {
        const std::vector<cv::Point2f> edge = dotEdge(img, centre, pitch, threshold);
        if (edge.size() < Rays / 3) return;
        const std::vector<cv::Point2f> m = toModules(edge, grid);
        cv::Point2d mean(0, 0);
        for (const auto& p : m)
            mean += cv::Point2d(p.x, p.y);
        mean *= 1.0 / m.size();
        const cv::RotatedRect e = cv::fitEllipse(m);
        dot.CentreX = e.center.x;
        dot.CentreY = e.center.y;
        dot.Major = std::max(e.size.width, e.size.height);
        dot.Minor = std::min(e.size.width, e.size.height);
        // OpenCV's angle belongs to the width.
        dot.Phi = (e.angle + (e.size.width >= e.size.height ? 0 : 90)) * std::numbers::pi / 180;
        double radius = 0;
        for (const auto& p : m)
            radius += std::hypot(p.x - e.center.x, p.y - e.center.y);
        dot.Diameter = 2 * radius / m.size();
        dot.Offset = std::hypot(dot.CentreX - dot.Col - 0.5, dot.CentreY - dot.Row - 0.5);
        dot.Found = true;
        centre = ApplyGrid(grid, dot.CentreX, dot.CentreY);
    }
}

double localPitch(const cv::Mat& grid, double u, double v) {
    const cv::Point2d o = ApplyGrid(grid, u, v);
    return (cv::norm(ApplyGrid(grid, u + 1, v) - o) + cv::norm(ApplyGrid(grid, u, v + 1) - o)) / 2;
}

bool ideallyDark(int c, int r, int cols, int rows) {
    if (c == 0 || r == rows - 1) return true;
    if (r == 0) return c % 2 == 0;
    if (c == cols - 1) return (rows - 1 - r) % 2 == 0;
    return false;
}

cv::Mat fitAffine(const std::vector<cv::Point2f>& from, const std::vector<cv::Point2f>& to) {
    cv::Mat a(static_cast<int>(from.size()), 3, CV_64F),
        bx(static_cast<int>(from.size()), 1, CV_64F), by(static_cast<int>(from.size()), 1, CV_64F);
    for (std::size_t i = 0; i < from.size(); ++i) {
        const int r = static_cast<int>(i);
        a.at<double>(r, 0) = from[i].x;
        a.at<double>(r, 1) = from[i].y;
        a.at<double>(r, 2) = 1;
        bx.at<double>(r) = to[i].x;
        by.at<double>(r) = to[i].y;
    }
    cv::Mat px, py;
    if (!cv::solve(a, bx, px, cv::DECOMP_SVD) || !cv::solve(a, by, py, cv::DECOMP_SVD)) return {};
    cv::Mat out(2, 3, CV_64F);
    for (int k = 0; k < 3; ++k) {
        out.at<double>(0, k) = px.at<double>(k);
        out.at<double>(1, k) = py.at<double>(k);
    }
    return out;
}

} // namespace

TMeasuredMark MeasureMark(const TFoundMark& mark, const cv::Mat& grey) {
    TMeasuredMark out;
    const cv::Mat& img = mark.Normalised;
    const int cols = mark.Cols, rows = mark.Rows;
    std::vector<double> samples(static_cast<std::size_t>(cols) * rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            samples[r * cols + c] = cellGrey(img, mark.ModuleToPhoto, c, r);
    // The threshold half way between the grounds of light and dark modules (Otsu-like split
    // by the mean of the two extremes' medians).
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    const double lo = sorted[sorted.size() / 10], hi = sorted[sorted.size() * 9 / 10];
    const double threshold = (lo + hi) / 2;
    // A dot's rim is where the grey leaves the bare metal's; a wall turned towards the light
    // stays above the middle, so the edge is sought nearer the light.
    const double rim = lo + EdgeLevel * (hi - lo);

    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (samples[r * cols + c] < threshold) out.Dots.push_back(TMeasuredDot{c, r});
    double pitch = localPitch(mark.ModuleToPhoto, cols / 2.0, rows / 2.0);
    for (auto& dot : out.Dots)
        measureDot(img, mark.ModuleToPhoto, pitch, rim, dot);

    // The grid that fits the dot centres best; the dots moved from it stay out of the fit.
    std::vector<cv::Point2f> nominal, seen;
    for (const auto& dot : out.Dots) {
        if (!dot.Found) continue;
        nominal.emplace_back(static_cast<float>(dot.Col + 0.5), static_cast<float>(dot.Row + 0.5));
        const cv::Point2d p = ApplyGrid(mark.ModuleToPhoto, dot.CentreX, dot.CentreY);
        seen.emplace_back(static_cast<float>(p.x), static_cast<float>(p.y));
    }
    out.Grid = nominal.size() >= 8 ? RobustHomography(nominal, seen, pitch) : cv::Mat();
    if (out.Grid.empty()) out.Grid = mark.ModuleToPhoto.clone();
    pitch = localPitch(out.Grid, cols / 2.0, rows / 2.0);
    for (auto& dot : out.Dots)
        measureDot(img, out.Grid, pitch, rim, dot);

    const cv::Point2d o = ApplyGrid(out.Grid, cols / 2.0, rows / 2.0);
    const cv::Point2d ax = ApplyGrid(out.Grid, cols / 2.0 + 1, rows / 2.0) - o;
    const cv::Point2d ay = ApplyGrid(out.Grid, cols / 2.0, rows / 2.0 + 1) - o;
    out.PitchX = cv::norm(ax);
    out.PitchY = cv::norm(ay);
    const double cosine = ax.dot(ay) / (out.PitchX * out.PitchY);
    out.AngleOfDistortion =
        std::abs(std::acos(std::clamp(cosine, -1.0, 1.0)) * 180 / std::numbers::pi - 90);

    // An even grid is an affine one; how far the fitted one strays from it.
    std::vector<cv::Point2f> centres, placed;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            centres.emplace_back(static_cast<float>(c + 0.5), static_cast<float>(r + 0.5));
            const cv::Point2d p = ApplyGrid(out.Grid, c + 0.5, r + 0.5);
            placed.emplace_back(static_cast<float>(p.x), static_cast<float>(p.y));
        }
    const cv::Mat affine = fitAffine(centres, placed);
    if (!affine.empty()) {
        const double* a = affine.ptr<double>();
        for (std::size_t i = 0; i < centres.size(); ++i) {
            const cv::Point2d q(a[0] * centres[i].x + a[1] * centres[i].y + a[2],
                                a[3] * centres[i].x + a[4] * centres[i].y + a[5]);
            out.GridNonuniformity =
                std::max(out.GridNonuniformity, cv::norm(q - cv::Point2d(placed[i])) / pitch);
        }
    }

    // Contrast and modulation on the photo as taken, at the fitted grid.
    std::vector<double> raw(samples.size());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            raw[r * cols + c] = cellGrey(grey, out.Grid, c, r);
    double light = 0, dark = 0;
    int nLight = 0, nDark = 0;
    for (std::size_t i = 0; i < raw.size(); ++i)
        (samples[i] < threshold ? (dark += raw[i], ++nDark) : (light += raw[i], ++nLight));
    out.LightMean = nLight ? light / nLight : 0;
    out.DarkMean = nDark ? dark / nDark : 0;
    const double rawThreshold = (out.LightMean + out.DarkMean) / 2;
    const double half = std::max(1.0, (out.LightMean - out.DarkMean) / 2);
    for (const double v : raw)
        out.Modulation.push_back(std::min(1.0, std::abs(v - rawThreshold) / half));

    out.Threshold = threshold;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            out.Dark.push_back(cellGrey(img, out.Grid, c, r) < threshold);
            const bool edge = c == 0 || r == 0 || c == cols - 1 || r == rows - 1;
            if (edge && (out.Dark.back() != 0) != ideallyDark(c, r, cols, rows))
                ++out.PatternDamage;
        }

    // Rings of modules round the symbol, outwards, until one holds a dark module.
    int clean = 0;
    for (int ring = 1; ring <= 10; ++ring) {
        bool dirty = false, cut = false;
        for (int c = -ring; c < cols + ring && !dirty; ++c)
            for (int r = -ring; r < rows + ring && !dirty; ++r) {
                if (c != -ring && c != cols + ring - 1 && r != -ring && r != rows + ring - 1)
                    continue;
                const double g = cellGrey(img, out.Grid, c, r);
                if (g < 0)
                    cut = true;
                else if (g < threshold)
                    dirty = true;
            }
        if (dirty) break;
        if (cut) {
            out.QuietZoneCut = true;
            break;
        }
        clean = ring;
    }
    out.QuietZone = clean;
    return out;
}

} // namespace korvex::verify
