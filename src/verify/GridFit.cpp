#include "verify/GridFit.h"

#include <algorithm>
#include <cmath>

namespace korvex::verify {

float SampleGrey(const cv::Mat& img, cv::Point2f p) {
    const int x = static_cast<int>(std::floor(p.x)), y = static_cast<int>(std::floor(p.y));
    if (x < 0 || y < 0 || x + 1 >= img.cols || y + 1 >= img.rows) return -1;
    const float fx = p.x - x, fy = p.y - y;
    const uchar* r0 = img.ptr<uchar>(y);
    const uchar* r1 = img.ptr<uchar>(y + 1);
    return (r0[x] * (1 - fx) + r0[x + 1] * fx) * (1 - fy) +
           (r1[x] * (1 - fx) + r1[x + 1] * fx) * fy;
}

cv::Point2d ApplyGrid(const cv::Mat& h, double u, double v) {
    const double* m = h.ptr<double>();
    const double w = m[6] * u + m[7] * v + m[8];
    return {(m[0] * u + m[1] * v + m[2]) / w, (m[3] * u + m[4] * v + m[5]) / w};
}

cv::Mat FitHomography(const std::vector<cv::Point2f>& from, const std::vector<cv::Point2f>& to) {
    cv::Mat a(static_cast<int>(2 * from.size()), 8, CV_64F),
        b(static_cast<int>(2 * from.size()), 1, CV_64F);
    for (std::size_t i = 0; i < from.size(); ++i) {
        const double u = from[i].x, v = from[i].y, x = to[i].x, y = to[i].y;
        const double r0[8] = {u, v, 1, 0, 0, 0, -u * x, -v * x};
        const double r1[8] = {0, 0, 0, u, v, 1, -u * y, -v * y};
        for (int k = 0; k < 8; ++k) {
            a.at<double>(static_cast<int>(2 * i), k) = r0[k];
            a.at<double>(static_cast<int>(2 * i + 1), k) = r1[k];
        }
        b.at<double>(static_cast<int>(2 * i)) = x;
        b.at<double>(static_cast<int>(2 * i + 1)) = y;
    }
    cv::Mat h;
    if (!cv::solve(a, b, h, cv::DECOMP_SVD)) return {};
    cv::Mat out(3, 3, CV_64F);
    for (int k = 0; k < 8; ++k)
        out.at<double>(k / 3, k % 3) = h.at<double>(k);
    out.at<double>(2, 2) = 1;
    return out;
}

cv::Mat RobustHomography(std::vector<cv::Point2f> from, std::vector<cv::Point2f> to, double pitch) {
    for (int round = 0; round < 3; ++round) {
        const cv::Mat h = FitHomography(from, to);
        if (h.empty()) return h;
        std::vector<cv::Point2f> keptFrom, keptTo;
        for (std::size_t i = 0; i < from.size(); ++i) {
            const double* m = h.ptr<double>();
            const double w = m[6] * from[i].x + m[7] * from[i].y + m[8];
            const cv::Point2d p((m[0] * from[i].x + m[1] * from[i].y + m[2]) / w,
                                (m[3] * from[i].x + m[4] * from[i].y + m[5]) / w);
            if (cv::norm(p - cv::Point2d(to[i])) < (round == 0 ? 0.3 : 0.15) * pitch) {
                keptFrom.push_back(from[i]);
                keptTo.push_back(to[i]);
            }
        }
        if (keptFrom.size() < 8 || round == 2) return h;
        from.swap(keptFrom);
        to.swap(keptTo);
    }
    return {};
}

cv::Mat RefineGrid(const cv::Mat& img, const cv::Mat& grid, int cols, int rows) {
    cv::Mat h = grid.clone();
    for (int round = 0; round < 2; ++round) {
        const cv::Point2d o = ApplyGrid(h, cols / 2.0, rows / 2.0);
        const double pitch = (cv::norm(ApplyGrid(h, cols / 2.0 + 1, rows / 2.0) - o) +
                              cv::norm(ApplyGrid(h, cols / 2.0, rows / 2.0 + 1) - o)) /
                             2;
        std::vector<float> grey;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                const cv::Point2d p = ApplyGrid(h, c + 0.5, r + 0.5);
                grey.push_back(
                    SampleGrey(img, cv::Point2f(static_cast<float>(p.x), static_cast<float>(p.y))));
            }
        std::vector<float> sorted = grey;
        std::sort(sorted.begin(), sorted.end());
        const float threshold = (sorted[sorted.size() / 10] + sorted[sorted.size() * 9 / 10]) / 2;
        // Each dark module's dot where its darkness weighs most, within half a module.
        std::vector<cv::Point2f> from, to;
        const int reach = std::max(1, static_cast<int>(0.45 * pitch));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                const float g = grey[static_cast<std::size_t>(r) * cols + c];
                if (g < 0 || g >= threshold) continue;
                const cv::Point2d p = ApplyGrid(h, c + 0.5, r + 0.5);
                const int px = static_cast<int>(std::lround(p.x)),
                          py = static_cast<int>(std::lround(p.y));
                double sum = 0, sx = 0, sy = 0;
                for (int y = py - reach; y <= py + reach; ++y)
                    for (int x = px - reach; x <= px + reach; ++x) {
                        if (x < 0 || y < 0 || x >= img.cols || y >= img.rows) continue;
                        if ((x - px) * (x - px) + (y - py) * (y - py) > reach * reach) continue;
                        const double w =
                            std::max(0.0, threshold - static_cast<double>(img.at<uchar>(y, x)));
                        sum += w, sx += w * x, sy += w * y;
                    }
                if (sum <= 0) continue;
                from.emplace_back(static_cast<float>(c + 0.5), static_cast<float>(r + 0.5));
                to.emplace_back(static_cast<float>(sx / sum), static_cast<float>(sy / sum));
            }
        if (from.size() < 8) break;
        const cv::Mat next = RobustHomography(from, to, pitch);
        if (next.empty()) break;
        h = next;
    }
    return h;
}

cv::Mat SnapGrid(const std::vector<cv::Point2f>& centres, const cv::Mat& grid, int cols, int rows) {
    cv::Mat h = grid.clone();
    for (int round = 0; round < 3; ++round) {
        std::vector<cv::Point2f> modules;
        cv::perspectiveTransform(centres, modules, h.inv());
        std::vector<cv::Point2f> from, to;
        for (std::size_t i = 0; i < centres.size(); ++i) {
            const double c = std::floor(modules[i].x), r = std::floor(modules[i].y);
            if (c < 0 || r < 0 || c >= cols || r >= rows) continue;
            if (std::hypot(modules[i].x - c - 0.5, modules[i].y - r - 0.5) > 0.4) continue;
            from.emplace_back(static_cast<float>(c + 0.5), static_cast<float>(r + 0.5));
            to.push_back(centres[i]);
        }
        if (from.size() < 8) break;
        const cv::Point2d o = ApplyGrid(h, cols / 2.0, rows / 2.0);
        const cv::Mat next =
            RobustHomography(from, to, cv::norm(ApplyGrid(h, cols / 2.0 + 1, rows / 2.0) - o));
        if (next.empty()) break;
        h = next;
    }
    return h;
}

} // namespace korvex::verify
