#include "verify/MarkFinder.h"

#include "datamatrix/SizeTable.h"
#include "verify/GridFit.h"
#include "verify/SymbolErrors.h"

#include <ZXing/BarcodeFormat.h>
#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/ReadBarcode.h>
#include <ZXing/Result.h>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvex::verify {

namespace {

// zxing-cpp decodes at most this size well; larger photos are searched scaled down.
constexpr int FindSide = 1400;

cv::Point2f apply(const cv::Mat& h, float u, float v) {
    const double* m = h.ptr<double>();
    const double w = m[6] * u + m[7] * v + m[8];
    return {static_cast<float>((m[0] * u + m[1] * v + m[2]) / w),
            static_cast<float>((m[3] * u + m[4] * v + m[5]) / w)};
}

// How well the L (left column and bottom row dark) and the clock tracks (top row, right column
// alternating) appear on the grid `h` of cols x rows: the correlation with the ideal.
double finderScore(const cv::Mat& img, const cv::Mat& h, int cols, int rows) {
    std::vector<float> seen, ideal;
    auto add = [&](int c, int r, bool dark) {
        const float s = SampleGrey(img, apply(h, c + 0.5f, r + 0.5f));
        if (s < 0) return;
        seen.push_back(s);
        ideal.push_back(dark ? 0.f : 1.f);
    };
    for (int r = 0; r < rows; ++r) {
        add(0, r, true);
        add(cols - 1, r, (rows - 1 - r) % 2 == 0);
    }
    for (int c = 1; c < cols - 1; ++c) {
        add(c, rows - 1, true);
        add(c, 0, c % 2 == 0);
    }
    if (seen.size() < 8) return -1;
    cv::Scalar ms, ss, mi, si;
    cv::meanStdDev(seen, ms, ss);
    cv::meanStdDev(ideal, mi, si);
    if (ss[0] <= 0) return -1;
    double sum = 0;
    for (std::size_t i = 0; i < seen.size(); ++i)
        sum += (seen[i] - ms[0]) * (ideal[i] - mi[0]);
    return sum / (seen.size() * ss[0] * si[0]);
}

// The grid on the decoder's quadrilateral: its corners may stand for any of the symbol's four
// (rotated or mirrored), and the size is not reported, so the finder pattern decides both.
// The symbol's modules as the grid `h` samples them, and what they cost the decoder.
TSymbolErrors errorsOn(const cv::Mat& img, const cv::Mat& h, const datamatrix::TSizeInfo& size) {
    std::vector<float> grey;
    for (int r = 0; r < size.symbolRows; ++r)
        for (int c = 0; c < size.symbolCols; ++c)
            grey.push_back(SampleGrey(img, apply(h, c + 0.5f, r + 0.5f)));
    std::vector<float> sorted = grey;
    std::sort(sorted.begin(), sorted.end());
    const float threshold = (sorted[sorted.size() / 10] + sorted[sorted.size() * 9 / 10]) / 2;
    std::vector<char> dark;
    for (const float g : grey)
        dark.push_back(g >= 0 && g < threshold);
    return CountErrors(dark, size);
}

// The grid on the decoder's quadrilateral: its corners may stand for any of the symbol's four
// (rotated or mirrored), and the size is not reported, so the finder pattern decides both.
// A square symbol's finder looks the same mirrored about its diagonal; there the modules'
// errors decide.
std::optional<cv::Mat> gridOn(const cv::Mat& img, const std::array<cv::Point2f, 4>& quad,
                              const std::vector<cv::Point2f>& centres, int& cols, int& rows) {
    const double w = (cv::norm(quad[1] - quad[0]) + cv::norm(quad[2] - quad[3])) / 2;
    const double h = (cv::norm(quad[3] - quad[0]) + cv::norm(quad[2] - quad[1])) / 2;
    struct TCandidate {
        double Score;
        cv::Mat Grid;
        const datamatrix::TSizeInfo* Size;
    };
    std::vector<TCandidate> candidates;
    double best = 0.5;
    for (int turn = 0; turn < 4; ++turn)
        for (int mirror = 0; mirror < 2; ++mirror) {
            std::array<cv::Point2f, 4> corner;
            for (int i = 0; i < 4; ++i)
                corner[static_cast<std::size_t>(i)] =
                    quad[static_cast<std::size_t>((turn + (mirror ? 4 - i : i)) % 4)];
            const bool across = (turn % 2 == 1) != (mirror == 1);
            const double aspect = across ? h / w : w / h;
            for (const datamatrix::TSizeInfo& size : datamatrix::SIZE_TABLE) {
                if (size.symbolCols == 0) continue;
                const double sizeAspect = static_cast<double>(size.symbolCols) / size.symbolRows;
                if (std::abs(std::log(sizeAspect / aspect)) > 0.25) continue;
                const auto c = static_cast<float>(size.symbolCols),
                           r = static_cast<float>(size.symbolRows);
                const std::array<cv::Point2f, 4> module = {cv::Point2f(0, 0), cv::Point2f(c, 0),
                                                           cv::Point2f(c, r), cv::Point2f(0, r)};
                const cv::Mat m = cv::getPerspectiveTransform(module.data(), corner.data());
                const double score = finderScore(img, m, size.symbolCols, size.symbolRows);
                if (score <= 0.5) continue;
                best = std::max(best, score);
                candidates.push_back({score, m, &size});
            }
        }
    std::optional<cv::Mat> grid;
    double chosen = -1;
    for (const TCandidate& k : candidates) {
        if (k.Score < best - 0.05) continue;
        const cv::Mat refined =
            centres.empty() ? RefineGrid(img, k.Grid, k.Size->symbolCols, k.Size->symbolRows)
                            : SnapGrid(centres, k.Grid, k.Size->symbolCols, k.Size->symbolRows);
        const TSymbolErrors e = errorsOn(img, refined, *k.Size);
        const double rank = (e.Correctable ? 2 : 0) + e.UnusedErrorCorrection + k.Score / 100;
        if (rank > chosen) {
            chosen = rank;
            grid = refined;
            cols = k.Size->symbolCols;
            rows = k.Size->symbolRows;
        }
    }
    return grid;
}

std::string contentKind(const ZXing::Result& r, const std::string& bytes) {
    if (r.contentType() == ZXing::ContentType::GS1) return "GS1";
    if (bytes.size() >= 7 && bytes.compare(0, 4, "[)>\x1e") == 0) {
        const std::string format = bytes.substr(4, 2);
        if (format == "05" || format == "06" || format == "12") return "ISO15434-" + format;
    }
    return "TEXT";
}

// What the decoder read, and the grid its corners and the finder pattern give on the photo.
bool foundOn(const ZXing::Result& r, double scale, const std::vector<cv::Point2f>& centres,
             TFoundMark& mark) {
    const auto& bytes = r.bytes();
    mark.Bytes.assign(bytes.begin(), bytes.end());
    mark.SymbologyIdentifier = r.symbologyIdentifier();
    mark.ContentKind = contentKind(r, mark.Bytes);
    mark.Mirrored = r.isMirrored();
    std::array<cv::Point2f, 4> quad;
    const auto& pos = r.position();
    for (int i = 0; i < 4; ++i)
        quad[static_cast<std::size_t>(i)] =
            cv::Point2f(static_cast<float>(pos[i].x / scale), static_cast<float>(pos[i].y / scale));
    std::vector<cv::Point2f> full;
    for (const cv::Point2f& p : centres)
        full.emplace_back(static_cast<float>((p.x + 0.5) / scale - 0.5),
                          static_cast<float>((p.y + 0.5) / scale - 0.5));
    auto grid = gridOn(mark.Normalised, quad, full, mark.Cols, mark.Rows);
    if (!grid) return false;
    mark.ModuleToPhoto = *grid;
    return true;
}

} // namespace

cv::Mat NormaliseLighting(const cv::Mat& grey) {
    const double scale = 160.0 / std::max(grey.cols, grey.rows);
    cv::Mat small, ground;
    cv::resize(grey, small, cv::Size(), scale, scale, cv::INTER_AREA);
    // Light grows over the dots first, so that the ground is what is left.
    cv::dilate(small, ground, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(9, 9)));
    cv::GaussianBlur(ground, ground, cv::Size(0, 0), 8);
    cv::resize(ground, ground, grey.size(), 0, 0, cv::INTER_LINEAR);
    cv::Mat out;
    cv::divide(grey, ground, out, 200.0, CV_8U);
    return out;
}

namespace {

struct TDotCloud {
    std::vector<cv::Point2f> Centres;
    double Pitch = 0;
    double Angle = 0; // radians, of the grid's axes modulo a quarter turn
};

std::optional<TDotCloud> cloudOf(std::vector<cv::Point2f> centres, double reach, cv::Size size);

// The centres of the dark blobs of one size, with their spacing and direction.
std::optional<TDotCloud> dotCloud(const cv::Mat& dark) {
    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(dark, labels, stats, centroids, 8, CV_32S);
    std::vector<int> areas;
    for (int i = 1; i < n; ++i)
        if (stats.at<int>(i, cv::CC_STAT_AREA) >= 4)
            areas.push_back(stats.at<int>(i, cv::CC_STAT_AREA));
    if (areas.size() < 20) return std::nullopt;
    std::nth_element(areas.begin(), areas.begin() + areas.size() / 2, areas.end());
    const double median = areas[areas.size() / 2];
    std::vector<cv::Point2f> centres;
    for (int i = 1; i < n; ++i) {
        const int area = stats.at<int>(i, cv::CC_STAT_AREA);
        if (area < 0.25 * median || area > 2.5 * median) continue;
        centres.emplace_back(static_cast<float>(centroids.at<double>(i, 0)),
                             static_cast<float>(centroids.at<double>(i, 1)));
    }
    return cloudOf(std::move(centres), std::sqrt(median), dark.size());
}

// The dots' spacing and the lattice's direction: the nearest neighbour of a dot lies one
// pitch along an axis. `reach` is about a dot's width.
std::optional<TDotCloud> cloudOf(std::vector<cv::Point2f> centres, double reach, cv::Size size) {
    TDotCloud cloud;
    cloud.Centres = std::move(centres);
    const double median = reach * reach;
    // Buckets of a few dot widths, so each neighbour search looks at nine of them.
    const double bucket = std::max(4.0, 3 * std::sqrt(median));
    const int bw = static_cast<int>(size.width / bucket) + 1,
              bh = static_cast<int>(size.height / bucket) + 1;
    std::vector<std::vector<int>> buckets(static_cast<std::size_t>(bw) * bh);
    auto bucketOf = [&](cv::Point2f p) {
        return std::pair<int, int>(static_cast<int>(p.x / bucket), static_cast<int>(p.y / bucket));
    };
    for (std::size_t i = 0; i < cloud.Centres.size(); ++i) {
        const auto [bx, by] = bucketOf(cloud.Centres[i]);
        buckets[static_cast<std::size_t>(by) * bw + bx].push_back(static_cast<int>(i));
    }
    std::vector<double> distances;
    std::vector<cv::Point2f> steps;
    for (const cv::Point2f& p : cloud.Centres) {
        const auto [bx, by] = bucketOf(p);
        double best = 1e18;
        cv::Point2f step;
        for (int y = std::max(0, by - 1); y <= std::min(bh - 1, by + 1); ++y)
            for (int x = std::max(0, bx - 1); x <= std::min(bw - 1, bx + 1); ++x)
                for (const int j : buckets[static_cast<std::size_t>(y) * bw + x]) {
                    const cv::Point2f d = cloud.Centres[static_cast<std::size_t>(j)] - p;
                    const double dd = d.dot(d);
                    if (dd > 0 && dd < best) best = dd, step = d;
                }
        if (best < 1e18) {
            distances.push_back(std::sqrt(best));
            steps.push_back(step);
        }
    }
    if (distances.size() < 20) return std::nullopt;
    std::vector<double> sorted = distances;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    cloud.Pitch = sorted[sorted.size() / 2];
    // The axes' direction as the mean of four times each step's angle (a quarter turn alike).
    double c4 = 0, s4 = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (std::abs(distances[i] - cloud.Pitch) > 0.25 * cloud.Pitch) continue;
        const double a = 4 * std::atan2(steps[i].y, steps[i].x);
        c4 += std::cos(a), s4 += std::sin(a);
    }
    cloud.Angle = std::atan2(s4, c4) / 4;
    return cloud;
}

// Dots that run together part at their darkest points: the local minima of the picture
// smoothed to a fifth of the pitch, below the threshold, one per plateau.
std::optional<TDotCloud> minimaCloud(const cv::Mat& work, double pitch, double threshold) {
    cv::Mat smooth, low, minima;
    cv::GaussianBlur(work, smooth, cv::Size(0, 0), std::max(0.8, pitch / 5));
    const int r = std::max(1, static_cast<int>(0.35 * pitch));
    cv::erode(smooth, low,
              cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(2 * r + 1, 2 * r + 1)));
    cv::compare(smooth, low, minima, cv::CMP_LE);
    cv::Mat dark;
    cv::compare(smooth, threshold, dark, cv::CMP_LT);
    minima &= dark;
    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(minima, labels, stats, centroids, 8, CV_32S);
    std::vector<cv::Point2f> centres;
    for (int i = 1; i < n; ++i)
        centres.emplace_back(static_cast<float>(centroids.at<double>(i, 0)),
                             static_cast<float>(centroids.at<double>(i, 1)));
    return cloudOf(std::move(centres), 0.8 * pitch, work.size());
}

// The dots drawn again as touching squares on the lattice's axes: the picture a reader of
// printed symbols expects, with the dots' places kept.
cv::Mat squaredUp(const TDotCloud& cloud, cv::Size size) {
    cv::Mat out(size, CV_8U, cv::Scalar(255));
    const double half = 0.56 * cloud.Pitch;
    const double c = std::cos(cloud.Angle), s = std::sin(cloud.Angle);
    for (const cv::Point2f& p : cloud.Centres) {
        std::array<cv::Point, 4> corner;
        for (int k = 0; k < 4; ++k) {
            const double u = (k == 0 || k == 3) ? -half : half, v = k < 2 ? -half : half;
            corner[static_cast<std::size_t>(k)] =
                cv::Point(static_cast<int>(std::lround(p.x + u * c - v * s)),
                          static_cast<int>(std::lround(p.y + u * s + v * c)));
        }
        cv::fillConvexPoly(out, corner.data(), 4, cv::Scalar(0), cv::LINE_8);
    }
    return out;
}

std::optional<ZXing::Result> read(const cv::Mat& img) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    hints.setTryHarder(true);
    hints.setTryRotate(true);
    ZXing::Result r = ZXing::ReadBarcode(
        {img.data, img.cols, img.rows, ZXing::ImageFormat::Lum, static_cast<int>(img.step)}, hints);
    if (!r.isValid()) return std::nullopt;
    return r;
}

} // namespace

std::optional<TFoundMark> FindMark(const cv::Mat& grey) {
    TFoundMark mark;
    mark.Normalised = NormaliseLighting(grey);
    const double scale =
        std::min(1.0, static_cast<double>(FindSide) / std::max(grey.cols, grey.rows));
    cv::Mat work;
    if (scale < 1)
        cv::resize(mark.Normalised, work, cv::Size(), scale, scale, cv::INTER_AREA);
    else
        work = mark.Normalised;
    cv::Mat dark;
    const double otsu = cv::threshold(work, dark, 0, 255, cv::THRESH_BINARY_INV | cv::THRESH_OTSU);
    // Dots that touch are parted by eroding their blobs; then the closings of the dots as they
    // are, for marks whose dots run together.
    std::vector<cv::Point2f> most; // the dots of the erosion that parted the most
    double pitch = 0;
    for (const int erosion : {0, 1, 2, 3, 5}) {
        cv::Mat parted = dark;
        if (erosion)
            cv::erode(dark, parted,
                      cv::getStructuringElement(cv::MORPH_ELLIPSE,
                                                cv::Size(2 * erosion + 1, 2 * erosion + 1)));
        const std::optional<TDotCloud> cloud = dotCloud(parted);
        if (!cloud) continue;
        if (cloud->Centres.size() > most.size()) most = cloud->Centres, pitch = cloud->Pitch;
        const std::optional<ZXing::Result> r = read(squaredUp(*cloud, work.size()));
        if (!r) continue;
        mark.ClosingRadius = 0;
        mark.PitchFound = cloud->Pitch / scale;
        if (foundOn(*r, scale, cloud->Centres, mark)) return mark;
    }
    if (pitch > 0)
        if (const std::optional<TDotCloud> cloud = minimaCloud(work, pitch, otsu)) {
            if (const std::optional<ZXing::Result> r = read(squaredUp(*cloud, work.size()))) {
                mark.PitchFound = cloud->Pitch / scale;
                if (foundOn(*r, scale, cloud->Centres, mark)) return mark;
            }
            if (cloud->Centres.size() > most.size()) most = cloud->Centres, pitch = cloud->Pitch;
        }
    for (const int radius : {0, 1, 2, 3, 4, 5, 7, 9, 12, 16}) {
        // A fresh picture: `work` may be the lighting-evened photo itself.
        cv::Mat closed = radius ? cv::Mat() : work;
        if (radius)
            cv::morphologyEx(work, closed, cv::MORPH_OPEN, // opening of light = closing of dark
                             cv::getStructuringElement(cv::MORPH_ELLIPSE,
                                                       cv::Size(2 * radius + 1, 2 * radius + 1)));
        const std::optional<ZXing::Result> r = read(closed);
        if (!r) continue;
        mark.ClosingRadius = static_cast<int>(std::lround(radius / scale));
        if (foundOn(*r, scale, most, mark)) return mark;
    }
    return std::nullopt;
}

} // namespace korvex::verify
