#include "verify/CouponPhoto.h"

#include "base/PathText.h"
#include "base/TextNumbers.h"
#include "verify/Photo.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

namespace korvex::verify {

namespace {

// Specks of texture are far smaller than the coupon's smallest dot (under a third of the
// largest's area for a 60-105 % row).
constexpr double LeastAreaShare = 0.06;
constexpr int LeastArea = 12;
constexpr double MostElongation = 1.6;
// How far the row may stray from a straight, even one before it is no coupon.
constexpr double RowTolerance = 0.15;
constexpr double GrainSpreads = 4;
constexpr double LeastContrast = 0.05;

// The lighting as a smooth surface: a quadratic in x and y fitted to the pixels off the spots.
cv::Mat lighting(const cv::Mat& f, const cv::Mat& spots) {
    cv::Mat off;
    cv::dilate(spots, off, cv::getStructuringElement(cv::MORPH_ELLIPSE, {9, 9}));
    const int step = std::max(1, std::min(f.cols, f.rows) / 120);
    const double sx = 2.0 / f.cols, sy = 2.0 / f.rows;
    cv::Mat a = cv::Mat::zeros(6, 6, CV_64F), b = cv::Mat::zeros(6, 1, CV_64F);
    for (int y = 0; y < f.rows; y += step)
        for (int x = 0; x < f.cols; x += step) {
            if (off.at<std::uint8_t>(y, x)) continue;
            const double u = x * sx - 1, v = y * sy - 1;
            const double t[6] = {1, u, v, u * u, u * v, v * v};
            for (int i = 0; i < 6; ++i) {
                for (int j = 0; j < 6; ++j)
                    a.at<double>(i, j) += t[i] * t[j];
                b.at<double>(i) += t[i] * f.at<float>(y, x);
            }
        }
    cv::Mat c;
    cv::solve(a, b, c, cv::DECOMP_SVD);
    cv::Mat surface(f.size(), CV_32F);
    for (int y = 0; y < f.rows; ++y)
        for (int x = 0; x < f.cols; ++x) {
            const double u = x * sx - 1, v = y * sy - 1;
            const double t[6] = {1, u, v, u * u, u * v, v * v};
            double s = 0;
            for (int i = 0; i < 6; ++i)
                s += t[i] * c.at<double>(i);
            surface.at<float>(y, x) = static_cast<float>(std::max(s, 1.0));
        }
    return surface;
}

// Spots stand out of the surface's own grain: a threshold far above the grain's spread (from
// its median absolute deviation), not Otsu's, which splits the grain when the dots are few.
cv::Mat spotMask(const cv::Mat& darkness) {
    const int step = std::max(1, static_cast<int>(std::sqrt(darkness.total() / 40000.0)));
    std::vector<float> sample;
    for (int y = 0; y < darkness.rows; y += step)
        for (int x = 0; x < darkness.cols; x += step)
            sample.push_back(darkness.at<float>(y, x));
    const auto middle = sample.begin() + static_cast<std::ptrdiff_t>(sample.size() / 2);
    std::nth_element(sample.begin(), middle, sample.end());
    const float median = *middle;
    for (float& v : sample)
        v = std::abs(v - median);
    std::nth_element(sample.begin(), middle, sample.end());
    const double spread = 1.4826 * *middle;
    cv::Mat mask;
    cv::threshold(darkness, mask, median + std::max(GrainSpreads * spread, LeastContrast), 255,
                  cv::THRESH_BINARY);
    mask.convertTo(mask, CV_8U);
    return mask;
}

// The spot's own darkness from its middle, then its area as darkness summed over a disc a
// little wider than it, less the grain's level in a ring round it, so blur and threshold cancel
// out; again round the centre of what is darker than half the spot's contrast
// and the size the first found (a dot lit from one side leaves the first threshold lopsided).
std::optional<TPhotoSpot> measureSpot(const cv::Mat& darkness, double cx, double cy, double r) {
    double half = 1e9;
    for (int pass = 0; pass < 3; ++pass) {
        const double inner = 0.6 * r, outer = r + std::max(3.0, (pass == 0 ? 0.8 : 0.25) * r);
        const double ring = outer + std::max(3.0, 0.4 * r);
        double core = 0, sum = 0, around = 0, wx = 0, wy = 0, w = 0;
        int coreCount = 0, sumCount = 0, aroundCount = 0;
        const int y0 = std::max(0, static_cast<int>(cy - ring));
        const int y1 = std::min(darkness.rows - 1, static_cast<int>(cy + ring));
        const int x0 = std::max(0, static_cast<int>(cx - ring));
        const int x1 = std::min(darkness.cols - 1, static_cast<int>(cx + ring));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double d = std::hypot(x - cx, y - cy);
                const double v = darkness.at<float>(y, x);
                if (d > ring) continue;
                if (d > outer) {
                    around += v, ++aroundCount;
                    continue;
                }
                sum += v, ++sumCount;
                if (v > half) wx += x, wy += y, w += 1;
                if (d <= inner) core += v, ++coreCount;
            }
        if (coreCount == 0 || aroundCount == 0) return std::nullopt;
        const double level = around / aroundCount;
        const double contrast = core / coreCount - level;
        const double area = (sum - level * sumCount) / contrast;
        if (!(contrast > 0) || !(area > 0)) return std::nullopt;
        r = std::sqrt(area / std::numbers::pi);
        if (pass == 2) return TPhotoSpot{cx, cy, 2 * r};
        if (w > 0) cx = wx / w, cy = wy / w;
        half = level + contrast / 2;
    }
    return std::nullopt;
}

} // namespace

std::vector<TPhotoSpot> FindSpots(const cv::Mat& grey, bool bright) {
    cv::Mat f;
    grey.convertTo(f, CV_32F);
    if (bright) f = 255.0f - f;
    // A first look at the lighting: a closing wider than any dot the photo can hold whole.
    const double scale = std::max(1.0, std::min(f.cols, f.rows) / 400.0);
    cv::Mat small, closed, rough;
    cv::resize(f, small, {}, 1 / scale, 1 / scale, cv::INTER_AREA);
    const int k = std::max(9, std::max(small.cols, small.rows) / 10) | 1;
    cv::morphologyEx(small, closed, cv::MORPH_CLOSE,
                     cv::getStructuringElement(cv::MORPH_ELLIPSE, {k, k}));
    cv::resize(closed, rough, f.size(), 0, 0, cv::INTER_LINEAR);
    cv::Mat darkness = 1.0f - f / cv::max(rough, 1.0f);
    cv::Mat mask = spotMask(darkness);
    darkness = 1.0f - f / lighting(f, mask);
    mask = spotMask(darkness);

    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    int largest = 0;
    for (int i = 1; i < n; ++i)
        largest = std::max(largest, stats.at<int>(i, cv::CC_STAT_AREA));
    std::vector<TPhotoSpot> spots;
    for (int i = 1; i < n; ++i) {
        const int area = stats.at<int>(i, cv::CC_STAT_AREA);
        if (area < LeastArea || area < LeastAreaShare * largest) continue;
        const cv::Rect box(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                           stats.at<int>(i, cv::CC_STAT_WIDTH),
                           stats.at<int>(i, cv::CC_STAT_HEIGHT));
        const cv::Moments m = cv::moments(labels(box) == i, true);
        const double cxx = m.mu20 / m.m00, cyy = m.mu02 / m.m00, cxy = m.mu11 / m.m00;
        const double root = std::sqrt((cxx - cyy) * (cxx - cyy) + 4 * cxy * cxy);
        const double major = (cxx + cyy + root) / 2, minor = (cxx + cyy - root) / 2;
        if (!(minor > 0) || std::sqrt(major / minor) > MostElongation) continue;
        double cx = centroids.at<double>(i, 0), cy = centroids.at<double>(i, 1);
        double r = std::sqrt(area / std::numbers::pi);
        if (const auto spot = measureSpot(darkness, cx, cy, r)) spots.push_back(*spot);
    }
    return spots;
}

namespace {

// The spots as the coupon lies: a straight, even row with the index spot one spacing beside
// its first; the row in its order, the index last. Nothing when they do not lie so.
std::optional<std::vector<TPhotoSpot>> layOut(const std::vector<TPhotoSpot>& spots) {
    for (std::size_t index = 0; index < spots.size(); ++index) {
        std::vector<TPhotoSpot> row;
        for (std::size_t i = 0; i < spots.size(); ++i)
            if (i != index) row.push_back(spots[i]);
        // The row's direction from its two ends: the pair farthest apart.
        std::size_t a = 0, b = 0;
        double far = 0;
        for (std::size_t i = 0; i < row.size(); ++i)
            for (std::size_t j = i + 1; j < row.size(); ++j) {
                const double d = std::hypot(row[i].X - row[j].X, row[i].Y - row[j].Y);
                if (d > far) far = d, a = i, b = j;
            }
        if (!(far > 0)) continue;
        const TPhotoSpot& in = spots[index];
        // Start at the end next to the index spot.
        if (std::hypot(in.X - row[b].X, in.Y - row[b].Y) <
            std::hypot(in.X - row[a].X, in.Y - row[a].Y))
            std::swap(a, b);
        const double ux = (row[b].X - row[a].X) / far, uy = (row[b].Y - row[a].Y) / far;
        const TPhotoSpot start = row[a];
        const auto along = [&](const TPhotoSpot& s) {
            return (s.X - start.X) * ux + (s.Y - start.Y) * uy;
        };
        const auto across = [&](const TPhotoSpot& s) {
            return (s.Y - start.Y) * ux - (s.X - start.X) * uy;
        };
        std::sort(row.begin(), row.end(),
                  [&](const TPhotoSpot& p, const TPhotoSpot& q) { return along(p) < along(q); });
        const double spacing = far / static_cast<double>(row.size() - 1);
        bool even = true;
        for (std::size_t i = 0; i < row.size() && even; ++i)
            even = std::abs(along(row[i]) - spacing * static_cast<double>(i)) <=
                       RowTolerance * spacing &&
                   std::abs(across(row[i])) <= RowTolerance * spacing;
        if (!even || std::abs(along(in)) > 2 * RowTolerance * spacing ||
            std::abs(std::abs(across(in)) - spacing) > 2 * RowTolerance * spacing)
            continue;
        row.push_back(in);
        return row;
    }
    return std::nullopt;
}

} // namespace

TCouponPhoto MeasureCouponPhoto(const cv::Mat& grey, const ncgen::TCoupon& coupon) {
    TCouponPhoto result;
    const std::size_t expected = coupon.Depths.size() + 1;
    std::size_t seen = 0;
    bool counted = false;
    for (const bool bright : {false, true}) {
        const std::vector<TPhotoSpot> spots = FindSpots(grey, bright);
        if (!bright) seen = spots.size();
        if (spots.size() != expected) continue;
        counted = true;
        const auto laid = layOut(spots);
        if (!laid) continue;
        const double spacing = std::hypot(laid->at(expected - 2).X - laid->front().X,
                                          laid->at(expected - 2).Y - laid->front().Y) /
                               static_cast<double>(expected - 2);
        result.PixelsPerMm = spacing / static_cast<double>(coupon.Spacing);
        for (std::size_t i = 0; i + 1 < expected; ++i)
            result.Diameters.push_back((*laid)[i].Diameter / result.PixelsPerMm);
        result.Spots = *laid;
        return result;
    }
    if (counted)
        result.Problem = {text::CouponPhotoLayout, 0, {}, {std::to_string(expected - 1)}};
    else
        result.Problem = {
            text::CouponPhotoDotCount, 0, {}, {std::to_string(seen), std::to_string(expected)}};
    return result;
}

TCouponCalibration CalibrateFromPhoto(const std::filesystem::path& file,
                                      const ncgen::TCoupon& coupon, ncgen::TToolKind kind,
                                      long double pitch) {
    TCouponCalibration calibration;
    const TPhoto photo = LoadPhoto(file);
    const std::string name = base::PathText(file);
    switch (photo.Problem) {
    case TPhotoProblem::None:
        break;
    case TPhotoProblem::Missing:
        calibration.Problem = {text::PhotoMissing, 0, {}, {name}};
        return calibration;
    case TPhotoProblem::NotImage:
        calibration.Problem = {text::PhotoNotImage, 0, {}, {name}};
        return calibration;
    case TPhotoProblem::TooLarge:
        calibration.Problem = {text::PhotoTooLarge, 0, {}, {name}};
        return calibration;
    case TPhotoProblem::Damaged:
        calibration.Problem = {text::PhotoDamaged, 0, {}, {name}};
        return calibration;
    }
    calibration.Photo = MeasureCouponPhoto(photo.Grey, coupon);
    if (!calibration.Photo.Problem.Empty()) {
        calibration.Problem = calibration.Photo.Problem;
        return calibration;
    }
    calibration.Fit = ncgen::FitTool(kind, coupon.Depths, calibration.Photo.Diameters, pitch);
    calibration.Problem = calibration.Fit.Problem;
    return calibration;
}

} // namespace korvex::verify
