#include "support/PhotoRender.h"

#include "datamatrix/TDatamatrix.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

namespace korvex::phototest {
namespace {

constexpr double Pi = 3.14159265358979323846;

struct TVec {
    double X = 0, Y = 0;
};

// The camera's view of the symbol's surface: surface (u, v) in cells, symbol centre at the
// origin, to photo pixels, and back. A pinhole camera four symbol widths away from a face
// tilted about one axis; on a shaft the surface first wraps round the cylinder.
class TView {
  public:
    TView(const TPhotoScene& s, double symbolCells)
        : s_(s), distance_(4 * symbolCells), cosA_(std::cos(s.AngleDegrees * Pi / 180)),
          sinA_(std::sin(s.AngleDegrees * Pi / 180)),
          tilt_(s.TiltDegrees * Pi / 180), axis_{std::cos(s.TiltAxisDegrees * Pi / 180),
                                                 std::sin(s.TiltAxisDegrees * Pi / 180)} {}

    void SetOrigin(double x, double y) { ox_ = x, oy_ = y; }

    TVec ToPhoto(TVec p) const {
        if (s_.CylinderRadiusCells > 0)
            p.Y = s_.CylinderRadiusCells * std::sin(p.Y / s_.CylinderRadiusCells);
        if (s_.Mirrored) p.X = -p.X;
        const double along = p.X * axis_.X + p.Y * axis_.Y;
        const double across = -p.X * axis_.Y + p.Y * axis_.X;
        const double depth = distance_ / (distance_ + across * std::sin(tilt_));
        const double qa = along * depth, qe = across * std::cos(tilt_) * depth;
        const TVec q{qa * axis_.X - qe * axis_.Y, qa * axis_.Y + qe * axis_.X};
        // Counter-clockwise as seen, with the photo's y downwards.
        return {ox_ + s_.PixelsPerCell * (q.X * cosA_ + q.Y * sinA_),
                oy_ + s_.PixelsPerCell * (-q.X * sinA_ + q.Y * cosA_)};
    }

    // False where the line of sight misses the part (beyond a shaft's silhouette).
    bool ToSurface(double x, double y, TVec& p) const {
        const double rx = (x - ox_) / s_.PixelsPerCell, ry = (y - oy_) / s_.PixelsPerCell;
        const TVec q{rx * cosA_ - ry * sinA_, rx * sinA_ + ry * cosA_};
        const double qa = q.X * axis_.X + q.Y * axis_.Y;
        const double qe = -q.X * axis_.Y + q.Y * axis_.X;
        const double denominator = distance_ * std::cos(tilt_) - qe * std::sin(tilt_);
        if (denominator <= 0) return false;
        const double across = qe * distance_ / denominator;
        const double along = qa * (distance_ + across * std::sin(tilt_)) / distance_;
        p = {along * axis_.X - across * axis_.Y, along * axis_.Y + across * axis_.X};
        if (s_.Mirrored) p.X = -p.X;
        if (s_.CylinderRadiusCells > 0) {
            if (std::fabs(p.Y) >= s_.CylinderRadiusCells) return false;
            p.Y = s_.CylinderRadiusCells * std::asin(p.Y / s_.CylinderRadiusCells);
        }
        return true;
    }

    // A direction on the surface as it points in the photo (for the light, fixed to the camera).
    TVec Turn(TVec d) const {
        if (s_.Mirrored) d.X = -d.X;
        return {d.X * cosA_ + d.Y * sinA_, -d.X * sinA_ + d.Y * cosA_};
    }

  private:
    const TPhotoScene& s_;
    double distance_, cosA_, sinA_, tilt_;
    TVec axis_;
    double ox_ = 0, oy_ = 0;
};

// Brushed metal: fine lines across one direction, coarse blotches, both from a table of noise.
class TTexture {
  public:
    explicit TTexture(std::mt19937& random) {
        std::uniform_real_distribution<double> unit(-1, 1);
        for (double& v : table_)
            v = unit(random);
    }
    double At(double u, double v) const {
        return 0.05 * smooth(v * 7.3 + 0.21 * u) + 0.04 * smooth(u * 0.37 + v * 0.29 + 500);
    }

  private:
    double smooth(double t) const {
        const double f = std::floor(t);
        const auto i = static_cast<std::size_t>(static_cast<long long>(f) & 4095);
        const double w = t - f;
        return table_[i] * (1 - w) + table_[(i + 1) & 4095] * w;
    }
    std::array<double, 4096> table_{};
};

struct TDot {
    double X = 0, Y = 0; // centre in surface cells, symbol centre at the origin
    int Col = 0, Row = 0;
};

// Grey of the surface at one point: bare metal reflects the light into the lens; a 90 degree
// cone's walls turn it aside, the wall facing the light less, and glint where they mirror it.
double shade(const std::vector<TDot>& dots, const std::vector<int>& at, int cols, int rows,
             double radius, TVec p, const TView& view, const TTexture& texture) {
    const double cu = p.X + cols / 2.0, cv = p.Y + rows / 2.0;
    const int c0 = static_cast<int>(std::floor(cu)), r0 = static_cast<int>(std::floor(cv));
    for (int r = r0 - 1; r <= r0 + 1; ++r)
        for (int c = c0 - 1; c <= c0 + 1; ++c) {
            if (c < 0 || r < 0 || c >= cols || r >= rows) continue;
            const int index = at[static_cast<std::size_t>(r) * cols + c];
            if (index < 0) continue;
            const TDot& d = dots[static_cast<std::size_t>(index)];
            const double dx = p.X - d.X, dy = p.Y - d.Y, dist = std::hypot(dx, dy);
            if (dist >= radius) continue;
            if (dist < 0.12 * radius) return 0.2; // the tip's pit
            const TVec g = view.Turn({dx / dist, dy / dist});
            // Normal of a wall sloping 45 degrees down towards the centre; light from the upper
            // left, 50 degrees high.
            const double s = std::sqrt(0.5);
            const std::array<double, 3> n = {-s * g.X, -s * g.Y, s};
            const std::array<double, 3> light = {-0.455, -0.455, 0.766};
            const std::array<double, 3> half = {-0.241, -0.241, 0.940};
            const double diffuse =
                std::max(0.0, n[0] * light[0] + n[1] * light[1] + n[2] * light[2]);
            const double mirror = std::max(0.0, n[0] * half[0] + n[1] * half[1] + n[2] * half[2]);
            return 0.2 + 0.3 * diffuse + 0.35 * std::pow(mirror, 30);
        }
    return 0.8 * (1 + texture.At(cu, cv));
}

} // namespace

TRenderedPhoto RenderPhoto(const TPhotoScene& s) {
    datamatrix::TDatamatrix dm;
    dm.Code = s.Text;
    dm.PreferredFormat = static_cast<datamatrix::TFormat>(s.SizeFormat);
    dm.paintBarcode(nullptr);
    const datamatrix::TIArray matrix = dm.Matrix();
    TRenderedPhoto out;
    TPhotoTruth& truth = out.Truth;
    truth.Cols = dm.MatrixCols();
    truth.Rows = dm.MatrixRows();
    truth.Bytes = s.Text;
    const int cols = truth.Cols, rows = truth.Rows;
    truth.Dark.assign(static_cast<std::size_t>(cols) * rows, 0);
    std::mt19937 random(s.Seed);
    std::vector<TDot> dots;
    std::vector<int> at(truth.Dark.size(), -1);
    std::vector<std::size_t> inner;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            if (!matrix[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]) continue;
            truth.Dark[static_cast<std::size_t>(r) * cols + c] = 1;
            at[static_cast<std::size_t>(r) * cols + c] = static_cast<int>(dots.size());
            if (c > 0 && r > 0 && c < cols - 1 && r < rows - 1) inner.push_back(dots.size());
            dots.push_back({c + 0.5 - cols / 2.0, r + 0.5 - rows / 2.0, c, r});
        }
    // The moved dots: inside the finder and clock tracks, in any direction.
    std::shuffle(inner.begin(), inner.end(), random);
    const auto moved =
        static_cast<std::size_t>(std::lround(s.MovedShare * static_cast<double>(dots.size())));
    std::uniform_real_distribution<double> turn(0, 2 * Pi);
    for (std::size_t k = 0; k < std::min(moved, inner.size()); ++k) {
        TDot& d = dots[inner[k]];
        const double a = turn(random);
        d.X += s.MovedBy * std::cos(a);
        d.Y += s.MovedBy * std::sin(a);
        truth.Moved.emplace_back(d.Col, d.Row);
    }
    if (s.CylinderRadiusCells > 0)
        for (const TDot& d : dots)
            truth.WorstOvality =
                std::max(truth.WorstOvality, 1 - std::cos(std::fabs(d.Y) / s.CylinderRadiusCells));

    TView view(s, std::max(cols, rows));
    // The photo holds the symbol and its margin wherever the view puts them.
    double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
    const double hu = cols / 2.0 + s.MarginCells, hv = rows / 2.0 + s.MarginCells;
    for (int k = 0; k <= 40; ++k)
        for (const TVec edge :
             {TVec{-hu + 2 * hu * k / 40, -hv}, TVec{-hu + 2 * hu * k / 40, hv},
              TVec{-hu, -hv + 2 * hv * k / 40}, TVec{hu, -hv + 2 * hv * k / 40}}) {
            TVec e = edge;
            if (s.CylinderRadiusCells > 0)
                e.Y = std::clamp(e.Y, -0.99 * Pi / 2 * s.CylinderRadiusCells,
                                 0.99 * Pi / 2 * s.CylinderRadiusCells);
            const TVec q = view.ToPhoto(e);
            minX = std::min(minX, q.X), maxX = std::max(maxX, q.X);
            minY = std::min(minY, q.Y), maxY = std::max(maxY, q.Y);
        }
    out.Width = static_cast<int>(std::ceil(maxX - minX));
    out.Height = static_cast<int>(std::ceil(maxY - minY));
    view.SetOrigin(-minX, -minY);

    const TTexture texture(random);
    const double radius = s.Fill / 2;
    cv::Mat photo(out.Height, out.Width, CV_32F);
    for (int y = 0; y < out.Height; ++y) {
        float* row = photo.ptr<float>(y);
        for (int x = 0; x < out.Width; ++x) {
            double sum = 0;
            for (const double sy : {0.25, 0.75})
                for (const double sx : {0.25, 0.75}) {
                    TVec p;
                    sum += view.ToSurface(x + sx, y + sy, p)
                               ? shade(dots, at, cols, rows, radius, p, view, texture)
                               : 0.05;
                }
            row[x] = static_cast<float>(sum / 4 * (1 - s.Gradient * x / std::max(1, out.Width)));
        }
    }
    if (s.BlurPixels > 0) cv::GaussianBlur(photo, photo, cv::Size(0, 0), s.BlurPixels);
    std::normal_distribution<double> noise(0, s.Noise);
    out.Grey.resize(static_cast<std::size_t>(out.Width) * out.Height);
    for (int y = 0; y < out.Height; ++y)
        for (int x = 0; x < out.Width; ++x)
            out.Grey[static_cast<std::size_t>(y) * out.Width + x] = static_cast<std::uint8_t>(
                std::clamp(std::lround(255 * (photo.at<float>(y, x) + noise(random))), 0L, 255L));
    return out;
}

std::string EncodePhoto(const TRenderedPhoto& photo, const std::string& extension,
                        int jpegQuality) {
    const cv::Mat grey(photo.Height, photo.Width, CV_8U,
                       const_cast<std::uint8_t*>(photo.Grey.data()));
    std::vector<uchar> bytes;
    cv::imencode(extension, grey, bytes, {cv::IMWRITE_JPEG_QUALITY, jpegQuality});
    return {bytes.begin(), bytes.end()};
}

std::string EncodeBlank(int width, int height, const std::string& extension) {
    const cv::Mat grey(height, width, CV_8U, cv::Scalar(190));
    std::vector<uchar> bytes;
    cv::imencode(extension, grey, bytes);
    return {bytes.begin(), bytes.end()};
}

} // namespace korvex::phototest
