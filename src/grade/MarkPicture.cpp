#include "grade/MarkPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace korvex::grade {
namespace {

void blur(readback::TDotPicture& p) {
    const std::vector<std::uint8_t> in = p.Pixels;
    for (int y = 1; y + 1 < p.Height; ++y)
        for (int x = 1; x + 1 < p.Width; ++x) {
            int sum = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    sum += in[static_cast<std::size_t>(y + dy) * p.Width + x + dx];
            p.Pixels[static_cast<std::size_t>(y) * p.Width + x] =
                static_cast<std::uint8_t>(sum / 9);
        }
}

} // namespace

void CloseMark(readback::TDotPicture& picture, int radius) {
    readback::CloseDots(picture, radius);
}

readback::TDotPicture RenderMark(const TPredictedMark& mark, int pixelsPerCell, bool worn) {
    readback::TDotPicture p;
    const int q = PictureQuietModules * pixelsPerCell;
    p.Width = mark.Grid.Cols * pixelsPerCell + 2 * q;
    p.Height = mark.Grid.Rows * pixelsPerCell + 2 * q;
    const std::uint8_t light = worn ? 200 : 255, dark = worn ? 50 : 0;
    p.Pixels.assign(static_cast<std::size_t>(p.Width) * p.Height, light);
    const double s = pixelsPerCell;
    for (const TMarkDot& d : mark.Dots) {
        if (!(d.A > 0) || !(d.B > 0)) continue;
        const double cx = q + d.X * s, cy = q + d.Y * s;
        const double a = d.A * s, b = d.B * s, c = std::cos(d.Phi), n = std::sin(d.Phi);
        const double reach = std::max(a, b);
        const int x0 = std::max(0, static_cast<int>(std::floor(cx - reach)));
        const int x1 = std::min(p.Width - 1, static_cast<int>(std::ceil(cx + reach)));
        const int y0 = std::max(0, static_cast<int>(std::floor(cy - reach)));
        const int y1 = std::min(p.Height - 1, static_cast<int>(std::ceil(cy + reach)));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                const double u = (dx * c + dy * n) / a, v = (-dx * n + dy * c) / b;
                if (u * u + v * v <= 1) p.Pixels[static_cast<std::size_t>(y) * p.Width + x] = dark;
            }
    }
    if (worn) {
        blur(p);
        std::uint32_t state = 2463534242u; // the same noise for the same picture
        for (std::uint8_t& pixel : p.Pixels) {
            state ^= state << 13, state ^= state >> 17, state ^= state << 5;
            pixel = static_cast<std::uint8_t>(
                std::clamp(pixel + static_cast<int>(state % 33) - 16, 0, 255));
        }
    }
    return p;
}

} // namespace korvex::grade
