#include "support/CouponPhotoRender.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <random>

namespace korvex::phototest {

TRenderedPhoto RenderCouponPhoto(const TCouponScene& s) {
    struct TDisc {
        double X, Y, R;
    };
    std::vector<TDisc> discs;
    for (std::size_t i = 0; i < s.Diameters.size(); ++i)
        discs.push_back({s.Spacing * static_cast<double>(i), 0, s.Diameters[i] / 2});
    if (s.IndexDiameter > 0)
        discs.push_back({s.Spacing * s.IndexBeside, s.Spacing, s.IndexDiameter / 2});
    const double a = s.AngleDegrees * 3.14159265358979323846 / 180;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (TDisc& d : discs) {
        const double y = s.Mirrored ? -d.Y : d.Y;
        // Photo y runs down: counter-clockwise as seen turns +X towards -y.
        const double px = (d.X * std::cos(a) - y * std::sin(a)) * s.PixelsPerMm;
        const double py = -(d.X * std::sin(a) + y * std::cos(a)) * s.PixelsPerMm;
        d = {px, py, d.R * s.PixelsPerMm};
        minX = std::min(minX, px), maxX = std::max(maxX, px);
        minY = std::min(minY, py), maxY = std::max(maxY, py);
    }
    const double margin = 1.5 * s.Spacing * s.PixelsPerMm;
    TRenderedPhoto photo;
    photo.Width = static_cast<int>(maxX - minX + 2 * margin);
    photo.Height = static_cast<int>(maxY - minY + 2 * margin);
    for (TDisc& d : discs)
        d.X += margin - minX, d.Y += margin - minY;

    cv::Mat f(photo.Height, photo.Width, CV_32F);
    std::mt19937 random(s.Seed);
    std::normal_distribution<float> grain(0, 0.04f);
    for (int y = 0; y < photo.Height; ++y) {
        // Brushed metal: streaks along x that change from row to row.
        const float streak = grain(random);
        for (int x = 0; x < photo.Width; ++x) {
            const double light =
                1 - s.Gradient * (x + 0.5 * y) / (photo.Width + 0.5 * photo.Height);
            double metal = 0.72 + streak * 0.5, v = metal;
            for (const TDisc& d : discs) {
                const double dist = std::hypot(x - d.X, y - d.Y);
                const double cover = std::clamp(d.R - dist + 0.5, 0.0, 1.0);
                if (cover <= 0) continue;
                // The cone's flank, lit from the left: one side darker than the other.
                const double shade = 0.22 + 0.1 * (x - d.X) / d.R;
                const double dot = s.BrightDots ? 0.86 - 0.04 * (x - d.X) / d.R : shade;
                v = metal * (1 - cover) + dot * cover;
            }
            f.at<float>(y, x) = static_cast<float>(v * light);
        }
    }
    if (s.BlurPixels > 0) cv::GaussianBlur(f, f, {0, 0}, s.BlurPixels);
    std::normal_distribution<float> noise(0, static_cast<float>(s.Noise));
    photo.Grey.resize(static_cast<std::size_t>(photo.Width) * photo.Height);
    for (int y = 0; y < photo.Height; ++y)
        for (int x = 0; x < photo.Width; ++x)
            photo.Grey[static_cast<std::size_t>(y) * photo.Width + x] = static_cast<std::uint8_t>(
                std::clamp(255 * (f.at<float>(y, x) + noise(random)), 0.0f, 255.0f));
    return photo;
}

} // namespace korvex::phototest
