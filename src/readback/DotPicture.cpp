#include "readback/DotPicture.h"

#include <ZXing/BarcodeFormat.h>
#include <ZXing/DecodeHints.h>
#include <ZXing/ImageView.h>
#include <ZXing/ReadBarcode.h>
#include <ZXing/Result.h>

#ifdef KORVEX_HAVE_DMTX
#include <dmtx.h>
#endif

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace korvex::readback {

namespace {

// A pixel is as dark as the share of it the disc covers, to about a pixel.
std::uint8_t dotShade(float r, float d) {
    const float cover = std::min(std::max(r - d + 0.5f, 0.0f), 1.0f);
    return static_cast<std::uint8_t>(255 - 255 * cover + 0.5f);
}

// Calls `pixel(index, ex, ey)` for every pixel a disc of radius `r` round (cx, cy) may touch,
// with the pixel centre's offset from (cx, cy).
template <class Pixel>
void forDiscPixels(int width, int height, float cx, float cy, float r, Pixel pixel) {
    const int x0 = std::max(0, static_cast<int>(std::floor(cx - r - 1)));
    const int x1 = std::min(width - 1, static_cast<int>(std::ceil(cx + r + 1)));
    const int y0 = std::max(0, static_cast<int>(std::floor(cy - r - 1)));
    const int y1 = std::min(height - 1, static_cast<int>(std::ceil(cy + r + 1)));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            pixel(static_cast<std::size_t>(y) * width + x, x + 0.5f - cx, y + 0.5f - cy);
}

constexpr int pictureWidth(const TModuleGrid& grid) {
    return (grid.Cols + 2 * DotQuietModules) * DotPixelsPerCell;
}
constexpr int pictureHeight(const TModuleGrid& grid) {
    return (grid.Rows + 2 * DotQuietModules) * DotPixelsPerCell;
}

// The one fill of all dark modules, if they share one.
std::optional<float> commonFill(const TModuleGrid& grid) {
    std::optional<float> fill;
    for (std::size_t i = 0; i < grid.Dark.size(); ++i) {
        if (!grid.Dark[i]) continue;
        if (fill && *fill != grid.Fill[i]) return std::nullopt;
        fill = grid.Fill[i];
    }
    return fill;
}

} // namespace

TDotPicture RenderDots(const TModuleGrid& grid, float centreError, unsigned seed) {
    constexpr int s = DotPixelsPerCell;
    TDotPicture picture;
    // Dots of one fill are drawn from their distances; the limit keeps those in 16 bits.
    if (const auto fill = commonFill(grid); fill && *fill <= 8 && centreError <= 0) {
        RenderUniformDots(DotDistances(grid, *fill), *fill, picture);
        return picture;
    }
    picture.Width = pictureWidth(grid);
    picture.Height = pictureHeight(grid);
    picture.Pixels.assign(static_cast<std::size_t>(picture.Width) * picture.Height, 255);
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> offset(-centreError, centreError);
    for (int row = 0; row < grid.Rows; ++row)
        for (int col = 0; col < grid.Cols; ++col) {
            if (!grid.At(col, row)) continue;
            const float dx = centreError > 0 ? offset(random) : 0;
            const float dy = centreError > 0 ? offset(random) : 0;
            const float cx = (col + DotQuietModules + 0.5f + dx) * s;
            const float cy = (row + DotQuietModules + 0.5f + dy) * s;
            const float r = grid.FillAt(col, row) * s / 2;
            forDiscPixels(picture.Width, picture.Height, cx, cy, r,
                          [&](std::size_t i, float ex, float ey) {
                              const float d = std::sqrt(ex * ex + ey * ey);
                              picture.Pixels[i] = std::min(picture.Pixels[i], dotShade(r, d));
                          });
        }
    return picture;
}

TDotDistances DotDistances(const TModuleGrid& grid, float largestFill) {
    constexpr int s = DotPixelsPerCell;
    TDotDistances distances;
    distances.Width = pictureWidth(grid);
    distances.Height = pictureHeight(grid);
    const float r = largestFill * s / 2;
    // In half pixels, so that every offset is whole: the centres sit on half pixels. Farther
    // than the largest dot's edge and half a pixel a pixel stays white.
    const float edge = 2 * r + 1;
    const int reach = static_cast<int>(std::floor(edge));
    const int far = static_cast<int>(std::floor(edge * edge)) + 1;
    distances.Far = static_cast<std::uint16_t>(far);
    distances.Square.assign(static_cast<std::size_t>(distances.Width) * distances.Height,
                            distances.Far);
    for (int row = 0; row < grid.Rows; ++row)
        for (int col = 0; col < grid.Cols; ++col) {
            if (!grid.At(col, row)) continue;
            const int twiceCx = (2 * (col + DotQuietModules) + 1) * s;
            const int twiceCy = (2 * (row + DotQuietModules) + 1) * s;
            // The pixels x with |2 x + 1 - twiceCx| <= reach.
            const int x0 = std::max(0, (twiceCx - reach) / 2);
            const int x1 = std::min(distances.Width - 1, (twiceCx + reach - 1) / 2);
            const int y0 = std::max(0, (twiceCy - reach) / 2);
            const int y1 = std::min(distances.Height - 1, (twiceCy + reach - 1) / 2);
            for (int y = y0; y <= y1; ++y) {
                const int ey = 2 * y + 1 - twiceCy;
                std::uint16_t* line =
                    distances.Square.data() + static_cast<std::size_t>(y) * distances.Width;
                for (int x = x0; x <= x1; ++x) {
                    const int ex = 2 * x + 1 - twiceCx;
                    const int square = std::min(ex * ex + ey * ey, far);
                    line[x] = std::min(line[x], static_cast<std::uint16_t>(square));
                }
            }
        }
    return distances;
}

void RenderUniformDots(const TDotDistances& distances, float fill, TDotPicture& picture) {
    // The shade falls with the distance, so the nearest dot alone decides each pixel, and a
    // distance has one of few values.
    const float r = fill * DotPixelsPerCell / 2;
    std::vector<std::uint8_t> shades(distances.Far + 1u, 255);
    for (std::uint16_t square = 0; square < distances.Far; ++square)
        shades[square] = dotShade(r, std::sqrt(square / 4.0f));
    picture.Width = distances.Width;
    picture.Height = distances.Height;
    picture.Pixels.resize(distances.Square.size());
    const std::uint8_t* __restrict shade = shades.data();
    const std::uint16_t* __restrict square = distances.Square.data();
    std::uint8_t* __restrict out = picture.Pixels.data();
    for (std::size_t i = 0, n = distances.Square.size(); i < n; ++i)
        out[i] = shade[square[i]];
}

bool HasDecoder(TDotDecoder decoder) {
#ifdef KORVEX_HAVE_DMTX
    (void)decoder;
    return true;
#else
    return decoder == TDotDecoder::ZXing;
#endif
}

bool DecoderReadsSize(TDotDecoder decoder, int cols, int rows) {
    return HasDecoder(decoder) && (decoder == TDotDecoder::ZXing || cols != 144 || rows != 144);
}

namespace {

std::optional<TDotDecode> decodeZXing(const TDotPicture& picture) {
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    hints.setTryRotate(false);
    const ZXing::Result result = ZXing::ReadBarcode(
        {picture.Pixels.data(), picture.Width, picture.Height, ZXing::ImageFormat::Lum}, hints);
    if (!result.isValid()) return std::nullopt;
    const auto& bytes = result.bytes();
    return TDotDecode{std::string(bytes.begin(), bytes.end()), result.isMirrored()};
}

#ifdef KORVEX_HAVE_DMTX
std::optional<TDotDecode> decodeDmtx(const TDotPicture& picture) {
    std::vector<unsigned char> pixels(picture.Pixels.begin(), picture.Pixels.end());
    DmtxImage* image = dmtxImageCreate(pixels.data(), picture.Width, picture.Height, DmtxPack8bppK);
    if (!image) return std::nullopt;
    std::optional<TDotDecode> decoded;
    if (DmtxDecode* dec = dmtxDecodeCreate(image, 1)) {
        DmtxTime timeout = dmtxTimeAdd(dmtxTimeNow(), 1000);
        if (DmtxRegion* region = dmtxRegionFindNext(dec, &timeout)) {
            if (DmtxMessage* message = dmtxDecodeMatrixRegion(dec, region, DmtxUndefined)) {
                decoded = TDotDecode{
                    std::string(reinterpret_cast<const char*>(message->output), message->outputIdx),
                    false};
                dmtxMessageDestroy(&message);
            }
            dmtxRegionDestroy(&region);
        }
        dmtxDecodeDestroy(&dec);
    }
    dmtxImageDestroy(&image);
    return decoded;
}
#endif

} // namespace

std::optional<TDotDecode> DecodeDots(const TDotPicture& picture, TDotDecoder decoder) {
    if (decoder == TDotDecoder::ZXing) return decodeZXing(picture);
#ifdef KORVEX_HAVE_DMTX
    return decodeDmtx(picture);
#else
    return std::nullopt;
#endif
}

} // namespace korvex::readback
