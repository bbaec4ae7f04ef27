#pragma once

// Test support: pictures of round dots drawn apart from Korvex's renderers (each pixel shaded
// by the share of 4 x 4 sub-samples inside a dot, closed with a disc instead of a square) and
// read by zxing-cpp and libdmtx called here directly.

#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/ReadBarcode.h>
#include <dmtx.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace korvex::gradetest {

struct TPicture {
    int Width = 0, Height = 0;
    std::vector<std::uint8_t> Pixels;
};

// `dark` is row-major, rows from the top; every dark module a dot of `fill` cells.
inline TPicture DrawDots(const std::vector<char>& dark, int cols, int rows, double fill,
                         int pixelsPerCell) {
    const int quiet = 2 * pixelsPerCell;
    TPicture p{cols * pixelsPerCell + 2 * quiet, rows * pixelsPerCell + 2 * quiet, {}};
    std::vector<float> cover(static_cast<std::size_t>(p.Width) * p.Height, 0);
    const double radius = fill * pixelsPerCell / 2;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            if (!dark[static_cast<std::size_t>(r) * cols + c]) continue;
            const double cx = quiet + (c + 0.5) * pixelsPerCell;
            const double cy = quiet + (r + 0.5) * pixelsPerCell;
            for (int y = static_cast<int>(cy - radius) - 1; y <= cy + radius + 1; ++y)
                for (int x = static_cast<int>(cx - radius) - 1; x <= cx + radius + 1; ++x) {
                    int inside = 0;
                    for (int sy = 0; sy < 4; ++sy)
                        for (int sx = 0; sx < 4; ++sx)
                            inside += std::hypot(x + (sx + 0.5) / 4 - cx,
                                                 y + (sy + 0.5) / 4 - cy) <= radius;
                    float& v = cover[static_cast<std::size_t>(y) * p.Width + x];
                    v = std::max(v, inside / 16.0f);
                }
        }
    for (const float v : cover)
        p.Pixels.push_back(static_cast<std::uint8_t>(255 - 255 * v));
    return p;
}

// The darkest pixel within a disc of `radius`, then the lightest.
inline TPicture CloseWithDisc(const TPicture& in, int radius) {
    const auto pass = [radius](const TPicture& src, bool darken) {
        TPicture out = src;
        for (int y = 0; y < src.Height; ++y)
            for (int x = 0; x < src.Width; ++x) {
                std::uint8_t best = darken ? 255 : 0;
                for (int dy = -radius; dy <= radius; ++dy)
                    for (int dx = -radius; dx <= radius; ++dx) {
                        const int px = x + dx, py = y + dy;
                        if (dx * dx + dy * dy > radius * radius || px < 0 || py < 0 ||
                            px >= src.Width || py >= src.Height)
                            continue;
                        const std::uint8_t v =
                            src.Pixels[static_cast<std::size_t>(py) * src.Width + px];
                        best = darken ? std::min(best, v) : std::max(best, v);
                    }
                out.Pixels[static_cast<std::size_t>(y) * src.Width + x] = best;
            }
        return out;
    };
    return pass(pass(in, true), false);
}

inline bool ZXingReads(const TPicture& p, const std::string& bytes) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    const ZXing::Result result =
        ZXing::ReadBarcode({p.Pixels.data(), p.Width, p.Height, ZXing::ImageFormat::Lum}, hints);
    return result.isValid() && std::string(result.bytes().begin(), result.bytes().end()) == bytes;
}

inline bool DmtxReads(const TPicture& p, const std::string& bytes) {
    std::vector<unsigned char> pixels(p.Pixels.begin(), p.Pixels.end());
    DmtxImage* image = dmtxImageCreate(pixels.data(), p.Width, p.Height, DmtxPack8bppK);
    bool reads = false;
    if (DmtxDecode* dec = dmtxDecodeCreate(image, 1)) {
        DmtxTime timeout = dmtxTimeAdd(dmtxTimeNow(), 250);
        if (DmtxRegion* region = dmtxRegionFindNext(dec, &timeout)) {
            if (DmtxMessage* m = dmtxDecodeMatrixRegion(dec, region, DmtxUndefined)) {
                reads =
                    std::string(reinterpret_cast<const char*>(m->output), m->outputIdx) == bytes;
                dmtxMessageDestroy(&m);
            }
            dmtxRegionDestroy(&region);
        }
        dmtxDecodeDestroy(&dec);
    }
    dmtxImageDestroy(&image);
    return reads;
}

} // namespace korvex::gradetest
